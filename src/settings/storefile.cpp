#include "storefile.h"

#include "text/windows1252.h"

#include <algorithm>
#include <cstdint>

namespace orvane {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Past the last character of Unicode: appended as '?'.
constexpr std::uint32_t NoCharacter = 0x110000;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

void appendUtf8(std::string &out, std::uint32_t c)
{
    if (c >= NoCharacter || (c >= 0xD800 && c <= 0xDFFF)) {
        out += '?';
    } else if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The escape after a backslash at raw[at] into out; returns where the value
// goes on. A backslash at the end of the line stands for nothing.
std::size_t appendEscape(std::string_view raw, std::size_t at, std::string &out)
{
    if (at == raw.size())
        return at;
    constexpr std::string_view Letters = "abfnrtv";
    constexpr std::string_view Controls = "\a\b\f\n\r\t\v";
    const char c = raw[at];
    if (const auto letter = Letters.find(c); letter != std::string_view::npos) {
        out += Controls[letter];
        return at + 1;
    }
    // \x and hexadecimal digits, or octal digits: a character by its number.
    const int base = c == 'x' ? 16 : 8;
    const std::size_t digits = c == 'x' ? at + 1 : at;
    std::size_t end = digits;
    std::uint32_t number = 0;
    for (; end < raw.size() && digitValue(raw[end], base) >= 0; ++end)
        number = std::min<std::uint32_t>(number * base + digitValue(raw[end], base), NoCharacter);
    if (end == digits) {
        out += c;
        return at + 1;
    }
    appendUtf8(out, number);
    return end;
}

// The text after '=': quotes and escapes resolved, an unquoted ';' ending
// it, unquoted spaces and tabs trimmed at both ends.
std::string valueText(std::string_view raw)
{
    std::string out;
    std::size_t kept = 0; // out without its trailing unquoted blanks
    bool quoted = false;
    for (std::size_t at = 0; at < raw.size();) {
        const char c = raw[at++];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && c == ';')
            break;
        if (!quoted && isBlank(c)) {
            if (!out.empty())
                out += c;
            continue;
        }
        const std::size_t before = out.size();
        if (c == '\\')
            at = appendEscape(raw, at, out);
        else
            out += c;
        if (out.size() > before)
            kept = out.size();
    }
    out.resize(kept);
    return out;
}

// "@@x" is the text "@x"; @String(...) and @ByteArray(...) hold their text.
std::string unwrapped(std::string text)
{
    if (text.starts_with("@@"))
        return text.substr(1);
    for (const std::string_view type : {"@String(", "@ByteArray("}) {
        if (text.starts_with(type) && text.ends_with(')'))
            return text.substr(type.size(), text.size() - type.size() - 1);
    }
    return text;
}

// The length of the UTF-8 character s starts with; 0 when it starts with none.
std::size_t utf8Length(std::string_view s)
{
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint32_t c = 0;
    std::uint32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        least = 0x10000;
    }
    if (length == 0 || s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    const bool valid = c >= least && c < NoCharacter && !(c >= 0xD800 && c <= 0xDFFF);
    return valid ? length : 0;
}

// UTF-8 characters into the code page; a byte that starts none is kept, as
// the code page's character of that number.
std::string inCodePage(std::string_view text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8Length(text.substr(at));
        if (length == 0) {
            out += text[at++];
            continue;
        }
        out += utf8ToWindows1252(std::string(text.substr(at, length)));
        at += length;
    }
    return out;
}

} // namespace

std::optional<std::string> storeFileValue(std::string_view bytes, std::string_view section, std::string_view key)
{
    std::optional<std::string_view> raw;
    std::string_view current = "General";
    std::size_t at = 0;
    while (at < bytes.size()) {
        // A plain loop: find_first_of tries each byte against the set, several times slower.
        const auto lineEnd =
            std::find_if(bytes.begin() + at, bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
        const std::size_t end = std::size_t(lineEnd - bytes.begin());
        std::string_view line = bytes.substr(at, end - at);
        at = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
        if (line.starts_with(ByteOrderMark))
            line.remove_prefix(ByteOrderMark.size());
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == ';' || text.front() == '#')
            continue;
        if (text.front() == '[') {
            current = trimmed(text.substr(1, text.find(']') - 1));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && current == section && trimmed(line.substr(0, equals)) == key)
            raw = line.substr(equals + 1);
    }
    if (!raw)
        return std::nullopt;
    return inCodePage(unwrapped(valueText(*raw)));
}

} // namespace orvane
