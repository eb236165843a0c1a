#include "patternstream.h"

#include "platform/fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

constexpr std::size_t BufferSize = 64 * 1024;

} // namespace

PatternStream::~PatternStream()
{
    close();
}

bool PatternStream::open(const std::string &path)
{
    close();
    // Non-blocking so that a named pipe cannot stall the open; only regular
    // files are read.
    const int fd = openNonBlocking(path, O_RDONLY, true);
    if (fd < 0)
        return false;
    m_fd = fd;
    m_buffer.resize(BufferSize);
    m_pos = m_len = 0;
    m_atEnd = m_failed = false;
    return true;
}

void PatternStream::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool PatternStream::fill()
{
    if (m_fd < 0 || m_atEnd || m_failed)
        return false;
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_failed = true;
            return false;
        }
        if (n == 0) {
            m_atEnd = true;
            return false;
        }
        m_pos = 0;
        m_len = static_cast<std::size_t>(n);
        return true;
    }
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

std::size_t PatternStream::copyTo(int out, std::size_t count, bool &writeFailed)
{
    std::size_t done = 0;
    while (done < count) {
        if (m_pos == m_len && !fill())
            break;
        const std::size_t n = std::min(count - done, m_len - m_pos);
        if (!writeAll(out, m_buffer.data() + m_pos, n)) {
            writeFailed = true;
            return done;
        }
        m_pos += n;
        done += n;
    }
    return done;
}

} // namespace orvane
