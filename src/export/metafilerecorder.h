#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// Records a standard Windows Metafile in memory: a META_HEADER, then the
// drawing records as they are made, then META_EOF. Coordinates are 16-bit
// fields stored in the reverse of the drawing call's argument order.
class MetafileRecorder {
public:
    static constexpr std::uint16_t RecordEof = 0x0000;
    static constexpr std::uint16_t RecordSaveDc = 0x001E;
    static constexpr std::uint16_t RecordRestoreDc = 0x0127;
    static constexpr std::uint16_t RecordSelectObject = 0x012D;
    static constexpr std::uint16_t RecordSetWindowOrg = 0x020B;
    static constexpr std::uint16_t RecordSetWindowExt = 0x020C;
    static constexpr std::uint16_t RecordDeleteObject = 0x01F0;
    static constexpr std::uint16_t RecordLineTo = 0x0213;
    static constexpr std::uint16_t RecordMoveTo = 0x0214;
    static constexpr std::uint16_t RecordCreatePenIndirect = 0x02FA;
    static constexpr std::uint16_t RecordCreateBrushIndirect = 0x02FC;
    static constexpr std::uint16_t RecordEllipse = 0x0418;
    static constexpr std::uint16_t RecordRectangle = 0x041B;
    static constexpr std::uint16_t BrushStyleNull = 0x0001;
    static constexpr std::uint16_t PenStyleSolid = 0x0000;
    static constexpr std::uint16_t PenStyleNull = 0x0005;

    MetafileRecorder();

    void reserve(std::size_t records) { grow(18 + records * 14); }

    // Creates a brush in the first free object slot and returns the slot.
    std::uint16_t createBrushIndirect(std::uint16_t style, std::uint32_t color, std::uint16_t hatch);
    std::uint16_t createPenIndirect(std::uint16_t style, std::int16_t width, std::uint32_t color);
    // Deleting takes the newest object first: slots are handed out as a stack.
    void selectObject(std::uint16_t index);
    void deleteObject(std::uint16_t index);
    void saveDc();
    // Back to the state of the last saveDc: the pen, brush and window then.
    void restoreDc();
    void setWindowOrg(std::int16_t x, std::int16_t y);
    void setWindowExt(std::int16_t x, std::int16_t y);
    void moveTo(std::int16_t x, std::int16_t y);
    void lineTo(std::int16_t x, std::int16_t y);
    void rectangle(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom);
    void ellipse(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom);

    // Appends META_EOF, completes the header and hands over the file's bytes.
    std::vector<unsigned char> finish();

private:
    void beginRecord(std::uint32_t words, std::uint16_t function);
    void point(std::uint16_t function, std::int16_t x, std::int16_t y);
    void box(std::uint16_t function, std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom);
    void put16(std::uint16_t value);
    void put32(std::uint32_t value);
    // A record of fewer than 65536 words, its size and function first.
    template <std::size_t N>
    void putRecord(const std::uint16_t (&words)[N]);

    // Room for n more bytes; where they go.
    unsigned char *room(std::size_t n)
    {
        if (m_size + n > m_bytes.size())
            grow(m_size + n);
        unsigned char *at = m_bytes.data() + m_size;
        m_size += n;
        return at;
    }
    // Seldom called: kept out of line, so that room() stays small.
    [[gnu::noinline]] void grow(std::size_t atLeast);

    // The file so far is the first m_size bytes; the rest is room.
    std::vector<unsigned char> m_bytes;
    std::size_t m_size = 0;
    std::uint32_t m_maxRecord = 0;
    std::uint16_t m_objects = 0;
    std::uint16_t m_maxObjects = 0;
};

} // namespace orvane
