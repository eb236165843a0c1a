// The two readers the writer's tests rely on, checked themselves: our decoder
// notices every header field and structure that is off, and the SVG reader
// finds wmf2svg's elements where wmf2svg puts them.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"
#include "export/metafilerecorder.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::vector<unsigned char> goodMetafile()
{
    DrawingHarness d;
    d.line(1440, 1440, 2880, 1440);
    d.shape(ShapeCircle, 720, 720, 1440, 720);
    return buildWmf(d.drawing(), 12240, 15840, 816, 1056).bytes;
}

} // namespace

TEST(WmfDecoder, GoodFileDecodesInCallOrder)
{
    const DecodedMetafile m = decodeMetafile(goodMetafile());
    EXPECT_TRUE(checkConverterMetafile(m).empty());
    EXPECT_EQ(wmfFunctionName(m.records[4].function), "META_ELLIPSE");
    EXPECT_EQ(m.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_EQ(m.boxes(), (std::vector<WmfBox>{{true, 48, 48, 144, 96}}));
}

TEST(WmfDecoder, EveryHeaderFieldAndStructuralProblemIsReported)
{
    // Type, HeaderSize, Version, Size (low word), NumberOfObjects, MaxRecord
    // (low word), NumberOfMembers.
    for (const std::size_t at : {0u, 2u, 4u, 6u, 10u, 12u, 16u}) {
        auto bytes = goodMetafile();
        bytes[at] = static_cast<unsigned char>(bytes[at] + 1);
        EXPECT_FALSE(checkConverterMetafile(decodeMetafile(bytes)).empty()) << "offset " << at;
    }
    auto cutEof = goodMetafile();
    cutEof.resize(cutEof.size() - 2);
    auto trailing = goodMetafile();
    trailing.insert(trailing.end(), {0, 0});
    auto noEof = goodMetafile();
    noEof.resize(noEof.size() - 6);
    for (const auto &bytes : {cutEof, trailing, noEof, std::vector<unsigned char>{1, 0, 9, 0}})
        EXPECT_FALSE(decodeMetafile(bytes).problems.empty());

    // A shape before a line is out of the converter's order.
    MetafileRecorder r;
    const auto brush = r.createBrushIndirect(MetafileRecorder::BrushStyleNull, 0xFF, 1);
    r.selectObject(brush);
    r.rectangle(1, 2, 3, 4);
    r.moveTo(0, 0);
    r.lineTo(1, 1);
    r.deleteObject(brush);
    EXPECT_FALSE(checkConverterMetafile(decodeMetafile(r.finish())).empty());
}

TEST(SvgReader, ParsesWhatWmf2svgWritesAndPlacesIt)
{
    const std::string svg = "<?xml version=\"1.0\" standalone=\"no\"?>\n"
                            "<svg width=\"145\" height=\"49\"\n\txmlns:sodipodi=\"x\">\n<desc>wmf2svg</desc>\n"
                            "<line x1=\"48.500000\" y1=\"48.500000\" x2=\"144.500000\" y2=\"48.500000\" \n"
                            "\tstyle=\"stroke:black\" />\n"
                            "<ellipse cx=\"48.500000\" cy=\"24.500000\" rx=\"48.000000\" ry=\"24.000000\" "
                            "style=\"fill:none\" />\n"
                            "<rect x=\"0.5\" y=\"0.5\" width=\"96\" height=\"-48\" />\n</svg>\n";
    const SvgDrawing d = parseWmf2svgOutput(svg);
    EXPECT_EQ(d.width, 145);
    EXPECT_EQ(d.height, 49);
    EXPECT_EQ(d.order, "LER");
    ASSERT_EQ(d.lines.size(), 1u);
    EXPECT_EQ(d.lines[0].x2, 144.5);
    ASSERT_EQ(d.ellipses.size(), 1u);
    EXPECT_EQ(d.ellipses[0].ry, 24);
    ASSERT_EQ(d.rects.size(), 1u);
    EXPECT_EQ(d.rects[0].height, -48);
    EXPECT_TRUE(d.otherElements.empty());

    // The drawing's box moves to the origin and gains a half.
    const SvgPlacement p = svgPlacementFor(decodeMetafile(goodMetafile()), 145, 49);
    EXPECT_EQ(p.minX, 48);
    EXPECT_EQ(p.minY, 48);
    EXPECT_EQ(p.scaleX, 1);
    EXPECT_EQ(p.x(96), 48.5);
    EXPECT_EQ(p.y(48), 0.5);
}

TEST(SvgReader, Wmf2svgRefusesAnEmptyDrawingAndScalesABiggerOneDown)
{
    TempDir dir;
    DrawingHarness d;
    const std::string empty = dir.file("empty.wmf");
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(empty, buildWmf(d.drawing(), 12240, 15840, 816, 1056).bytes,
                                           error));
    const SvgDrawing refused = runWmf2svg(empty, 817, 1057);
    ASSERT_TRUE(refused.ran) << refused.messages;
    EXPECT_NE(refused.exitCode, 0);

    d.line(0, 0, 12240, 15840);
    const std::string full = dir.file("full.wmf");
    FakeMessageBox box;
    ASSERT_TRUE(saveMetafile(816, 1056, full, d.drawing(), 12240, 15840, box));
    // Limits below the drawing's box of 817 x 1057: wmf2svg scales, and the placement follows.
    const SvgDrawing svg = runWmf2svg(full, 408, 528);
    ASSERT_TRUE(svg.ok()) << svg.messages;
    EXPECT_LE(svg.width, 408);
    EXPECT_LE(svg.height, 528);
    const SvgPlacement p = svgPlacementFor(decodeMetafile(readFileBytes(full)), svg.width, svg.height);
    ASSERT_EQ(svg.lines.size(), 1u);
    EXPECT_NEAR(svg.lines[0].x2, p.x(816), 0.02);
    EXPECT_NEAR(svg.lines[0].y2, p.y(1056), 0.02);
}
