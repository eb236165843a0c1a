#pragma once

#include "api/loadmessages.h"

#include <string>

namespace orvane {

class MessageBox;

// The loader's message boxes, titled with the product name.
class LibMessage {
public:
    explicit LibMessage(MessageBox &box) : m_box(box) {}

    // An open's message, with the icon it asks for.
    int Show(const LoadMessage &message);

    // detail, when not empty, follows the usual text on a line of its own.
    int MsgFormatUnknown(const std::string &detail = {});
    int MsgFileNameTooLong(const std::string &path);
    int MsgFileNotFound(const std::string &path);
    int MsgPictureNotLoaded();
    // reason, when not empty, says what the system answered.
    int MsgTempFileNotOpened(const std::string &path, const std::string &reason = {});

private:
    MessageBox &m_box;
};

} // namespace orvane
