#pragma once

#include "platform/settingsstore.h"

#include <memory>

namespace orvane {

// The user's settings store as the system keeps it, read without Qt: the
// files under $XDG_CONFIG_HOME (IniSettingsStore) on POSIX, the registry
// under HKEY_CURRENT_USER\Software (RegistrySettingsStore) on Windows.
std::unique_ptr<SettingsStore> userSettingsStore();

} // namespace orvane
