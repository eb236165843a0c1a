#pragma once

#include <string>

namespace orvane {

class MessageBox;

// The loader's message boxes, titled with the product name.
class LibMessage {
public:
    explicit LibMessage(MessageBox &box) : m_box(box) {}

    // detail, when not empty, follows the usual text on a line of its own.
    int MsgFormatUnknown(const std::string &detail = {});
    int MsgFileNameTooLong(const std::string &path);
    int MsgFileNotFound(const std::string &path);
    int MsgPictureNotLoaded();
    // reason, when not empty, says what the system answered.
    int MsgTempFileNotOpened(const std::string &path, const std::string &reason = {});

    static std::string FormatUnknownText();
    static std::string FileNotFoundText(const std::string &path);
    static std::string FileNameTooLongText(const std::string &path);
    // Names the stored setting key (in file, when known) that does not convert.
    static std::string SettingAtFaultText(const std::string &key, const std::string &file);
    static std::string PictureNotLoadedText();
    static std::string TempFileNotOpenedText(const std::string &path, const std::string &reason = {});

private:
    MessageBox &m_box;
};

} // namespace orvane
