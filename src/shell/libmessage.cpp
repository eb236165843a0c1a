#include "libmessage.h"

#include "libid.h"
#include "messagebox.h"

namespace orvane {

namespace {
constexpr const char *Crlf = "\r\n";
}

std::string LibMessage::FormatUnknownText()
{
    return std::string("The selected file could not be loaded.") + Crlf + Crlf
        + "The file format is unknown or was made with later version of the Veltrum Pattern Maker.";
}

std::string LibMessage::FileNotFoundText(const std::string &path)
{
    return std::string("The selected file was not found.") + Crlf + "File: " + path + Crlf + Crlf
        + "Check that the above folder and file exist and are write enabled.";
}

std::string LibMessage::FileNameTooLongText(const std::string &path)
{
    return std::string("The selected file name is longer than the system allows.") + Crlf + "File: " + path;
}

std::string LibMessage::SettingAtFaultText(const std::string &key, const std::string &file)
{
    // In the registry the group is a key of its own, the one regedit opens.
    if (file.starts_with("HKEY_"))
        return "The stored setting " + key + " in the registry key " + file + "\\Pattern does not hold a valid value.";
    return "The stored setting " + key + " in the [Pattern] group of "
        + (file.empty() ? std::string("the settings store") : file) + " does not hold a valid value.";
}

std::string LibMessage::PictureNotLoadedText()
{
    return std::string("The background picture was not loaded.") + Crlf + Crlf
        + "The selected file format is unrecognized or the file is corrupted.";
}

std::string LibMessage::TempFileNotOpenedText(const std::string &path, const std::string &reason)
{
    return std::string("The temporary picture file could not be opened.") + Crlf + "File: " + path + Crlf
        + (reason.empty() ? std::string() : reason + Crlf) + Crlf
        + "Check that the above folder exist and is write enable." + Crlf
        + "See Options, Display Setup to select the temporary file folder.";
}

int LibMessage::MsgFormatUnknown(const std::string &detail)
{
    const std::string text = detail.empty() ? FormatUnknownText() : FormatUnknownText() + Crlf + Crlf + detail;
    return m_box.showMessage(text, MessageExclamation, LibId::ProductName());
}

int LibMessage::MsgFileNameTooLong(const std::string &path)
{
    return m_box.showMessage(FileNameTooLongText(path), MessageExclamation, LibId::ProductName());
}

int LibMessage::MsgFileNotFound(const std::string &path)
{
    return m_box.showMessage(FileNotFoundText(path), MessageExclamation, LibId::ProductName());
}

int LibMessage::MsgPictureNotLoaded()
{
    return m_box.showMessage(PictureNotLoadedText(), MessageExclamation, LibId::ProductName());
}

int LibMessage::MsgTempFileNotOpened(const std::string &path, const std::string &reason)
{
    return m_box.showMessage(TempFileNotOpenedText(path, reason), MessageInformation, LibId::ProductName());
}

} // namespace orvane
