// MainForm's steps clicked in a scripted session: states, colours, panel, size and save outcomes.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(Steps, StateTableAndIndicatorColours)
{
    // Not done white, done green, skipped yellow, failed red, as 0x00BBGGRR.
    const std::uint32_t colours[] = {0xFFFFFF, 0x00FF00, 0x00FFFF, 0x0000FF};
    const std::pair<const char *, const char *> rows[] = {
        {"", "00000"}, {"open", "10000"}, {"cancel-open", "20000"}, {"bad-open", "30000"}, {"missing-open", "30000"},
        {"bad-open open", "10000"}, {"open size:1000", "12210"}, {"open size:abc", "12230"},
        {"open size:0.4", "12230"}, {"open size:abc size:400", "12210"}, {"open size:", "10000"},
        {"open save", "12221"}, {"open cancel-save", "12222"}, {"open fail-save", "12223"},
        {"open dialog-fail-named", "12223"}, {"open dialog-fail", "12222"}, {"open save connect", "11000"},
        {"open optimize", "12100"}, {"open save optimize connect optimize", "11100"},
        {"open size:1000 save reset", "00000"}};
    for (const auto &[actions, expected] : rows) {
        SCOPED_TRACE(actions);
        MainFormHarness h;
        h.run(actions);
        for (int i = 0; i < StepCount; ++i) {
            EXPECT_EQ(h.steps()[i], expected[i] - '0') << "step " << i;
            EXPECT_EQ(h.form.panel().indicatorColor[i], colours[expected[i] - '0']) << "indicator " << i;
        }
    }
}

TEST(Steps, PanelFromStartUpToChangeFiles)
{
    MainFormHarness h;
    const PanelState &p = h.form.panel();
    auto readyToOpen = [&] {
        EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
        EXPECT_FALSE(p.commandResetVisible || p.textFilenameVisible[0] || p.textFilenameVisible[1]);
        EXPECT_FALSE(p.pixelLabelsVisible || h.form.workForm().Visible());
    };
    readyToOpen();
    EXPECT_EQ(h.form.MinPanelWidth(), 3865.0f);
    EXPECT_EQ(h.dialogs.openShown.size(), 0u); // nothing opened or read at start-up
    EXPECT_EQ(h.store.reads.size(), 0u);
    h.run("open");
    EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{false, true, true, true, true}));
    EXPECT_TRUE(p.commandResetVisible);
    EXPECT_TRUE(p.textFilenameVisible[0]);
    EXPECT_TRUE(p.pixelLabelsVisible);
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "816/1056");
    EXPECT_TRUE(h.form.workForm().Visible());
    EXPECT_EQ(h.form.workForm().layout().HScroll.Max, 2940);
    h.run("size:400 size:816 size:12.5 size:13.5 size:abc"); // each from the last pair; a rejected one keeps it
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "14/19");
    EXPECT_EQ(h.input.prompts[0], "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern."
                                  "\r\n\r\nHorizontal Pixels?|Orvane");
    h.run("reset open size:408 save");
    EXPECT_EQ(p.textFilename[1], h.dir.file("out.wmf"));
    EXPECT_EQ(readMetafile(h.dir.file("out.wmf")),
              (std::vector<WmfElement>{{'L', 48, 48, 96, 48}, {'R', 24, 24, 72, 48}}));
    h.run("fail-save");
    EXPECT_EQ(p.textFilename[1], "Error: File not saved");
    h.run("reset");
    readyToOpen();
    EXPECT_EQ(h.form.workForm().drawing().OutLine.count() + h.form.mirrorForm().ShapeCount(), 2);
    EXPECT_EQ(p.labelPixelsX, "408"); // only hidden until the next open
    h.form.CommandClick(5);
    h.form.CommandClick(-1);
    EXPECT_EQ(h.dialogs.saveShown.size(), 2u); // steps outside 0 to 4 run nothing
    EXPECT_EQ(h.input.prompts.size(), 6u);
}

TEST(Steps, FailedOpenClearsWhatWasReadAndAPageOfNoPixelsCannotBeSaved)
{
    MainFormHarness h;
    PatternWriter broken; // two lines, then a shape count that fails the load
    broken.header(2, 1, 0).settings21({}).integer(2).line(100, 100, 200, 200).line(300, 300, 400, 400).integer(-32768);
    h.run("open:" + h.write(broken, "broken.pat") + " open save");
    EXPECT_EQ(readMetafile(h.dir.file("out.wmf")),
              (std::vector<WmfElement>{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
    // Inches; at 15 twips a pixel 0.005 inch is 0.48 pixels.
    for (const auto &[width, height, size] : {std::tuple{0.0f, 11.0f, " size:100"}, {1e-30f, 1e-30f, ""},
                                              {8.5f, 0.005f, ""}, {0.005f, 11.0f, ""}}) {
        PatternWriter::Page page;
        page.defWidth = width, page.defHeight = height;
        h.box.clear();
        h.run("reset open:" + h.write(PatternWriter().header(2, 1, 0).settings21(page).integer(1).line(0, 0, 0, 100)
                                          .integer(0).noPicture(), "thin.pat")
              + size + " save:" + h.dir.file("thin.wmf"));
        EXPECT_EQ(h.steps(), (StepStates{1, 2, 2, std::int16_t(*size ? 3 : 2), 3})) << width << " x " << height;
        EXPECT_FALSE(std::filesystem::exists(h.dir.file("thin.wmf")));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, "Error creating metafile " + h.dir.file("thin.wmf")
                                           + ".\r\n\r\nThe pattern page has no width or height to scale from.");
    }
}

TEST(LayoutPanel, Widths)
{
    const struct {
        std::vector<float> widths; // laid out in turn
        float shape2, box0, box1;
    } cases[] = {
        {{12000}, 8250, 6890, 8060},
        {{3000}, 115, 3945, 3945}, // below the floor of 3865; the boxes keep their design widths
        {{12000, 5210}, 1460, 6890, 8060}, // up to 5210 the boxes keep the widths they had
        {{5211}, 1461, 101, 1271},
    };
    for (const auto &c : cases) {
        MainFormHarness h;
        int changes = 0;
        h.form.setPanelObserver([&changes] { ++changes; });
        for (const float width : c.widths)
            h.form.LayoutPanel(width);
        const PanelState &p = h.form.panel();
        EXPECT_EQ(std::tuple(p.shape2Width, p.textFilename0Width, p.textFilename1Width),
                  std::tuple(c.shape2, c.box0, c.box1)) << c.widths.back();
        EXPECT_EQ(changes, int(c.widths.size())); // the window is told
    }
}
