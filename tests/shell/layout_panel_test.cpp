// LayoutPanel: the information cells end at the panel's right edge and the
// file name boxes 100 twips short of it, with a floor of 3865 twips.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(LayoutPanel, MinimumWidthIsTheButtonColumnPlus100)
{
    MainFormHarness h;
    EXPECT_EQ(h.form.MinPanelWidth(), 3865.0f);
}

TEST(LayoutPanel, Width12000)
{
    MainFormHarness h;
    h.form.LayoutPanel(12000);
    EXPECT_EQ(h.form.panel().shape2Width, 8250.0f);
    EXPECT_EQ(h.form.panel().textFilename0Width, 6890.0f);
    EXPECT_EQ(h.form.panel().textFilename1Width, 8060.0f);
}

TEST(LayoutPanel, BelowTheFloorWorksWith3865)
{
    for (const float width : {3865.0f, 3000.0f, 0.0f, -500.0f}) {
        MainFormHarness h;
        h.form.LayoutPanel(width);
        EXPECT_EQ(h.form.panel().shape2Width, 115.0f) << width;
        // The boxes keep their design widths.
        EXPECT_EQ(h.form.panel().textFilename0Width, 3945.0f) << width;
        EXPECT_EQ(h.form.panel().textFilename1Width, 3945.0f) << width;
    }
}

TEST(LayoutPanel, UpTo5210TheBoxesKeepTheWidthsTheyHad)
{
    MainFormHarness h;
    h.form.LayoutPanel(12000);
    h.form.LayoutPanel(5210);
    EXPECT_EQ(h.form.panel().shape2Width, 1460.0f);
    EXPECT_EQ(h.form.panel().textFilename0Width, 6890.0f);
    EXPECT_EQ(h.form.panel().textFilename1Width, 8060.0f);
}

TEST(LayoutPanel, At5211TheBoxesFollow)
{
    MainFormHarness h;
    h.form.LayoutPanel(5211);
    EXPECT_EQ(h.form.panel().shape2Width, 1461.0f);
    EXPECT_EQ(h.form.panel().textFilename0Width, 101.0f);
    EXPECT_EQ(h.form.panel().textFilename1Width, 1271.0f);
}

TEST(LayoutPanel, TellsTheWindow)
{
    MainFormHarness h;
    int changes = 0;
    h.form.setPanelObserver([&changes] { ++changes; });
    h.form.LayoutPanel(9000);
    EXPECT_GE(changes, 1);
}
