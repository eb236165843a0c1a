#pragma once

#include "platform/settingsstore.h"

namespace orvane {

// The per-user settings store through QSettings (native format). On Linux
// that is $XDG_CONFIG_HOME/<application>/<application>.conf, with the section
// as an INI group. A file in its place that is not a regular file (a named
// pipe, a device) is never opened: the store then counts as empty.
class QSettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string &application, const std::string &section,
                                         const std::string &key) override;
    std::string location(const std::string &application) const override;
};

} // namespace orvane
