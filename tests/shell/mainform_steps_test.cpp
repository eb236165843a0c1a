// MainForm's steps clicked in a scripted session: states, colours, panel, size and save outcomes.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(Steps, StateTable)
{
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
        for (int i = 0; i < StepCount; ++i)
            EXPECT_EQ(h.steps()[i], expected[i] - '0') << "step " << i;
    }
}

TEST(Steps, SizeTakesThePixelsAcrossAndKeepsThePagesShape)
{
    MainFormHarness h;
    const PanelState &p = h.form.panel();

    h.run("open size:400 size:816 size:12.5 size:13.5 size:abc"); // each from the last pair; a rejected one keeps it

    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "14/19");
}

TEST(Steps, FailedOpenClearsWhatWasReadAndAPageOfNoPixelsCannotBeSaved)
{
    MainFormHarness h;
    PatternWriter broken; // two lines, then a shape count that fails the load
    broken.header(2, 1, 0).settings21({}).integer(2).line(100, 100, 200, 200).line(300, 300, 400, 400).integer(-32768);
    PatternWriter::Page page;
    page.defHeight = 0.005f; // inches: 0.48 pixels at 15 twips a pixel
    const std::string thin = h.write(
        PatternWriter().header(2, 1, 0).settings21(page).integer(1).line(0, 0, 0, 100).integer(0).noPicture(), "thin.pat");

    h.run("open:" + h.write(broken, "broken.pat") + " open save reset open:" + thin + " save:" + h.dir.file("thin.wmf"));

    EXPECT_EQ(readMetafile(h.dir.file("out.wmf")),
              (std::vector<WmfElement>{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
    EXPECT_EQ(h.steps(), (StepStates{1, 2, 2, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(h.dir.file("thin.wmf")));
    ASSERT_EQ(h.box.boxes.size(), 2u); // the broken file's, then the save's
    EXPECT_EQ(h.box.boxes[1].text, "Error creating metafile " + h.dir.file("thin.wmf")
                                       + ".\r\n\r\nThe pattern page has no width or height to scale from.");
}

TEST(LayoutPanel, Widths)
{
    // The widths laid out in turn, then the second shape's and the two boxes' widths.
    const std::tuple<std::vector<float>, float, float, float> cases[] = {
        {{12000}, 8250, 6890, 8060},
        {{3000}, 115, 3945, 3945}, // below the floor of 3865; the boxes keep their design widths
        {{12000, 5210}, 1460, 6890, 8060}, // up to 5210 the boxes keep the widths they had
        {{5211}, 1461, 101, 1271},
    };
    for (const auto &[widths, shape2, box0, box1] : cases) {
        SCOPED_TRACE(widths.back());
        MainFormHarness h;
        int changes = 0;
        h.form.setPanelObserver([&changes] { ++changes; });

        for (const float width : widths)
            h.form.LayoutPanel(width);

        const PanelState &p = h.form.panel();
        EXPECT_EQ(std::tuple(p.shape2Width, p.textFilename0Width, p.textFilename1Width), std::tuple(shape2, box0, box1));
        EXPECT_EQ(changes, int(widths.size())); // the window is told
    }
}
