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
        dialog.FileName = "from the open dialog";
        d.line(1440, 1440, 2880, 1440);
    }

    bool save(std::string &filename)
    {
        return LibEMF::SaveMetafile(816, 1056, filename, d.drawing(), 12240, 15840, dialog, box);
    }
};

} // namespace

TEST(SaveDialog, SettingsOfTheSaveDialogAndTheNameAsGiven)
{
    SaveHarness h;
    // No extension is added, and an existing file is replaced.
    const std::string path = h.dir.file("drawing");
    writeFileBytes(path, "old contents");
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
    EXPECT_FALSE(std::filesystem::exists(path + ".wmf"));
    const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
}

TEST(SaveDialog, CancelOrAFailedDialogWritesNothing)
{
    struct Case {
        const char *name;
        DialogOutcome outcome;
        bool noBackend;
        std::string path, filename, message;
    };
    const Case cases[] = {{"cancelled", DialogOutcome::Cancelled, false, "", "", ""},
                          {"failed, the name it left stays", DialogOutcome::Failed, false, "chosen.wmf", "chosen.wmf",
                           "Error selecting file."},
                          {"failed without a name", DialogOutcome::Failed, false, "", "", "Error selecting file."},
                          {"no dialog at all", DialogOutcome::Failed, true, "", "", "Error selecting file."}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SaveHarness h;
        if (c.noBackend)
            h.dialog.backend = nullptr;
        h.dialogs.scriptSave(c.outcome, c.path.empty() ? "" : h.dir.file(c.path));
        std::string filename = "something";
        EXPECT_FALSE(h.save(filename));
        EXPECT_EQ(filename, c.filename.empty() ? "" : h.dir.file(c.filename));
        EXPECT_TRUE(std::filesystem::is_empty(h.dir.path()));
        EXPECT_EQ(h.box.beeps, c.message.empty() ? 0 : 1);
        ASSERT_EQ(h.box.boxes.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(h.box.boxes[0].text, c.message);
            EXPECT_EQ(h.box.boxes[0].style, 48);
            EXPECT_EQ(h.box.boxes[0].title, "Orvane");
        }
    }
}
