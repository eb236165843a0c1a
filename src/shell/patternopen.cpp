#include "patternopen.h"

#include "shell/libmessage.h"
#include "platform/settingsstore.h"

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
    showReadFailure(m_messages, *result.failure, m_settings.location(LibDimension::SettingsApplication));
    return false;
}

const PictureCopy &PatternOpen::copyPicture()
{
    if (m_picture) {
        m_copy = m_picture->copy(m_pattern);
        showPictureCopy(m_messages, m_copy);
    }
    return m_copy;
}

bool PatternOpen::LoadPattern(const std::string &path)
{
    if (!read(path))
        return false;
    copyPicture();
    return true;
}

void showReadFailure(LibMessage &messages, const ReadFailure &failure, const std::string &settingsLocation)
{
    switch (failure.kind) {
    case ReadFailure::Kind::FileNotFound:
        messages.MsgFileNotFound(failure.path);
        break;
    case ReadFailure::Kind::FileNameTooLong:
        messages.MsgFileNameTooLong(failure.path);
        break;
    case ReadFailure::Kind::FormatUnknown:
        messages.MsgFormatUnknown(failure.settingAtFault.empty()
                                      ? std::string()
                                      : LibMessage::SettingAtFaultText(failure.settingAtFault, settingsLocation));
        break;
    }
}

void showPictureCopy(LibMessage &messages, const PictureCopy &copy)
{
    switch (copy.outcome) {
    case PictureCopy::Outcome::NoPicture:
    case PictureCopy::Outcome::Copied:
        break;
    case PictureCopy::Outcome::NotOpened:
    case PictureCopy::Outcome::NotWritten:
        // A copy that cannot be written names the file and the system's reason.
        messages.MsgTempFileNotOpened(copy.path, copy.reason);
        messages.MsgPictureNotLoaded();
        break;
    case PictureCopy::Outcome::NotCopyable:
        messages.MsgPictureNotLoaded();
        break;
    }
}

} // namespace orvane
