// MainForm's steps clicked in a scripted session: their states, and what a failed open or save leaves.

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

    EXPECT_EQ(decodeMetafileFile(h.dir.file("out.wmf")).elements(),
              (std::vector<WmfElement>{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
    EXPECT_EQ(h.steps(), (StepStates{1, 2, 2, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(h.dir.file("thin.wmf")));
    ASSERT_EQ(h.box.boxes.size(), 2u); // the broken file's, then the save's
    EXPECT_EQ(h.box.boxes[1].text, "Error creating metafile " + h.dir.file("thin.wmf")
                                       + ".\r\n\r\nThe pattern page has no width or height to scale from.");
}
