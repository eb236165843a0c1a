#pragma once

#include <string>

namespace orvane {

// Pattern files store texts in a single-byte code page; Windows-1252 stands
// for it here. Bytes the code page leaves undefined map to the C1 controls.
std::string windows1252ToUtf8(const std::string &bytes);
// Characters outside the code page become '?'.
std::string utf8ToWindows1252(const std::string &utf8);

} // namespace orvane
