#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct Scene;

// What an encoder made of a scene: the file's bytes, or why the scene cannot
// be written in this format.
struct EncodeResult {
    std::vector<unsigned char> bytes;
    std::string error;
};

// One output format: its name on the command line, the extensions that name
// it (the first is the one a derived name gets), the save dialog's filter
// entry ("Description (*.ext)|*.ext"), what its messages call such a file,
// and its encoder.
struct ExportFormat {
    std::string_view name;
    std::string_view extensions;
    std::string_view filter;
    std::string_view kind;
    EncodeResult (*encode)(const Scene &scene) = nullptr;

    std::string extension() const;
    bool hasExtension(std::string_view extension) const;
};

// The formats the core itself writes: the plain metafile first (the
// default), then the placeable one, then SVG and PDF.
std::span<const ExportFormat> coreFormats();

// The formats one program offers, in the order its save dialog lists them.
// Rows are never copied, so pointers to them stay valid.
class FormatTable {
public:
    FormatTable();
    void add(std::span<const ExportFormat> rows);

    const std::vector<const ExportFormat *> &rows() const { return m_rows; }
    const ExportFormat &defaultFormat() const { return *m_rows.front(); }
    const ExportFormat *find(std::string_view name) const;
    // The first format an output name's extension (any case) names, or null.
    const ExportFormat *forFileName(std::string_view fileName) const;
    // "wmf|placeable|..."
    std::string names() const;

private:
    std::vector<const ExportFormat *> m_rows;
};

} // namespace orvane
