#include "storedtext.h"

#include "numeric.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

namespace orvane {

namespace {

std::string trimmed(const std::string &text)
{
    auto isBlank = [](unsigned char c) { return std::isspace(c) != 0; };
    auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

char userDecimalPoint()
{
    static const char point = [] {
        try {
            return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
        } catch (...) {
            return '.';
        }
    }();
    return point;
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Reads an unsigned decimal in the C locale. Floating-point from_chars is
// missing from libc++ before 20, and strtod follows the global locale.
std::optional<double> classicToDouble(const std::string &body)
{
    std::istringstream in(body);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (!in.eof())
        return std::nullopt;
    // The libraries flag range errors differently (libstdc++ gives the largest
    // value on overflow and keeps underflow quiet, libc++ flags subnormals
    // too), so the value decides: too large fails, and so does a non-zero
    // number that reads as zero. Subnormals are numbers.
    if (std::isinf(value) || (in.fail() && value == std::numeric_limits<double>::max()))
        return std::nullopt;
    if (value == 0 && body.find_first_of("123456789") < body.find('e'))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> parseDecimal(const std::string &input, char decimalPoint)
{
    std::string text = trimmed(input);
    bool negative = false;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Normalise the decimal separator and validate the shape ourselves: the
    // stream would also take "inf", "nan" and hexadecimal, not numbers here.
    std::string body;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            body += c;
        } else if ((c == decimalPoint || c == '.') && !point && !exponent) {
            point = true;
            body += '.';
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            body += 'e';
            if (pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-'))
                body += text[++pos];
            if (pos + 1 >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos + 1])))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    const auto value = classicToDouble(body);
    if (!value)
        return std::nullopt;
    return negative ? -*value : *value;
}

std::optional<double> parseLocaleNumber(const std::string &text)
{
    if (auto value = parseDecimal(text, userDecimalPoint()))
        return value;
    return parseDecimal(text, '.');
}

std::optional<float> storedTextToSingle(const std::string &text)
{
    const auto value = parseLocaleNumber(text);
    if (!value)
        return std::nullopt;
    return storeSingle(*value);
}

std::optional<std::int32_t> storedTextToLong(const std::string &text)
{
    const auto value = parseLocaleNumber(text);
    if (!value)
        return std::nullopt;
    return roundToLong(*value);
}

std::optional<std::int16_t> storedTextToBoolean(const std::string &text)
{
    const std::string word = lowered(trimmed(text));
    if (word == "true")
        return std::int16_t(-1);
    if (word == "false")
        return std::int16_t(0);
    const auto value = parseLocaleNumber(text);
    if (!value)
        return std::nullopt;
    return std::int16_t(*value != 0 ? -1 : 0);
}

} // namespace orvane
