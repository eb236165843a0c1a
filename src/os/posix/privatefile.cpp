#include "os/privatefile.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

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
bool ensurePrivateFolder(const std::string &folder)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno != ENOENT)
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

std::string userCacheFolder()
{
    const char *cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return cache;
    const char *home = std::getenv("HOME");
    const std::string folder = home && home[0] == '/' ? std::string(home) : passwordHome();
    if (folder.empty() || folder.front() != '/')
        return std::string();
    return folder + "/.cache";
}

bool isAbsolutePath(const std::string &path)
{
    return !path.empty() && path.front() == '/';
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    return folder + "/" + name;
}

bool preparePrivateFolder(const std::string &folder)
{
    // The cache folder itself may be missing on a fresh account.
    const std::string parent = parentOf(folder);
    if (!parent.empty()) {
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 && (errno != ENOENT || ::mkdir(parent.c_str(), 0700) != 0))
            return false;
    }
    return ensurePrivateFolder(folder);
}

bool isReplaceableFile(const std::string &path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

} // namespace orvane
