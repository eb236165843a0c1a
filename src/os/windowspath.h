#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Windows' rules for path text, in plain code so that every build (and its
// tests on any system) runs them: the Windows build's path functions call
// these.

// From a drive letter, a colon and a slash (either kind), or a UNC name
// (\\server\share, \\?\..., \\.\...).
bool isAbsoluteWindowsPath(std::string_view path);

// folder and name with one backslash between, none added after a slash.
std::string joinWindowsPath(std::string_view folder, std::string_view name);

} // namespace orvane
