#include "patternformat.h"

#include "numeric.h"
#include "patternsettings.h"
#include "patternstream.h"

#include <cmath>

namespace orvane::PatternFormat {

namespace {

void skip(PatternStream &file, int bytes)
{
    for (int i = 0; i < bytes; i += 2)
        file.readInteger();
}

} // namespace

bool ReadHeader(PatternStream &file, PatternHeader &header)
{
    std::string ignored;
    if (!file.readText(file.readInteger(), ignored))
        return false;
    header.VersionMajor = file.readInteger();
    header.VersionMinor = file.readInteger();
    header.VersionSub = file.readInteger();
    return file.readText(file.readInteger(), ignored);
}

std::optional<SettingsBlock> settingsBlockFor(const PatternHeader &header)
{
    if (header.VersionMajor == 1 && header.VersionMinor >= 1 && header.VersionMinor <= 4)
        return SettingsBlock::Version11;
    if (header.VersionMajor == 1 && (header.VersionMinor == 5 || header.VersionMinor == 6))
        return SettingsBlock::Version15;
    if (header.VersionMajor == 2 && header.VersionMinor == 1)
        return SettingsBlock::Version21;
    return std::nullopt;
}

std::optional<std::int16_t> versionCode(const PatternHeader &header)
{
    return checkedInteger(std::int32_t(header.VersionMinor) * 100 + header.VersionSub);
}

namespace {

// Version 1 files keep the stored defaults for what they leave out; their
// margins, page and surface size sit at the same places after a lead-in.
bool readVersion1Page(PatternStream &file, int leadIn, LibDimension &dimension, SettingsStore &store)
{
    if (!dimension.LoadSettingDefaults(store))
        return false;
    PatternSettings &s = dimension.settings();
    skip(file, leadIn);
    s.MarginTop = file.readSingle();
    s.MarginBottom = file.readSingle();
    s.MarginLeft = file.readSingle();
    s.MarginRight = file.readSingle();
    skip(file, 16);
    s.DefWidth = file.readSingle();
    s.DefHeight = file.readSingle();
    skip(file, 16);
    s.PatternWidth = file.readSingle();
    s.PatternHeight = file.readSingle();
    return true;
}

} // namespace

bool ReadSettings11(PatternStream &file, LibDimension &dimension, SettingsStore &store)
{
    if (!readVersion1Page(file, 10, dimension, store))
        return false;
    PatternSettings &s = dimension.settings();
    s.MetricPage = 0;
    s.MetricPen = 0;
    return true;
}

bool ReadSettings15(PatternStream &file, std::int16_t code, LibDimension &dimension, SettingsStore &store)
{
    if (!readVersion1Page(file, 6, dimension, store))
        return false;
    PatternSettings &s = dimension.settings();
    s.PenSizeValue = file.readSingle();
    s.PenColor = file.readLong();
    s.BandW = file.readInteger();
    skip(file, 2);
    if (!file.readText(file.readInteger(), s.PenSizeText))
        return false;
    if (code >= 602) {
        s.BitmapPenSize = file.readSingle();
        s.BitmapSizeHeight = file.readSingle();
        s.BitmapSizeWidth = file.readSingle();
        skip(file, 2);
    } else if (s.DefWidth > 0) {
        const auto height = storeSingle(static_cast<double>(s.DefHeight) / s.DefWidth * s.BitmapSizeWidth);
        if (!height)
            return false;
        s.BitmapSizeHeight = *height;
    }
    s.MetricPage = 0;
    s.MetricPen = 0;
    return true;
}

bool ReadSettings21(PatternStream &file, LibDimension &dimension)
{
    PatternSettings &s = dimension.settings();
    s.MarginTop = file.readSingle();
    s.MarginBottom = file.readSingle();
    s.MarginLeft = file.readSingle();
    s.MarginRight = file.readSingle();
    s.DefWidth = file.readSingle();
    s.DefHeight = file.readSingle();
    s.PenSizeValue = file.readSingle();
    s.PenColor = file.readLong();
    s.BandW = file.readInteger();
    if (!file.readText(file.readInteger(), s.PenSizeText))
        return false;
    s.BitmapPenSize = file.readSingle();
    s.BitmapSizeHeight = file.readSingle();
    s.BitmapSizeWidth = file.readSingle();
    s.MetricPage = file.readInteger();
    s.MetricPen = file.readInteger();
    return dimension.ComputePatternSize();
}

bool ReadSettings(PatternStream &file, const PatternHeader &header, LibDimension &dimension, SettingsStore &store)
{
    const auto block = settingsBlockFor(header);
    if (!block)
        return false;
    if (*block == SettingsBlock::Version11)
        return ReadSettings11(file, dimension, store);
    // The version code must fit 16 bits for 1.5 and later, even where unused.
    const auto code = versionCode(header);
    if (!code)
        return false;
    if (*block == SettingsBlock::Version15)
        return ReadSettings15(file, *code, dimension, store);
    return ReadSettings21(file, dimension);
}

std::optional<PictureBlocks> pictureBlocks(float length)
{
    if (!std::isfinite(length) || length < 0)
        return std::nullopt;
    const float blocks = static_cast<float>(std::floor(static_cast<double>(length) / PictureBlockSize));
    const float product = static_cast<float>(static_cast<double>(blocks) * PictureBlockSize);
    const auto rest = roundToInteger(static_cast<double>(length) - product);
    const auto whole = roundToInteger(blocks);
    if (!rest || !whole)
        return std::nullopt;
    return PictureBlocks{*whole, *rest};
}

} // namespace orvane::PatternFormat
