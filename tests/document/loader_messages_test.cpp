// LoadPattern: the open dialog, the existence check, and the loader's
// messages with their exact texts, styles and title.

#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

PatternWriter goodFile()
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(1, 2, 3, 4).integer(0).noPicture();
    return w;
}

} // namespace

TEST(LoaderMessageTexts, FormatUnknown)
{
    EXPECT_EQ(LibMessage::FormatUnknownText(),
              "The selected file could not be loaded.\r\n\r\n"
              "The file format is unknown or was made with later version of the Veltrum Pattern Maker.");
}

TEST(LoaderMessageTexts, FileNotFoundHasFourLines)
{
    EXPECT_EQ(LibMessage::FileNotFoundText("C:\\x.pat"),
              "The selected file was not found.\r\nFile: C:\\x.pat\r\n\r\n"
              "Check that the above folder and file exist and are write enabled.");
}

TEST(LoaderMessageTexts, PictureNotLoaded)
{
    EXPECT_EQ(LibMessage::PictureNotLoadedText(),
              "The background picture was not loaded.\r\n\r\n"
              "The selected file format is unrecognized or the file is corrupted.");
}

TEST(LoaderMessageTexts, TempFileNotOpenedHasFiveLines)
{
    EXPECT_EQ(LibMessage::TempFileNotOpenedText("/tmp/vrtmimage.tmp"),
              "The temporary picture file could not be opened.\r\nFile: /tmp/vrtmimage.tmp\r\n\r\n"
              "Check that the above folder exist and is write enable.\r\n"
              "See Options, Display Setup to select the temporary file folder.");
}

TEST(LoaderMessageBoxes, StylesAndTitle)
{
    FakeMessageBox box;
    LibMessage messages{box};
    EXPECT_EQ(messages.MsgFormatUnknown(), 1);
    messages.MsgFileNotFound("C:\\x.pat");
    messages.MsgPictureNotLoaded();
    messages.MsgTempFileNotOpened("C:\\vrtmimage.tmp");
    ASSERT_EQ(box.boxes.size(), 4u);
    EXPECT_EQ(box.boxes[0].style, 48);
    EXPECT_EQ(box.boxes[1].style, 48);
    EXPECT_EQ(box.boxes[2].style, 48);
    EXPECT_EQ(box.boxes[3].style, 64);
    for (const auto &b : box.boxes)
        EXPECT_EQ(b.title, "Veltrum Orvane");
    EXPECT_EQ(box.boxes[1].text, LibMessage::FileNotFoundText("C:\\x.pat"));
    EXPECT_EQ(box.boxes[3].text, LibMessage::TempFileNotOpenedText("C:\\vrtmimage.tmp"));
    EXPECT_EQ(box.beeps, 0);
}

TEST(LoadPattern, MissingFileShowsNotFoundNamingThePathAndNothingElse)
{
    LoaderHarness h;
    const std::string path = h.dir.file("no such file.pat");
    EXPECT_FALSE(h.load(path));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FileNotFoundText(path));
    EXPECT_EQ(h.box.boxes[0].style, 48);
    EXPECT_EQ(h.box.boxes[0].title, "Veltrum Orvane");
    EXPECT_TRUE(h.dialogs.openShown.empty());
    EXPECT_TRUE(h.visibleLines().empty());
}

TEST(LoadPattern, FolderPassesTheExistenceCheckThenFailsWithTheFormatMessageOnce)
{
    LoaderHarness h;
    EXPECT_TRUE(h.file.FileExists(h.dir.str(), true));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_FALSE(h.load(h.dir.str()));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(h.box.boxes[0].style, 48);
    EXPECT_EQ(h.box.boxes[0].title, "Veltrum Orvane");
}

TEST(LoadPattern, FileExistsWithoutMessage)
{
    LoaderHarness h;
    EXPECT_FALSE(h.file.FileExists(h.dir.file("missing"), false));
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

TEST(LoadPattern, EmptyNameShowsTheOpenDialogWithItsSettings)
{
    LoaderHarness h;
    const std::string path = h.write(goodFile());
    h.dialog.FileName = "left over";
    h.dialogs.scriptOpen(DialogOutcome::Accepted, path);
    std::string name;
    ASSERT_TRUE(h.file.LoadPattern(name));
    EXPECT_EQ(name, path);
    ASSERT_EQ(h.dialogs.openShown.size(), 1u);
    const CommonDialog &d = h.dialogs.openShown[0];
    EXPECT_EQ(d.Filter, "Pattern File (*.pat)|*.pat");
    EXPECT_EQ(d.InitDir, "");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.DialogTitle, "Open Pattern File");
    EXPECT_EQ(d.Flags, 6148u);
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_TRUE(d.CancelError);
    // Pending events run once after the dialog closes.
    EXPECT_EQ(h.dialogs.pendingEventRuns, 1);
    // The settings stay on the dialog object.
    EXPECT_EQ(h.dialog.DialogTitle, "Open Pattern File");
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(LoadPattern, CancelledDialogReturnsFalseWithoutAMessage)
{
    LoaderHarness h;
    h.dialogs.scriptOpen(DialogOutcome::Cancelled);
    std::string name;
    EXPECT_FALSE(h.file.LoadPattern(name));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.dialogs.pendingEventRuns, 0);
}

TEST(LoadPattern, FailedDialogReturnsFalseWithoutAMessage)
{
    LoaderHarness h;
    h.dialogs.scriptOpen(DialogOutcome::Failed, "/whatever.pat");
    std::string name;
    EXPECT_FALSE(h.file.LoadPattern(name));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(LoadPattern, ChosenFileThatIsGoneShowsNotFound)
{
    LoaderHarness h;
    const std::string path = h.dir.file("gone.pat");
    h.dialogs.scriptOpen(DialogOutcome::Accepted, path);
    std::string name;
    EXPECT_FALSE(h.file.LoadPattern(name));
    EXPECT_EQ(name, path);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FileNotFoundText(path));
}

TEST(LoadPattern, GivenNameSkipsTheDialog)
{
    LoaderHarness h;
    EXPECT_TRUE(h.load(goodFile()));
    EXPECT_TRUE(h.dialogs.openShown.empty());
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(LoadPattern, EveryFailureBeneathReadPatternShowsOneFormatMessage)
{
    // A rejected version, a negative text, an overflowing count: each one box.
    std::vector<PatternWriter> files(3);
    files[0].header(3, 0, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    files[1].header(2, 1, 0, "", "").zeros(34).integer(-2);
    files[2].header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(-32768);
    for (std::size_t i = 0; i < files.size(); ++i) {
        LoaderHarness h;
        EXPECT_FALSE(h.load(files[i])) << i;
        ASSERT_EQ(h.box.boxes.size(), 1u) << i;
        EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText()) << i;
    }
}
