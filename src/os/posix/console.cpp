#include "os/console.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace orvane {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

std::ostream &standardOutputText()
{
    return std::cout;
}

std::ostream &standardErrorText()
{
    return std::cerr;
}

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO);
}

bool readWholeStream(const std::string &path, std::size_t limit, std::vector<unsigned char> &bytes, std::string &error)
{
    bytes.clear();
    const int fd = path.empty() ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    unsigned char chunk[64 * 1024];
    ssize_t n = 0;
    while (bytes.size() < limit) {
        n = ::read(fd, chunk, std::min(sizeof chunk, limit - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const int reason = errno;
    if (fd != STDIN_FILENO)
        ::close(fd);
    if (n >= 0)
        return true;
    error = std::strerror(reason);
    bytes.clear();
    return false;
}

} // namespace orvane
