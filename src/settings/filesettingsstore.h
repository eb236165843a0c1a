#pragma once

#include "settings/settingsstore.h"

#include <string>
#include <vector>

namespace orvane {

// The files the store of application is kept in on Linux, first to last:
// <config>/<application>/<application>.conf, <config>/<application>.conf,
// then the first name in each folder of $XDG_CONFIG_DIRS and the second in
// each. <config> is $XDG_CONFIG_HOME, else ~/.config.
std::vector<std::string> settingsStoreFiles(const std::string &application);

// The settings store as files in the format README.md ("Where things live")
// describes. The first file holding the key gives its value; a file that is
// missing, not a regular file, larger than MaxFileBytes or unreadable is left
// out, and a named pipe is never opened.
class FileSettingsStore : public SettingsStore {
public:
    static constexpr std::size_t MaxFileBytes = std::size_t(16) << 20;

    std::optional<std::string> readText(const std::string &application, const std::string &section,
                                        const std::string &key) override;
    // The user's own file, the first of the list.
    std::string location(const std::string &application) const override;
    // The first file holding key, the one to fix; the user's own file when
    // none holds it.
    std::string locationOf(const std::string &application, const std::string &section,
                           const std::string &key) const override;
};

} // namespace orvane
