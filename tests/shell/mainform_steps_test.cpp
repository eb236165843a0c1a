// The main window's conversion steps driven through CommandClick with the
// fakes: the step-state table, the buttons, boxes and labels of the panel,
// and the indicators.

#include "harness.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Green = 0x00FF00, Yellow = 0x00FFFF, Red = 0x0000FF;

// A letter page with the worked example's line and rectangle.
PatternWriter letterFile()
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(ShapeRectangle, 720, 720, 1440, 720);
    return w.noPicture();
}

class Steps : public ::testing::Test {
protected:
    MainFormHarness h;
    MainForm &form = h.form;

    void openLetter() { h.open(h.write(letterFile(), "letter.pat")); }

    void expectSteps(StepStates expected)
    {
        EXPECT_EQ(form.stepStates(), expected);
        for (int i = 0; i < StepCount; ++i)
            EXPECT_EQ(form.panel().indicatorColor[static_cast<std::size_t>(i)],
                      *indicatorColor(expected[static_cast<std::size_t>(i)]))
                << "indicator " << i;
    }
};

} // namespace

TEST_F(Steps, StartUp)
{
    const PanelState &p = form.panel();
    EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_FALSE(p.commandResetVisible);
    EXPECT_FALSE(p.textFilenameVisible[0]);
    EXPECT_FALSE(p.textFilenameVisible[1]);
    EXPECT_FALSE(p.pixelLabelsVisible);
    EXPECT_EQ(p.labelPixelsX, "0");
    EXPECT_EQ(p.labelPixelsY, "0");
    expectSteps({0, 0, 0, 0, 0});
    EXPECT_EQ(form.MinPanelWidth(), 3865.0f);
    EXPECT_TRUE(form.WorkFormClean());
    EXPECT_EQ(form.PixelsX(), 0);
    EXPECT_EQ(form.PixelsY(), 0);
    EXPECT_FALSE(form.workForm().Visible());
    // No file is opened and no setting is read at start-up.
    EXPECT_TRUE(h.dialogs.openShown.empty());
    EXPECT_TRUE(h.store.reads.empty());
}

TEST_F(Steps, OpenSucceeded)
{
    const std::string path = h.write(letterFile(), "letter.pat");
    h.open(path);
    expectSteps({1, 0, 0, 0, 0});
    const PanelState &p = form.panel();
    EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{false, true, true, true, true}));
    EXPECT_TRUE(p.commandResetVisible);
    EXPECT_EQ(p.textFilename[0], path);
    EXPECT_TRUE(p.textFilenameVisible[0]);
    EXPECT_FALSE(p.textFilenameVisible[1]);
    EXPECT_TRUE(p.pixelLabelsVisible);
    EXPECT_EQ(p.labelPixelsX, "816");
    EXPECT_EQ(p.labelPixelsY, "1056");
    EXPECT_EQ(form.PixelsX(), 816);
    EXPECT_EQ(form.PixelsY(), 1056);
    EXPECT_TRUE(form.workForm().Visible());
    EXPECT_FALSE(form.WorkFormClean());
    EXPECT_EQ(form.workForm().PatternWidth(), 12240.0f);
    EXPECT_EQ(form.workForm().PatternHeight(), 15840.0f);
    EXPECT_EQ(form.workForm().layout().HScroll.Max, 2940);
    EXPECT_EQ(form.workForm().layout().VScroll.Max, 10275);
    EXPECT_FALSE(form.progress().ProgressEnabled());
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST_F(Steps, OpenCancelled)
{
    h.dialogs.scriptOpen(DialogOutcome::Cancelled);
    form.CommandClick(0);
    expectSteps({2, 0, 0, 0, 0});
    EXPECT_EQ(form.panel().commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_FALSE(form.panel().commandResetVisible);
    EXPECT_FALSE(form.workForm().Visible());
    EXPECT_EQ(form.panel().textFilename[0], "");
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST_F(Steps, OpenFailed)
{
    PatternWriter bad;
    bad.header(3, 0, 0);
    h.open(h.write(bad, "bad.pat"));
    expectSteps({3, 0, 0, 0, 0});
    EXPECT_EQ(form.panel().commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_FALSE(form.panel().textFilenameVisible[0]);
    EXPECT_EQ(form.panel().textFilename[0], "");
    EXPECT_FALSE(form.workForm().Visible());
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
    // The user can try again at once.
    openLetter();
    expectSteps({1, 0, 0, 0, 0});
}

TEST_F(Steps, OpenMissingFileFails)
{
    h.open(h.dir.file("missing.pat"));
    expectSteps({3, 0, 0, 0, 0});
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FileNotFoundText(h.dir.file("missing.pat")));
}

TEST_F(Steps, SetSizeAccepted)
{
    openLetter();
    h.setSize("1000");
    expectSteps({1, 2, 2, 1, 0});
    EXPECT_EQ(form.PixelsX(), 1000);
    EXPECT_EQ(form.PixelsY(), 1294);
    EXPECT_EQ(form.panel().labelPixelsX, "1000");
    EXPECT_EQ(form.panel().labelPixelsY, "1294");
    ASSERT_EQ(h.input.prompts.size(), 1u);
    EXPECT_EQ(h.input.prompts[0], "Set the number of Horizontal (X-axis) pixels for the enhanced metafile pattern."
                                  "\r\n\r\nHorizontal Pixels?");
    EXPECT_EQ(h.input.titles[0], "Orvane");
}

TEST_F(Steps, SetSizeRejected)
{
    openLetter();
    for (const char *reply : {"abc", "0", "-5", "0.4"}) {
        h.setSize(reply);
        expectSteps({1, 2, 2, 3, 0});
        EXPECT_EQ(form.PixelsX(), 816) << reply;
        EXPECT_EQ(form.PixelsY(), 1056) << reply;
        EXPECT_EQ(form.panel().labelPixelsX, "816");
        EXPECT_EQ(form.panel().labelPixelsY, "1056");
    }
    EXPECT_TRUE(h.box.boxes.empty());
    // A valid size after a failed one.
    h.setSize("400");
    expectSteps({1, 2, 2, 1, 0});
    EXPECT_EQ(form.PixelsY(), 518);
}

TEST_F(Steps, SetSizeEmptyChangesNothing)
{
    openLetter();
    h.setSize("");
    expectSteps({1, 0, 0, 0, 0});
    EXPECT_EQ(form.PixelsX(), 816);
    EXPECT_EQ(h.input.prompts.size(), 1u);
}

TEST_F(Steps, SetSizeCarriesTheRoundingOfEarlierChanges)
{
    openLetter();
    h.setSize("400");
    h.setSize("816");
    EXPECT_EQ(form.PixelsX(), 816);
    EXPECT_EQ(form.PixelsY(), 1057);
    h.setSize("12.5");
    EXPECT_EQ(form.PixelsX(), 12);
    h.setSize("13.5");
    EXPECT_EQ(form.PixelsX(), 14);
}

TEST_F(Steps, SaveWritten)
{
    openLetter();
    const std::string out = h.dir.file("letter.wmf");
    h.save(out);
    // Saving right after opening: indicator 4 green, 3 yellow.
    expectSteps({1, 2, 2, 2, 1});
    EXPECT_EQ(form.panel().textFilename[1], out);
    EXPECT_TRUE(form.panel().textFilenameVisible[1]);
    EXPECT_TRUE(h.box.boxes.empty());
    SCOPED_TRACE(out);
    const ReadableMetafile m = expectMetafileReadable(out, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 48, 48, 144, 96}}));
    // The save dialog is the open dialog's object.
    ASSERT_EQ(h.dialogs.saveShown.size(), 1u);
    EXPECT_EQ(h.dialogs.saveShown[0].DialogTitle, "Open Pattern File");
    EXPECT_TRUE(h.dialogs.saveShown[0].CancelError);
}

TEST_F(Steps, SaveAfterSetSizeUsesTheNewSize)
{
    openLetter();
    h.setSize("408");
    const std::string out = h.dir.file("half.wmf");
    h.save(out);
    expectSteps({1, 2, 2, 1, 1});
    SCOPED_TRACE(out);
    const ReadableMetafile m = expectMetafileReadable(out, 408, 528);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{48, 48, 96, 48}}));
    EXPECT_EQ(m.decoded.boxes(), (std::vector<WmfBox>{{false, 24, 24, 72, 48}}));
}

TEST_F(Steps, SaveCancelled)
{
    openLetter();
    h.dialogs.scriptSave(DialogOutcome::Cancelled);
    form.CommandClick(4);
    expectSteps({1, 2, 2, 2, 2});
    EXPECT_EQ(form.panel().textFilename[1], "");
    EXPECT_FALSE(form.panel().textFilenameVisible[1]);
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST_F(Steps, SaveFailed)
{
    openLetter();
    const std::string out = h.dir.file("no folder/x.wmf");
    h.save(out);
    expectSteps({1, 2, 2, 2, 3});
    EXPECT_EQ(form.panel().textFilename[1], "Error: File not saved");
    EXPECT_TRUE(form.panel().textFilenameVisible[1]);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text.rfind("Error creating metafile " + out + ".", 0), 0u);
    EXPECT_EQ(h.box.beeps, 1);
}

TEST_F(Steps, SaveDialogFailedWithAName)
{
    openLetter();
    h.dialogs.scriptSave(DialogOutcome::Failed, h.dir.file("x.wmf"));
    form.CommandClick(4);
    expectSteps({1, 2, 2, 2, 3});
    EXPECT_EQ(form.panel().textFilename[1], "Error: File not saved");
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error selecting file.");
}

TEST_F(Steps, SaveDialogFailedWithoutANameActsAsCancel)
{
    openLetter();
    h.dialogs.scriptSave(DialogOutcome::Failed);
    form.CommandClick(4);
    expectSteps({1, 2, 2, 2, 2});
    EXPECT_FALSE(form.panel().textFilenameVisible[1]);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error selecting file.");
}

TEST_F(Steps, ConnectLineEnds)
{
    openLetter();
    h.save(h.dir.file("a.wmf"));
    expectSteps({1, 2, 2, 2, 1});
    form.CommandClick(1);
    expectSteps({1, 1, 0, 0, 0});
}

TEST_F(Steps, OptimizeLineSequence)
{
    openLetter();
    h.save(h.dir.file("a.wmf"));
    form.CommandClick(2);
    expectSteps({1, 2, 1, 0, 1});
    form.CommandClick(1);
    form.CommandClick(2);
    expectSteps({1, 1, 1, 0, 0});
}

TEST_F(Steps, OptimizeMarksAnUnrunConnectAsSkipped)
{
    openLetter();
    form.CommandClick(2);
    expectSteps({1, 2, 1, 0, 0});
}

TEST_F(Steps, ConnectAndOptimizeChangeNothingInTheFile)
{
    openLetter();
    h.save(h.dir.file("before.wmf"));
    form.CommandClick(1);
    form.CommandClick(2);
    h.save(h.dir.file("after.wmf"));
    EXPECT_EQ(readFileBytes(h.dir.file("before.wmf")), readFileBytes(h.dir.file("after.wmf")));
    SCOPED_TRACE("after.wmf");
    expectMetafileReadable(h.dir.file("after.wmf"), 816, 1056);
}

TEST_F(Steps, ChangeFilesResetsEverything)
{
    openLetter();
    h.setSize("1000");
    h.save(h.dir.file("a.wmf"));
    form.CommandResetClick();
    expectSteps({0, 0, 0, 0, 0});
    const PanelState &p = form.panel();
    EXPECT_EQ(p.commandEnabled, (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_FALSE(p.commandResetVisible);
    EXPECT_FALSE(p.textFilenameVisible[0]);
    EXPECT_FALSE(p.textFilenameVisible[1]);
    EXPECT_FALSE(p.pixelLabelsVisible);
    EXPECT_TRUE(form.WorkFormClean());
    EXPECT_FALSE(form.workForm().Visible());
    EXPECT_EQ(form.workForm().drawing().OutLine.count(), 1);
    EXPECT_FALSE(form.workForm().drawing().OutLine[0].Visible);
    EXPECT_EQ(form.workForm().drawing().OutShape.count(), 1);
    EXPECT_FALSE(form.workForm().drawing().OutShape[0].Visible);
    EXPECT_EQ(form.mirrorForm().LineCount(), 1);
    // Texts are only hidden, and the pixel size stays until the next open.
    EXPECT_EQ(p.labelPixelsX, "1000");
    EXPECT_EQ(form.PixelsX(), 1000);
}

TEST_F(Steps, NextOpenAfterChangeFilesShowsOnlyItsOwnElements)
{
    openLetter();
    form.CommandResetClick();
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{}).integer(2).line(1, 1, 2, 2).line(3, 3, 4, 4);
    w.integer(0).noPicture();
    h.open(h.write(w, "second.pat"));
    expectSteps({1, 0, 0, 0, 0});
    int visibleLines = 0, visibleShapes = 0;
    for (const auto &l : form.workForm().drawing().OutLine)
        visibleLines += l.Visible;
    for (const auto &s : form.workForm().drawing().OutShape)
        visibleShapes += s.Visible;
    EXPECT_EQ(visibleLines, 2);
    EXPECT_EQ(visibleShapes, 0);
    EXPECT_EQ(form.mirrorForm().LineCount(), 2);
    EXPECT_EQ(form.mirrorForm().ShapeCount(), 1);
}

TEST_F(Steps, StepIndexOutsideZeroToFourRunsNothing)
{
    openLetter();
    const StepStates before = form.stepStates();
    form.CommandClick(5);
    form.CommandClick(-1);
    EXPECT_EQ(form.stepStates(), before);
    EXPECT_TRUE(h.input.prompts.empty());
    EXPECT_TRUE(h.dialogs.saveShown.empty());
}

TEST_F(Steps, OpenPatternFileWithANameSkipsTheDialog)
{
    std::string name = h.write(letterFile(), "named.pat");
    EXPECT_TRUE(form.OpenPatternFile(name));
    EXPECT_TRUE(h.dialogs.openShown.empty());
    EXPECT_EQ(form.PixelsX(), 816);
    // OpenPatternFile leaves the steps and buttons to its caller.
    EXPECT_EQ(form.stepStates()[0], 0);
    EXPECT_EQ(form.panel().commandEnabled[0], true);
}

TEST_F(Steps, PixelSizeOfAnA4Page)
{
    PatternWriter::Page a4;
    a4.defWidth = 21.0f;
    a4.defHeight = 29.7f;
    a4.metricPage = true;
    PatternWriter w;
    w.header(2, 1, 0).settings21(a4).integer(0).integer(0).noPicture();
    h.open(h.write(w, "a4.pat"));
    // 11905.512 / 15 = 793.7 -> 794; 16837.795 / 15 = 1122.5197 -> 1123.
    EXPECT_EQ(form.PixelsX(), 794);
    EXPECT_EQ(form.PixelsY(), 1123);
}

TEST_F(Steps, PageOfWidthZeroOpensButCannotBeSizedOrSaved)
{
    PatternWriter::Page page;
    page.defWidth = 0;
    PatternWriter w;
    w.header(2, 1, 0).settings21(page).integer(1).line(0, 0, 0, 100).integer(0).noPicture();
    h.open(h.write(w, "thin.pat"));
    expectSteps({1, 0, 0, 0, 0});
    EXPECT_EQ(form.PixelsX(), 0);
    h.setSize("100");
    expectSteps({1, 2, 2, 3, 0});
    const std::string out = h.dir.file("thin.wmf");
    h.save(out);
    expectSteps({1, 2, 2, 3, 3});
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text,
              "Error creating metafile " + out + ".\r\n\r\nThe pattern page has no width or height to scale from.");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Steps, PageTheSurfaceCannotTakeFailsTheOpen)
{
    PatternWriter::Page page;
    page.patternWidth = -100;
    PatternWriter negative;
    negative.header(1, 1, 0).settings11(page).integer(1).line(0, 0, 1, 1).integer(0).noPicture();
    h.open(h.write(negative, "negative.pat"));
    expectSteps({3, 0, 0, 0, 0});
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(form.workForm().drawing().OutLine.count(), 1);
    EXPECT_FALSE(form.workForm().drawing().OutLine[0].Visible);

    page.patternWidth = 1e30f; // no 32-bit pixel count
    PatternWriter huge;
    huge.header(1, 1, 0).settings11(page).integer(0).integer(0).noPicture();
    h.open(h.write(huge, "huge.pat"));
    expectSteps({3, 0, 0, 0, 0});
    EXPECT_EQ(h.box.boxes.size(), 2u);
}
