// The SVG drawing: its exact text, the stroke that keeps its printed weight, the refusal of a page without size.

#include "export/exportformat.h"
#include "export/scene.h"
#include "export/svgencoder.h"

#include <gtest/gtest.h>

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

std::string svgText(const Scene &scene)
{
    const EncodeResult result = EncodeSvg(scene);
    EXPECT_EQ(result.error, "");
    return std::string(result.bytes.begin(), result.bytes.end());
}

// The text between the group's start and the end of the drawing.
std::string body(const std::string &svg)
{
    const std::size_t start = svg.find("\">\n", svg.find("<g ")) + 3;
    return svg.substr(start, svg.find("</g>") - start);
}

} // namespace

TEST(SvgDrawing, LetterPageByteForByte)
{
    const Scene scene = letterScene(816, 1056, {{SceneElement::Line, 96, 96, 192, 96},
                                                {SceneElement::Line, -3, 5, 7, -9},
                                                {SceneElement::Rectangle, 144, 96, 48, 48},
                                                {SceneElement::Ellipse, 10, 20, 15, 27}});

    const std::string svg = svgText(scene);

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

// The window's paintBox: from the smaller corner, one pixel short on the right and bottom; a box
// without width or height is the line the painter draws, halves where an ellipse spans an odd box.
TEST(SvgDrawing, BoxesAsTheWindowDrawsThem)
{
    const struct {
        SceneElement element;
        const char *expected;
    } cases[] = {
        {{SceneElement::Rectangle, 10, 20, 14, 25}, "<rect x=\"10\" y=\"20\" width=\"3\" height=\"4\"/>\n"},
        {{SceneElement::Ellipse, 14, 25, 10, 20}, "<ellipse cx=\"11.5\" cy=\"22\" rx=\"1.5\" ry=\"2\"/>\n"},
        {{SceneElement::Ellipse, -10, -20, -5, -11}, "<ellipse cx=\"-8\" cy=\"-16\" rx=\"2\" ry=\"4\"/>\n"},
        {{SceneElement::Ellipse, -4, -9, 0, 0}, "<ellipse cx=\"-2.5\" cy=\"-5\" rx=\"1.5\" ry=\"4\"/>\n"},
        {{SceneElement::Rectangle, 10, 20, 11, 40}, "<path d=\"M10 20L10 39\"/>\n"},
        {{SceneElement::Ellipse, 10, 20, 30, 20}, "<path d=\"M10 20L29 20\"/>\n"},
        {{SceneElement::Rectangle, 10, 20, 10, 20}, "<path d=\"M10 20L10 20\"/>\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);

        const std::string drawn = body(svgText(letterScene(816, 1056, {c.element})));

        EXPECT_EQ(drawn, c.expected);
    }
}

// One pixel at 96 dpi on the printed page: the stroke in view-box units grows with the pixel width.
TEST(SvgDrawing, StrokeKeepsItsPrintedWeightAtAnyWidth)
{
    const struct {
        int pixelsX, pixelsY;
        const char *stroke;
    } cases[] = {{816, 1056, "stroke-width=\"1\""}, {2000, 2588, "stroke-width=\"2.45098\""},
                 {408, 528, "stroke-width=\"0.5\""}, {10, 13, "stroke-width=\"0.0122549\""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pixelsX);

        const std::string svg = svgText(letterScene(c.pixelsX, c.pixelsY));

        EXPECT_NE(svg.find(c.stroke), std::string::npos) << svg;
        EXPECT_NE(svg.find("width=\"215.9mm\" height=\"279.4mm\""), std::string::npos) << svg;
    }
}

TEST(SvgDrawing, PhysicalSizeInMillimetresToTheMicrometre)
{
    Scene a4 = letterScene(794, 1123);
    a4.pageWidthTwips = 11905.512f;
    a4.pageHeightTwips = 16837.795f;
    Scene odd = letterScene(794, 1123);
    odd.pageWidthTwips = 11912.485f; // 210.123 mm
    odd.pageHeightTwips = 16838.079f; // 297.005 mm

    const std::string whole = svgText(a4);
    const std::string fine = svgText(odd);

    EXPECT_NE(whole.find("width=\"210mm\" height=\"297mm\" viewBox=\"0 0 794 1123\""), std::string::npos) << whole;
    EXPECT_NE(fine.find("width=\"210.123mm\" height=\"297.005mm\""), std::string::npos) << fine;
}

TEST(SvgDrawing, RefusesAPageWithoutSize)
{
    Scene scene = letterScene(816, 1056);
    scene.pageWidthTwips = 0;

    const EncodeResult result = EncodeSvg(scene);

    EXPECT_EQ(result.error, "The page (816 x 1056 pixels) has no size a SVG drawing can show.");
    EXPECT_TRUE(result.bytes.empty());
}

TEST(SvgDrawing, IsACoreFormatAfterTheMetafiles)
{
    const FormatTable formats;

    const std::string names = formats.names();

    EXPECT_TRUE(names.starts_with("wmf|placeable|svg|")) << names;
    EXPECT_EQ(formats.find("svg")->encode, &EncodeSvg);
}
