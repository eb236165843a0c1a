#include "os/fileio.h"
#include "widen.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace orvane {

namespace {

// The prefix of a temporary name beside target: its folder with the
// separator ("C:\" stays the root), or its drive, or nothing.
std::wstring folderPrefix(const std::wstring &target)
{
    const auto slash = target.find_last_of(L"/\\");
    if (slash != std::wstring::npos)
        return target.substr(0, slash + 1);
    return target.size() >= 2 && target[1] == L':' ? target.substr(0, 2) : std::wstring();
}

bool writeAll(int fd, const unsigned char *data, std::size_t size)
{
    while (size > 0) {
        const unsigned n = static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
        const int written = ::_write(fd, data, n);
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A device or a pipe server, already open: no temporary file, no rename.
bool writeThrough(HANDLE device, const std::vector<unsigned char> &bytes, std::string &error)
{
    const unsigned char *data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (ok && left > 0) {
        DWORD written = 0;
        ok = ::WriteFile(device, data, static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30)), &written, nullptr) && written > 0;
        data += written;
        left -= written;
    }
    if (!ok)
        error = systemErrorText(::GetLastError());
    ::CloseHandle(device);
    return ok;
}

} // namespace

bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error,
                        const SaveOptions &)
{
    const std::wstring target = Widen(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = std::strerror(EISDIR);
        return false;
    }
    // Opening changes nothing; it tells a file on disk from a device or pipe.
    const HANDLE existing = ::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE && ::GetFileType(existing) != FILE_TYPE_DISK)
        return writeThrough(existing, bytes, error);
    if (existing != INVALID_HANDLE_VALUE)
        ::CloseHandle(existing);

    // The process and the thread tell the name apart from every other save
    // going on at the time.
    std::wstring temp;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temp = folderPrefix(target) + L".orvane-" + std::to_wstring(::GetCurrentProcessId()) + L"-"
            + std::to_wstring(::GetCurrentThreadId()) + L"-" + std::to_wstring(tries);
        fd = ::_wopen(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::_commit(fd) == 0;
    if (!ok)
        error = std::strerror(errno);
    if (::_close(fd) != 0 && ok) {
        ok = false;
        error = std::strerror(errno);
    }
    if (ok && !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = systemErrorText(::GetLastError());
    }
    if (!ok)
        ::_wunlink(temp.c_str());
    return ok;
}

} // namespace orvane
