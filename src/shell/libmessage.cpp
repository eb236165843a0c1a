#include "libmessage.h"

#include "libid.h"
#include "messagebox.h"

namespace orvane {

using namespace LoadMessages;

int LibMessage::Show(const LoadMessage &message)
{
    return m_box.showMessage(message.text, message.information ? MessageInformation : MessageExclamation,
                             LibId::ProductName());
}

int LibMessage::MsgFormatUnknown(const std::string &detail)
{
    return Show({detail.empty() ? FormatUnknownText() : FormatUnknownText() + "\r\n\r\n" + detail});
}

int LibMessage::MsgFileNameTooLong(const std::string &path)
{
    return Show({FileNameTooLongText(path)});
}

int LibMessage::MsgFileNotFound(const std::string &path)
{
    return Show({FileNotFoundText(path)});
}

int LibMessage::MsgPictureNotLoaded()
{
    return Show({PictureNotLoadedText()});
}

int LibMessage::MsgTempFileNotOpened(const std::string &path, const std::string &reason)
{
    return Show({TempFileNotOpenedText(path, reason), true});
}

} // namespace orvane
