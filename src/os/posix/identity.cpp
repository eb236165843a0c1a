#include "os/fileio.h"
#include "posixfile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

std::optional<std::pair<std::uint64_t, std::uint64_t>> fileIdentity(const std::string &path, bool regularOnly)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || (regularOnly && !S_ISREG(st.st_mode)))
        return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(st.st_dev, st.st_ino);
}

bool namesStandardOutput(const std::string &path)
{
    struct stat out {};
    struct stat named {};
    return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &named) == 0 && out.st_dev == named.st_dev
        && out.st_ino == named.st_ino;
}

bool WriteStandardOutput(const std::vector<unsigned char> &bytes, std::string &error)
{
    if (writeAll(STDOUT_FILENO, bytes.data(), bytes.size()))
        return true;
    error = std::strerror(errno);
    return false;
}

} // namespace orvane
