#include "metafilerecorder.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr std::uint16_t HeaderWords = 9;
}

MetafileRecorder::MetafileRecorder()
{
    m_bytes.assign(HeaderWords * 2, 0);
}

void MetafileRecorder::put16(std::uint16_t value)
{
    m_bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    m_bytes.push_back(static_cast<unsigned char>(value >> 8));
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

void MetafileRecorder::point(std::uint16_t function, std::int16_t x, std::int16_t y)
{
    beginRecord(5, function);
    put16(static_cast<std::uint16_t>(y));
    put16(static_cast<std::uint16_t>(x));
}

void MetafileRecorder::box(std::uint16_t function, std::int16_t left, std::int16_t top, std::int16_t right,
                           std::int16_t bottom)
{
    beginRecord(7, function);
    for (const std::int16_t value : {bottom, right, top, left})
        put16(static_cast<std::uint16_t>(value));
}

std::vector<unsigned char> MetafileRecorder::finish()
{
    beginRecord(3, RecordEof);
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
    m_maxRecord = 0;
    m_objects = m_maxObjects = 0;
    return bytes;
}

} // namespace orvane
