// The PNG drawn in bands: the same file whatever the band, and pages it cannot draw refused before drawing.

#include "export/qt/pictureencoders.h"
#include "export/scene.h"

#include "samebytes.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace orvane;

namespace {

Scene tallScene(int pixelsX, int pixelsY)
{
    return Scene{pixelsX, pixelsY, float(pixelsX) * 15, float(pixelsY) * 15, {}};
}

} // namespace

// Boxes, ellipses and lines across the band edges, and lines and a point within one band.
TEST(PngBands, EveryBandGivesTheBytesOfOneImage)
{
    Scene scene = tallScene(120, 300);
    scene.elements = {{SceneElement::Line, 5, 6, 100, 7},      {SceneElement::Line, 30, 14, 30, 14},
                      {SceneElement::Line, 60, 0, 60, 299},    {SceneElement::Line, 61, 20, 62, 20},
                      {SceneElement::Rectangle, 10, 13, 60, 41}, {SceneElement::Ellipse, 20, 6, 110, 95},
                      {SceneElement::Ellipse, 70, 150, 3, 299}, {SceneElement::Rectangle, -5, -5, 200, 400}};
    const EncodeResult whole = EncodePngInBands(scene, 300);
    const QImage image = QImage::fromData(whole.bytes.data(), int(whole.bytes.size()));
    ASSERT_EQ(image.size(), QSize(120, 300));
    EXPECT_EQ(qGray(image.pixel(60, 150)), 0);     // on the line down the middle
    EXPECT_EQ(qGray(image.pixel(115, 150)), 255); // beside everything
    EXPECT_EQ(image.dotsPerMeterX(), 3780);         // 96 dpi: the page's printed size
    EXPECT_EQ(image.dotsPerMeterY(), 3780);
    for (const int rows : {1, 2, 7, 13, 299}) {
        SCOPED_TRACE(rows);

        const EncodeResult banded = EncodePngInBands(scene, rows);

        EXPECT_EQ(banded.error, "");
        EXPECT_TRUE(orvane::testing::sameBytes(banded.bytes, whole.bytes));
    }
}

// Taller than libpng's default limit of a million rows, still within the pixel limit. (Qt's reader keeps that
// limit, so the header is read here.)
TEST(PngBands, PagesOfMoreThanAMillionRows)
{
    const Scene scene = tallScene(2, 1200000);

    const EncodeResult result = EncodePng(scene);

    EXPECT_EQ(result.error, "");
    ASSERT_GT(result.bytes.size(), 24u);
    // The header's width and height (big-endian, after the signature and the chunk's length and type).
    const std::vector<unsigned char> size(result.bytes.begin() + 16, result.bytes.begin() + 24);
    EXPECT_EQ(size, (std::vector<unsigned char>{0, 0, 0, 2, 0, 0x12, 0x4F, 0x80}));
}

TEST(PngBands, PagesBeyondTheLimitsAreRefusedNamingSizeAndLimit)
{
    const struct {
        int pixelsX;
        int pixelsY;
        const char *error;
    } cases[] = {
        {1000001, 1, "A PNG image holds at most 1000000 pixels in a row; this page is 1000001 x 1 pixels."},
        {16385, 16384, "A PNG image holds at most 268435456 pixels; this page is 16385 x 16384 pixels."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pixelsX);

        const EncodeResult result = EncodePng(tallScene(c.pixelsX, c.pixelsY));

        EXPECT_EQ(result.error, std::string(c.error) + " Choose a smaller pattern size.");
        EXPECT_TRUE(result.bytes.empty());
    }
}
