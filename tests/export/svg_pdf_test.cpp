// The SVG and PDF pages: their exact bytes, boxes as the window draws them, the stroke that keeps its
// printed weight, the page's physical size, the refusal of a page without size.

#include "export/pdfencoder.h"
#include "export/scene.h"
#include "export/svgencoder.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvane;

namespace {

Scene letterScene(int pixelsX, int pixelsY, std::initializer_list<SceneElement> elements = {})
{
    return Scene{pixelsX, pixelsY, 12240, 15840, {elements.begin(), elements.end()}};
}

std::string encoded(EncodeResult (*encode)(const Scene &), const Scene &scene)
{
    const EncodeResult result = encode(scene);
    EXPECT_EQ(result.error, "");
    return std::string(result.bytes.begin(), result.bytes.end());
}

// The drawing alone: in the SVG what its group holds, in the PDF what follows the line width.
std::string svgBody(const Scene &scene)
{
    const std::string svg = encoded(EncodeSvg, scene);
    const std::size_t start = svg.find("\">\n", svg.find("<g ")) + 3;
    return svg.substr(start, svg.find("</g>") - start);
}

std::string pdfBody(const Scene &scene)
{
    const std::string pdf = encoded(EncodePdf, scene);
    const std::size_t start = pdf.find(" w\n") + 3;
    return pdf.substr(start, pdf.find("\nendstream") - start);
}

} // namespace

TEST(SvgDrawing, LetterPageByteForByte)
{
    const Scene scene = letterScene(816, 1056, {{SceneElement::Line, 96, 96, 192, 96},
                                                {SceneElement::Line, -3, 5, 7, -9},
                                                {SceneElement::Rectangle, 144, 96, 48, 48},
                                                {SceneElement::Ellipse, 10, 20, 15, 27}});

    const std::string svg = encoded(EncodeSvg, scene);

    EXPECT_EQ(svg, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"215.9mm\" height=\"279.4mm\" "
                   "viewBox=\"0 0 816 1056\">\n"
                   "<title>Pattern</title>\n"
                   "<rect width=\"816\" height=\"1056\" fill=\"#fff\"/>\n"
                   "<g transform=\"translate(.5 .5)\" fill=\"none\" stroke=\"#000\" stroke-width=\"1\" "
                   "stroke-linecap=\"square\">\n"
                   "<path d=\"M96 96L192 96M-3 5L7 -9\"/>\n"
                   "<rect x=\"48\" y=\"48\" width=\"95\" height=\"47\"/>\n"
                   "<ellipse cx=\"12\" cy=\"23\" rx=\"2\" ry=\"3\"/>\n"
                   "</g>\n</svg>\n");
}

TEST(PdfPage, LetterPageByteForByte)
{
    const Scene scene = letterScene(816, 1056, {{SceneElement::Line, 96, 96, 192, 96},
                                                {SceneElement::Line, -3, 5, 7, -9},
                                                {SceneElement::Rectangle, 144, 96, 48, 48}});

    const std::string pdf = encoded(EncodePdf, scene);

    EXPECT_EQ(pdf, "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"
                   "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n"
                   "2 0 obj\n<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n"
                   "3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << >> "
                   "/Contents 4 0 R >>\nendobj\n"
                   "4 0 obj\n<< /Length 128        >>\nstream\n"
                   "1 g\n0 0 612 792 re\nf\n0.75 0 0 -0.75 0 792 cm\n1 0 0 1 .5 .5 cm\n0 g\n0 G\n2 J\n1 w\n"
                   "96 96 m\n192 96 l\n-3 5 m\n7 -9 l\nS\n48 48 95 47 re\nS\n"
                   "\nendstream\nendobj\n"
                   "5 0 obj\n<< /Title (Pattern) /Producer (Orvane) >>\nendobj\n"
                   "xref\n0 6\n"
                   "0000000000 65535 f \n"
                   "0000000015 00000 n \n"
                   "0000000064 00000 n \n"
                   "0000000121 00000 n \n"
                   "0000000225 00000 n \n"
                   "0000000411 00000 n \n"
                   "trailer\n<< /Size 6 /Root 1 0 R /Info 5 0 R >>\n"
                   "startxref\n468\n%%EOF\n");
}

// The window's boxes: from the smaller corner, one pixel short on the right and bottom; ellipses through the
// box's sides (four curves in the PDF); a box without width or height is the line the window draws, and a line
// or box without length a point of the stroke's width.
TEST(SvgAndPdfDrawing, BoxesAsTheWindowDrawsThem)
{
    const struct {
        SceneElement element;
        const char *svg;
        const char *pdf;
    } cases[] = {
        {{SceneElement::Rectangle, 14, 25, 10, 20}, "<rect x=\"10\" y=\"20\" width=\"3\" height=\"4\"/>\n",
         "10 20 3 4 re\nS\n"},
        {{SceneElement::Ellipse, 10, 20, 14, 25}, "<ellipse cx=\"11.5\" cy=\"22\" rx=\"1.5\" ry=\"2\"/>\n",
         "13 22 m\n13 23.105 12.328 24 11.5 24 c\n10.672 24 10 23.105 10 22 c\n"
         "10 20.895 10.672 20 11.5 20 c\n12.328 20 13 20.895 13 22 c\nS\n"},
        {{SceneElement::Rectangle, 10, 20, 11, 40}, "<path d=\"M10 20L10 39\"/>\n", "10 20 m\n10 39 l\nS\n"},
        {{SceneElement::Rectangle, 10, 20, 10, 20}, "<path d=\"M10 20L10 20\"/>\n",
         "q\n1 0 0 1 10 20 cm\n-0.5 -0.5 1 1 re\nf\nQ\n"},
        {{SceneElement::Line, -7, 3, -7, 3}, "<path d=\"M-7 3L-7 3\"/>\n",
         "q\n1 0 0 1 -7 3 cm\n-0.5 -0.5 1 1 re\nf\nQ\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.svg);
        const Scene scene = letterScene(816, 1056, {c.element});

        const std::string svg = svgBody(scene);
        const std::string pdf = pdfBody(scene);

        EXPECT_EQ(svg, c.svg);
        EXPECT_EQ(pdf, c.pdf);
    }
}

// One pixel at 96 dpi on the printed page: the stroke in pixels grows with the pixel width.
TEST(SvgAndPdfDrawing, StrokeKeepsItsPrintedWeightAtAnyWidth)
{
    const Scene scene = letterScene(2000, 2588);

    const std::string svg = encoded(EncodeSvg, scene);
    const std::string pdf = encoded(EncodePdf, scene);

    EXPECT_NE(svg.find("stroke-width=\"2.45098\""), std::string::npos) << svg;
    EXPECT_NE(pdf.find("\n2.45098 w\n"), std::string::npos) << pdf;
}

// Millimetres to the micrometre in the SVG, points to the hundredth in the PDF.
TEST(SvgAndPdfDrawing, PhysicalSizeOfAPageThatIsNotWholeMillimetres)
{
    Scene odd = letterScene(794, 1123);
    odd.pageWidthTwips = 11912.485f;  // 210.123 mm, 595.62 pt
    odd.pageHeightTwips = 16838.079f; // 297.005 mm, 841.9 pt

    const std::string svg = encoded(EncodeSvg, odd);
    const std::string pdf = encoded(EncodePdf, odd);

    EXPECT_NE(svg.find("width=\"210.123mm\" height=\"297.005mm\" viewBox=\"0 0 794 1123\""), std::string::npos) << svg;
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.62 841.9]"), std::string::npos) << pdf;
}

TEST(SvgAndPdfDrawing, RefusesAPageWithoutSize)
{
    Scene scene = letterScene(816, 1056);
    scene.pageWidthTwips = 0;
    const EncodeResult svg = EncodeSvg(scene);
    scene.pageWidthTwips = 0.04f; // 0.00 pt
    const EncodeResult pdf = EncodePdf(scene);

    EXPECT_EQ(svg.error, "The page (816 x 1056 pixels) has no size a SVG drawing can show.");
    EXPECT_TRUE(svg.bytes.empty());
    EXPECT_EQ(pdf.error, "The page (816 x 1056 pixels) has no size a PDF page can show.");
    EXPECT_TRUE(pdf.bytes.empty());
}
