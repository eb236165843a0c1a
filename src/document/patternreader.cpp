#include "patternreader.h"

#include "patternstream.h"
#include "os/fileio.h"

#include <new>

namespace orvane {

namespace {

// The records and the picture after the settings; false when a count cannot be
// read in 16-bit arithmetic.
bool readElements(PatternStream &file, Pattern &p)
{
    // Records are read for 0 .. count - 1 in 16-bit arithmetic: -32768 overflows.
    const std::int16_t lines = file.readInteger();
    if (lines == -32768)
        return false;
    p.lines.resize(lines > 0 ? static_cast<std::size_t>(lines) : 0);
    for (PatternLine &line : p.lines) {
        line.X1 = file.readSingle();
        line.Y1 = file.readSingle();
        line.X2 = file.readSingle();
        line.Y2 = file.readSingle();
        line.Visible = true;
    }
    const std::int16_t shapes = file.readInteger();
    if (shapes == -32768)
        return false;
    p.shapes.resize(shapes > 0 ? static_cast<std::size_t>(shapes) : 0);
    for (PatternShape &shape : p.shapes) {
        shape.Shape = file.readInteger();
        shape.Top = file.readSingle();
        shape.Left = file.readSingle();
        shape.Height = file.readSingle();
        shape.Width = file.readSingle();
        shape.Visible = true;
    }

    p.hasPicture = file.readInteger() != 0;
    if (p.hasPicture) {
        p.pictureLength = file.readSingle();
        // Kept as stored; bytes missing at the file's end are left out rather
        // than padded.
        if (const auto blocks = PatternFormat::pictureBlocks(p.pictureLength)) {
            const long long total = static_cast<long long>(blocks->blocks) * PatternFormat::PictureBlockSize
                + (blocks->blocks >= 0 ? blocks->rest : 0);
            if (total > 0) {
                const auto stored = file.take(static_cast<std::size_t>(total));
                p.picture.assign(stored.begin(), stored.end());
            }
        }
    }
    return true;
}

ReadFailure formatUnknown(std::string settingAtFault = {})
{
    ReadFailure failure;
    failure.kind = ReadFailure::Kind::FormatUnknown;
    failure.settingAtFault = std::move(settingAtFault);
    return failure;
}

} // namespace

ReadResult readPattern(std::span<const unsigned char> bytes, SettingsStore &defaults, Pattern &&storage)
{
    ReadResult result;
    Pattern &p = result.pattern;
    // The arrays keep their storage: a batch then maps its pages once.
    p.lines = std::move(storage.lines);
    p.shapes = std::move(storage.shapes);
    p.lines.clear();
    p.shapes.clear();
    PatternStream file(bytes);
    // A stored setting, not the pattern, may be what failed the load.
    std::string settingAtFault;
    bool ok = false;
    try {
        if (PatternFormat::ReadHeader(file, p.header)) {
            LibDimension dimension;
            const bool settingsRead = PatternFormat::ReadSettings(file, p.header, dimension, defaults);
            p.settings = dimension.settings();
            settingAtFault = dimension.settingAtFault();
            ok = settingsRead && readElements(file, p);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok)
        result.failure = formatUnknown(std::move(settingAtFault));
    return result;
}

ReadResult readPatternFile(const std::string &path, SettingsStore &defaults, FileBytes &buffer, Pattern &&storage)
{
    const PathStatus status = path.empty() ? PathStatus::Missing : pathStatus(path);
    if (status != PathStatus::Exists) {
        ReadResult result;
        result.failure = ReadFailure{status == PathStatus::NameTooLong ? ReadFailure::Kind::FileNameTooLong
                                                                       : ReadFailure::Kind::FileNotFound,
                                     path, {}};
        return result;
    }
    std::string error;
    if (!ReadFileBytes(path, MaxPatternBytes, buffer, error)) {
        ReadResult result;
        result.failure = formatUnknown();
        return result;
    }
    return readPattern(buffer, defaults, std::move(storage));
}

} // namespace orvane
