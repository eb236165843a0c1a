#pragma once

#include <string>

namespace orvane {

class MessageBox;

// The loader's message boxes, titled with the product name.
class LibMessage {
public:
    explicit LibMessage(MessageBox &box) : m_box(box) {}

    int MsgFormatUnknown();
    int MsgFileNotFound(const std::string &path);
    int MsgPictureNotLoaded();
    int MsgTempFileNotOpened(const std::string &path);

    static std::string FormatUnknownText();
    static std::string FileNotFoundText(const std::string &path);
    static std::string PictureNotLoadedText();
    static std::string TempFileNotOpenedText(const std::string &path);

private:
    MessageBox &m_box;
};

} // namespace orvane
