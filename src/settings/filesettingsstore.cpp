#include "filesettingsstore.h"

#include "os/fileio.h"
#include "storefile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace orvane {

namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string configHome()
{
    std::string folder = environment("XDG_CONFIG_HOME");
    if (!folder.empty())
        return folder;
    // "/home/u/" and "/home//u" name the same folder; a message shows it once, plainly.
    std::string home = std::filesystem::path(environment("HOME")).lexically_normal().generic_string();
    while (!home.empty() && home.back() == '/')
        home.pop_back();
    return home + "/.config";
}

std::vector<std::string> systemConfigFolders()
{
    std::vector<std::string> folders;
    const std::string list = environment("XDG_CONFIG_DIRS");
    for (std::size_t at = 0; at <= list.size();) {
        const std::size_t end = std::min(list.find(':', at), list.size());
        if (end > at)
            folders.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    if (folders.empty())
        folders.push_back("/etc/xdg");
    return folders;
}

// The store file's bytes, unless it is missing, not a regular file, too
// large or unreadable. The size comes first, so that an oversized file is
// never read; one that grows meanwhile is caught by reading one byte more
// than allowed.
std::optional<FileBytes> storeFileBytes(const std::string &file)
{
    std::error_code error;
    if (std::filesystem::file_size(file, error) > FileSettingsStore::MaxFileBytes || error)
        return std::nullopt;
    FileBytes bytes;
    std::string reason;
    if (!ReadFileBytes(file, FileSettingsStore::MaxFileBytes + 1, bytes, reason)
        || bytes.size() > FileSettingsStore::MaxFileBytes)
        return std::nullopt;
    return bytes;
}

// The value of key and the file it comes from, the first file holding it.
std::optional<std::pair<std::string, std::string>> findValue(const std::string &application,
                                                              const std::string &section, const std::string &key)
{
    for (const std::string &file : settingsStoreFiles(application)) {
        const auto bytes = storeFileBytes(file);
        if (!bytes)
            continue;
        const std::string_view text(reinterpret_cast<const char *>(bytes->data()), bytes->size());
        if (auto value = storeFileValue(text, section, key))
            return std::pair(std::move(*value), file);
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> settingsStoreFiles(const std::string &application)
{
    const std::string own = "/" + application + "/" + application + ".conf";
    const std::string organization = "/" + application + ".conf";
    const std::string home = configHome();
    std::vector<std::string> files{home + own, home + organization};
    const std::vector<std::string> system = systemConfigFolders();
    for (const std::string &folder : system)
        files.push_back(folder + own);
    for (const std::string &folder : system)
        files.push_back(folder + organization);
    return files;
}

std::optional<std::string> FileSettingsStore::readText(const std::string &application, const std::string &section,
                                                       const std::string &key)
{
    const auto found = findValue(application, section, key);
    return found ? std::optional(found->first) : std::nullopt;
}

std::string FileSettingsStore::location(const std::string &application) const
{
    return settingsStoreFiles(application).front();
}

std::string FileSettingsStore::locationOf(const std::string &application, const std::string &section,
                                          const std::string &key) const
{
    const auto found = findValue(application, section, key);
    return found ? found->second : location(application);
}

} // namespace orvane
