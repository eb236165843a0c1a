#include "platform/fileio.h"
#include "platform/privatefile.h"
#include "widen.h"

#include <algorithm>
#include <cstdlib>
#include <windows.h>
#include <shlobj.h>

namespace orvane {

namespace {

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The folder above, when there is one to create: not above a drive's root.
std::wstring parentOf(const std::wstring &path)
{
    const auto slash = path.find_last_of(L"/\\");
    if (slash == std::wstring::npos || slash <= 2)
        return std::wstring();
    return path.substr(0, slash);
}

// Created when missing (under the user's profile it inherits an ACL for the
// user alone); a link or junction is refused, as on POSIX.
bool ensurePrivateFolder(const std::wstring &folder)
{
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        attributes = ::GetFileAttributesW(folder.c_str());
    }
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
        && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

std::string userCacheFolder()
{
    wchar_t *known = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)) && known)
        folder = Narrow(known);
    ::CoTaskMemFree(known);
    if (folder.empty()) {
        const wchar_t *variable = ::_wgetenv(L"LOCALAPPDATA");
        folder = variable ? Narrow(variable) : std::string();
    }
    return isAbsolutePath(folder) ? folder : std::string();
}

bool isAbsolutePath(const std::string &path)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && separator(path[2]))
        return true;
    // \\server\share, or \\?\ and \\.\ names.
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

bool PrivateFile::open(const std::string &folder, const std::string &name)
{
    close();
    const std::wstring wideFolder = Widen(folder);
    // The cache folder itself may be missing on a fresh account.
    const std::wstring parent = parentOf(wideFolder);
    if (!parent.empty() && ::GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES
        && !::CreateDirectoryW(parent.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    if (!ensurePrivateFolder(wideFolder))
        return false;
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, which is then refused
    // unwritten; a folder does not open at all without backup semantics.
    const HANDLE file = ::CreateFileW(Widen(joinPath(folder, name)).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info)
        || (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        ::CloseHandle(file);
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool PrivateFile::lockExclusive(int milliseconds)
{
    if (!isOpen())
        return false;
    bool locked = false;
    retryFor(milliseconds, [&] {
        OVERLAPPED whole {};
        locked = ::LockFileEx(handleOf(m_handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole);
        return locked || ::GetLastError() != ERROR_LOCK_VIOLATION;
    });
    return locked;
}

bool PrivateFile::write(const unsigned char *data, std::size_t size)
{
    if (!isOpen())
        return false;
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(handleOf(m_handle), data, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &written, nullptr)
            || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool PrivateFile::truncateAndClose(long long length)
{
    if (!isOpen())
        return false;
    LARGE_INTEGER end {};
    end.QuadPart = length;
    const bool ok = ::SetFilePointerEx(handleOf(m_handle), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handleOf(m_handle));
    close();
    return ok;
}

void PrivateFile::close()
{
    // Closing releases the lock too.
    if (isOpen())
        ::CloseHandle(handleOf(m_handle));
    m_handle = Closed;
}

} // namespace orvane
