#include "wmfdecoder.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace orvane::testing {

namespace {
using Bytes = std::vector<unsigned char>;
std::uint16_t u16(const Bytes &b, std::size_t at) { return std::uint16_t(b[at] | (b[at + 1] << 8)); }
std::uint32_t u32(const Bytes &b, std::size_t at) { return u16(b, at) | (std::uint32_t(u16(b, at + 2)) << 16); }
} // namespace

DecodedMetafile decodeMetafile(const std::vector<unsigned char> &bytes)
{
    if (bytes.size() >= 22 && u32(bytes, 0) == 0x9AC6CDD7) {
        std::uint16_t checksum = 0;
        for (std::size_t at = 0; at < 20; at += 2)
            checksum ^= u16(bytes, at);
        DecodedMetafile m = decodeMetafile(std::vector<unsigned char>(bytes.begin() + 22, bytes.end()));
        const auto s16 = [&](std::size_t at) {
            return int(static_cast<std::int16_t>(u16(bytes, at)));
        };
        m.placeable = PlaceableHeader{s16(6), s16(8), s16(10), s16(12), u16(bytes, 14)};
        if (u16(bytes, 4) != 0 || u32(bytes, 16) != 0 || u16(bytes, 20) != checksum)
            m.problems.push_back("placeable header: handle, reserved field or checksum wrong");
        return m;
    }
    DecodedMetafile m;
    m.fileBytes = bytes.size();
    if (bytes.size() < 18 || bytes.size() % 2 != 0) {
        m.problems.push_back("file of " + std::to_string(bytes.size()) + " bytes");
        return m;
    }
    m.header = {u16(bytes, 0), u16(bytes, 2), u16(bytes, 4), u32(bytes, 6), u16(bytes, 10), u32(bytes, 12),
                u16(bytes, 16)};
    std::size_t at = 18;
    while (at < bytes.size()) {
        if (!m.records.empty() && m.records.back().function == Wmf::Eof) {
            m.problems.push_back("bytes after META_EOF");
            break;
        }
        WmfRecord r{at + 6 <= bytes.size() ? u32(bytes, at) : 0, 0, {}};
        if (r.sizeWords < 3 || at + std::size_t(r.sizeWords) * 2 > bytes.size()) {
            m.problems.push_back("record at byte " + std::to_string(at) + " runs past the end");
            break;
        }
        r.function = u16(bytes, at + 4);
        for (std::size_t p = at + 6; p < at + std::size_t(r.sizeWords) * 2; p += 2)
            r.params.push_back(static_cast<std::int16_t>(u16(bytes, p)));
        at += std::size_t(r.sizeWords) * 2;
        m.records.push_back(std::move(r));
    }
    if (m.records.empty() || m.records.back().function != Wmf::Eof)
        m.problems.push_back("no META_EOF at the end");
    return m;
}

DecodedMetafile decodeMetafileFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return decodeMetafile({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

std::vector<WmfElement> DecodedMetafile::elements() const
{
    std::vector<WmfElement> out;
    std::vector<int> pens; // per object slot: the pen's style, -1 for other objects or a free slot
    bool nullPen = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto &r = records[i];
        const auto &p = r.params;
        if (r.function == Wmf::CreatePenIndirect || r.function == Wmf::CreateBrushIndirect) {
            const int style = r.function == Wmf::CreatePenIndirect && !p.empty() ? p[0] : -2;
            const auto freeSlot = std::find(pens.begin(), pens.end(), -1);
            if (freeSlot == pens.end())
                pens.push_back(style);
            else
                *freeSlot = style;
        } else if (r.function == Wmf::DeleteObject && !p.empty() && std::size_t(p[0]) < pens.size()) {
            pens[std::size_t(p[0])] = -1;
        } else if (r.function == Wmf::SelectObject && !p.empty() && std::size_t(p[0]) < pens.size()
                   && pens[std::size_t(p[0])] >= 0) {
            nullPen = pens[std::size_t(p[0])] == 5;
        } else if (r.function == Wmf::RestoreDc) {
            nullPen = false; // the converter saves only the default pen
        } else if (nullPen) {
            continue;
        }
        if (r.function == Wmf::MoveTo && i + 1 < records.size() && records[i + 1].function == Wmf::LineTo
            && p.size() == 2 && records[i + 1].params.size() == 2)
            out.push_back({'L', p[1], p[0], records[i + 1].params[1], records[i + 1].params[0]});
        else if ((r.function == Wmf::Rectangle || r.function == Wmf::Ellipse) && p.size() == 4)
            out.push_back({r.function == Wmf::Ellipse ? 'E' : 'R', p[3], p[2], p[1], p[0]});
    }
    return out;
}

std::vector<std::string> checkConverterMetafile(const DecodedMetafile &m)
{
    std::vector<std::string> problems = m.problems;
    auto expect = [&problems](bool ok, const std::string &what) {
        if (!ok)
            problems.push_back(what);
    };
    const WmfHeader &h = m.header;
    std::vector<WmfRecord> rs = m.records;
    std::uint32_t largest = 0;
    for (const WmfRecord &r : rs)
        largest = std::max(largest, r.sizeWords);
    std::uint16_t objects = 1; // the one brush: the record checks below allow no other object
    std::int16_t brush = 0;    // its slot
    if (const auto &p = m.placeable) { // the frame of a placeable file, then the plain records
        const auto right = std::int16_t(p->right);
        const auto bottom = std::int16_t(p->bottom);
        const std::vector<WmfRecord> frame = {
            {5, Wmf::SetWindowOrg, {0, 0}}, {5, Wmf::SetWindowExt, {bottom, right}}, {3, Wmf::SaveDc, {}},
            {8, Wmf::CreatePenIndirect, {5, 0, 0, 0, 0}}, {4, Wmf::SelectObject, {0}},
            {7, Wmf::CreateBrushIndirect, {1, 0xFF, 0, 1}}, {4, Wmf::SelectObject, {1}},
            {7, Wmf::Rectangle, {bottom, right, 0, 0}}, {4, Wmf::RestoreDc, {-1}}, {4, Wmf::DeleteObject, {1}},
            {4, Wmf::DeleteObject, {0}}};
        const bool framed = p->left == 0 && p->top == 0 && rs.size() > frame.size()
            && std::equal(frame.begin(), frame.end(), rs.begin());
        expect(framed, "the records before the drawing are not the placeable box's window and invisible frame");
        if (framed)
            rs.erase(rs.begin(), rs.begin() + std::ptrdiff_t(frame.size()));
        // Then the outlines' solid black pen in slot 0, deleted last; the brush takes slot 1.
        const bool pen = rs.size() > 3 && rs[0].function == Wmf::CreatePenIndirect && rs[0].params.size() == 5
            && rs[0].params[0] == 0 && rs[0].params[1] >= 0 && rs[0].params[3] == 0 && rs[0].params[4] == 0
            && rs[1] == WmfRecord{4, Wmf::SelectObject, {0}} && rs[rs.size() - 2] == WmfRecord{4, Wmf::DeleteObject, {0}};
        expect(pen, "the placeable file's outlines are not drawn with a solid black pen in slot 0");
        if (pen) {
            rs.erase(rs.end() - 2);
            rs.erase(rs.begin(), rs.begin() + 2);
        }
        objects = 2;
        brush = 1;
    }
    expect(h.Type == 1, "header Type " + std::to_string(h.Type));
    expect(h.HeaderSize == 9, "header HeaderSize " + std::to_string(h.HeaderSize));
    expect(h.Version == 0x0300, "header Version " + std::to_string(h.Version));
    expect(std::size_t(h.Size) * 2 == m.fileBytes, "header Size is not the file's length");
    expect(h.NumberOfObjects == objects, "header NumberOfObjects " + std::to_string(h.NumberOfObjects));
    expect(h.MaxRecord == largest, "header MaxRecord " + std::to_string(h.MaxRecord));
    expect(h.NumberOfMembers == 0, "header NumberOfMembers");
    if (rs.size() < 4) {
        problems.push_back("only " + std::to_string(rs.size()) + " records");
        return problems;
    }
    expect(rs[0] == WmfRecord{7, Wmf::CreateBrushIndirect, {1, 0xFF, 0, 1}}, "first record is not the hollow brush");
    expect(rs[1] == WmfRecord{4, Wmf::SelectObject, {brush}}, "the brush is not selected");
    expect(rs[rs.size() - 2] == WmfRecord{4, Wmf::DeleteObject, {brush}}, "the brush is not deleted at the end");
    expect(rs.back() == WmfRecord{3, Wmf::Eof, {}}, "last record is not META_EOF");
    bool inShapes = false;
    for (std::size_t i = 2; i + 2 < rs.size(); ++i) {
        const WmfRecord &r = rs[i];
        const std::string where = "record " + std::to_string(i);
        if (r.function == Wmf::MoveTo && !inShapes && i + 3 < rs.size() && rs[i + 1].function == Wmf::LineTo) {
            expect(r.sizeWords == 5 && rs[++i].sizeWords == 5, where + ": line of the wrong size");
        } else if (r.function == Wmf::Rectangle || r.function == Wmf::Ellipse) {
            inShapes = true;
            expect(r.sizeWords == 7, where + ": shape of the wrong size");
        } else {
            problems.push_back(where + ": unexpected function " + std::to_string(r.function));
        }
    }
    return problems;
}

} // namespace orvane::testing
