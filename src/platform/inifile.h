#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// One value of a settings file in Qt's INI format, read the way QSettings
// (Qt 6, Linux) reads it: [section] groups and keys are case-sensitive and
// percent-escaped (%41, %U00E9, '\' for '/'); ';' starts a comment; a value
// may be quoted, hold C escapes, span lines with a trailing '\' and become a
// list at an unquoted ','; @String(), @ByteArray(), @Variant() and the other
// @ wrappers are unwrapped. fullKey is "section/key" (normalized: no leading,
// trailing or doubled '/'), as QSettings::beginGroup and contains build it.
// Yields the value's text in UTF-8, a list joined with ','; nullopt when the
// file lacks the key.
std::optional<std::string> readIniValue(std::string_view fileBytes, const std::string &fullKey);

} // namespace orvane
