// The main window's conversion steps driven through CommandClick with the
// fakes: the step-state table, then the panel's buttons, boxes and labels.

#include "harness.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter letterFile()
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(ShapeRectangle, 720, 720, 1440, 720);
    return w.noPicture();
}

struct Session {
    MainFormHarness h;
    MainForm &form = h.form;

    std::string openLetter()
    {
        const std::string path = h.write(letterFile(), "letter.pat");
        h.open(path);
        return path;
    }

    // open, cancel-open, bad-open, missing-open, size:TEXT, connect, optimize, reset, and
    // the save dialog's answers below.
    void run(const std::string &a)
    {
        const std::map<std::string, std::pair<DialogOutcome, std::string>> saves = {
            {"save", {DialogOutcome::Accepted, "out.wmf"}},
            {"cancel-save", {DialogOutcome::Cancelled, ""}},
            {"fail-save", {DialogOutcome::Accepted, "no folder/x.wmf"}},
            {"dialog-fail-named", {DialogOutcome::Failed, "x.wmf"}},
            {"dialog-fail", {DialogOutcome::Failed, ""}}};
        if (a == "open") {
            openLetter();
        } else if (a == "bad-open" || a == "missing-open") {
            PatternWriter bad;
            h.open(a == "bad-open" ? h.write(bad.header(3, 0, 0), "bad.pat") : h.dir.file("missing.pat"));
        } else if (a.starts_with("size:")) {
            h.setSize(a.substr(5));
        } else if (const auto it = saves.find(a); it != saves.end()) {
            const auto &[outcome, name] = it->second;
            h.dialogs.scriptSave(outcome, name.empty() ? name : h.dir.file(name));
            form.CommandClick(4);
        } else if (a == "cancel-open") {
            h.dialogs.scriptOpen(DialogOutcome::Cancelled);
            form.CommandClick(0);
        } else if (a == "reset") {
            form.CommandResetClick();
        } else {
            ASSERT_TRUE(a == "connect" || a == "optimize") << a;
            form.CommandClick(a == "connect" ? 1 : 2);
        }
    }

    void expectSteps(StepStates expected)
    {
        EXPECT_EQ(form.stepStates(), expected);
        for (std::size_t i = 0; i < StepCount; ++i)
            EXPECT_EQ(form.panel().indicatorColor[i], *indicatorColor(expected[i])) << "indicator " << i;
    }
};

struct Panel : Session, ::testing::Test {};

} // namespace

TEST(Steps, StateTable)
{
    const struct {
        const char *actions;
        StepStates expected;
        std::size_t boxes;
    } rows[] = {
        {"", {0, 0, 0, 0, 0}, 0},
        {"open", {1, 0, 0, 0, 0}, 0},
        {"cancel-open", {2, 0, 0, 0, 0}, 0},
        {"bad-open", {3, 0, 0, 0, 0}, 1},
        {"missing-open", {3, 0, 0, 0, 0}, 1},
        {"bad-open open", {1, 0, 0, 0, 0}, 1},
        {"open size:1000", {1, 2, 2, 1, 0}, 0},
        {"open size:abc", {1, 2, 2, 3, 0}, 0},
        {"open size:0", {1, 2, 2, 3, 0}, 0},
        {"open size:-5", {1, 2, 2, 3, 0}, 0},
        {"open size:0.4", {1, 2, 2, 3, 0}, 0},
        {"open size:abc size:400", {1, 2, 2, 1, 0}, 0},
        {"open size:", {1, 0, 0, 0, 0}, 0},
        {"open save", {1, 2, 2, 2, 1}, 0},
        {"open size:408 save", {1, 2, 2, 1, 1}, 0},
        {"open cancel-save", {1, 2, 2, 2, 2}, 0},
        {"open fail-save", {1, 2, 2, 2, 3}, 1},
        {"open dialog-fail-named", {1, 2, 2, 2, 3}, 1},
        {"open dialog-fail", {1, 2, 2, 2, 2}, 1},
        {"open save connect", {1, 1, 0, 0, 0}, 0},
        {"open optimize", {1, 2, 1, 0, 0}, 0},
        {"open save optimize", {1, 2, 1, 0, 1}, 0},
        {"open save optimize connect optimize", {1, 1, 1, 0, 0}, 0},
        {"open size:1000 save reset", {0, 0, 0, 0, 0}, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.actions);
        Session s;
        std::istringstream actions(row.actions);
        for (std::string action; actions >> action;)
            s.run(action);
        s.expectSteps(row.expected);
        EXPECT_EQ(s.h.box.boxes.size(), row.boxes);
    }
}

TEST_F(Panel, StartUpOpenAndChangeFiles)
{
    const PanelState &p = form.panel();
    auto expectReadyToOpen = [&] {
        EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
        EXPECT_FALSE(p.commandResetVisible);
        EXPECT_FALSE(p.textFilenameVisible[0] || p.textFilenameVisible[1] || p.pixelLabelsVisible);
        EXPECT_TRUE(form.WorkFormClean());
        EXPECT_FALSE(form.workForm().Visible());
    };
    expectReadyToOpen();
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "0/0");
    EXPECT_EQ(form.MinPanelWidth(), 3865.0f);
    // No file is opened and no setting is read at start-up.
    EXPECT_TRUE(h.dialogs.openShown.empty());
    EXPECT_TRUE(h.store.reads.empty());

    const std::string path = openLetter();
    EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{false, true, true, true, true}));
    EXPECT_TRUE(p.commandResetVisible);
    EXPECT_EQ(p.textFilename[0], path);
    EXPECT_TRUE(p.textFilenameVisible[0] && p.pixelLabelsVisible);
    EXPECT_FALSE(p.textFilenameVisible[1]);
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "816/1056");
    EXPECT_TRUE(form.workForm().Visible());
    EXPECT_EQ(form.workForm().layout().HScroll.Max, 2940);
    EXPECT_FALSE(form.progress().ProgressEnabled());

    h.setSize("1000");
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "1000/1294");
    ASSERT_EQ(h.input.prompts.size(), 1u);
    EXPECT_EQ(h.input.prompts[0], "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern."
                                  "\r\n\r\nHorizontal Pixels?");
    EXPECT_EQ(h.input.titles[0], "Orvane");
    h.setSize("abc"); // a rejected size keeps the last one
    EXPECT_EQ(p.labelPixelsX + "/" + p.labelPixelsY, "1000/1294");

    h.save(h.dir.file("a.wmf"));
    form.CommandResetClick();
    expectReadyToOpen();
    EXPECT_EQ(form.workForm().drawing().OutLine.count(), 1);
    EXPECT_EQ(form.workForm().drawing().OutShape.count(), 1);
    EXPECT_EQ(form.mirrorForm().LineCount(), 1);
    // Texts are only hidden, and the pixel size stays until the next open.
    EXPECT_EQ(p.labelPixelsX, "1000");
    EXPECT_EQ(form.PixelsX(), 1000);

    PatternWriter w;
    w.header(1, 1, 0).settings11({}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4).integer(0).noPicture();
    h.open(h.write(w, "second.pat"));
    EXPECT_EQ(form.mirrorForm().LineCount(), 2);
    EXPECT_EQ(form.mirrorForm().ShapeCount(), 1);
    EXPECT_FALSE(form.workForm().drawing().OutShape[0].Visible);
}

TEST_F(Panel, SizesCarryTheRoundingOfEarlierChanges)
{
    openLetter();
    const std::pair<const char *, std::pair<int, int>> sizes[] = {
        {"400", {400, 518}}, {"816", {816, 1057}}, {"12.5", {12, 16}}, {"13.5", {14, 19}}};
    for (const auto &[reply, pixels] : sizes) {
        h.setSize(reply);
        EXPECT_EQ(std::make_pair(form.PixelsX(), form.PixelsY()), pixels) << reply;
    }
}

TEST_F(Panel, SaveOutcomes)
{
    openLetter();
    h.setSize("408");
    const std::string out = h.dir.file("half.wmf");
    h.save(out);
    EXPECT_EQ(form.panel().textFilename[1], out);
    EXPECT_TRUE(form.panel().textFilenameVisible[1]);
    const ReadableMetafile m = expectMetafileReadable(out, 408, 528);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{48, 48, 96, 48}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 24, 24, 72, 48}}));
    // The save dialog is the open dialog's object.
    ASSERT_EQ(h.dialogs.saveShown.size(), 1u);
    EXPECT_EQ(h.dialogs.saveShown[0].DialogTitle, "Open Pattern File");
    EXPECT_TRUE(h.dialogs.saveShown[0].CancelError);

    // Connect and optimize change nothing in the file.
    form.CommandClick(1);
    form.CommandClick(2);
    h.save(h.dir.file("after.wmf"));
    EXPECT_EQ(readFileBytes(out), readFileBytes(h.dir.file("after.wmf")));

    run("cancel-save");
    EXPECT_EQ(form.panel().textFilename[1], "");
    EXPECT_FALSE(form.panel().textFilenameVisible[1]);

    const std::string bad = h.dir.file("no folder/x.wmf");
    h.save(bad);
    EXPECT_EQ(form.panel().textFilename[1], "Error: File not saved");
    EXPECT_TRUE(form.panel().textFilenameVisible[1]);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text.rfind("Error creating metafile " + bad + ".", 0), 0u);
    EXPECT_EQ(h.box.beeps, 1);

    run("dialog-fail");
    EXPECT_EQ(h.box.boxes.back().text, "Error selecting file.");
}

TEST_F(Panel, OpenFailureMessages)
{
    run("bad-open");
    run("missing-open");
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(h.box.boxes[1].text, LibMessage::FileNotFoundText(h.dir.file("missing.pat")));
    EXPECT_EQ(form.panel().textFilename[0], "");
    EXPECT_FALSE(form.workForm().Visible());
}

TEST_F(Panel, StepIndexOutsideZeroToFourRunsNothing)
{
    openLetter();
    const StepStates before = form.stepStates();
    form.CommandClick(5);
    form.CommandClick(-1);
    EXPECT_EQ(form.stepStates(), before);
    EXPECT_TRUE(h.input.prompts.empty() && h.dialogs.saveShown.empty());
}

TEST_F(Panel, PageOfWidthZeroOpensButCannotBeSizedOrSaved)
{
    PatternWriter::Page page;
    page.defWidth = 0;
    PatternWriter w;
    h.open(h.write(w.header(2, 1, 0).settings21(page).integer(1).line(0, 0, 0, 100).integer(0).noPicture()));
    EXPECT_EQ(form.PixelsX(), 0);
    h.setSize("100");
    const std::string out = h.dir.file("thin.wmf");
    h.save(out);
    expectSteps({1, 2, 2, 3, 3});
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text,
              "Error creating metafile " + out + ".\r\n\r\nThe pattern page has no width or height to scale from.");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Panel, PageTheSurfaceCannotTakeFailsTheOpen)
{
    for (const float width : {-100.0f, 1e30f}) { // 1e30: no 32-bit pixel count
        PatternWriter::Page page;
        page.patternWidth = width;
        PatternWriter w;
        h.open(h.write(w.header(1, 1, 0).settings11(page).integer(1).line(0, 0, 1, 1).integer(0).noPicture()));
        expectSteps({3, 0, 0, 0, 0});
        EXPECT_EQ(h.box.boxes.back().text, LibMessage::FormatUnknownText()) << width;
        EXPECT_FALSE(form.workForm().drawing().OutLine[0].Visible);
    }
}
