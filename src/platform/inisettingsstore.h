#pragma once

#include "platform/settingsstore.h"

#include <string>
#include <vector>

namespace orvane {

// The per-user settings store without Qt: reads the files QSettings (native
// format, user scope, organization and application both named application)
// reads on Linux, in its order: $XDG_CONFIG_HOME/<application>/<application>.conf,
// $XDG_CONFIG_HOME/<application>.conf, then the same two names in each folder
// of $XDG_CONFIG_DIRS (default /etc/xdg), all application files before the
// organization files. The first file holding the key wins. As with
// QSettingsStore, a store file that exists but is not a regular file (a named
// pipe, a folder, a device) makes the whole store count as empty.
// The files QSettings reads for application on Linux, first to last.
std::vector<std::string> settingsStoreFiles(const std::string &application);

class IniSettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string &application, const std::string &section,
                                         const std::string &key) override;
    std::string location(const std::string &application) const override;
};

} // namespace orvane
