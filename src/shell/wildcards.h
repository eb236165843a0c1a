#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Windows programs expand their own wildcards: cmd and PowerShell hand *.pat
// over as typed. Each argument whose last part holds * or ? becomes the files
// (not folders) of its folder whose names match, after the folder part as
// typed, sorted by name in any letter case; one that matches nothing stays as
// it is, to fail as a name.
std::vector<std::string> expandWildcards(const std::vector<std::string> &arguments);

// Whether name matches pattern: * any run of characters, ? one character,
// ASCII letters in either case. As on Windows, *.* matches every name.
bool matchesWildcard(std::string_view pattern, std::string_view name);

} // namespace orvane
