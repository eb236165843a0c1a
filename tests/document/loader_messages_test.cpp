// The loader's messages with their exact texts, styles and title, the open
// step's dialog, and the progress phases of a load.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(LoaderMessages, ExactTextsStylesAndTitle)
{
    FakeMessageBox box;
    LibMessage messages{box};
    EXPECT_EQ(messages.MsgFormatUnknown(), 1);
    messages.MsgFileNotFound("C:\\x.pat");
    messages.MsgPictureNotLoaded();
    messages.MsgTempFileNotOpened("/tmp/vrtmimage.tmp");
    const std::pair<std::string, int> expected[] = {
        {"The selected file could not be loaded.\r\n\r\n"
         "The file format is unknown or was made with later version of the Veltrum Pattern Maker.",
         48},
        {"The selected file was not found.\r\nFile: C:\\x.pat\r\n\r\n"
         "Check that the above folder and file exist and are write enabled.",
         48},
        {"The background picture was not loaded.\r\n\r\n"
         "The selected file format is unrecognized or the file is corrupted.",
         48},
        {"The temporary picture file could not be opened.\r\nFile: /tmp/vrtmimage.tmp\r\n\r\n"
         "Check that the above folder exist and is write enable.\r\n"
         "See Options, Display Setup to select the temporary file folder.",
         64}};
    ASSERT_EQ(box.boxes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(box.boxes[i].text, expected[i].first);
        EXPECT_EQ(box.boxes[i].style, expected[i].second);
        EXPECT_EQ(box.boxes[i].title, "Veltrum Orvane");
    }
    EXPECT_EQ(box.order, "mmmm");
}

TEST(OpenStep, TheOpenDialogAndItsAnswers)
{
    MainFormHarness h;
    h.form.MainCommonDialog().FileName = "left over";
    h.run("open");
    EXPECT_EQ(h.form.panel().textFilename[0], h.letter);
    ASSERT_EQ(h.dialogs.openShown.size(), 1u);
    const CommonDialog &d = h.dialogs.openShown[0];
    EXPECT_EQ(d.Filter, "Pattern File (*.pat)|*.pat");
    EXPECT_EQ(d.InitDir + d.FileName, "");
    EXPECT_EQ(d.DialogTitle, "Open Pattern File");
    EXPECT_EQ(d.Flags, 6148u);
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(h.dialogs.pendingEventRuns, 1); // once, after the dialog closes
    EXPECT_TRUE(h.box.boxes.empty());

    h.dialogs.opens.push_back({DialogOutcome::Failed, h.letter});
    h.run("reset cancel-open");
    h.form.CommandClick(0);
    EXPECT_EQ(h.steps()[0], StepSkipped);
    EXPECT_EQ(h.form.panel().textFilename[0], "");
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(LoaderProgress, PhasesInOrderWithTheirRanges)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(1).shape(0, 1, 2, 3, 4);
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    ASSERT_TRUE(h.load(w.noPicture()));
    EXPECT_TRUE(view.calls.empty()); // switched off, as the program always has it
    h.progress.SetProgressEnabled(true);
    ASSERT_TRUE(h.load(w, "again.pat"));
    EXPECT_EQ(view.only("header"),
              (std::vector<std::string>{"header Loading Pattern - Header", "header Loading Pattern - Lines",
                                        "header Loading Pattern - Shapes", "header Loading Pattern - Image"}));
    EXPECT_EQ(view.only("bar"),
              (std::vector<std::string>{"bar 0 1 0", "bar 0 1 1", "bar 0 2 0", "bar 0 2 1", "bar 0 2 2", "bar 0 1 0",
                                        "bar 0 1 1", "bar 0 1 0", "bar 0 1 1"}));
    EXPECT_EQ(view.only("close").size(), 1u);
    EXPECT_FALSE(h.progress.loaded());
    EXPECT_FALSE(h.load(PatternWriter().header(3, 1, 0), "bad.pat")); // a failed load closes it too
    EXPECT_EQ(view.only("close").size(), 2u);
}
