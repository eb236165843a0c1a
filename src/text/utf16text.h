#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Text as QString holds it, for readers that must give what Qt gives.

// QString::fromUtf8: every byte that starts no valid sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view bytes);
// QString::toUtf8; a lone surrogate becomes '?'.
std::string toUtf8(const std::u16string &text);
void appendCodePoint(std::u16string &out, char32_t cp);
// 0-15 for a hexadecimal digit, else -1.
int hexValue(char32_t c);

// One QStringDecoder fed piece by piece: a sequence cut at the end of a piece
// waits for the next piece (and is lost if none comes), and a byte order mark
// in front of the first piece is eaten.
class Utf8PieceDecoder {
public:
    void decode(std::string_view piece, std::u16string &out);

private:
    std::string m_pending;
    bool m_headerDone = false;
};

} // namespace orvane
