#include "metafilerecorder.h"

#include "os/populatedmemory.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orvane {

namespace {
constexpr std::uint16_t HeaderWords = 9;
}

MetafileRecorder::MetafileRecorder()
{
    room(HeaderWords * 2);
}

void MetafileRecorder::grow(std::size_t atLeast)
{
    const std::size_t size = std::max(atLeast, m_bytes.size() * 2);
    m_bytes.reserve(size);
    // A large file's pages in one trip into the kernel, not a fault each.
    populateForWriting(m_bytes.data(), m_bytes.capacity());
    m_bytes.resize(size);
}

void MetafileRecorder::put16(std::uint16_t value)
{
    unsigned char *at = room(2);
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void MetafileRecorder::put32(std::uint32_t value)
{
    put16(static_cast<std::uint16_t>(value & 0xFFFF));
    put16(static_cast<std::uint16_t>(value >> 16));
}

void MetafileRecorder::beginRecord(std::uint32_t words, std::uint16_t function)
{
    m_maxRecord = std::max(m_maxRecord, words);
    put32(words);
    put16(function);
}

std::uint16_t MetafileRecorder::createBrushIndirect(std::uint16_t style, std::uint32_t color, std::uint16_t hatch)
{
    beginRecord(7, RecordCreateBrushIndirect);
    put16(style);
    put32(color);
    put16(hatch);
    const std::uint16_t slot = m_objects++;
    m_maxObjects = std::max(m_maxObjects, m_objects);
    return slot;
}

std::uint16_t MetafileRecorder::createPenIndirect(std::uint16_t style, std::int16_t width, std::uint32_t color)
{
    beginRecord(8, RecordCreatePenIndirect);
    put16(style);
    put16(static_cast<std::uint16_t>(width));
    put16(0); // the width's unused y
    put32(color);
    const std::uint16_t slot = m_objects++;
    m_maxObjects = std::max(m_maxObjects, m_objects);
    return slot;
}

void MetafileRecorder::saveDc()
{
    beginRecord(3, RecordSaveDc);
}

void MetafileRecorder::restoreDc()
{
    beginRecord(4, RecordRestoreDc);
    put16(static_cast<std::uint16_t>(-1));
}

void MetafileRecorder::selectObject(std::uint16_t index)
{
    beginRecord(4, RecordSelectObject);
    put16(index);
}

void MetafileRecorder::deleteObject(std::uint16_t index)
{
    beginRecord(4, RecordDeleteObject);
    put16(index);
    if (m_objects > 0)
        --m_objects;
}

void MetafileRecorder::setWindowOrg(std::int16_t x, std::int16_t y)
{
    point(RecordSetWindowOrg, x, y);
}

void MetafileRecorder::setWindowExt(std::int16_t x, std::int16_t y)
{
    point(RecordSetWindowExt, x, y);
}

void MetafileRecorder::moveTo(std::int16_t x, std::int16_t y)
{
    point(RecordMoveTo, x, y);
}

void MetafileRecorder::lineTo(std::int16_t x, std::int16_t y)
{
    point(RecordLineTo, x, y);
}

void MetafileRecorder::rectangle(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom)
{
    box(RecordRectangle, left, top, right, bottom);
}

void MetafileRecorder::ellipse(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom)
{
    box(RecordEllipse, left, top, right, bottom);
}

// The drawing records, which make up nearly all of a large file, are put
// whole: one append per record rather than one per byte.
void MetafileRecorder::point(std::uint16_t function, std::int16_t x, std::int16_t y)
{
    const std::uint16_t words[] = {5, 0, function, static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(x)};
    putRecord(words);
}

void MetafileRecorder::box(std::uint16_t function, std::int16_t left, std::int16_t top, std::int16_t right,
                           std::int16_t bottom)
{
    const std::uint16_t words[] = {7,
                                   0,
                                   function,
                                   static_cast<std::uint16_t>(bottom),
                                   static_cast<std::uint16_t>(right),
                                   static_cast<std::uint16_t>(top),
                                   static_cast<std::uint16_t>(left)};
    putRecord(words);
}

template <std::size_t N>
void MetafileRecorder::putRecord(const std::uint16_t (&words)[N])
{
    m_maxRecord = std::max<std::uint32_t>(m_maxRecord, N);
    unsigned char *at = room(2 * N);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, words, 2 * N);
    } else {
        for (std::size_t i = 0; i < N; ++i) {
            at[2 * i] = static_cast<unsigned char>(words[i] & 0xFF);
            at[2 * i + 1] = static_cast<unsigned char>(words[i] >> 8);
        }
    }
}

std::vector<unsigned char> MetafileRecorder::finish()
{
    beginRecord(3, RecordEof);
    m_bytes.resize(m_size);
    std::vector<unsigned char> bytes;
    bytes.swap(m_bytes);
    const std::uint32_t words = static_cast<std::uint32_t>(bytes.size() / 2);
    auto at16 = [&bytes](std::size_t offset, std::uint16_t value) {
        bytes[offset] = static_cast<unsigned char>(value & 0xFF);
        bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
    };
    at16(0, 0x0001); // the type the platform recorder writes, file or not
    at16(2, HeaderWords);
    at16(4, 0x0300);
    at16(6, static_cast<std::uint16_t>(words & 0xFFFF));
    at16(8, static_cast<std::uint16_t>(words >> 16));
    at16(10, m_maxObjects);
    at16(12, static_cast<std::uint16_t>(m_maxRecord & 0xFFFF));
    at16(14, static_cast<std::uint16_t>(m_maxRecord >> 16));
    at16(16, 0);
    m_bytes.assign(HeaderWords * 2, 0);
    m_size = m_bytes.size();
    m_maxRecord = 0;
    m_objects = m_maxObjects = 0;
    return bytes;
}

} // namespace orvane
