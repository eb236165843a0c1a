#include "utf16text.h"

namespace orvane {

namespace {

using Text = std::u16string;

constexpr char16_t Replacement = 0xFFFD;

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The UTF-8 sequence at s[i] as Qt's decoder judges it: its length, 0 when the
// bytes end before it is complete (with nothing wrong so far), -1 when invalid.
int sequenceAt(std::string_view s, std::size_t i, char32_t &cp)
{
    const auto b = static_cast<unsigned char>(s[i]);
    int need = 1;
    char32_t least = 0;
    if (b < 0x80)
        return cp = b, 1;
    if (b <= 0xC1 || b >= 0xF5)
        return -1;
    if (b < 0xE0)
        need = 2, least = 0x80, cp = b & 0x1F;
    else if (b < 0xF0)
        need = 3, least = 0x800, cp = b & 0x0F;
    else
        need = 4, least = 0x10000, cp = b & 0x07;
    const std::size_t available = s.size() - i - 1;
    if (available < std::size_t(need - 1)) {
        for (std::size_t k = 1; k <= available && k <= 2; ++k)
            if (!isContinuation(s[i + k]))
                return -1;
        return 0;
    }
    for (int k = 1; k < need; ++k) {
        if (!isContinuation(s[i + k]))
            return -1;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (cp < least || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return -1;
    return need;
}

} // namespace

void appendCodePoint(Text &out, char32_t cp)
{
    if (cp < 0x10000) {
        out += char16_t(cp);
        return;
    }
    cp -= 0x10000;
    out += char16_t(0xD800 + (cp >> 10));
    out += char16_t(0xDC00 + (cp & 0x3FF));
}

Text fromUtf8(std::string_view s)
{
    Text out;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const int n = sequenceAt(s, i, cp);
        n > 0 ? appendCodePoint(out, cp) : void(out += Replacement);
        i += n > 0 ? std::size_t(n) : 1;
    }
    return out;
}

void Utf8PieceDecoder::decode(std::string_view in, std::u16string &out)
{
    std::size_t src = 0;
    if (!m_pending.empty() || !m_headerDone) {
        const std::string head = m_pending + std::string(in.substr(0, 4 - m_pending.size()));
        char32_t cp = 0;
        const int n = sequenceAt(head, 0, cp);
        if (n == 0) {
            m_pending = head;
            return;
        }
        if (n < 0) {
            out += Replacement;
            src = 1; // Qt steps over the first new byte here, whatever it is
        } else {
            if (m_headerDone || cp != 0xFEFF)
                appendCodePoint(out, cp);
            src = std::size_t(n) - m_pending.size();
        }
        m_pending.clear();
        m_headerDone = true;
    }
    while (src < in.size()) {
        char32_t cp = 0;
        const int n = sequenceAt(in, src, cp);
        if (n == 0) {
            m_pending = std::string(in.substr(src));
            return;
        }
        n > 0 ? appendCodePoint(out, cp) : void(out += Replacement);
        src += n > 0 ? std::size_t(n) : 1;
    }
}

std::string toUtf8(const std::u16string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = '?'; // as QString::toUtf8 writes a lone surrogate
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int hexValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace orvane
