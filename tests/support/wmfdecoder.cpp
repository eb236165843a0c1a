#include "wmfdecoder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

namespace orvane::testing {

namespace {

std::uint16_t u16(const std::vector<unsigned char> &b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(const std::vector<unsigned char> &b, std::size_t at)
{
    return std::uint32_t(u16(b, at)) | (std::uint32_t(u16(b, at + 2)) << 16);
}

std::string hex(std::uint32_t v)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", v);
    return buffer;
}

} // namespace

std::string wmfFunctionName(std::uint16_t function)
{
    switch (function) {
    case Wmf::Eof:
        return "META_EOF";
    case Wmf::SelectObject:
        return "META_SELECTOBJECT";
    case Wmf::SetWindowOrg:
        return "META_SETWINDOWORG";
    case Wmf::SetWindowExt:
        return "META_SETWINDOWEXT";
    case Wmf::DeleteObject:
        return "META_DELETEOBJECT";
    case Wmf::LineTo:
        return "META_LINETO";
    case Wmf::MoveTo:
        return "META_MOVETO";
    case Wmf::CreateBrushIndirect:
        return "META_CREATEBRUSHINDIRECT";
    case Wmf::Ellipse:
        return "META_ELLIPSE";
    case Wmf::Rectangle:
        return "META_RECTANGLE";
    default:
        return hex(function);
    }
}

DecodedMetafile decodeMetafile(const std::vector<unsigned char> &bytes)
{
    if (bytes.size() >= 22 && u32(bytes, 0) == 0x9AC6CDD7) {
        std::uint16_t checksum = 0;
        for (std::size_t at = 0; at < 20; at += 2)
            checksum ^= u16(bytes, at);
        DecodedMetafile m = decodeMetafile(std::vector<unsigned char>(bytes.begin() + 22, bytes.end()));
        const auto s16 = [&](std::size_t at) { return int(static_cast<std::int16_t>(u16(bytes, at))); };
        m.placeable = PlaceableHeader{s16(6), s16(8), s16(10), s16(12), u16(bytes, 14)};
        if (u16(bytes, 4) != 0 || u32(bytes, 16) != 0)
            m.problems.push_back("placeable header: handle or reserved field not 0");
        if (u16(bytes, 20) != checksum)
            m.problems.push_back("placeable header: checksum " + hex(u16(bytes, 20)) + ", expected " + hex(checksum));
        return m;
    }
    DecodedMetafile m;
    m.fileBytes = bytes.size();
    if (bytes.size() < 18) {
        m.problems.push_back("file of " + std::to_string(bytes.size()) + " bytes is shorter than META_HEADER");
        return m;
    }
    m.header.Type = u16(bytes, 0);
    m.header.HeaderSize = u16(bytes, 2);
    m.header.Version = u16(bytes, 4);
    m.header.Size = u32(bytes, 6);
    m.header.NumberOfObjects = u16(bytes, 10);
    m.header.MaxRecord = u32(bytes, 12);
    m.header.NumberOfMembers = u16(bytes, 16);
    if (bytes.size() % 2 != 0)
        m.problems.push_back("odd file size " + std::to_string(bytes.size()));

    std::size_t at = 18;
    bool eof = false;
    while (at < bytes.size()) {
        if (eof) {
            m.problems.push_back(std::to_string(bytes.size() - at) + " bytes after META_EOF");
            break;
        }
        if (at + 6 > bytes.size()) {
            m.problems.push_back("record header at byte " + std::to_string(at) + " runs past the end");
            break;
        }
        WmfRecord r;
        r.sizeWords = u32(bytes, at);
        r.function = u16(bytes, at + 4);
        if (r.sizeWords < 3 || at + std::size_t(r.sizeWords) * 2 > bytes.size()) {
            m.problems.push_back("record " + wmfFunctionName(r.function) + " at byte " + std::to_string(at)
                                 + " has size " + std::to_string(r.sizeWords) + " words");
            break;
        }
        for (std::size_t p = at + 6; p < at + std::size_t(r.sizeWords) * 2; p += 2)
            r.params.push_back(static_cast<std::int16_t>(u16(bytes, p)));
        at += std::size_t(r.sizeWords) * 2;
        eof = r.function == Wmf::Eof;
        m.records.push_back(std::move(r));
    }
    if (!eof && m.problems.empty())
        m.problems.push_back("no META_EOF");
    return m;
}

DecodedMetafile decodeMetafileFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DecodedMetafile m;
        m.problems.push_back("cannot open " + path);
        return m;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeMetafile(bytes);
}

std::vector<WmfLine> DecodedMetafile::lines() const
{
    std::vector<WmfLine> out;
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        const WmfRecord &a = records[i];
        const WmfRecord &b = records[i + 1];
        if (a.function == Wmf::MoveTo && b.function == Wmf::LineTo && a.params.size() == 2 && b.params.size() == 2)
            out.push_back({a.params[1], a.params[0], b.params[1], b.params[0]});
    }
    return out;
}

std::vector<WmfBox> DecodedMetafile::boxes() const
{
    std::vector<WmfBox> out;
    for (const WmfRecord &r : records) {
        if ((r.function == Wmf::Rectangle || r.function == Wmf::Ellipse) && r.params.size() == 4)
            out.push_back({r.function == Wmf::Ellipse, r.params[3], r.params[2], r.params[1], r.params[0]});
    }
    return out;
}

std::vector<std::uint16_t> DecodedMetafile::functions() const
{
    std::vector<std::uint16_t> out;
    for (const WmfRecord &r : records)
        out.push_back(r.function);
    return out;
}

std::vector<std::string> checkConverterMetafile(const DecodedMetafile &m)
{
    std::vector<std::string> problems = m.problems;
    if (m.fileBytes < 18)
        return problems;
    const WmfHeader &h = m.header;
    auto expect = [&problems](bool ok, const std::string &what) {
        if (!ok)
            problems.push_back(what);
    };
    expect(h.Type == 1, "header Type " + std::to_string(h.Type) + ", expected 1");
    expect(h.HeaderSize == 9, "header HeaderSize " + std::to_string(h.HeaderSize) + ", expected 9");
    expect(h.Version == 0x0300, "header Version " + hex(h.Version) + ", expected 0x0300");
    expect(std::size_t(h.Size) * 2 == m.fileBytes,
           "header Size " + std::to_string(h.Size) + " words, file has " + std::to_string(m.fileBytes) + " bytes");
    expect(h.NumberOfMembers == 0, "header NumberOfMembers " + std::to_string(h.NumberOfMembers));

    // Object table: created objects take the lowest free index.
    std::set<int> live;
    std::size_t most = 0;
    std::uint32_t maxRecord = 0;
    for (const WmfRecord &r : m.records) {
        maxRecord = std::max(maxRecord, r.sizeWords);
        if (r.function == Wmf::CreateBrushIndirect) {
            int slot = 0;
            while (live.count(slot))
                ++slot;
            live.insert(slot);
            most = std::max(most, live.size());
        } else if (r.function == Wmf::DeleteObject && !r.params.empty()) {
            if (!live.erase(static_cast<std::uint16_t>(r.params[0])))
                problems.push_back("META_DELETEOBJECT of object " + std::to_string(r.params[0]) + " that is not alive");
        } else if (r.function == Wmf::SelectObject && !r.params.empty()) {
            if (!live.count(static_cast<std::uint16_t>(r.params[0])))
                problems.push_back("META_SELECTOBJECT of object " + std::to_string(r.params[0]) + " that is not alive");
        }
    }
    expect(h.NumberOfObjects == most, "header NumberOfObjects " + std::to_string(h.NumberOfObjects) + ", expected "
                                          + std::to_string(most));
    expect(h.MaxRecord == maxRecord,
           "header MaxRecord " + std::to_string(h.MaxRecord) + ", expected " + std::to_string(maxRecord));

    // The converter's sequence, after the frame of a placeable file.
    std::vector<WmfRecord> rs = m.records;
    if (const auto &p = m.placeable) {
        expect(p->left == 0 && p->top == 0, "placeable box does not start at 0,0");
        const bool framed = rs.size() > 2 && rs[0] == WmfRecord{5, Wmf::SetWindowOrg, {0, 0}} &&
                            rs[1] == WmfRecord{5, Wmf::SetWindowExt,
                                               {std::int16_t(p->bottom - p->top), std::int16_t(p->right - p->left)}};
        expect(framed, "records 0 and 1 are not META_SETWINDOWORG 0,0 and META_SETWINDOWEXT of the placeable box");
        if (framed)
            rs.erase(rs.begin(), rs.begin() + 2);
    }
    if (rs.size() < 4) {
        problems.push_back("only " + std::to_string(rs.size()) + " records");
        return problems;
    }
    const WmfRecord brush{7, Wmf::CreateBrushIndirect, {0x0001, 0x00FF, 0x0000, 0x0001}};
    expect(rs[0] == brush, "record 0 is not META_CREATEBRUSHINDIRECT BS_NULL 0x000000FF hatch 1");
    expect(rs[1] == WmfRecord{4, Wmf::SelectObject, {0}}, "record 1 is not META_SELECTOBJECT 0");
    expect(rs[rs.size() - 2] == WmfRecord{4, Wmf::DeleteObject, {0}}, "next to last record is not META_DELETEOBJECT 0");
    expect(rs.back() == WmfRecord{3, Wmf::Eof, {}}, "last record is not META_EOF of 3 words");
    bool inShapes = false;
    for (std::size_t i = 2; i + 2 < rs.size(); ++i) {
        const WmfRecord &r = rs[i];
        const std::string where = "record " + std::to_string(i) + " " + wmfFunctionName(r.function);
        if (r.function == Wmf::MoveTo) {
            expect(!inShapes, where + " after a shape");
            expect(r.sizeWords == 5, where + " size");
            expect(i + 3 < rs.size() && rs[i + 1].function == Wmf::LineTo, where + " not followed by META_LINETO");
            ++i;
            if (i + 2 < rs.size())
                expect(rs[i].sizeWords == 5, "META_LINETO size");
        } else if (r.function == Wmf::Rectangle || r.function == Wmf::Ellipse) {
            inShapes = true;
            expect(r.sizeWords == 7, where + " size");
        } else {
            problems.push_back("unexpected " + where);
        }
    }
    return problems;
}

} // namespace orvane::testing
