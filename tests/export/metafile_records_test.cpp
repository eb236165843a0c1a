// The metafile writer's records, decoded back by our own reader and by
// wmf2svg, against the worked examples of the letter page.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr float LetterWidth = 12240.0f;
constexpr float LetterHeight = 15840.0f;

// Writes the drawing on a page of pageW x pageH twips at pixelsX x pixelsY and
// reads it back through both readers.
ReadableMetafile save(DrawingHarness &d, const TempDir &dir, int pixelsX, int pixelsY, float pageW = LetterWidth,
                      float pageH = LetterHeight, const std::string &name = "out.wmf")
{
    FakeMessageBox box;
    const std::string path = dir.file(name);
    const bool ok = LibEMF::SaveMetafileTo(static_cast<float>(pixelsX), static_cast<float>(pixelsY), path,
                                           d.drawing(), pageW, pageH, box);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(box.boxes.empty());
    SCOPED_TRACE(path);
    return expectMetafileReadable(path, pixelsX, pixelsY);
}

WmfRecord record(std::uint16_t function, std::vector<std::int16_t> params)
{
    return WmfRecord{static_cast<std::uint32_t>(3 + params.size()), function, std::move(params)};
}

void expectNear(double actual, double expected, const char *what)
{
    EXPECT_NEAR(actual, expected, 0.001) << what;
}

} // namespace

TEST(MetafileRecords, WorkedExampleLine)
{
    TempDir dir;
    DrawingHarness d;
    d.line(1440, 1440, 2880, 1440);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    const auto &r = m.decoded.records;
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[2], record(Wmf::MoveTo, {96, 96}));  // y 96, x 96
    EXPECT_EQ(r[3], record(Wmf::LineTo, {96, 192})); // y 96, x 192
    ASSERT_TRUE(m.svgChecked);
    ASSERT_EQ(m.svg.lines.size(), 1u);
    // wmf2svg moves the drawing's box to the origin and adds 0.5.
    expectNear(m.svg.lines[0].x1, 0.5, "x1");
    expectNear(m.svg.lines[0].y1, 0.5, "y1");
    expectNear(m.svg.lines[0].x2, 96.5, "x2");
    expectNear(m.svg.lines[0].y2, 0.5, "y2");
}

TEST(MetafileRecords, WorkedExampleRectangle)
{
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeRectangle, 720, 720, 1440, 720);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    const auto &r = m.decoded.records;
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[2], record(Wmf::Rectangle, {96, 144, 48, 48})); // bottom, right, top, left
    ASSERT_TRUE(m.svgChecked);
    ASSERT_EQ(m.svg.rects.size(), 1u);
    expectNear(m.svg.rects[0].x, 0.5, "x");
    expectNear(m.svg.rects[0].y, 0.5, "y");
    expectNear(m.svg.rects[0].width, 96, "width");
    expectNear(m.svg.rects[0].height, 48, "height");
}

TEST(MetafileRecords, WorkedExampleLineAndRectangleTogether)
{
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeRectangle, 720, 720, 1440, 720);
    d.line(1440, 1440, 2880, 1440);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    EXPECT_EQ(m.decoded.functions(),
              (std::vector<std::uint16_t>{Wmf::CreateBrushIndirect, Wmf::SelectObject, Wmf::MoveTo, Wmf::LineTo,
                                          Wmf::Rectangle, Wmf::DeleteObject, Wmf::Eof}));
    ASSERT_TRUE(m.svgChecked);
    // The drawing's box starts at (48, 48).
    ASSERT_EQ(m.svg.order, "LR");
    expectNear(m.svg.lines[0].x1, 48.5, "line x1");
    expectNear(m.svg.lines[0].y1, 48.5, "line y1");
    expectNear(m.svg.lines[0].x2, 144.5, "line x2");
    expectNear(m.svg.rects[0].x, 0.5, "rect x");
    expectNear(m.svg.rects[0].y, 0.5, "rect y");
    expectNear(m.svg.rects[0].width, 96, "rect width");
    expectNear(m.svg.rects[0].height, 48, "rect height");
    expectNear(m.svg.width, 145, "svg width"); // 192 - 48 + 1
    expectNear(m.svg.height, 49, "svg height");
}

TEST(MetafileRecords, HeaderFields)
{
    TempDir dir;
    DrawingHarness d;
    d.line(0, 0, 12240, 15840);
    d.shape(ShapeCircle, 0, 0, 12240, 15840);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    EXPECT_EQ(m.decoded.header.Type, 1);
    EXPECT_EQ(m.decoded.header.HeaderSize, 9);
    EXPECT_EQ(m.decoded.header.Version, 0x0300);
    EXPECT_EQ(m.decoded.header.Size * 2, m.decoded.fileBytes);
    EXPECT_EQ(m.decoded.fileBytes, 18u + 14 + 8 + 10 + 10 + 14 + 8 + 6);
    EXPECT_EQ(m.decoded.header.NumberOfObjects, 1);
    EXPECT_EQ(m.decoded.header.MaxRecord, 7u);
    EXPECT_EQ(m.decoded.header.NumberOfMembers, 0);
    // A drawing that spans the page from corner to corner.
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, 816, 1056}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 0, 0, 816, 1056}}));
}

TEST(MetafileRecords, EmptyDrawingIsExactlyTheFixedRecords)
{
    TempDir dir;
    DrawingHarness d;
    FakeMessageBox box;
    const std::string path = dir.file("empty.wmf");
    ASSERT_TRUE(LibEMF::SaveMetafileTo(816, 1056, path, d.drawing(), LetterWidth, LetterHeight, box));
    const std::vector<unsigned char> expected = {
        0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x1B, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
        // META_CREATEBRUSHINDIRECT: BS_NULL, 0x000000FF, hatch 1
        0x07, 0x00, 0x00, 0x00, 0xFC, 0x02, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00,
        // META_SELECTOBJECT 0
        0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x00, 0x00,
        // META_DELETEOBJECT 0
        0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00,
        // META_EOF
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(readFileBytes(path), expected);
    // wmf2svg refuses a drawing without elements, so only our reader checks it.
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_FALSE(m.svgChecked);
    EXPECT_EQ(m.decoded.functions(), (std::vector<std::uint16_t>{Wmf::CreateBrushIndirect, Wmf::SelectObject,
                                                                 Wmf::DeleteObject, Wmf::Eof}));
}

TEST(MetafileRecords, ScaleOfOneHalfRoundsHalvesToEven)
{
    TempDir dir;
    DrawingHarness d;
    d.line(5, 1, 7, 3); // x 2.5 -> 2, 3.5 -> 4; y 0.5 -> 0, 1.5 -> 2
    d.line(9, 11, 1, 13);
    const ReadableMetafile m = save(d, dir, 6120, 7920);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{2, 0, 4, 2}, {4, 6, 0, 6}}));
}

TEST(MetafileRecords, ScaleIsStoredAsASingleBeforeTheProduct)
{
    // 816 / 12240 stored as a Single is a little above 1/15, so 7.5 twips is
    // 0.50000002 pixels and rounds up, and 37.5 twips rounds to 3, not 2.
    TempDir dir;
    DrawingHarness d;
    d.line(7.5f, 37.5f, 37.5f, 7.5f);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    const float scaleX = static_cast<float>(816.0 / 12240.0);
    ASSERT_GT(static_cast<double>(scaleX), 1.0 / 15.0);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{1, 3, 3, 1}}));
}

TEST(MetafileRecords, BoxSumsAreFormedInDoubleBeforeScaling)
{
    // Left 16777728 + Width 1 is 16777729 in double but 16777728 as a Single;
    // at a scale of 1/1024 that is 16384.5009 (16385) against 16384.5 (16384).
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeRectangle, 16777728.0f, 0, 1, 1024);
    FakeMessageBox box;
    const auto built = LibEMF::BuildMetafile(d.drawing(), 16384, 16384, 16, 16);
    ASSERT_EQ(built.error, LibEMF::BuildError::None);
    const DecodedMetafile m = decodeMetafile(built.bytes);
    EXPECT_EQ(m.boxes(), (std::vector<WmfBox>{{false, 16384, 0, 16385, 1}}));
    const std::string path = dir.file("sum.wmf");
    ASSERT_TRUE(LibEMF::SaveMetafileTo(16, 16, path, d.drawing(), 16384, 16384, box));
    expectMetafileReadable(path, 16, 16);
}

TEST(MetafileRecords, HiddenMembersProduceNoRecord)
{
    TempDir dir;
    DrawingHarness d;
    // Member 0 of each array never receives an element and stays hidden.
    ASSERT_EQ(*LibDraw::AddLine(d.drawing(), d.mirror), 0);
    ASSERT_EQ(*LibDraw::AddShape(d.drawing(), d.mirror), 0);
    d.drawing().OutLine.setVisible(0, true);
    d.drawing().OutShape.setVisible(0, true);
    EXPECT_EQ(d.line(1440, 1440, 2880, 1440), 1);
    EXPECT_EQ(d.line(15, 30, 45, 60), 2);
    EXPECT_EQ(d.shape(ShapeRectangle, 720, 720, 1440, 720), 1);
    EXPECT_EQ(d.shape(ShapeOval, 1500, 1500, 1500, 1500), 2);
    d.drawing().OutLine.setVisible(0, false);
    d.drawing().OutShape.setVisible(0, false);
    d.drawing().OutLine.setVisible(2, false);
    d.drawing().OutShape.setVisible(1, false);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 100, 100, 200, 200}}));
}

TEST(MetafileRecords, KindsTwoAndThreeAreEllipsesEveryOtherKindARectangle)
{
    TempDir dir;
    DrawingHarness d;
    const std::int16_t kinds[] = {0, 1, 2, 3, 4, 5, -1, 99, -32768, 32767};
    float left = 150;
    for (const std::int16_t kind : kinds) {
        d.shape(kind, left, 150, 150, 300);
        left += 300;
    }
    const ReadableMetafile m = save(d, dir, 816, 1056);
    const auto boxes = m.decoded.boxes();
    ASSERT_EQ(boxes.size(), 10u);
    int x = 10;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i].ellipse, kinds[i] == 2 || kinds[i] == 3) << "kind " << kinds[i];
        EXPECT_EQ(boxes[i], (WmfBox{boxes[i].ellipse, x, 10, x + 10, 30})) << "kind " << kinds[i];
        x += 20;
    }
    ASSERT_TRUE(m.svgChecked);
    EXPECT_EQ(m.svg.order, "RREERRRRRR");
    EXPECT_EQ(m.svg.ellipses.size(), 2u);
    EXPECT_EQ(m.svg.rects.size(), 8u);
}

TEST(MetafileRecords, CircleFillsItsWholeBoxAndRoundedRectangleIsPlain)
{
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeCircle, 1440, 1440, 2000, 1000);
    d.shape(ShapeRoundedRectangle, 4320, 4320, 1440, 720);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    // 3440 x 816 / 12240 = 229.33 -> 229; 2440 x 1056 / 15840 = 162.67 -> 163.
    EXPECT_EQ(m.decoded.boxes(),
              (std::vector<WmfBox>{{true, 96, 96, 229, 163}, {false, 288, 288, 384, 336}}));
    ASSERT_TRUE(m.svgChecked);
    ASSERT_EQ(m.svg.ellipses.size(), 1u);
    // Box from (96, 96); the ellipse's centre and radii fill its box.
    expectNear(m.svg.ellipses[0].cx, (96 + 229) / 2.0 - 96 + 0.5, "cx");
    expectNear(m.svg.ellipses[0].cy, (96 + 163) / 2.0 - 96 + 0.5, "cy");
    expectNear(m.svg.ellipses[0].rx, (229 - 96) / 2.0, "rx");
    expectNear(m.svg.ellipses[0].ry, (163 - 96) / 2.0, "ry");
    ASSERT_EQ(m.svg.rects.size(), 1u);
    expectNear(m.svg.rects[0].width, 96, "rect width");
}

TEST(MetafileRecords, AllLinesBeforeAllShapesEachInIndexOrder)
{
    TempDir dir;
    DrawingHarness d;
    d.shape(ShapeRectangle, 15, 15, 15, 15); // shapes handed out first
    d.line(150, 150, 300, 150);
    d.shape(ShapeOval, 30, 30, 15, 15);
    d.line(450, 450, 600, 450);
    d.line(750, 750, 900, 750);
    // Member 1 freed and handed out again after member 2: it stays first.
    d.drawing().OutLine.setVisible(1, false);
    ASSERT_EQ(d.line(1500, 1500, 1650, 1500), 1);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    EXPECT_EQ(m.decoded.functions(),
              (std::vector<std::uint16_t>{Wmf::CreateBrushIndirect, Wmf::SelectObject, Wmf::MoveTo, Wmf::LineTo,
                                          Wmf::MoveTo, Wmf::LineTo, Wmf::MoveTo, Wmf::LineTo, Wmf::Rectangle,
                                          Wmf::Ellipse, Wmf::DeleteObject, Wmf::Eof}));
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{10, 10, 20, 10}, {100, 100, 110, 100}, {50, 50, 60, 50}}));
}

TEST(MetafileRecords, NegativeAndReversedCoordinatesAreWrittenAsTheyCome)
{
    TempDir dir;
    DrawingHarness d;
    d.line(-1440, -720, 1440, 720);
    d.shape(ShapeRectangle, 2880, 2880, -1440, -1440);
    const ReadableMetafile m = save(d, dir, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{-96, -48, 96, 48}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 192, 192, 96, 96}}));
}

TEST(MetafileRecords, PageScaledToAnySize)
{
    TempDir dir;
    DrawingHarness d;
    d.line(0, 0, 12240, 15840);
    d.shape(ShapeRectangle, 6120, 7920, 6120, 7920);
    const ReadableMetafile m = save(d, dir, 1000, 1294);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, 1000, 1294}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 500, 647, 1000, 1294}}));
}

TEST(MetafileRecords, SameDrawingGivesTheSameBytes)
{
    DrawingHarness d;
    d.line(1440, 1440, 2880, 1440);
    d.shape(ShapeCircle, 100, 200, 300, 400);
    const auto a = LibEMF::BuildMetafile(d.drawing(), LetterWidth, LetterHeight, 816, 1056);
    const auto b = LibEMF::BuildMetafile(d.drawing(), LetterWidth, LetterHeight, 816, 1056);
    EXPECT_EQ(a.bytes, b.bytes);
    EXPECT_TRUE(checkConverterMetafile(decodeMetafile(a.bytes)).empty());
}
