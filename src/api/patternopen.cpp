#include "patternopen.h"

#include "settings/settingsstore.h"

namespace orvane {

bool PatternOpen::read(const std::string &path)
{
    return finish(readPatternFile(path, m_settings, m_fileBytes, std::move(m_pattern)));
}

bool PatternOpen::read(std::span<const unsigned char> bytes)
{
    return finish(readPattern(bytes, m_settings, std::move(m_pattern)));
}

bool PatternOpen::finish(ReadResult &&result)
{
    m_pattern = std::move(result.pattern);
    m_copy = PictureCopy();
    if (!result.failure)
        return true;
    // The file holding the value at fault, the one to fix.
    const std::string &key = result.failure->settingAtFault;
    tell(LoadMessages::ofReadFailure(*result.failure,
                                     m_settings.locationOf(LibDimension::SettingsApplication,
                                                           LibDimension::SettingsSection, key)));
    return false;
}

const PictureCopy &PatternOpen::copyPicture()
{
    if (m_picture) {
        m_copy = m_picture->copy(m_pattern);
        tell(LoadMessages::ofPictureCopy(m_copy));
    }
    return m_copy;
}

bool PatternOpen::open(const std::string &path)
{
    if (!read(path))
        return false;
    copyPicture();
    return true;
}

void PatternOpen::tell(const std::vector<LoadMessage> &messages) const
{
    for (const LoadMessage &message : messages)
        m_messages(message);
}

} // namespace orvane
