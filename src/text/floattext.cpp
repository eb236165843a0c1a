#include "floattext.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>

// libc++ gained floating-point to_chars in version 14.
#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
#define ORVANE_FLOAT_TO_CHARS 0
#else
#define ORVANE_FLOAT_TO_CHARS 1
#endif

namespace orvane {

namespace snprintfText {

namespace {

// printf writes the locale's decimal point; the text must carry '.'.
std::string print(const char *format, int precision, double value)
{
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, format, precision, value);
    std::string text(buffer, length > 0 ? std::size_t(length) : 0);
    const char point = std::localeconv()->decimal_point[0];
    for (char &c : text) {
        if (c == point)
            c = '.';
    }
    return text;
}

} // namespace

std::string fixed(double value, int decimals)
{
    return print("%.*f", decimals, value);
}

std::string general(double value, int precision)
{
    return print("%.*g", precision, value);
}

std::string shortest(float value)
{
    // The fewest significant digits that read back to the same float.
    std::string scientific;
    for (int precision = 0; precision <= 9; ++precision) {
        scientific = print("%.*e", precision, value);
        if (std::strtof(scientific.c_str(), nullptr) == value)
            break;
    }
    // scientific is "-d.ddde+XX"; rebuild the digits in plain notation.
    const bool negative = scientific[0] == '-';
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (scientific[i] != '.')
            digits += scientific[i];
    }
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string plain;
    if (exponent >= 0) {
        plain = digits;
        if (plain.size() < std::size_t(exponent) + 1)
            plain.append(std::size_t(exponent) + 1 - plain.size(), '0');
        else if (plain.size() > std::size_t(exponent) + 1)
            plain.insert(std::size_t(exponent) + 1, 1, '.');
    } else {
        plain = "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    if (negative)
        plain.insert(0, 1, '-');
    return plain.size() <= scientific.size() ? plain : scientific;
}

} // namespace snprintfText

#if ORVANE_FLOAT_TO_CHARS

std::string fixedText(double value, int decimals)
{
    char buffer[512];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
    return std::string(buffer, end);
}

std::string generalText(double value, int precision)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision).ptr;
    return std::string(buffer, end);
}

std::string shortestText(float value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

#else

std::string fixedText(double value, int decimals)
{
    return snprintfText::fixed(value, decimals);
}

std::string generalText(double value, int precision)
{
    return snprintfText::general(value, precision);
}

std::string shortestText(float value)
{
    return snprintfText::shortest(value);
}

#endif

} // namespace orvane
