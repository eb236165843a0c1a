#include "temporarypicture.h"

#include "platform/fileio.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// A folder we made or own ourselves, reached without a symbolic link at its
// last step.
bool ensurePrivateFolder(const std::string &folder, bool create)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT || !create)
            return false;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (::lstat(folder.c_str(), &st) != 0)
            return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

std::string parentOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return std::string();
    return path.substr(0, slash);
}

} // namespace

std::string TemporaryPicture::defaultFolder()
{
    const char *cache = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (cache && cache[0] == '/') {
        base = cache;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return std::string();
        base = std::string(home) + "/.cache";
    }
    return base + "/Veltrum Orvane";
}

std::string TemporaryPicture::path() const
{
    return m_folder + "/" + FileName;
}

bool TemporaryPicture::open()
{
    close();
    if (m_folder.empty() || m_folder.front() != '/')
        return false;
    // The cache folder itself may be missing on a fresh account.
    const std::string parent = parentOf(m_folder);
    if (!parent.empty()) {
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 && (errno != ENOENT || ::mkdir(parent.c_str(), 0700) != 0))
            return false;
    }
    if (!ensurePrivateFolder(m_folder, true))
        return false;
    const std::string file = path();
    const int fd = openNonBlocking(file, O_WRONLY | O_CREAT | O_NOFOLLOW, true, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool TemporaryPicture::finish(long long length)
{
    if (m_fd < 0)
        return false;
    const bool ok = ::ftruncate(m_fd, static_cast<off_t>(length)) == 0;
    close();
    return ok;
}

void TemporaryPicture::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace orvane
