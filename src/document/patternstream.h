#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace orvane {

// Little-endian reader over a pattern file's bytes, strictly front to back;
// a field that lies past the end reads as zero.
class PatternStream {
public:
    explicit PatternStream(std::span<const unsigned char> bytes) : m_bytes(bytes) {}

    std::int16_t readInteger()
    {
        unsigned char b[2];
        readField(b, sizeof b);
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
    }
    std::int32_t readLong()
    {
        unsigned char b[4];
        readField(b, sizeof b);
        return static_cast<std::int32_t>(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8)
                                         | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24));
    }
    float readSingle()
    {
        const std::uint32_t bits = static_cast<std::uint32_t>(readLong());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Reads a text of n bytes, cut short where the file ends; a negative
    // length fails.
    bool readText(std::int16_t n, std::string &text)
    {
        if (n < 0)
            return false;
        const std::span<const unsigned char> got = take(static_cast<std::size_t>(n));
        text.assign(got.begin(), got.end());
        return true;
    }
    // How many bytes are left to read.
    std::size_t remaining() const { return m_bytes.size() - m_pos; }
    // Up to count of the bytes that follow; fewer when the file ends first.
    std::span<const unsigned char> take(std::size_t count)
    {
        const std::size_t n = std::min(count, m_bytes.size() - m_pos);
        const std::span<const unsigned char> part = m_bytes.subspan(m_pos, n);
        m_pos += n;
        return part;
    }

    // A little-endian 32-bit float at data.
    static float singleAt(const unsigned char *data)
    {
        const std::uint32_t bits = std::uint32_t(data[0]) | (std::uint32_t(data[1]) << 8)
            | (std::uint32_t(data[2]) << 16) | (std::uint32_t(data[3]) << 24);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    static std::int16_t integerAt(const unsigned char *data)
    {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(data[0] | (data[1] << 8)));
    }

private:
    void readField(unsigned char *data, std::size_t size)
    {
        const std::span<const unsigned char> got = take(size);
        if (!got.empty())
            std::memcpy(data, got.data(), got.size());
        std::memset(data + got.size(), 0, size - got.size());
    }

    std::span<const unsigned char> m_bytes;
    std::size_t m_pos = 0;
};

} // namespace orvane
