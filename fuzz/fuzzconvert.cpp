// libFuzzer target over the whole conversion through the public interface:
// the bytes as a pattern, then info, every format the core writes, the
// picture module's formats and the thumbnail. Beyond what the sanitizers
// catch, every output must be what its readers take: info's JSON parses,
// metafiles read back with the tests' decoder, SVG is well-formed XML, PNG
// decodes to the page's pixels, and a failure always says why.

#include "wmfdecoder.h"

#include "orvane/orvane.h"

#include "export/exportformat.h"
#include "export/qt/pictureencoders.h"
#include "export/scene.h"
#include "settings/settingsstore.h"
#include "api/converter.h"

#include <QImage>
#include <libxml/parser.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace orvane;
using namespace orvane::testing;

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "orvane fuzz check failed: %s\n", what);
        std::abort();
    }
}

bool wellFormedXml(const std::vector<unsigned char> &bytes)
{
    xmlDocPtr doc = xmlReadMemory(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()), "page.svg", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlFreeDoc(doc);
    return doc != nullptr;
}

bool pngOfSize(const std::vector<unsigned char> &bytes, int width, int height)
{
    QImage image;
    return image.loadFromData(bytes.data(), int(bytes.size()), "PNG") && image.width() == width
        && image.height() == height;
}

// What a converted output must be, by format.
// startxref names the table, and each of its entries the offset of "N 0 obj".
bool pdfTableFindsItsObjects(std::string_view pdf)
{
    const std::size_t start = pdf.rfind("startxref\n");
    if (start == std::string_view::npos)
        return false;
    const std::size_t table = std::strtoull(std::string(pdf.substr(start + 10, 20)).c_str(), nullptr, 10);
    if (table >= start || !pdf.substr(table).starts_with("xref\n0 "))
        return false;
    const std::size_t count = std::strtoull(std::string(pdf.substr(table + 7, 10)).c_str(), nullptr, 10);
    const std::size_t entries = pdf.find('\n', table + 7) + 1;
    if (count < 2 || entries + count * 20 > start)
        return false;
    for (std::size_t object = 1; object < count; ++object) {
        const std::string_view entry = pdf.substr(entries + object * 20, 20);
        const std::size_t offset = std::strtoull(std::string(entry.substr(0, 10)).c_str(), nullptr, 10);
        if (!entry.ends_with(" 00000 n \n") || !pdf.substr(offset).starts_with(std::to_string(object) + " 0 obj\n"))
            return false;
    }
    return true;
}

void checkOutput(std::string_view format, const ConversionResult &r)
{
    if (!r.ok()) {
        require(!r.messages.empty(), "a failed conversion without a message");
        require(r.bytes.empty(), "a failed conversion with bytes");
        return;
    }
    require(!r.bytes.empty(), "a conversion without bytes");
    if (format == "wmf" || format == "placeable") {
        const DecodedMetafile m = decodeMetafile(r.bytes);
        require(checkConverterMetafile(m).empty(), "a metafile the decoder does not take");
        require(m.placeable.has_value() == (format == "placeable"), "a placeable header where it does not belong");
    } else if (format == "svg") {
        require(wellFormedXml(r.bytes), "an SVG that is not well-formed XML");
    } else if (format == "png") {
        require(pngOfSize(r.bytes, r.pixelsX, r.pixelsY), "a PNG that does not decode to the page's pixels");
    } else if (format == "pdf") {
        const std::string_view pdf(reinterpret_cast<const char *>(r.bytes.data()), r.bytes.size());
        require(pdf.starts_with("%PDF-") && pdf.ends_with("%%EOF\n"), "a PDF without its frame");
        require(pdfTableFindsItsObjects(pdf), "a PDF whose cross-reference table misses its objects");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    xmlInitParser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const unsigned char> bytes(data, size);
    const InfoResult info = orvane::info(bytes);
    if (info.ok)
        require(nlohmann::json::accept(info.json), "info that is not JSON");
    else
        require(!info.messages.empty(), "a failed info without a message");

    for (const std::string &name : orvane::formatNames()) {
        const ConversionResult r = orvane::convert(bytes, {.format = name});
        require(r.ok() == info.ok || r.status == ConversionResult::NotEncoded, "convert and info disagree on loading");
        checkOutput(name, r);
    }

    // The module's formats at a width that keeps a run short; a page so tall
    // that even then it has millions of pixels is left out: its memory is
    // bounded by the bands, but its time is not the fuzzer's to spend.
    EmptySettingsStore settings;
    FormatTable formats;
    formats.add(pictureModule().formats);
    Converter converter(formats, settings, {});
    const ConversionResult loaded = converter.load(bytes, Converter::PictureStep::Skip);
    if (!loaded.ok())
        return 0;
    constexpr double MaxRasterPixels = 1 << 22;
    const double tallness = loaded.pixelsX > 0 ? double(loaded.pixelsY) / loaded.pixelsX : 0;
    for (const ExportFormat &format : pictureModule().formats) {
        if (std::string_view(format.name) == "png" && 200 * 200 * tallness > MaxRasterPixels)
            continue;
        if (!formats.find(format.name) || formats.find(format.name) != &format)
            continue; // the core writes it itself
        checkOutput(format.name, converter.encode(loaded, format, "200", "page"));
    }
    const SceneResult scene = BuildScene(pageOf(converter.pattern()), loaded.pixelsX, loaded.pixelsY);
    if (scene.error == SceneError::None) {
        const std::vector<unsigned char> thumbnail = pictureModule().thumbnail(scene.scene, 64);
        QImage image;
        require(thumbnail.empty() || image.loadFromData(thumbnail.data(), int(thumbnail.size()), "PNG"),
                "a thumbnail that does not decode");
        require(thumbnail.empty() || (image.width() <= 64 && image.height() <= 64), "a thumbnail beyond its size");
    }
    return 0;
}
