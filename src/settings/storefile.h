#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The value of key in section of one store file, read as README.md ("Where
// things live") describes the format: [section] lines, Key=Value lines,
// ';' and '#' comments, quotes and backslash escapes, a byte-order mark
// ignored at the start of a line. Later lines of a key win. The text comes
// in the pattern code page (Windows-1252); nullopt when the file lacks the key.
std::optional<std::string> storeFileValue(std::string_view bytes, std::string_view section, std::string_view key);

} // namespace orvane
