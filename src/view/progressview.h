#pragma once

#include <string>

namespace orvane {

// What the progress facility needs of a window: a header, a bar, an optional
// "Cancel" button, and a way to let pending events run. The state lives in
// LibProgress; a view only shows it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // Loads the window if needed (centred over the main window) and shows it
    // without blocking.
    virtual void showWindow() = 0;
    // Shows or hides "Cancel" and fits the window's height to it.
    virtual void setCancelVisible(bool visible) = 0;
    virtual void setHeader(const std::string &header) = 0;
    virtual void setBar(float minimum, float maximum, float value) = 0;
    virtual void processPendingEvents() = 0;
    // Closes and discards the window.
    virtual void closeWindow() = 0;
};

} // namespace orvane
