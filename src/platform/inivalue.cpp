#include "inivalue.h"

#include "text/utf16text.h"

#include <cstdint>
#include <vector>

namespace orvane {

namespace {

using Text = std::u16string;

struct Value {
    Text text;
    std::vector<Text> list;
    bool isList = false;
};

void chopTrailingSpaces(Text &s, std::size_t limit)
{
    while (s.size() > limit && (s.back() == u' ' || s.back() == u'\t'))
        s.pop_back();
}

// The text after '=': quotes, C escapes, a trailing '\' joining lines, and an
// unquoted ',' making a list.
Value unescapeValue(std::string_view str)
{
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'},  {'t', '\t'},
                                      {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    Value v;
    Utf8PieceDecoder utf8;
    bool inQuotes = false;
    bool quoted = false;
    std::size_t i = 0;
    const auto skipSpaces = [&] {
        while (i < str.size() && (str[i] == ' ' || str[i] == '\t'))
            ++i;
    };
    const auto finish = [&]() -> Value & {
        if (v.isList)
            v.list.push_back(v.text);
        return v;
    };
    skipSpaces();
    std::size_t chopLimit = v.text.size();
    while (i < str.size()) {
        const char c = str[i];
        if (c == '\\') {
            if (++i >= str.size())
                return finish();
            const char e = str[i++];
            bool simple = false;
            for (const auto &escape : escapes)
                if (e == escape[0])
                    v.text += char16_t(escape[1]), simple = true;
            const int base = e == 'x' ? 16 : (e >= '0' && e <= '7') ? 8 : 0;
            if (base == 16 && i >= str.size())
                return finish();
            if (base == 8 || (base == 16 && hexValue(str[i]) >= 0)) {
                char16_t value = base == 8 ? char16_t(e - '0') : 0;
                for (int d = 0; i < str.size() && (d = hexValue(str[i])) >= 0 && d < base; ++i)
                    value = char16_t(value * base + d);
                v.text += value;
                if (i >= str.size())
                    return finish();
            } else if (!simple && (e == '\n' || e == '\r') && i < str.size()
                       && (str[i] == '\n' || str[i] == '\r') && str[i] != e) {
                ++i;
            }
            chopLimit = v.text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = v.text.size();
            }
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingSpaces(v.text, chopLimit);
            v.isList = true;
            v.list.push_back(v.text);
            v.text.clear();
            quoted = false;
            ++i;
            skipSpaces();
            chopLimit = 0;
        } else {
            std::size_t j = i + 1;
            while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',')
                ++j;
            utf8.decode(str.substr(i, j - i), v.text);
            i = j;
        }
    }
    if (!quoted)
        chopTrailingSpaces(v.text, chopLimit);
    return finish();
}

std::string latin1(const Text &s)
{
    std::string out;
    for (char16_t c : s)
        out += c <= 0xFF ? char(c) : '?';
    return out;
}

// A @Variant(...) payload: QDataStream (version 4.0) of a QVariant. Texts,
// byte arrays, whole numbers and booleans are read; other types have no text.
Text variantText(const std::string &data)
{
    std::size_t pos = 0;
    const auto number = [&](int bytes) {
        std::uint64_t n = 0;
        if (pos + bytes > data.size())
            return pos = data.size(), std::uint64_t(0);
        for (int k = 0; k < bytes; ++k)
            n = (n << 8) | static_cast<unsigned char>(data[pos++]);
        return n;
    };
    const auto decimal = [](auto n) {
        const std::string s = std::to_string(n);
        return Text(s.begin(), s.end());
    };
    const std::uint64_t type = number(4);
    switch (type) {
    case 1:
        return number(1) ? u"true" : u"false";
    case 2:
        return decimal(std::int32_t(number(4)));
    case 3:
        return decimal(std::uint32_t(number(4)));
    case 4:
        return decimal(std::int64_t(number(8)));
    case 5:
        return decimal(number(8));
    case 10:
    case 12: {
        const bool isString = type == 10;
        const std::uint64_t size = number(4);
        if (size == 0xFFFFFFFF || pos + size > data.size() || (isString && size % 2))
            return Text();
        const std::string bytes = data.substr(pos, size);
        if (!isString)
            return fromUtf8(bytes);
        Text text;
        for (std::size_t k = 0; k + 1 < bytes.size(); k += 2)
            text += char16_t((static_cast<unsigned char>(bytes[k]) << 8) | static_cast<unsigned char>(bytes[k + 1]));
        return text;
    }
    default:
        return Text();
    }
}

// QSettingsPrivate::splitArgs: how many arguments @Rect(...) and its kin hold.
std::size_t argumentCount(const Text &s, std::size_t open)
{
    std::size_t count = 0;
    for (std::size_t k = open + 1; k < s.size(); ++k)
        count += s[k] == u')' || s[k] == u' ';
    return count;
}

// What QVariant::toString gives for the value QSettings makes of one text.
Text textOf(const Text &s)
{
    if (s.empty() || s[0] != u'@')
        return s;
    if (s.back() == u')') {
        if (std::u16string_view(s).starts_with(u"@ByteArray("))
            return fromUtf8(latin1(s.substr(11, s.size() - 12)));
        if (std::u16string_view(s).starts_with(u"@String("))
            return s.substr(8, s.size() - 9);
        if (std::u16string_view(s).starts_with(u"@Variant("))
            return variantText(latin1(s.substr(9)));
        if (std::u16string_view(s).starts_with(u"@DateTime("))
            return Text(); // dates are not read here
        if ((std::u16string_view(s).starts_with(u"@Rect(") && argumentCount(s, 5) == 4)
            || (std::u16string_view(s).starts_with(u"@Size(") && argumentCount(s, 5) == 2)
            || (std::u16string_view(s).starts_with(u"@Point(") && argumentCount(s, 6) == 2) || s == u"@Invalid()")
            return Text(); // geometry and the invalid value have no text
    }
    return std::u16string_view(s).starts_with(u"@@") ? s.substr(1) : s;
}

// What QSettingsStore makes of a value: a list joined with ',' (a list with an
// item starting with a single '@' is a variant list, which has no text).
Text textOf(const Value &v)
{
    if (!v.isList)
        return textOf(v.text);
    Text joined;
    for (std::size_t k = 0; k < v.list.size(); ++k) {
        const Text &item = v.list[k];
        if (!item.empty() && item[0] == u'@' && (item.size() < 2 || item[1] != u'@'))
            return Text();
        joined += (k ? u"," : u"") + (std::u16string_view(item).starts_with(u"@@") ? item.substr(1) : item);
    }
    return joined;
}

} // namespace

std::u16string iniValueText(std::string_view raw)
{
    return textOf(unescapeValue(raw));
}

} // namespace orvane
