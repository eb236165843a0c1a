#include "storedtext.h"

#include "numeric.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <locale>

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
    // Normalise the decimal separator and validate the shape ourselves:
    // from_chars would also take "inf" and "nan", which are not numbers here.
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
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec == std::errc::result_out_of_range && !exponent)
        return std::nullopt;
    if (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)
        return std::nullopt;
    if (result.ptr != body.data() + body.size())
        return std::nullopt;
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    return negative ? -value : value;
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
