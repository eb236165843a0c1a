// The window's format table: the core's rows, then the module's, so the window saves SVG with the core's encoder,
// the one orvane-convert uses.

#include "export/exportformat.h"
#include "export/qt/pictureencoders.h"
#include "export/svgencoder.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(PictureModule, TheWindowsSvgIsTheCoresEncoder)
{
    FormatTable formats;

    formats.add(pictureModule().formats);

    EXPECT_EQ(formats.names(), "wmf|placeable|svg|pdf|png");
    EXPECT_EQ(formats.find("svg")->encode, &EncodeSvg);
}
