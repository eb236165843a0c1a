#include "converter.h"

#include "export/exportformat.h"
#include "export/libemf.h"
#include "export/patternsize.h"
#include "platform/floattext.h"
#include "platform/windows1252.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

std::string jsonString(const std::string &utf8)
{
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
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
      m_libFile(LibFile::Services{m_messages, settings, m_picture.folder().empty() ? nullptr : &m_picture})
{
}

ConversionResult Converter::load(const std::string &path)
{
    m_box.texts.clear();
    return loaded(m_libFile.LoadPattern(path));
}

ConversionResult Converter::load(std::span<const unsigned char> bytes)
{
    m_box.texts.clear();
    return loaded(m_libFile.ReadPattern(bytes));
}

ConversionResult Converter::loaded(bool ok)
{
    ConversionResult result;
    if (ok) {
        if (const auto pixels = pagePixels(pattern())) {
            result.status = ConversionResult::Converted;
            result.pixelsX = pixels->x;
            result.pixelsY = pixels->y;
        } else {
            m_messages.MsgFormatUnknown();
        }
    }
    result.messages = m_box.texts;
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
    LibEMF::BuildResult built =
        LibEMF::BuildMetafile(pageOf(pattern()), ExportOptions{outputName, result.pixelsX, result.pixelsY, &format});
    if (built.error != SceneError::None || !built.reason.empty()) {
        result.status = ConversionResult::NotEncoded;
        result.messages.push_back(LibEMF::CreateErrorText(&format, outputName, built.error, built.reason));
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
    if (p.picturePath.empty())
        out += "\"picture\":null";
    else
        out += "\"picture\":{\"path\":" + jsonString(p.picturePath) + ",\"bytes\":" + std::to_string(p.pictureBytes)
            + "}";
    return out + "}";
}

} // namespace orvane
