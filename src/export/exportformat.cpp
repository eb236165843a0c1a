#include "exportformat.h"

#include "pdfencoder.h"
#include "placeableencoder.h"
#include "svgencoder.h"
#include "wmfencoder.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace orvane {

namespace {

EncodeResult encodeWmf(const Scene &scene)
{
    return EncodeResult{EncodeWmf(scene), {}};
}

constexpr std::array CoreFormats = {
    ExportFormat{"wmf", "wmf", "Windows Metafile (*.wmf)|*.wmf", "metafile", encodeWmf},
    ExportFormat{"placeable", "wmf", "Placeable Windows Metafile (*.wmf)|*.wmf", "metafile", EncodePlaceable},
    ExportFormat{"svg", "svg", "SVG Drawing (*.svg)|*.svg", "SVG file", EncodeSvg},
    ExportFormat{"pdf", "pdf", "PDF Document (*.pdf)|*.pdf", "PDF file", EncodePdf},
};

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string ExportFormat::extension() const
{
    return std::string(extensions.substr(0, extensions.find(' ')));
}

bool ExportFormat::hasExtension(std::string_view wanted) const
{
    std::string_view rest = extensions;
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        if (sameLetters(rest.substr(0, space), wanted))
            return true;
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return false;
}

std::span<const ExportFormat> coreFormats()
{
    return CoreFormats;
}

FormatTable::FormatTable()
{
    add(coreFormats());
}

void FormatTable::add(std::span<const ExportFormat> rows)
{
    for (const ExportFormat &row : rows) {
        if (!find(row.name))
            m_rows.push_back(&row);
    }
}

const ExportFormat *FormatTable::find(std::string_view name) const
{
    for (const ExportFormat *row : m_rows) {
        if (row->name == name)
            return row;
    }
    return nullptr;
}

const ExportFormat *FormatTable::forFileName(std::string_view fileName) const
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return nullptr;
    for (const ExportFormat *row : m_rows) {
        if (row->hasExtension(base.substr(dot + 1)))
            return row;
    }
    return nullptr;
}

std::string FormatTable::names() const
{
    std::string out;
    for (const ExportFormat *row : m_rows) {
        if (!out.empty())
            out += '|';
        out += row->name;
    }
    return out;
}

} // namespace orvane
