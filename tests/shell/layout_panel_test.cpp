// LayoutPanel: the information cells end at the panel's right edge and the
// file name boxes 100 twips short of it, with a floor of 3865 twips.

#include "harness.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(LayoutPanel, Widths)
{
    const struct {
        std::vector<float> widths; // laid out in turn
        float shape2, box0, box1;
    } cases[] = {
        {{12000}, 8250, 6890, 8060},
        {{3865}, 115, 3945, 3945}, // below the floor: 3865, the boxes keep their design widths
        {{3000}, 115, 3945, 3945},
        {{-500}, 115, 3945, 3945},
        {{12000, 5210}, 1460, 6890, 8060}, // up to 5210 the boxes keep the widths they had
        {{5211}, 1461, 101, 1271},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.widths.back());
        MainFormHarness h;
        int changes = 0;
        h.form.setPanelObserver([&changes] { ++changes; });
        for (const float width : c.widths)
            h.form.LayoutPanel(width);
        const PanelState &p = h.form.panel();
        EXPECT_EQ(p.shape2Width, c.shape2);
        EXPECT_EQ(p.textFilename0Width, c.box0);
        EXPECT_EQ(p.textFilename1Width, c.box1);
        EXPECT_GE(changes, 1); // the window is told
    }
}
