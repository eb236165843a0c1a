#pragma once

// Our own reading of a Windows Metafile (MS-WMF): the 18-byte META_HEADER and
// the list of records that follows it, each as its function and its 16-bit
// parameters. Independent of the writer, so the writer's tests check its bytes
// against the published format rather than against itself.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

namespace Wmf {
constexpr std::uint16_t Eof = 0x0000;
constexpr std::uint16_t SelectObject = 0x012D;
constexpr std::uint16_t SetWindowOrg = 0x020B;
constexpr std::uint16_t SetWindowExt = 0x020C;
constexpr std::uint16_t DeleteObject = 0x01F0;
constexpr std::uint16_t LineTo = 0x0213;
constexpr std::uint16_t MoveTo = 0x0214;
constexpr std::uint16_t CreateBrushIndirect = 0x02FC;
constexpr std::uint16_t Ellipse = 0x0418;
constexpr std::uint16_t Rectangle = 0x041B;
} // namespace Wmf

// The MS-WMF name of a record function, or its hex code.
std::string wmfFunctionName(std::uint16_t function);

struct WmfHeader {
    std::uint16_t Type = 0;
    std::uint16_t HeaderSize = 0;
    std::uint16_t Version = 0;
    std::uint32_t Size = 0; // whole file, 16-bit words
    std::uint16_t NumberOfObjects = 0;
    std::uint32_t MaxRecord = 0; // largest record, 16-bit words
    std::uint16_t NumberOfMembers = 0;
};

struct WmfRecord {
    std::uint32_t sizeWords = 0;
    std::uint16_t function = 0;
    std::vector<std::int16_t> params;

    bool operator==(const WmfRecord &) const = default;
};

// A drawing record in the order of the drawing call's arguments (the file
// stores them reversed).
struct WmfLine {
    int x1, y1, x2, y2;
    bool operator==(const WmfLine &) const = default;
};
struct WmfBox {
    bool ellipse;
    int left, top, right, bottom;
    bool operator==(const WmfBox &) const = default;
};

// The 22-byte header (key 0x9AC6CDD7) that places a metafile on paper.
struct PlaceableHeader {
    int left = 0, top = 0, right = 0, bottom = 0;
    std::uint16_t inch = 0;
};

struct DecodedMetafile {
    std::optional<PlaceableHeader> placeable; // when the file starts with one
    std::size_t fileBytes = 0;                // after any placeable header
    WmfHeader header;
    std::vector<WmfRecord> records;
    // Structural problems met while reading (a record running past the end,
    // bytes after META_EOF, ...); empty when the bytes read cleanly.
    std::vector<std::string> problems;

    // The records between META_SELECTOBJECT and META_DELETEOBJECT, as lines
    // (each META_MOVETO with the META_LINETO after it) and boxes.
    std::vector<WmfLine> lines() const;
    std::vector<WmfBox> boxes() const;
    std::vector<std::uint16_t> functions() const;
};

DecodedMetafile decodeMetafile(const std::vector<unsigned char> &bytes);
DecodedMetafile decodeMetafileFile(const std::string &path);

// Checks the header against the records and the file (Type 1, HeaderSize 9,
// Version 0x300, Size = file bytes / 2, NumberOfObjects = the most objects
// alive at once, MaxRecord = the largest record, NumberOfMembers 0), that the
// file ends with exactly one META_EOF, and that it is what the converter
// writes: after a placeable header (whose checksum decodeMetafile checks),
// META_SETWINDOWORG 0,0 and META_SETWINDOWEXT of the header's box; then META_CREATEBRUSHINDIRECT (BS_NULL, 0x000000FF, hatch 1),
// META_SELECTOBJECT 0, MOVETO/LINETO pairs, then RECTANGLE/ELLIPSE records,
// META_DELETEOBJECT 0, META_EOF. Returns the problems found, empty if none.
std::vector<std::string> checkConverterMetafile(const DecodedMetafile &metafile);

} // namespace orvane::testing
