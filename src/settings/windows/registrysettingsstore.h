#pragma once

#include "settings/settingsstore.h"

namespace orvane {

// The per-user settings store on Windows: value <key> of the registry key
// HKEY_CURRENT_USER\Software\<application>\<section>. REG_SZ and
// REG_EXPAND_SZ (not expanded) are read as text, REG_DWORD and REG_QWORD as
// their decimal value; a value of any other type counts as missing, as does
// a missing value or key. Texts come in the pattern code page, as from the
// other stores.
class RegistrySettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string &application, const std::string &section,
                                         const std::string &key) override;
    std::string location(const std::string &application) const override;
};

} // namespace orvane
