#include "usersettingsstore.h"

#if defined(_WIN32)
#include "windows/registrysettingsstore.h"
#else
#include "filesettingsstore.h"
#endif

namespace orvane {

std::unique_ptr<SettingsStore> userSettingsStore()
{
#if defined(_WIN32)
    return std::make_unique<RegistrySettingsStore>();
#else
    return std::make_unique<FileSettingsStore>();
#endif
}

} // namespace orvane
