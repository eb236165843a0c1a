// The open step's dialog, the existence check, the loader's messages
// with their exact texts, styles and title, and its progress phases.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter goodFile()
{
    return PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
}

} // namespace

TEST(LoaderMessages, ExactTextsStylesAndTitle)
{
    EXPECT_EQ(LibMessage::FormatUnknownText(),
              "The selected file could not be loaded.\r\n\r\n"
              "The file format is unknown or was made with later version of the Veltrum Pattern Maker.");
    EXPECT_EQ(LibMessage::FileNotFoundText("C:\\x.pat"),
              "The selected file was not found.\r\nFile: C:\\x.pat\r\n\r\n"
              "Check that the above folder and file exist and are write enabled.");
    EXPECT_EQ(LibMessage::PictureNotLoadedText(),
              "The background picture was not loaded.\r\n\r\n"
              "The selected file format is unrecognized or the file is corrupted.");
    EXPECT_EQ(LibMessage::TempFileNotOpenedText("/tmp/vrtmimage.tmp"),
              "The temporary picture file could not be opened.\r\nFile: /tmp/vrtmimage.tmp\r\n\r\n"
              "Check that the above folder exist and is write enable.\r\n"
              "See Options, Display Setup to select the temporary file folder.");

    FakeMessageBox box;
    LibMessage messages{box};
    EXPECT_EQ(messages.MsgFormatUnknown(), 1);
    messages.MsgFileNotFound("C:\\x.pat");
    messages.MsgPictureNotLoaded();
    messages.MsgTempFileNotOpened("C:\\vrtmimage.tmp");
    ASSERT_EQ(box.boxes.size(), 4u);
    const int styles[] = {48, 48, 48, 64};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(box.boxes[i].style, styles[i]) << i;
        EXPECT_EQ(box.boxes[i].title, "Veltrum Orvane") << i;
    }
    EXPECT_EQ(box.boxes[1].text, LibMessage::FileNotFoundText("C:\\x.pat"));
    EXPECT_EQ(box.boxes[3].text, LibMessage::TempFileNotOpenedText("C:\\vrtmimage.tmp"));
    EXPECT_EQ(box.beeps, 0);
}

TEST(LoadPattern, FileExistsShowsNotFoundOnlyWhenAsked)
{
    LoaderHarness h;
    EXPECT_FALSE(h.file.FileExists(h.dir.file("missing"), false));
    EXPECT_TRUE(h.file.FileExists(h.dir.str(), true)); // a folder passes; reading it fails later
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_FALSE(h.file.FileExists("", true));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FileNotFoundText(""));
}

TEST(LoadPattern, UnreadableFileShowsTheFormatMessage)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    LoaderHarness h;
    const std::string path = h.write(goodFile());
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_FALSE(h.load(path));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
}

TEST(OpenStep, TheOpenDialogWithItsSettings)
{
    MainFormHarness h;
    const std::string path = h.write(goodFile());
    h.form.MainCommonDialog().FileName = "left over";
    h.open(path);
    EXPECT_EQ(h.form.panel().textFilename[0], path);
    ASSERT_EQ(h.dialogs.openShown.size(), 1u);
    const CommonDialog &d = h.dialogs.openShown[0];
    EXPECT_EQ(d.Filter, "Pattern File (*.pat)|*.pat");
    EXPECT_EQ(d.InitDir, "");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.DialogTitle, "Open Pattern File");
    EXPECT_EQ(d.Flags, 6148u);
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(h.dialogs.pendingEventRuns, 1); // once, after the dialog closes
    EXPECT_EQ(h.form.MainCommonDialog().DialogTitle, "Open Pattern File"); // the settings stay on the object
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(OpenStep, DialogAnswersOtherThanAnExistingFile)
{
    const std::string gone = "/nonexistent-folder/gone.pat";
    struct Case {
        DialogOutcome outcome;
        std::string path, message;
        StepState step;
    };
    const Case cases[] = {{DialogOutcome::Cancelled, "", "", StepSkipped},
                          {DialogOutcome::Failed, "/whatever.pat", "", StepSkipped},
                          {DialogOutcome::Accepted, gone, LibMessage::FileNotFoundText(gone), StepFailed}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        MainFormHarness h;
        h.dialogs.scriptOpen(c.outcome, c.path);
        h.form.CommandClick(0);
        EXPECT_EQ(h.form.stepStates()[0], c.step);
        EXPECT_EQ(h.form.panel().textFilename[0], "");
        ASSERT_EQ(h.box.boxes.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(h.box.boxes[0].text, c.message);
        }
    }
}

TEST(LoaderProgress, PhasesInOrderWithTheirRanges)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(2).line(1, 2, 3, 4).line(5, 6, 7, 8).integer(1).shape(0, 1, 2, 3, 4);
    w.noPicture();
    {
        LoaderHarness h; // switched off: nothing shown
        RecordingProgressView view;
        h.progress.setView(&view);
        ASSERT_TRUE(h.load(w));
        EXPECT_TRUE(view.calls.empty());
    }
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    ASSERT_TRUE(h.load(w));
    std::vector<std::string> headers;
    std::vector<std::pair<float, float>> bars;
    for (const auto &c : view.calls) {
        if (c.what == "header")
            headers.push_back(c.text);
        if (c.what == "bar")
            bars.emplace_back(c.maximum, c.value);
        if (c.what == "cancel") {
            EXPECT_FALSE(c.flag);
        }
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"Loading Pattern - Header", "Loading Pattern - Lines",
                                                 "Loading Pattern - Shapes", "Loading Pattern - Image"}));
    // Each phase's bar starts at 0 and steps once per item.
    EXPECT_EQ(bars, (std::vector<std::pair<float, float>>{{1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {1, 0}, {1, 1},
                                                          {1, 0}, {1, 1}}));
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}

TEST(LoaderProgress, FailedLoadClosesTheProgressWindow)
{
    LoaderHarness h;
    RecordingProgressView view;
    h.progress.setView(&view);
    h.progress.SetProgressEnabled(true);
    EXPECT_FALSE(h.load(PatternWriter().header(3, 1, 0)));
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(h.progress.loaded());
}
