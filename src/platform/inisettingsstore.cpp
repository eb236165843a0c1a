#include "inisettingsstore.h"

#include "os/fileio.h"
#include "platform/inifile.h"
#include "text/windows1252.h"

#include <cstdlib>
#include <vector>

namespace orvane {

namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> split(const std::string &text, char separator, bool keepEmpty)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end = 0; end <= text.size(); ++end) {
        if (end < text.size() && text[end] != separator)
            continue;
        if (keepEmpty || end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// QDir::cleanPath: no doubled '/', no "." and no resolvable "..", no trailing '/'.
std::string cleanPath(const std::string &path)
{
    const bool absolute = !path.empty() && path[0] == '/';
    std::vector<std::string> kept;
    for (const std::string &part : split(path, '/', false)) {
        if (part == ".")
            continue;
        if (part == ".." && !kept.empty() && kept.back() != "..")
            kept.pop_back();
        else if (part != ".." || !absolute)
            kept.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t k = 0; k < kept.size(); ++k)
        out += (k ? "/" : "") + kept[k];
    return out.empty() ? "." : out;
}

// QStandardPaths::writableLocation(GenericConfigLocation) as Qt 6.4 has it:
// XDG_CONFIG_HOME as given (even relative), else the cleaned $HOME ("/" when
// unset or empty) with "/.config".
std::string userFolder()
{
    const std::string configHome = environment("XDG_CONFIG_HOME");
    if (!configHome.empty())
        return configHome;
    const std::string home = environment("HOME");
    return (home.empty() ? std::string("/") : cleanPath(home)) + "/.config";
}

// The other folders of standardLocations(GenericConfigLocation): XDG_CONFIG_DIRS
// split at ':' with empty parts kept, or /etc/xdg.
std::vector<std::string> systemFolders()
{
    const std::string dirs = environment("XDG_CONFIG_DIRS");
    return dirs.empty() ? std::vector<std::string>{"/etc/xdg"} : split(dirs, ':', true);
}

} // namespace

std::vector<std::string> settingsStoreFiles(const std::string &app)
{
    const std::string appFile = "/" + app + "/" + app + ".conf", orgFile = "/" + app + ".conf";
    const std::string user = userFolder();
    std::vector<std::string> files{user + appFile, user + orgFile};
    const auto system = systemFolders();
    for (const std::string &folder : system)
        files.push_back(folder + appFile);
    for (const std::string &folder : system)
        files.push_back(folder + orgFile);
    return files;
}

namespace {

enum class StoreFile { Missing, Regular, NotRegular };

// More than any settings file a person writes.
constexpr std::size_t MaxStoreBytes = std::size_t(16) << 20;

// A file that cannot be read counts as empty, as QSettings takes it; one that
// is not a regular file is never opened, so a named pipe cannot make us wait.
StoreFile readStoreFile(const std::string &path, std::string &bytes)
{
    if (pathStatus(path) != PathStatus::Exists)
        return StoreFile::Missing;
    if (!fileIdentity(path, true))
        return StoreFile::NotRegular;
    FileBytes data;
    std::string error;
    if (ReadFileBytes(path, MaxStoreBytes, data, error))
        bytes.assign(data.begin(), data.end());
    return StoreFile::Regular;
}

// QSettings' normalizedKey: no leading, trailing or doubled '/'.
std::string normalizedKey(const std::string &key)
{
    std::string out;
    for (const std::string &part : split(key, '/', false))
        out += (out.empty() ? "" : "/") + part;
    return out;
}

} // namespace

std::optional<std::string> IniSettingsStore::readText(const std::string &application, const std::string &section,
                                                      const std::string &key)
{
    std::vector<std::string> contents;
    for (const std::string &path : settingsStoreFiles(application)) {
        contents.emplace_back();
        if (readStoreFile(path, contents.back()) == StoreFile::NotRegular)
            return std::nullopt;
    }
    const std::string group = normalizedKey(section);
    const std::string fullKey = group.empty() ? normalizedKey(key) : group + "/" + normalizedKey(key);
    for (const std::string &bytes : contents) {
        if (const auto text = readIniValue(bytes, fullKey))
            return utf8ToWindows1252(*text);
    }
    return std::nullopt;
}

std::string IniSettingsStore::location(const std::string &application) const
{
    return userFolder() + "/" + application + "/" + application + ".conf";
}

} // namespace orvane
