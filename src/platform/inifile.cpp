#include "inifile.h"

#include "platform/inivalue.h"
#include "text/utf16text.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace orvane {

namespace {

// QSettings works on UTF-16 text; names compare and sort by UTF-16 code units.
using Text = std::u16string;

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isAsciiSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isAsciiSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A key or section name: %XX and %UXXXX escapes, '\' for '/'.
Text unescapeKey(std::string_view key)
{
    const Text decoded = fromUtf8(key);
    Text result;
    for (std::size_t i = 0; i < decoded.size();) {
        const char16_t ch = decoded[i];
        if (ch == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == decoded.size() - 1) {
            result += ch;
            ++i;
            continue;
        }
        std::size_t first = i + 1;
        std::size_t digits = 2;
        if (decoded[first] == u'U')
            ++first, digits = 4;
        char16_t value = 0;
        bool ok = first + digits <= decoded.size();
        for (std::size_t k = first; ok && k < first + digits; ++k) {
            const int h = decoded[k] < 0x80 ? hexValue(char(decoded[k])) : -1;
            ok = h >= 0;
            value = char16_t(value * 16 + h);
        }
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += value;
        i = first + digits;
    }
    return result;
}

// QConfFileSettingsPrivate::readIniLine: the next logical line from pos, which
// may span several physical ones; equalsPos is where its first unquoted '='
// sits, or npos.
bool readIniLine(std::string_view data, std::size_t &pos, std::size_t &lineStart, std::size_t &lineLen,
                 std::size_t &equalsPos)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const auto isSpecial = [](char c) {
        return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
    };
    bool inQuotes = false;
    equalsPos = std::string_view::npos;
    lineStart = pos;
    while (lineStart < data.size() && isSpace(data[lineStart]))
        ++lineStart;
    std::size_t i = lineStart;
    while (i < data.size()) {
        char ch = data[i];
        while (!isSpecial(ch)) {
            if (++i == data.size())
                goto done;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == std::string_view::npos)
                equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < data.size()) {
                const char escaped = data[i++];
                if (i < data.size()) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (i == lineStart + 1) { // ';' starting a line: a comment
            while (i < data.size() && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < data.size() && isSpace(data[i]))
                ++i;
            lineStart = i;
        } else if (!inQuotes) { // ';' after text ends the line
            --i;
            goto done;
        }
    }
done:
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k])))
            return false;
    return true;
}

// The raw lines of each section ("name/", or "" for [General] and the top),
// duplicate sections joined in file order.
std::map<Text, std::string> readSections(std::string_view data)
{
    std::map<Text, std::string> sections;
    Text current;
    std::size_t currentStart = 0;
    const auto flush = [&](std::size_t end) {
        std::string &lines = sections[current];
        if (!lines.empty())
            lines += '\n';
        lines += data.substr(currentStart, end - currentStart);
    };
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    std::size_t pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
    while (readIniLine(data, pos, lineStart, lineLen, equalsPos)) {
        const std::string_view line = data.substr(lineStart, lineLen);
        if (line[0] != '[')
            continue;
        flush(lineStart);
        const std::string_view name = trimmed(line.substr(1, std::min(line.find(']'), line.size()) - 1));
        current.clear();
        if (!equalsIgnoringCase(name, "general")) {
            if (equalsIgnoringCase(name, "%general"))
                for (char c : name.substr(1))
                    current += char16_t(static_cast<unsigned char>(c));
            else
                current = unescapeKey(name);
            current += u'/';
        }
        currentStart = pos;
    }
    flush(data.size());
    return sections;
}

} // namespace

std::optional<std::string> readIniValue(std::string_view fileBytes, const std::string &fullKey)
{
    const Text key = fromUtf8(fullKey);
    const auto sections = readSections(fileBytes);
    // Like QSettings, look only in the section whose name is the greatest one
    // not after the key, and only if it is the key's own.
    auto section = sections.begin();
    if (key.find(u'/') != Text::npos) {
        section = sections.upper_bound(key);
        if (section == sections.begin())
            return std::nullopt;
        --section;
        if (section->first.empty() || !std::u16string_view(key).starts_with(section->first))
            return std::nullopt;
    } else if (section == sections.end() || !section->first.empty()) {
        return std::nullopt;
    }
    const std::string_view data = section->second;
    std::optional<std::string_view> found;
    std::size_t pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
    while (readIniLine(data, pos, lineStart, lineLen, equalsPos)) {
        if (equalsPos == std::string_view::npos)
            continue;
        const std::string_view line = data.substr(lineStart, lineLen);
        const std::size_t equals = equalsPos - lineStart;
        if (section->first + unescapeKey(trimmed(line.substr(0, equals))) == key)
            found = line.substr(equals + 1); // a later duplicate wins
    }
    if (!found)
        return std::nullopt;
    return toUtf8(iniValueText(*found));
}

} // namespace orvane
