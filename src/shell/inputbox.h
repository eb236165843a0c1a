#pragma once

#include <string>

namespace orvane {

// The platform's input box: a prompt and an empty entry field. Returns the
// text typed, or the empty text when the user cancels.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual std::string inputBox(const std::string &prompt, const std::string &title) = 0;
};

} // namespace orvane
