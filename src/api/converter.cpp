#include "converter.h"

#include "export/exportformat.h"
#include "export/pageencoding.h"
#include "export/patternsize.h"
#include "text/floattext.h"
#include "text/windows1252.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

// The length of the well-formed UTF-8 character at text[at], or 0.
std::size_t utf8Length(const std::string &text, std::size_t at)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char c = byte(0);
    const std::size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
        : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    }
    // No overlong form, no surrogate, nothing beyond U+10FFFF.
    if ((c == 0xE0 && byte(1) < 0xA0) || (c == 0xED && byte(1) > 0x9F) || (c == 0xF0 && byte(1) < 0x90)
        || (c == 0xF4 && byte(1) > 0x8F))
        return 0;
    return length;
}

// A path is bytes: one that is not UTF-8 gets U+FFFD for each byte that is
// not, so that the JSON stays valid.
std::string jsonString(const std::string &utf8)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const char ch = utf8[at];
        const auto c = static_cast<unsigned char>(ch);
        if (const std::size_t length = utf8Length(utf8, at); length == 0) {
            out += "\\ufffd";
        } else if (length > 1) {
            out.append(utf8, at, length);
            at += length - 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// Shortest text that reads back to the same 32-bit float; JSON has no NaN or
// infinity, so those print as null.
std::string jsonFloat(float value)
{
    if (!std::isfinite(value))
        return "null";
    return shortestText(value);
}

std::string jsonBool(std::int16_t value)
{
    return value != 0 ? "true" : "false";
}

} // namespace

Converter::Converter(const FormatTable &formats, SettingsStore &settings, std::string pictureFolder)
    : m_formats(formats),
      m_picture(std::move(pictureFolder)),
      m_open([this](const LoadMessage &message) { m_texts.push_back(message.text); }, settings,
             m_picture.folder().empty() ? nullptr : &m_picture)
{
}

ConversionResult Converter::load(const std::string &path, PictureStep picture)
{
    m_texts.clear();
    return loaded(m_open.read(path), picture);
}

ConversionResult Converter::load(std::span<const unsigned char> bytes, PictureStep picture)
{
    m_texts.clear();
    return loaded(m_open.read(bytes), picture);
}

ConversionResult Converter::loaded(bool ok, PictureStep picture)
{
    ConversionResult result;
    if (ok && picture == PictureStep::Copy)
        m_open.copyPicture();
    if (ok) {
        if (const auto pixels = pagePixels(pattern())) {
            result.status = ConversionResult::Converted;
            result.pixelsX = pixels->x;
            result.pixelsY = pixels->y;
        } else {
            m_texts.push_back(LoadMessages::FormatUnknownText());
        }
    }
    result.messages = m_texts;
    return result;
}

ConversionResult Converter::encode(const ConversionResult &loaded, const ExportFormat &format, const std::string &width,
                                   const std::string &outputName) const
{
    ConversionResult result = loaded;
    if (!result.ok())
        return result;
    if (!width.empty()) {
        const PatternSizeResult sized = ApplyPatternSize(width, result.pixelsX, result.pixelsY);
        if (sized.outcome != PatternSizeResult::Accepted) {
            result.status = ConversionResult::WidthRefused;
            result.messages.push_back("The width " + width + " cannot be applied: its page is "
                                      + std::to_string(result.pixelsX) + " x " + std::to_string(result.pixelsY)
                                      + " pixels.");
            return result;
        }
        result.pixelsX = sized.PixelsX;
        result.pixelsY = sized.PixelsY;
    }
    EncodedPage built =
        encodePage(pageOf(pattern()), ExportOptions{outputName, result.pixelsX, result.pixelsY, &format},
                              &m_spareScene);
    if (built.error != SceneError::None || !built.reason.empty()) {
        result.status = ConversionResult::NotEncoded;
        // A width asked for is what to change, not the pattern's size.
        if (built.error == SceneError::CoordinateRange && !width.empty())
            result.messages.push_back(saveErrorText(&format, outputName, SceneError::None,
                                                    "The width " + width + " is too large: a point of the "
                                                    "pattern would lie outside the range a metafile can "
                                                    "hold (-32768 to 32767). Choose a smaller width."));
        else
            result.messages.push_back(saveErrorText(&format, outputName, built.error, built.reason));
        return result;
    }
    result.bytes = std::move(built.bytes);
    return result;
}

std::string Converter::infoJson(const ConversionResult &loaded) const
{
    const Pattern &p = pattern();
    const PatternHeader &h = p.header;
    const PatternSettings &s = p.settings;
    std::string out = "{\"version\":[" + std::to_string(h.VersionMajor) + "," + std::to_string(h.VersionMinor) + ","
        + std::to_string(h.VersionSub) + "],";
    out += "\"settings\":{\"MarginTop\":" + jsonFloat(s.MarginTop) + ",\"MarginBottom\":" + jsonFloat(s.MarginBottom)
        + ",\"MarginLeft\":" + jsonFloat(s.MarginLeft) + ",\"MarginRight\":" + jsonFloat(s.MarginRight)
        + ",\"DefWidth\":" + jsonFloat(s.DefWidth) + ",\"DefHeight\":" + jsonFloat(s.DefHeight)
        + ",\"PatternWidth\":" + jsonFloat(s.PatternWidth) + ",\"PatternHeight\":" + jsonFloat(s.PatternHeight)
        + ",\"PenSizeValue\":" + jsonFloat(s.PenSizeValue)
        + ",\"PenSizeText\":" + jsonString(windows1252ToUtf8(s.PenSizeText))
        + ",\"PenColor\":" + std::to_string(s.PenColor) + ",\"BandW\":" + jsonBool(s.BandW)
        + ",\"BitmapPenSize\":" + jsonFloat(s.BitmapPenSize) + ",\"BitmapSizeWidth\":" + jsonFloat(s.BitmapSizeWidth)
        + ",\"BitmapSizeHeight\":" + jsonFloat(s.BitmapSizeHeight) + ",\"MetricPen\":" + jsonBool(s.MetricPen)
        + ",\"MetricPage\":" + jsonBool(s.MetricPage) + "},";
    out += "\"lines\":" + std::to_string(p.lines.size()) + ",\"shapes\":" + std::to_string(p.shapes.size()) + ",";
    out += "\"pixels\":[" + std::to_string(loaded.pixelsX) + "," + std::to_string(loaded.pixelsY) + "],";
    // The picture's stored bytes, and where they were copied when they were.
    const PictureCopy &copy = pictureCopy();
    if (!p.hasPicture)
        out += "\"picture\":null";
    else if (copy.copied())
        out += "\"picture\":{\"path\":" + jsonString(copy.path) + ",\"bytes\":" + std::to_string(copy.bytes) + "}";
    else
        out += "\"picture\":{\"bytes\":" + std::to_string(p.picture.size()) + "}";
    return out + "}";
}

} // namespace orvane
