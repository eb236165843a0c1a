#include "os/fileio.h"
#include "readhandle.h"
#include "widen.h"

#include <algorithm>
#include <windows.h>

namespace orvane {

bool ReadFileBytes(const std::string &path, std::size_t limit, FileBytes &bytes, std::string &error)
{
    bytes.clear();
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open; a pipe or a
    // device opens without waiting and is closed again unread.
    const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemErrorText(::GetLastError());
        return false;
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        error = "Not a regular file.";
        return false;
    }
    LARGE_INTEGER size {};
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0)
        bytes.reserve(static_cast<std::size_t>(std::min<unsigned long long>(limit, static_cast<unsigned long long>(size.QuadPart))));
    const DWORD failure = readHandle(file, limit, bytes);
    ::CloseHandle(file);
    if (failure == ERROR_SUCCESS)
        return true;
    error = systemErrorText(failure);
    bytes.clear();
    return false;
}

PathStatus pathStatus(const std::string &path)
{
    if (path.empty())
        return PathStatus::Missing;
    if (::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return PathStatus::Exists;
    return ::GetLastError() == ERROR_FILENAME_EXCED_RANGE ? PathStatus::NameTooLong : PathStatus::Missing;
}

} // namespace orvane
