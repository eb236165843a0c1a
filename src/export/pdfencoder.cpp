#include "pdfencoder.h"

#include "scene.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace orvane {

namespace {

constexpr double TwipsPerPoint = 20.0;
// One 96-dpi pixel in points.
constexpr double PointsPerPixel = 0.75;
// The distance of a quarter ellipse's control points from its ends, as a
// share of the radius, that keeps the curve within 0.03 % of the circle.
constexpr double Kappa = 0.5522847498307936;

// Exact in a double, so that scaling by them rounds the same everywhere.
constexpr std::array<double, 16> PowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A short run of the file's text (one element's path, one number), built
// on the stack and appended at once: PDF numbers have no exponent, and
// the locale's decimal point never enters.
class Piece {
public:
    std::string_view text() const { return {m_text, std::size_t(m_end - m_text)}; }

    Piece &operator<<(std::string_view part)
    {
        std::memcpy(m_end, part.data(), part.size());
        m_end += part.size();
        return *this;
    }
    Piece &operator<<(char c)
    {
        *m_end++ = c;
        return *this;
    }
    Piece &operator<<(long long value)
    {
        m_end = std::to_chars(m_end, m_text + sizeof m_text, value).ptr;
        return *this;
    }
    Piece &operator<<(int value) { return *this << static_cast<long long>(value); }

    // scaled / 10^decimals, trailing zeros dropped: (12500, 3) -> "12.5".
    void decimal(long long scaled, int decimals)
    {
        if (scaled < 0) {
            *m_end++ = '-';
            scaled = -scaled;
        }
        const auto unit = static_cast<long long>(PowersOfTen[decimals]);
        *this << scaled / unit;
        long long fraction = scaled % unit;
        if (fraction == 0)
            return;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --decimals;
        }
        *m_end++ = '.';
        char digits[24];
        const auto length = int(std::to_chars(digits, digits + sizeof digits, fraction).ptr - digits);
        m_end = std::fill_n(m_end, decimals - length, '0');
        *this << std::string_view(digits, std::size_t(length));
    }
    // value rounded to decimals places.
    void fixed(double value, int decimals) { decimal(std::llround(value * PowersOfTen[decimals]), decimals); }
    // value to digits significant digits, at most 15 places.
    void significant(double value, int digits)
    {
        const double magnitude = std::abs(value);
        int exponent = 0; // floor(log10(magnitude)), by exact comparisons
        if (magnitude >= 1) {
            while (exponent < 15 && magnitude >= PowersOfTen[exponent + 1])
                ++exponent;
        } else if (magnitude > 0) {
            while (exponent > -15 && magnitude * PowersOfTen[-exponent] < 1.0)
                --exponent;
        }
        fixed(value, std::clamp(digits - 1 - exponent, 0, 15));
    }

private:
    char m_text[512]; // an ellipse of the largest box takes about 300
    char *m_end = m_text;
};

// The page's width and height in points, each held in hundredths: "612 792".
void pageSize(Piece &piece, long long width, long long height)
{
    piece.decimal(width, 2);
    piece << ' ';
    piece.decimal(height, 2);
}

class PdfText {
public:
    std::vector<unsigned char> bytes;

    PdfText &operator<<(std::string_view part)
    {
        bytes.insert(bytes.end(), part.begin(), part.end());
        return *this;
    }
    PdfText &operator<<(const Piece &piece) { return *this << piece.text(); }
};

// The page's size in points, as the file states it: to the hundredth.
long long hundredths(float twips)
{
    const double points = std::nearbyint(double(twips) / TwipsPerPoint * 100.0);
    return std::isfinite(points) && points < 1e15 ? static_cast<long long>(points) : 0;
}

// Four quarters from the right end, clockwise on the page; coordinates in
// thousandths of a pixel, exact for the centre and radii (halves).
void ellipse(Piece &out, int left, int top, int width, int height)
{
    const long long cx = (2LL * left + width) * 500;
    const long long cy = (2LL * top + height) * 500;
    const long long rx = width * 500LL;
    const long long ry = height * 500LL;
    const long long kx = std::llround(rx * Kappa);
    const long long ky = std::llround(ry * Kappa);
    const long long points[13][2] = {
        {cx + rx, cy},
        {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry},
        {cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy},
        {cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry},
        {cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy},
    };
    for (int i = 0; i < 13; ++i) {
        out.decimal(points[i][0], 3);
        out << ' ';
        out.decimal(points[i][1], 3);
        out << (i == 0 ? " m\n" : i % 3 == 0 ? " c\n" : " ");
    }
    out << "S\n";
}

// The white page, then the drawing in the page's pixels.
void contents(PdfText &out, const Scene &scene, long long width, long long height)
{
    Piece setup;
    setup << "1 g\n0 0 ";
    pageSize(setup, width, height);
    setup << " re\nf\n";
    const double scaleX = double(width) / 100 / scene.pixelsX;
    const double scaleY = double(height) / 100 / scene.pixelsY;
    setup.significant(scaleX, 9);
    setup << " 0 0 ";
    setup.significant(-scaleY, 9);
    setup << " 0 ";
    setup.decimal(height, 2);
    setup << " cm\n1 0 0 1 .5 .5 cm\n0 g\n0 G\n2 J\n";
    // The stroke's width in pixels, and a dot: a square of that side.
    Piece stroke;
    stroke.significant(PointsPerPixel / scaleX, 6);
    Piece half;
    half.significant(-PointsPerPixel / scaleX / 2, 6);
    Piece dot;
    dot << half.text() << ' ' << half.text() << ' ' << stroke.text() << ' ' << stroke.text() << " re\nf\nQ\n";
    out << setup << stroke << " w\n";

    bool inPath = false;
    auto endPath = [&] {
        if (inPath)
            out << "S\n";
        inPath = false;
    };
    auto segment = [&](int x1, int y1, int x2, int y2) {
        Piece piece;
        if (x1 == x2 && y1 == y2) {
            endPath();
            piece << "q\n1 0 0 1 " << x1 << ' ' << y1 << " cm\n";
            out << piece << dot;
            return;
        }
        piece << x1 << ' ' << y1 << " m\n" << x2 << ' ' << y2 << " l\n";
        out << piece;
        inPath = true;
    };
    forEachOutline(scene, segment, [&](SceneElement::Kind kind, const OutlineBox &box) {
        endPath();
        Piece piece;
        if (kind == SceneElement::Rectangle)
            piece << box.left << ' ' << box.top << ' ' << box.width << ' ' << box.height << " re\nS\n";
        else
            ellipse(piece, box.left, box.top, box.width, box.height);
        out << piece;
    });
    endPath();
}

// The file's objects, numbered from 1 in the order written, and the table
// that finds them.
class PdfFile {
public:
    explicit PdfFile(std::size_t reserve)
    {
        const std::string_view header = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
        m_out.bytes.assign(header.begin(), header.end());
        m_out.bytes.reserve(reserve);
    }

    PdfText &begin()
    {
        m_offsets.push_back(m_out.bytes.size());
        Piece number;
        number << int(m_offsets.size()) << " 0 obj\n";
        return m_out << number;
    }
    void end() { m_out << "\nendobj\n"; }
    void object(std::string_view body)
    {
        begin() << body;
        end();
    }
    // The stream's length is written once known, into room left for it.
    PdfText &beginStream()
    {
        begin() << "<< /Length ";
        m_length = m_out.bytes.size();
        m_out << "           >>\nstream\n";
        m_stream = m_out.bytes.size();
        return m_out;
    }
    void endStream()
    {
        Piece length;
        length << static_cast<long long>(m_out.bytes.size() - m_stream);
        std::copy_n(length.text().begin(), length.text().size(), m_out.bytes.begin() + std::ptrdiff_t(m_length));
        m_out << "\nendstream";
        end();
    }

    std::vector<unsigned char> finish(int root, int info)
    {
        const std::size_t table = m_out.bytes.size();
        Piece head;
        head << "xref\n0 " << int(m_offsets.size() + 1) << "\n0000000000 65535 f \n";
        m_out << head;
        for (const std::size_t offset : m_offsets) {
            // Ten digits and the generation: 20 bytes with the two-byte end of line.
            Piece digits;
            digits << static_cast<long long>(offset);
            Piece entry;
            entry << std::string_view("0000000000", 10 - std::min<std::size_t>(10, digits.text().size()))
                  << digits.text() << " 00000 n \n";
            m_out << entry;
        }
        Piece trailer;
        trailer << "trailer\n<< /Size " << int(m_offsets.size() + 1) << " /Root " << root << " 0 R /Info " << info
                << " 0 R >>\nstartxref\n" << static_cast<long long>(table) << "\n%%EOF\n";
        m_out << trailer;
        return std::move(m_out.bytes);
    }

private:
    PdfText m_out;
    std::vector<std::size_t> m_offsets;
    std::size_t m_length = 0;
    std::size_t m_stream = 0;
};

} // namespace

EncodeResult EncodePdf(const Scene &scene)
{
    const long long width = hundredths(scene.pageWidthTwips);
    const long long height = hundredths(scene.pageHeightTwips);
    if (!(scene.pixelsX > 0 && scene.pixelsY > 0 && width > 0 && height > 0))
        return {{}, "The page (" + std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY)
                        + " pixels) has no size a PDF page can show."};
    PdfFile file(1024 + scene.elements.size() * 48);
    file.object("<< /Type /Catalog /Pages 2 0 R >>");
    file.object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    Piece page;
    page << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    pageSize(page, width, height);
    page << "] /Resources << >> /Contents 4 0 R >>";
    file.object(page.text());
    contents(file.beginStream(), scene, width, height);
    file.endStream();
    file.object("<< /Title (Pattern) /Producer (Orvane) >>");
    return {file.finish(1, 5), {}};
}

} // namespace orvane
