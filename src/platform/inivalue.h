#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The text QSettingsStore gives for the raw text after '=' in a settings
// file: quotes and C escapes resolved, lines joined at a trailing '\', an
// unquoted ',' making a list that is joined back with ',', and the @String(),
// @ByteArray(), @Variant() (texts, whole numbers, booleans) and other @
// wrappers unwrapped as QSettings and QVariant::toString do.
std::u16string iniValueText(std::string_view raw);

} // namespace orvane
