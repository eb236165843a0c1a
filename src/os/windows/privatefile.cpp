#include "os/privatefile.h"
#include "widen.h"
#include "os/windowspath.h"

#include <cstdlib>
#include <windows.h>
#include <shlobj.h>

namespace orvane {

namespace {

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
    return isAbsoluteWindowsPath(path);
}

std::string joinPath(const std::string &folder, const std::string &name)
{
    return joinWindowsPath(folder, name);
}

bool preparePrivateFolder(const std::string &folder)
{
    const std::wstring wideFolder = Widen(folder);
    // The cache folder itself may be missing on a fresh account.
    const std::wstring parent = parentOf(wideFolder);
    if (!parent.empty() && ::GetFileAttributesW(parent.c_str()) == INVALID_FILE_ATTRIBUTES
        && !::CreateDirectoryW(parent.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    return ensurePrivateFolder(wideFolder);
}

bool isReplaceableFile(const std::string &path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

} // namespace orvane
