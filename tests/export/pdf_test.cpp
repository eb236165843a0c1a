// The PDF page: its exact bytes (qpdf checks the table in tests/app), the drawing in the SVG's
// conventions, the printed stroke at any width, the page's size to the hundredth of a point.

#include "export/exportformat.h"
#include "export/pdfencoder.h"
#include "export/scene.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace orvane;

namespace {

Scene letterScene(int pixelsX, int pixelsY, std::initializer_list<SceneElement> elements = {})
{
    Scene scene;
    scene.pixelsX = pixelsX;
    scene.pixelsY = pixelsY;
    scene.pageWidthTwips = 12240;
    scene.pageHeightTwips = 15840;
    scene.elements.assign(elements.begin(), elements.end());
    return scene;
}

std::string pdfText(const Scene &scene)
{
    const EncodeResult result = EncodePdf(scene);
    EXPECT_EQ(result.error, "");
    return std::string(result.bytes.begin(), result.bytes.end());
}

// The drawing after the line width is set, up to the end of the stream.
std::string body(const std::string &pdf)
{
    const std::size_t start = pdf.find(" w\n") + 3;
    return pdf.substr(start, pdf.find("\nendstream") - start);
}

} // namespace

TEST(PdfPage, LetterPageByteForByte)
{
    const Scene scene = letterScene(816, 1056, {{SceneElement::Line, 96, 96, 192, 96},
                                                {SceneElement::Line, -3, 5, 7, -9},
                                                {SceneElement::Rectangle, 144, 96, 48, 48}});

    const std::string pdf = pdfText(scene);

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

// The SVG's boxes: from the smaller corner, one pixel short on the right and bottom; ellipses as four curves
// through the box's sides; a box without width or height is the line the window draws, and a line without
// length a filled square of the stroke's width.
TEST(PdfPage, BoxesAsTheWindowDrawsThem)
{
    const struct {
        SceneElement element;
        const char *expected;
    } cases[] = {
        {{SceneElement::Rectangle, 14, 25, 10, 20}, "10 20 3 4 re\nS\n"},
        {{SceneElement::Ellipse, 10, 20, 14, 25},
         "13 22 m\n13 23.105 12.328 24 11.5 24 c\n10.672 24 10 23.105 10 22 c\n"
         "10 20.895 10.672 20 11.5 20 c\n12.328 20 13 20.895 13 22 c\nS\n"},
        {{SceneElement::Ellipse, -4, -9, 0, 0},
         "-1 -5 m\n-1 -2.791 -1.672 -1 -2.5 -1 c\n-3.328 -1 -4 -2.791 -4 -5 c\n"
         "-4 -7.209 -3.328 -9 -2.5 -9 c\n-1.672 -9 -1 -7.209 -1 -5 c\nS\n"},
        {{SceneElement::Ellipse, -32768, -32768, 32767, 32767},
         "32766 -1 m\n32766 18095.714 18095.714 32766 -1 32766 c\n-18097.714 32766 -32768 18095.714 -32768 -1 c\n"
         "-32768 -18097.714 -18097.714 -32768 -1 -32768 c\n18095.714 -32768 32766 -18097.714 32766 -1 c\nS\n"},
        {{SceneElement::Rectangle, 10, 20, 11, 40}, "10 20 m\n10 39 l\nS\n"},
        {{SceneElement::Ellipse, 10, 20, 30, 20}, "10 20 m\n29 20 l\nS\n"},
        {{SceneElement::Rectangle, 10, 20, 10, 20}, "q\n1 0 0 1 10 20 cm\n-0.5 -0.5 1 1 re\nf\nQ\n"},
        {{SceneElement::Line, -7, 3, -7, 3}, "q\n1 0 0 1 -7 3 cm\n-0.5 -0.5 1 1 re\nf\nQ\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);

        const std::string drawn = body(pdfText(letterScene(816, 1056, {c.element})));

        EXPECT_EQ(drawn, c.expected);
    }
}

// 0.75 pt on paper at any pixel width: the page's transform and the width in pixels change together.
TEST(PdfPage, StrokeKeepsItsPrintedWeightAtAnyWidth)
{
    const struct {
        int pixelsX, pixelsY;
        const char *transform, *stroke;
    } cases[] = {
        {816, 1056, "0.75 0 0 -0.75 0 792 cm", "\n1 w\n"},
        {2000, 2588, "0.306 0 0 -0.306027821 0 792 cm", "\n2.45098 w\n"},
        {10, 13, "61.2 0 0 -60.9230769 0 792 cm", "\n0.0122549 w\n"},
        {32767, 42407, "0.0186773278 0 0 -0.018676162 0 792 cm", "\n40.1556 w\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pixelsX);

        const std::string pdf = pdfText(letterScene(c.pixelsX, c.pixelsY));

        EXPECT_NE(pdf.find(c.transform), std::string::npos) << pdf;
        EXPECT_NE(pdf.find(c.stroke), std::string::npos) << pdf;
    }
}

TEST(PdfPage, PageSizeInPointsToTheHundredth)
{
    Scene a4 = letterScene(794, 1123);
    a4.pageWidthTwips = 11905.512f;
    a4.pageHeightTwips = 16837.795f;

    const std::string pdf = pdfText(a4);

    EXPECT_NE(pdf.find("/MediaBox [0 0 595.28 841.89]"), std::string::npos) << pdf;
    EXPECT_NE(pdf.find("1 g\n0 0 595.28 841.89 re\nf\n"), std::string::npos) << pdf;
}

TEST(PdfPage, RefusesAPageWithoutSize)
{
    const struct {
        int pixelsX;
        float widthTwips;
    } cases[] = {{816, 0}, {0, 12240}, {816, 0.04f}, {816, std::numeric_limits<float>::infinity()}};
    for (const auto &c : cases) {
        Scene scene = letterScene(c.pixelsX, 1056);
        scene.pageWidthTwips = c.widthTwips;

        const EncodeResult result = EncodePdf(scene);

        EXPECT_EQ(result.error, "The page (" + std::to_string(c.pixelsX)
                                    + " x 1056 pixels) has no size a PDF page can show.");
        EXPECT_TRUE(result.bytes.empty());
    }
}

TEST(PdfPage, IsACoreFormatAfterSvg)
{
    const FormatTable formats;

    const std::string names = formats.names();

    EXPECT_EQ(names, "wmf|placeable|svg|pdf");
    EXPECT_EQ(formats.find("pdf")->encode, &EncodePdf);
    EXPECT_EQ(formats.forFileName("page.PDF")->name, "pdf");
}
