#include "registrysettingsstore.h"


#include "text/windows1252.h"
#include "os/windows/widen.h"

#include <cstdint>
#include <cstring>
#include <windows.h>

namespace orvane {

namespace {

const char *const UserSoftware = "HKEY_CURRENT_USER\\Software\\";

} // namespace

std::optional<std::string> RegistrySettingsStore::readText(const std::string &application, const std::string &section,
                                                           const std::string &key)
{
    const std::wstring path = Widen("Software\\" + application + "\\" + section);
    const std::wstring name = Widen(key);
    const DWORD accepted = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_RT_REG_DWORD | RRF_RT_REG_QWORD | RRF_NOEXPAND;
    DWORD type = 0, size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), accepted, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for the terminator RegGetValueW adds when the stored text lacks one.
    std::wstring data((size + sizeof(wchar_t) - 1) / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), accepted, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) {
        std::uint32_t value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return std::to_string(value);
    }
    if (type == REG_QWORD) {
        std::uint64_t value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return std::to_string(value);
    }
    data.resize(data.find(L'\0'));
    return utf8ToWindows1252(Narrow(data));
}

std::string RegistrySettingsStore::location(const std::string &application) const
{
    return UserSoftware + application;
}

} // namespace orvane
