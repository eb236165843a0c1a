#include "temporarypicture.h"

#include "platform/fileio.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// How long a load waits for another copy of the program to finish its copy.
constexpr int LockWaitMs = 3000;

// The home folder from the password database, for a session without HOME.
std::string passwordHome()
{
    passwd entry {};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found || !found->pw_dir)
        return std::string();
    return found->pw_dir;
}

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
        std::string folder = home && home[0] == '/' ? std::string(home) : passwordHome();
        if (folder.empty() || folder.front() != '/')
            return std::string();
        base = folder + "/.cache";
    }
    return base + "/Veltrum Orvane";
}

std::string TemporaryPicture::path() const
{
    // Without a folder nothing is tried, and no path is named.
    if (m_folder.empty())
        return std::string();
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
    // Another copy of the program may be writing its picture; the lock keeps
    // each copy whole, so wait for it rather than fail at once.
    bool locked = false;
    retryFor(LockWaitMs, [&] {
        locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        return locked || errno != EWOULDBLOCK;
    });
    if (!locked) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool TemporaryPicture::write(const unsigned char *data, std::size_t size)
{
    return m_fd >= 0 && writeAll(m_fd, data, size);
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
