#pragma once

// Our own reading of a Windows Metafile, written apart from the encoder so that
// tests and the fuzzer check its bytes against the format, not against itself.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

namespace Wmf {
// The record functions the converter writes.
enum Function : std::uint16_t {
    Eof = 0x0000,
    SaveDc = 0x001E,
    RestoreDc = 0x0127,
    CreatePenIndirect = 0x02FA,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreateBrushIndirect = 0x02FC,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
};
}

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

// A drawn element (one drawn with a null pen shows nothing and is left out)
// with its coordinates in the order of the drawing call (the file stores them
// reversed): 'L' a MOVETO and LINETO pair (x1, y1, x2, y2), 'R' a rectangle or
// 'E' an ellipse (left, top, right, bottom).
struct WmfElement {
    char kind;
    int a;
    int b;
    int c;
    int d;
    bool operator==(const WmfElement &) const = default;
};

// The 22-byte header (key 0x9AC6CDD7) that places a metafile on paper.
struct PlaceableHeader {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::uint16_t inch = 0;
};

struct DecodedMetafile {
    std::optional<PlaceableHeader> placeable; // when the file starts with one
    std::size_t fileBytes = 0;                // after any placeable header
    WmfHeader header;
    std::vector<WmfRecord> records;
    std::vector<std::string> problems; // structural problems met while reading
    std::vector<WmfElement> elements() const;
};

DecodedMetafile decodeMetafile(const std::vector<unsigned char> &bytes);
DecodedMetafile decodeMetafileFile(const std::string &path);

// Every problem in the header and in the record sequence the converter writes;
// empty when the file is sound.
std::vector<std::string> checkConverterMetafile(const DecodedMetafile &metafile);

} // namespace orvane::testing
