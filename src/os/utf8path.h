#pragma once

#include <filesystem>
#include <string>

namespace orvane {

// A UTF-8 path as std::filesystem takes it, and back. A plain std::string
// would pass through the ANSI code page on Windows and lose every character
// the code page lacks (日本.pat, and on some systems café.pat).
inline std::filesystem::path pathFromUtf8(const std::string &utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8FromPath(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace orvane
