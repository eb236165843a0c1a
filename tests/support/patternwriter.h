#pragma once

// Builds pattern files byte by byte, for test fixtures, fuzz seeds and the examples.

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace orvane::testing {

class PatternWriter {
public:
    PatternWriter &integer(std::int16_t v)
    {
        m_bytes.insert(m_bytes.end(),
                       {static_cast<unsigned char>(v & 0xFF), static_cast<unsigned char>(std::uint16_t(v) >> 8)});
        return *this;
    }
    PatternWriter &boolean(bool v) { return integer(v ? -1 : 0); }
    PatternWriter &longValue(std::int32_t v)
    {
        return integer(std::int16_t(v & 0xFFFF)).integer(std::int16_t(std::uint32_t(v) >> 16));
    }
    PatternWriter &single(float v)
    {
        std::int32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return longValue(bits);
    }
    // An Integer length, then the bytes.
    PatternWriter &text(const std::string &s) { return integer(static_cast<std::int16_t>(s.size())).raw(s); }
    PatternWriter &raw(const std::string &s)
    {
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    PatternWriter &zeros(std::size_t n) { return raw(std::string(n, '\0')); }
    // Reserved bytes the reader skips: zeros, or a fill that shows they are skipped.
    PatternWriter &unused(std::size_t n) { return raw(std::string(n, static_cast<char>(m_fill))); }
    PatternWriter &fillUnused(unsigned char fill)
    {
        m_fill = fill;
        return *this;
    }

    PatternWriter &header(std::int16_t major, std::int16_t minor, std::int16_t sub,
                          const std::string &first = "Veltrum Pattern Maker", const std::string &second = "")
    {
        return text(first).integer(major).integer(minor).integer(sub).text(second);
    }

    struct Page {
        float marginTop = 0.5f;
        float marginBottom = 0.5f;
        float marginLeft = 0.5f;
        float marginRight = 0.5f;
        float defWidth = 8.5f;
        float defHeight = 11.0f;
        float patternWidth = 12240.0f;
        float patternHeight = 15840.0f;
        float penSizeValue = 0.03125f;
        std::int32_t penColor = 0x00FF0000;
        bool bandW = false;
        std::string penSizeText = "1/32";
        float bitmapPenSize = 2.0f;
        float bitmapSizeHeight = 400.0f;
        float bitmapSizeWidth = 500.0f;
        bool metricPage = false;
        bool metricPen = false;
    };

    // 74 bytes.
    PatternWriter &settings11(const Page &p) { return version1Page(p, 10); }
    // 84 + n bytes, 98 + n with the bitmap tail.
    PatternWriter &settings15(const Page &p, bool bitmapTail)
    {
        version1Page(p, 6).single(p.penSizeValue).longValue(p.penColor).boolean(p.bandW).unused(2).text(p.penSizeText);
        if (bitmapTail)
            single(p.bitmapPenSize).single(p.bitmapSizeHeight).single(p.bitmapSizeWidth).unused(2);
        return *this;
    }
    // 52 + n bytes.
    PatternWriter &settings21(const Page &p)
    {
        margins(p).single(p.defWidth).single(p.defHeight);
        single(p.penSizeValue).longValue(p.penColor).boolean(p.bandW).text(p.penSizeText);
        single(p.bitmapPenSize).single(p.bitmapSizeHeight).single(p.bitmapSizeWidth);
        return boolean(p.metricPage).boolean(p.metricPen);
    }

    PatternWriter &line(float x1, float y1, float x2, float y2) { return single(x1).single(y1).single(x2).single(y2); }
    // Stored top before left and height before width.
    PatternWriter &shape(std::int16_t form, float left, float top, float width, float height)
    {
        return integer(form).single(top).single(left).single(height).single(width);
    }

    PatternWriter &noPicture() { return integer(0); }
    PatternWriter &picture(const std::string &bytes) { return integer(1).single(float(bytes.size())).raw(bytes); }

    const std::vector<unsigned char> &bytes() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

    bool save(const std::string &path) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()));
        return static_cast<bool>(out);
    }

private:
    PatternWriter &margins(const Page &p)
    {
        return single(p.marginTop).single(p.marginBottom).single(p.marginLeft).single(p.marginRight);
    }
    PatternWriter &version1Page(const Page &p, std::size_t leadIn)
    {
        unused(leadIn);
        margins(p).unused(16).single(p.defWidth).single(p.defHeight).unused(16);
        return single(p.patternWidth).single(p.patternHeight);
    }

    std::vector<unsigned char> m_bytes;
    unsigned char m_fill = 0;
};

} // namespace orvane::testing
