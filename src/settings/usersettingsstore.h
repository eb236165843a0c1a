#pragma once

#include "settings/settingsstore.h"

#include <memory>

namespace orvane {

// The user's settings store as the system keeps it, for the window and
// orvane-convert alike: the files under $XDG_CONFIG_HOME and $XDG_CONFIG_DIRS
// (FileSettingsStore) on POSIX, the registry under HKEY_CURRENT_USER\Software
// (RegistrySettingsStore) on Windows.
std::unique_ptr<SettingsStore> userSettingsStore();

} // namespace orvane
