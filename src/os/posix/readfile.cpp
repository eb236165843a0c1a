#include "os/fileio.h"
#include "posixfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

bool writeAll(int fd, const unsigned char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int openNonBlocking(const std::string &path, int flags, bool regularOnly, int mode)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (regularOnly && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        return -1;
    }
    const int current = ::fcntl(fd, F_GETFL);
    if (current >= 0)
        ::fcntl(fd, F_SETFL, current & ~O_NONBLOCK);
    return fd;
}

bool ReadFileBytes(const std::string &path, std::size_t limit, FileBytes &bytes, std::string &error)
{
    bytes.clear();
    // Non-blocking so that a named pipe cannot stall the open.
    const int fd = openNonBlocking(path, O_RDONLY | O_BINARY, true);
    if (fd < 0) {
        error = errno == ENODEV ? "Not a regular file." : std::strerror(errno);
        return false;
    }
    // The size is only a hint: the file may grow or shrink while it is read.
    // One byte more than it says finds the end without growing.
    struct stat st {};
    const std::size_t hint = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 0;
    bytes.resize(std::min(limit, std::max<std::size_t>(hint, 64 * 1024)));
    std::size_t got = 0;
    bool ok = true;
    while (got < limit) {
        if (got == bytes.size())
            bytes.resize(std::min(limit, bytes.size() * 2));
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (!ok) {
        error = std::strerror(errno);
        bytes.clear();
    }
    ::close(fd);
    return ok;
}

PathStatus pathStatus(const std::string &path)
{
    struct stat st {};
    if (!path.empty() && ::stat(path.c_str(), &st) == 0)
        return PathStatus::Exists;
    return !path.empty() && errno == ENAMETOOLONG ? PathStatus::NameTooLong : PathStatus::Missing;
}

} // namespace orvane
