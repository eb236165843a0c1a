#pragma once

// Conversions at the Windows API: paths are UTF-8 everywhere else.

#include <string>

namespace orvane {

std::wstring Widen(const std::string &utf8);
std::string Narrow(const std::wstring &utf16);

// The system's text for an error code from GetLastError(), in UTF-8.
std::string systemErrorText(unsigned long code);

} // namespace orvane
