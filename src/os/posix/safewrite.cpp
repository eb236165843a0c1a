#include "os/fileio.h"
#include "posixfile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// How long a save waits for a program to open the named pipe it writes to.
constexpr int PipeReaderWaitMs = 3000;

std::string folderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name for one of this process's open descriptors (/proc/self/fd/N,
// /dev/fd/N): its number, or -1.
int descriptorNamed(const std::string &path)
{
    for (const std::string &prefix :
         {std::string("/proc/self/fd/"), std::string("/dev/fd/"), "/proc/" + std::to_string(::getpid()) + "/fd/"}) {
        if (path.size() > prefix.size() && path.size() - prefix.size() < 9 && path.compare(0, prefix.size(), prefix) == 0
            && path.find_first_not_of("0123456789", prefix.size()) == std::string::npos)
            return std::stoi(path.substr(prefix.size()));
    }
    return -1;
}

// The path a save writes to: symbolic links followed to the file they name,
// which need not exist. A link that cannot be read leaves the path as it is,
// for the write itself to fail with the reason. A link through one of our
// open descriptors (/dev/stdout) stops there, with its number in descriptor:
// what it leads to is no name to replace but a stream opened for us.
bool resolveLinks(std::string &path, int &descriptor)
{
    for (int hops = 0; hops < 40; ++hops) {
        descriptor = descriptorNamed(path);
        if (descriptor >= 0)
            return true;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || n == static_cast<ssize_t>(sizeof target))
            return true;
        const std::string link(target, static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

// Owns the name a temporary file has for the time it has one, and tells the
// caller's watch about it.
class TemporaryName {
public:
    explicit TemporaryName(TemporaryFileWatch *watch) : m_watch(watch) {}
    ~TemporaryName() { remove(); }
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;

    // Runs make, which makes the file called name.
    bool create(const std::string &name, const std::function<bool()> &make)
    {
        const bool made = m_watch ? m_watch->create(name, make) : make();
        if (made)
            m_name = name;
        return made;
    }
    // The file now has its final name (or none); nothing to remove.
    void release() { forget(); }
    void remove()
    {
        if (!m_name.empty())
            ::unlink(m_name.c_str());
        forget();
    }

private:
    void forget()
    {
        if (!m_name.empty() && m_watch)
            m_watch->forget();
        m_name.clear();
    }

    TemporaryFileWatch *m_watch;
    std::string m_name;
};

// Gives the unnamed file fd a hidden name in folder. The process and the
// descriptor tell it apart from every other save going on at the time.
bool linkUnnamed(int fd, const std::string &folder, std::string &name, TemporaryName &guard)
{
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    for (int tries = 0; tries < 100; ++tries) {
        name = folder + "/.orvane-" + std::to_string(::getpid()) + "-" + std::to_string(fd) + "-"
            + std::to_string(tries);
        const bool linked = guard.create(name, [&] {
            return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
        if (linked || errno != EEXIST)
            return linked;
    }
    return false;
}

// A device, named pipe or socket: no temporary file, no rename.
bool writeThrough(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error)
{
    int fd = -1;
    // Opening a pipe for writing without a reader fails at once with O_NONBLOCK (ENXIO).
    const bool opened = retryFor(PipeReaderWaitMs, [&] {
        fd = ::open(path.c_str(), O_WRONLY | O_BINARY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        return fd >= 0 || errno != ENXIO;
    });
    if (fd < 0) {
        error = opened ? std::strerror(errno) : "No program reads from the named pipe.";
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok)
        error = std::strerror(savedErrno);
    return ok;
}

} // namespace

bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error,
                        const SaveOptions &options)
{
    std::string target = path;
    int descriptor = -1;
    if (!resolveLinks(target, descriptor)) {
        error = std::strerror(errno);
        return false;
    }
    // Written where the stream stands, as a shell's redirection would: a file
    // opened with >> keeps what it held.
    if (descriptor >= 0) {
        if (writeAll(descriptor, bytes.data(), bytes.size()))
            return true;
        error = std::strerror(errno);
        return false;
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = std::strerror(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode))
        return writeThrough(target, bytes, error);

    // The new file gets what the file it replaces has, or what a newly
    // created file would have.
    const mode_t mode = exists ? existing.st_mode & 07777 : newFileMode();
    const std::string folder = folderOf(target);
    TemporaryName guard(options.watch);
    std::string temp;
    int fd = options.unnamedTemporaryFiles
        ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_BINARY | O_CLOEXEC, 0600)
        : -1;
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        temp = folder + "/.orvane-XXXXXX";
        if (!guard.create(temp, [&] { return (fd = ::mkostemp(temp.data(), O_BINARY | O_CLOEXEC)) >= 0; })) {
            error = std::strerror(errno);
            return false;
        }
    }
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    int savedErrno = errno;
    if (ok) {
        // A new owner or mode that does not stick is not a failed save: the
        // contents are what was asked for, and only root may give a file away.
        // A user may still keep the group where they belong to it.
        const bool ownerKept = !exists || ::fchown(fd, existing.st_uid, existing.st_gid) == 0;
        const bool groupKept = ownerKept || ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) == 0;
        const bool modeKept = ::fchmod(fd, mode) == 0;
        static_cast<void>(groupKept);
        static_cast<void>(modeKept);
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && unnamed && !linkUnnamed(fd, folder, temp, guard)) {
        ok = false;
        savedErrno = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (ok) {
        guard.release();
        return true;
    }
    guard.remove();
    error = std::strerror(savedErrno);
    return false;
}

} // namespace orvane
