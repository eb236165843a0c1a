#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// Conversions of texts from the settings store: the user's locale first, then
// the C locale, so that "0.5" and a locale's "0,5" both read.
std::optional<float> storedTextToSingle(const std::string &text);
std::optional<std::int32_t> storedTextToLong(const std::string &text);
std::optional<std::int16_t> storedTextToBoolean(const std::string &text);

// Parses a plain decimal number (optional sign, fraction and exponent,
// surrounding blanks), accepting decimalPoint as well as '.'.
std::optional<double> parseDecimal(const std::string &text, char decimalPoint);
// The same with the user's locale decimal separator.
std::optional<double> parseLocaleNumber(const std::string &text);

} // namespace orvane
