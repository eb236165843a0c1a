#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

// The folder for the user's cached files: $XDG_CACHE_HOME, else ~/.cache with
// the home folder from HOME or else the password database (POSIX);
// %LOCALAPPDATA% (Windows). Empty when there is none.
std::string userCacheFolder();

// Whether path is absolute: from '/' on POSIX, from a drive letter and a
// slash or a UNC server name on Windows.
bool isAbsolutePath(const std::string &path);

// folder and name joined with the system's separator.
std::string joinPath(const std::string &folder, const std::string &name);

// A file in a folder of the user's own, for a copy no other user may read or
// swap. Only this user's folder is accepted, never through a symbolic link,
// and the file is never opened through one either.
class PrivateFile {
public:
    PrivateFile() = default;
    ~PrivateFile() { close(); }
    PrivateFile(const PrivateFile &) = delete;
    PrivateFile &operator=(const PrivateFile &) = delete;

    // Creates folder (owner only) and its parent when missing and opens
    // folder/name for writing from its start, creating it when missing.
    // Refuses a folder or file that is a link or not of the expected kind.
    bool open(const std::string &folder, const std::string &name);
    // Waits up to milliseconds for the exclusive lock that other copies of
    // the program take too; false (and the file still open) when it stays held.
    bool lockExclusive(int milliseconds);
    bool write(const unsigned char *data, std::size_t size);
    // Cuts the file to length bytes and closes it.
    bool truncateAndClose(long long length);
    void close();
    bool isOpen() const { return m_handle != Closed; }

private:
    // A descriptor on POSIX, a HANDLE on Windows (where -1 is INVALID_HANDLE_VALUE).
    static constexpr std::intptr_t Closed = -1;
    std::intptr_t m_handle = Closed;
};

} // namespace orvane
