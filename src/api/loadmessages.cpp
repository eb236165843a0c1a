#include "loadmessages.h"

namespace orvane::LoadMessages {

namespace {
constexpr const char *Crlf = "\r\n";
}

std::string FormatUnknownText()
{
    return std::string("The selected file could not be loaded.") + Crlf + Crlf
        + "The file format is unknown or was made with later version of the Veltrum Pattern Maker.";
}

std::string FileNotFoundText(const std::string &path)
{
    return std::string("The selected file was not found.") + Crlf + "File: " + path + Crlf + Crlf
        + "Check that the above folder and file exist and are write enabled.";
}

std::string FileNameTooLongText(const std::string &path)
{
    return std::string("The selected file name is longer than the system allows.") + Crlf + "File: " + path;
}

std::string SettingAtFaultText(const std::string &key, const std::string &file)
{
    // In the registry the group is a key of its own, the one regedit opens.
    if (file.starts_with("HKEY_"))
        return "The stored setting " + key + " in the registry key " + file + "\\Pattern does not hold a valid value.";
    return "The stored setting " + key + " in the [Pattern] group of "
        + (file.empty() ? std::string("the settings store") : file) + " does not hold a valid value.";
}

std::string PictureNotLoadedText()
{
    return std::string("The background picture was not loaded.") + Crlf + Crlf
        + "The selected file format is unrecognized or the file is corrupted.";
}

std::string TempFileNotOpenedText(const std::string &path, const std::string &reason)
{
    return std::string("The temporary picture file could not be opened.") + Crlf + "File: " + path + Crlf
        + (reason.empty() ? std::string() : reason + Crlf) + Crlf
        + "Check that the above folder exist and is write enable." + Crlf
        + "See Options, Display Setup to select the temporary file folder.";
}

std::vector<LoadMessage> ofReadFailure(const ReadFailure &failure, const std::string &settingsLocation)
{
    switch (failure.kind) {
    case ReadFailure::Kind::FileNotFound:
        return {{FileNotFoundText(failure.path)}};
    case ReadFailure::Kind::FileNameTooLong:
        return {{FileNameTooLongText(failure.path)}};
    case ReadFailure::Kind::FormatUnknown:
        break;
    }
    // A stored setting, not the pattern, may be what failed the load.
    if (failure.settingAtFault.empty())
        return {{FormatUnknownText()}};
    return {{FormatUnknownText() + Crlf + Crlf + SettingAtFaultText(failure.settingAtFault, settingsLocation)}};
}

std::vector<LoadMessage> ofPictureCopy(const PictureCopy &copy)
{
    switch (copy.outcome) {
    case PictureCopy::Outcome::NoPicture:
    case PictureCopy::Outcome::Copied:
        return {};
    case PictureCopy::Outcome::NotOpened:
    case PictureCopy::Outcome::NotWritten:
        // A copy that cannot be written names the file and the system's reason.
        return {{TempFileNotOpenedText(copy.path, copy.reason), true}, {PictureNotLoadedText()}};
    case PictureCopy::Outcome::NotCopyable:
        return {{PictureNotLoadedText()}};
    }
    return {};
}

} // namespace orvane::LoadMessages
