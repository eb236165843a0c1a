#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orvane {

class TemporaryPicture;

// Little-endian reader over a pattern file, read whole into memory when
// opened and then strictly front to back; a field that lies past the end
// reads as zero.
class PatternStream {
public:
    PatternStream() = default;
    ~PatternStream();
    PatternStream(const PatternStream &) = delete;
    PatternStream &operator=(const PatternStream &) = delete;

    // Opens a regular file for reading; folders, devices and pipes fail.
    bool open(const std::string &path);
    void close();

    std::int16_t readInteger();
    std::int32_t readLong();
    float readSingle();
    // Reads a text of n bytes; a negative length fails.
    bool readText(std::int16_t n, std::string &text);

    // Copies up to count bytes to out. Returns the number of bytes copied;
    // fewer than count when the pattern file ends first. writeFailed is set
    // when out refuses a write.
    std::size_t copyTo(TemporaryPicture &out, std::size_t count, bool &writeFailed);

    bool failed() const { return m_failed; }

private:
    // Whole fields come straight out of the buffer; only a field that
    // straddles a refill takes the slow path.
    void readField(void *data, std::size_t size)
    {
        if (m_len - m_pos >= size) {
            std::memcpy(data, m_buffer.data() + m_pos, size);
            m_pos += size;
        } else {
            read(data, size);
        }
    }
    std::size_t read(void *data, std::size_t size);
    bool fill();

    std::vector<unsigned char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

} // namespace orvane
