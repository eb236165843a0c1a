#include "svgencoder.h"

#include "scene.h"
#include "text/floattext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace orvane {

namespace {

// Twips in a 96-dpi pixel and in a millimetre.
constexpr double TwipsPerPixel = 15.0;
constexpr double TwipsPerMillimetre = 1440.0 / 25.4;

class SvgText {
public:
    explicit SvgText(std::size_t elements) { m_text.reserve(512 + elements * 40); }

    SvgText &operator<<(std::string_view text)
    {
        m_text += text;
        return *this;
    }
    SvgText &operator<<(char c)
    {
        m_text += c;
        return *this;
    }
    SvgText &operator<<(int value)
    {
        char buffer[16];
        m_text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        return *this;
    }
    // A number of halves: 7 -> "3.5". Ellipses centre on odd boxes.
    void halves(int value)
    {
        if (value < 0)
            m_text += '-';
        const int magnitude = std::abs(value);
        *this << magnitude / 2;
        if (magnitude % 2)
            m_text += ".5";
    }
    // value with at most decimals places, trailing zeros dropped; the C
    // locale's point whatever the program's locale.
    void fixed(double value, int decimals)
    {
        const std::string printed = fixedText(value, decimals);
        std::string_view text(printed);
        if (text.find('.') != std::string_view::npos) {
            text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
            if (text.back() == '.')
                text.remove_suffix(1);
        }
        m_text += text;
    }
    void general(double value)
    {
        m_text += generalText(value, 6);
    }

    EncodeResult finish() { return {std::vector<unsigned char>(m_text.begin(), m_text.end()), {}}; }

private:
    std::string m_text;
};

} // namespace

EncodeResult EncodeSvg(const Scene &scene)
{
    if (!(scene.pixelsX > 0 && scene.pixelsY > 0 && scene.pageWidthTwips > 0 && scene.pageHeightTwips > 0
          && std::isfinite(scene.pageWidthTwips) && std::isfinite(scene.pageHeightTwips)))
        return {{}, "The page (" + std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY)
                        + " pixels) has no size a SVG drawing can show."};
    SvgText out(scene.elements.size());
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    out.fixed(scene.pageWidthTwips / TwipsPerMillimetre, 3);
    out << "mm\" height=\"";
    out.fixed(scene.pageHeightTwips / TwipsPerMillimetre, 3);
    out << "mm\" viewBox=\"0 0 " << scene.pixelsX << ' ' << scene.pixelsY << "\">\n<title>Pattern</title>\n";
    out << "<rect width=\"" << scene.pixelsX << "\" height=\"" << scene.pixelsY << "\" fill=\"#fff\"/>\n";
    out << "<g transform=\"translate(.5 .5)\" fill=\"none\" stroke=\"#000\" stroke-width=\"";
    out.general(scene.pixelsX / (scene.pageWidthTwips / TwipsPerPixel));
    out << "\" stroke-linecap=\"square\">\n";

    bool inPath = false;
    auto endPath = [&] {
        if (inPath)
            out << "\"/>\n";
        inPath = false;
    };
    // A segment of the one path that consecutive lines share.
    auto segment = [&](int x1, int y1, int x2, int y2) {
        out << (inPath ? "M" : "<path d=\"M") << x1 << ' ' << y1 << 'L' << x2 << ' ' << y2;
        inPath = true;
    };
    // A rect or ellipse without width or height would show nothing in SVG:
    // those come as segments, drawn as the window's painter draws them.
    forEachOutline(scene, segment, [&](SceneElement::Kind kind, const OutlineBox &box) {
        endPath();
        if (kind == SceneElement::Rectangle) {
            out << "<rect x=\"" << box.left << "\" y=\"" << box.top << "\" width=\"" << box.width << "\" height=\""
                << box.height << "\"/>\n";
            return;
        }
        out << "<ellipse cx=\"";
        out.halves(2 * box.left + box.width);
        out << "\" cy=\"";
        out.halves(2 * box.top + box.height);
        out << "\" rx=\"";
        out.halves(box.width);
        out << "\" ry=\"";
        out.halves(box.height);
        out << "\"/>\n";
    });
    endPath();
    out << "</g>\n</svg>\n";
    return out.finish();
}

} // namespace orvane
