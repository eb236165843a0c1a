#pragma once

#include <string>

namespace orvane {

// What the window remembers between runs. Kept apart from the settings store
// the pattern defaults come from, which the program never writes.
class Preferences {
public:
    virtual ~Preferences() = default;
    // The folder of the last pattern opened; empty when none is remembered.
    virtual std::string lastFolder() = 0;
    virtual void setLastFolder(const std::string &folder) = 0;
};

} // namespace orvane
