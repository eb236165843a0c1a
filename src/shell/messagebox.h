#pragma once

#include <string>

namespace orvane {

// Style numbers of the modal message box: one OK button plus an icon.
enum MessageStyle : int {
    MessageExclamation = 48,
    MessageInformation = 64,
};

// The platform's message box and beep. Texts use "\r\n" line breaks.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Returns the code of the button pressed (1 for OK).
    virtual int showMessage(const std::string &text, int style, const std::string &title) = 0;
    virtual void beep() = 0;
};

// A message's text with "\n" line breaks, for places other than the box.
inline std::string unixLineBreaks(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    }
    return out;
}

} // namespace orvane
