#include "patternstream.h"

#include "temporarypicture.h"

#include "platform/fileio.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {

// More than the reader can ever take: two 32767-record arrays and a picture
// of 32767 blocks of 1024 bytes, with the header and settings texts.
constexpr std::size_t MaxPatternBytes = 48 * 1024 * 1024;

} // namespace

PatternStream::~PatternStream()
{
    close();
}

bool PatternStream::open(const std::string &path)
{
    close();
    // Only regular files are read; a named pipe cannot stall the open.
    std::string error;
    if (!ReadFileBytes(path, MaxPatternBytes, m_buffer, error))
        return false;
    m_pos = 0;
    m_len = m_buffer.size();
    m_atEnd = m_failed = false;
    return true;
}

void PatternStream::close()
{
    m_buffer = {};
    m_pos = m_len = 0;
}

// The whole file is in the buffer from the start: no more to come.
bool PatternStream::fill()
{
    m_atEnd = true;
    return false;
}

std::size_t PatternStream::read(void *data, std::size_t size)
{
    auto *out = static_cast<unsigned char *>(data);
    std::size_t done = 0;
    while (done < size) {
        if (m_pos == m_len && !fill())
            break;
        const std::size_t n = std::min(size - done, m_len - m_pos);
        std::memcpy(out + done, m_buffer.data() + m_pos, n);
        m_pos += n;
        done += n;
    }
    if (done < size)
        std::memset(out + done, 0, size - done);
    return done;
}

std::int16_t PatternStream::readInteger()
{
    unsigned char b[2];
    readField(b, sizeof b);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
}

std::int32_t PatternStream::readLong()
{
    unsigned char b[4];
    readField(b, sizeof b);
    const std::uint32_t v = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16)
        | (std::uint32_t(b[3]) << 24);
    return static_cast<std::int32_t>(v);
}

float PatternStream::readSingle()
{
    const std::uint32_t bits = static_cast<std::uint32_t>(readLong());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool PatternStream::readText(std::int16_t n, std::string &text)
{
    if (n < 0)
        return false;
    text.assign(static_cast<std::size_t>(n), '\0');
    const std::size_t got = read(text.data(), text.size());
    // Bytes past the end of the file are not part of the text.
    text.resize(got);
    return true;
}

std::size_t PatternStream::copyTo(TemporaryPicture &out, std::size_t count, bool &writeFailed)
{
    std::size_t done = 0;
    while (done < count) {
        if (m_pos == m_len && !fill())
            break;
        const std::size_t n = std::min(count - done, m_len - m_pos);
        if (!out.write(m_buffer.data() + m_pos, n)) {
            writeFailed = true;
            return done;
        }
        m_pos += n;
        done += n;
    }
    return done;
}

} // namespace orvane
