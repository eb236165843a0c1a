// The metafile writer's records, decoded back by our own reader and, for files
// with elements, by wmf2svg, against the worked examples of the letter page.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

// Saves the drawing on the letter page (12240 x 15840 twips) at pixelsX x
// pixelsY and reads it back through both readers.
ReadableMetafile save(DrawingHarness &d, int pixelsX = 816, int pixelsY = 1056)
{
    TempDir dir;
    FakeMessageBox box;
    const std::string path = dir.file("out.wmf");
    EXPECT_TRUE(saveMetafile(float(pixelsX), float(pixelsY), path, d.drawing(), 12240, 15840, box));
    EXPECT_TRUE(box.boxes.empty());
    return expectMetafileReadable(path, pixelsX, pixelsY);
}

WmfRecord record(std::uint16_t function, std::vector<std::int16_t> params)
{
    return WmfRecord{static_cast<std::uint32_t>(3 + params.size()), function, std::move(params)};
}

} // namespace

TEST(MetafileRecords, WorkedExamplesOfTheLetterPage)
{
    // The line from (1 in, 1 in) to (2 in, 1 in) and the rectangle of 1 x 0.5 in
    // at (0.5 in, 0.5 in); wmf2svg moves the drawing's box to the origin and adds 0.5.
    const WmfRecord line[] = {record(Wmf::MoveTo, {96, 96}), record(Wmf::LineTo, {96, 192})}; // y before x
    const WmfRecord rect = record(Wmf::Rectangle, {96, 144, 48, 48}); // bottom, right, top, left
    for (const int which : {1, 2, 3}) {
        SCOPED_TRACE(which);
        DrawingHarness d;
        if (which & 2)
            d.shape(ShapeRectangle, 720, 720, 1440, 720);
        if (which & 1)
            d.line(1440, 1440, 2880, 1440);
        const ReadableMetafile m = save(d);
        std::vector<WmfRecord> body;
        if (which & 1)
            body.insert(body.end(), std::begin(line), std::end(line));
        if (which & 2)
            body.push_back(rect);
        const auto &r = m.decoded.records;
        ASSERT_EQ(r.size(), body.size() + 4);
        EXPECT_EQ(std::vector<WmfRecord>(r.begin() + 2, r.end() - 2), body);
        ASSERT_TRUE(m.svgChecked);
        const double min = which & 2 ? 48 : 96; // the drawing's box starts here
        EXPECT_EQ(m.svg.order, which == 1 ? "L" : which == 2 ? "R" : "LR");
        if (which & 1) {
            EXPECT_NEAR(m.svg.lines[0].x1, 96 - min + 0.5, 0.001);
            EXPECT_NEAR(m.svg.lines[0].y1, 96 - min + 0.5, 0.001);
            EXPECT_NEAR(m.svg.lines[0].x2, 192 - min + 0.5, 0.001);
        }
        if (which & 2) {
            EXPECT_NEAR(m.svg.rects[0].x, 0.5, 0.001);
            EXPECT_NEAR(m.svg.rects[0].y, 0.5, 0.001);
            EXPECT_NEAR(m.svg.rects[0].width, 96, 0.001);
            EXPECT_NEAR(m.svg.rects[0].height, 48, 0.001);
        }
    }
}

TEST(MetafileRecords, HeaderFieldsAndAPageSpanningDrawing)
{
    DrawingHarness d;
    d.line(0, 0, 12240, 15840);
    d.shape(ShapeCircle, 0, 0, 12240, 15840);
    const ReadableMetafile m = save(d);
    EXPECT_EQ(m.decoded.header.Type, 1);
    EXPECT_EQ(m.decoded.header.HeaderSize, 9);
    EXPECT_EQ(m.decoded.header.Version, 0x0300);
    EXPECT_EQ(m.decoded.header.Size * 2, m.decoded.fileBytes);
    EXPECT_EQ(m.decoded.fileBytes, 18u + 14 + 8 + 10 + 10 + 14 + 8 + 6);
    EXPECT_EQ(m.decoded.header.NumberOfObjects, 1);
    EXPECT_EQ(m.decoded.header.MaxRecord, 7u);
    EXPECT_EQ(m.decoded.header.NumberOfMembers, 0);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, 816, 1056}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{true, 0, 0, 816, 1056}}));
    // Any size: the same page at 1000 x 1294.
    EXPECT_EQ(save(d, 1000, 1294).decoded.lines(), (std::vector<WmfLine>{{0, 0, 1000, 1294}}));
}

TEST(MetafileRecords, EmptyDrawingIsExactlyTheFixedRecords)
{
    TempDir dir;
    DrawingHarness d;
    FakeMessageBox box;
    const std::string path = dir.file("empty.wmf");
    ASSERT_TRUE(saveMetafile(816, 1056, path, d.drawing(), 12240, 15840, box));
    const std::vector<unsigned char> expected = {
        0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 0x1B, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00,
        // META_CREATEBRUSHINDIRECT: BS_NULL, 0x000000FF, hatch 1
        0x07, 0x00, 0x00, 0x00, 0xFC, 0x02, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00,
        0x04, 0x00, 0x00, 0x00, 0x2D, 0x01, 0x00, 0x00, // META_SELECTOBJECT 0
        0x04, 0x00, 0x00, 0x00, 0xF0, 0x01, 0x00, 0x00, // META_DELETEOBJECT 0
        0x03, 0x00, 0x00, 0x00, 0x00, 0x00};            // META_EOF
    EXPECT_EQ(readFileBytes(path), expected);
    // wmf2svg refuses a drawing without elements, so only our reader checks it.
    EXPECT_FALSE(expectMetafileReadable(path, 816, 1056).svgChecked);
}

TEST(MetafileRecords, ScaledValuesRoundHalfToEvenAfterASingleScale)
{
    DrawingHarness half;
    half.line(5, 1, 7, 3); // x 2.5 -> 2, 3.5 -> 4; y 0.5 -> 0, 1.5 -> 2
    half.line(9, 11, 1, 13);
    EXPECT_EQ(save(half, 6120, 7920).decoded.lines(), (std::vector<WmfLine>{{2, 0, 4, 2}, {4, 6, 0, 6}}));

    // 816 / 12240 as a Single is a little above 1/15, so 7.5 twips is
    // 0.50000002 pixels and rounds up, and 37.5 twips rounds to 3, not 2.
    DrawingHarness single;
    single.line(7.5f, 37.5f, 37.5f, 7.5f);
    EXPECT_EQ(save(single).decoded.lines(), (std::vector<WmfLine>{{1, 3, 3, 1}}));

    // Left 16777728 + Width 1 is 16777729 in double but 16777728 as a Single;
    // at 1/1024 that is 16384.5009 (16385) against 16384.5 (16384).
    DrawingHarness sum;
    sum.shape(ShapeRectangle, 16777728.0f, 0, 1, 1024);
    const auto built = buildWmf(sum.drawing(), 16384, 16384, 16, 16);
    ASSERT_EQ(built.error, SceneError::None);
    EXPECT_EQ(decodeMetafile(built.bytes).boxes(), (std::vector<WmfBox>{{false, 16384, 0, 16385, 1}}));
}

TEST(MetafileRecords, KindsTwoAndThreeAreEllipsesEveryOtherKindARectangle)
{
    DrawingHarness d;
    const std::int16_t kinds[] = {0, 1, 2, 3, 4, 5, -1, 99, -32768, 32767};
    float left = 150;
    for (const std::int16_t kind : kinds) {
        d.shape(kind, left, 150, 150, 300);
        left += 300;
    }
    const ReadableMetafile m = save(d);
    const auto boxes = m.decoded.boxes();
    ASSERT_EQ(boxes.size(), 10u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const bool ellipse = kinds[i] == 2 || kinds[i] == 3;
        const int x = 10 + 20 * int(i);
        EXPECT_EQ(boxes[i], (WmfBox{ellipse, x, 10, x + 10, 30})) << "kind " << kinds[i];
    }
    ASSERT_TRUE(m.svgChecked);
    EXPECT_EQ(m.svg.order, "RREERRRRRR");
}

TEST(MetafileRecords, VisibleLinesBeforeVisibleShapesEachInIndexOrder)
{
    DrawingHarness d;
    d.shape(ShapeRectangle, 15, 15, 15, 15); // shapes handed out first
    d.line(150, 150, 300, 150);
    const int hiddenShape = d.shape(ShapeOval, 30, 30, 15, 15);
    d.shape(ShapeOval, -1440, 2880, 1440, -720); // negative and reversed: written as they come
    d.line(450, 450, 600, 450);
    d.line(750, 750, 900, 750);
    // Member 1 freed and handed out again after member 2: it stays first.
    d.drawing().OutLine.setVisible(1, false);
    ASSERT_EQ(d.line(1500, 1500, 1650, 1500), 1);
    d.drawing().OutShape.setVisible(hiddenShape, false);
    const ReadableMetafile m = save(d);
    EXPECT_EQ(m.decoded.functions(),
              (std::vector<std::uint16_t>{Wmf::CreateBrushIndirect, Wmf::SelectObject, Wmf::MoveTo, Wmf::LineTo,
                                          Wmf::MoveTo, Wmf::LineTo, Wmf::MoveTo, Wmf::LineTo, Wmf::Rectangle,
                                          Wmf::Ellipse, Wmf::DeleteObject, Wmf::Eof}));
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{10, 10, 20, 10}, {100, 100, 110, 100}, {50, 50, 60, 50}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 1, 1, 2, 2}, {true, -96, 192, 0, 144}}));
}
