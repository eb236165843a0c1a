#pragma once

#include <string>

namespace orvane {

namespace LibId {

// The product name recorded in the program's version information.
inline std::string ProductName()
{
    return "Veltrum Orvane";
}

// Title of the metafile writer's boxes and of the size input box.
inline std::string ApplicationTitle()
{
    return "Orvane";
}

} // namespace LibId

} // namespace orvane
