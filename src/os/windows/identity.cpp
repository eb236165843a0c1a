#include "os/fileio.h"
#include "widen.h"

#include <windows.h>

namespace orvane {

namespace {

std::optional<std::pair<std::uint64_t, std::uint64_t>> identityOf(HANDLE file, bool regularOnly)
{
    BY_HANDLE_FILE_INFORMATION info {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info))
        return std::nullopt;
    if (regularOnly && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return std::pair<std::uint64_t, std::uint64_t>(
        info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

} // namespace

std::optional<std::pair<std::uint64_t, std::uint64_t>> fileIdentity(const std::string &path, bool regularOnly)
{
    // Backup semantics open folders too; nothing is read or written.
    const HANDLE file = ::CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const auto identity = identityOf(file, regularOnly);
    ::CloseHandle(file);
    return identity;
}

bool namesStandardOutput(const std::string &path)
{
    const auto out = identityOf(::GetStdHandle(STD_OUTPUT_HANDLE), false);
    return out && out == fileIdentity(path);
}

bool WriteStandardOutput(const std::vector<unsigned char> &bytes, std::string &error)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::WriteFile(out, bytes.data() + done, chunk, &wrote, nullptr)) {
            error = systemErrorText(::GetLastError());
            return false;
        }
        done += wrote;
    }
    return true;
}

} // namespace orvane
