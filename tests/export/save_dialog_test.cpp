// SaveMetafile: the save dialog's settings on the shared dialog object, what a
// cancel and a failed dialog do, and the name taken as the dialog gives it.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct SaveHarness {
    TempDir dir;
    DrawingHarness d;
    FakeMessageBox box;
    ScriptedDialogs dialogs;
    CommonDialog dialog;

    SaveHarness()
    {
        dialog.backend = &dialogs;
        // What the open dialog leaves on the shared object.
        dialog.DialogTitle = "Open Pattern File";
        dialog.CancelError = true;
        dialog.InitDir = "";
        d.line(1440, 1440, 2880, 1440);
    }

    bool save(std::string &filename)
    {
        return LibEMF::SaveMetafile(816, 1056, filename, d.drawing(), 12240, 15840, dialog, box);
    }
};

} // namespace

TEST(SaveDialog, SettingsOfTheSaveDialog)
{
    SaveHarness h;
    h.dialog.FileName = "from the open dialog";
    const std::string path = h.dir.file("out.wmf");
    h.dialogs.scriptSave(DialogOutcome::Accepted, path);
    std::string filename;
    ASSERT_TRUE(h.save(filename));
    EXPECT_EQ(filename, path);
    ASSERT_EQ(h.dialogs.saveShown.size(), 1u);
    const CommonDialog &d = h.dialogs.saveShown[0];
    EXPECT_EQ(d.Filter, "Windows Metafile (*.wmf)|*.wmf");
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.Flags, 0x806u);
    // Neither title nor folder is set: the open dialog's stay.
    EXPECT_EQ(d.DialogTitle, "Open Pattern File");
    EXPECT_TRUE(d.CancelError);
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.box.beeps, 0);
    SCOPED_TRACE(path);
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
}

TEST(SaveDialog, CancelReturnsFalseWithAnEmptyNameAndNoMessage)
{
    SaveHarness h;
    h.dialogs.scriptSave(DialogOutcome::Cancelled);
    std::string filename = "something";
    EXPECT_FALSE(h.save(filename));
    EXPECT_EQ(filename, "");
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.box.beeps, 0);
    EXPECT_TRUE(std::filesystem::is_empty(h.dir.path()));
}

TEST(SaveDialog, FailedDialogBeepsAndSaysErrorSelectingFile)
{
    SaveHarness h;
    const std::string path = h.dir.file("chosen.wmf");
    h.dialogs.scriptSave(DialogOutcome::Failed, path);
    std::string filename;
    EXPECT_FALSE(h.save(filename));
    // The name the dialog left stays.
    EXPECT_EQ(filename, path);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error selecting file.");
    EXPECT_EQ(h.box.boxes[0].style, 48);
    EXPECT_EQ(h.box.boxes[0].title, "Orvane");
    EXPECT_EQ(h.box.beeps, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SaveDialog, FailedDialogWithoutAName)
{
    SaveHarness h;
    h.dialogs.scriptSave(DialogOutcome::Failed);
    std::string filename;
    EXPECT_FALSE(h.save(filename));
    EXPECT_EQ(filename, "");
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error selecting file.");
}

TEST(SaveDialog, NameWithoutExtensionIsWrittenUnderExactlyThatName)
{
    SaveHarness h;
    const std::string path = h.dir.file("drawing");
    h.dialogs.scriptSave(DialogOutcome::Accepted, path);
    std::string filename;
    ASSERT_TRUE(h.save(filename));
    EXPECT_EQ(filename, path);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".wmf"));
    SCOPED_TRACE(path);
    expectMetafileReadable(path, 816, 1056);
}

TEST(SaveDialog, ExistingFileChosenInTheDialogIsReplaced)
{
    SaveHarness h;
    const std::string path = h.dir.file("old.wmf");
    writeFileBytes(path, "old contents");
    h.dialogs.scriptSave(DialogOutcome::Accepted, path);
    std::string filename;
    ASSERT_TRUE(h.save(filename));
    SCOPED_TRACE(path);
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_EQ(m.decoded.lines().size(), 1u);
}

TEST(SaveDialog, NoDialogAtAllIsAFailedDialog)
{
    SaveHarness h;
    h.dialog.backend = nullptr;
    std::string filename;
    EXPECT_FALSE(h.save(filename));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error selecting file.");
}
