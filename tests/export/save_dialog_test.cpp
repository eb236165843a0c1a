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

// A pattern opened through the open dialog, which leaves its title, its
// cancel setting and its file name on the shared dialog object.
struct SaveHarness : MainFormHarness {
    SaveHarness()
    {
        const std::string pattern =
            write(PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0)
                      .noPicture(),
                  "pattern.pat");
        open(pattern);
    }

    // The name the panel shows after the step, or "" when it shows none.
    std::string saveStep()
    {
        form.CommandClick(4);
        return form.panel().textFilenameVisible[1] ? form.panel().textFilename[1] : "";
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
    EXPECT_EQ(h.saveStep(), path);
    EXPECT_EQ(h.form.stepStates()[4], StepDone);
    ASSERT_EQ(h.dialogs.saveShown.size(), 1u);
    const CommonDialog &d = h.dialogs.saveShown[0];
    EXPECT_TRUE(d.Filter.starts_with("Windows Metafile (*.wmf)|*.wmf|")) << d.Filter;
    EXPECT_EQ(d.FilterIndex, 1);
    // Beside the pattern, under its name.
    EXPECT_EQ(d.InitDir, h.dir.str());
    EXPECT_EQ(d.FileName, "pattern.wmf");
    EXPECT_EQ(d.Flags, 0x806u);
    // The title is not set: the open dialog's stays.
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
        bool cancelError;
        std::string path, shown, message;
        StepState step;
    };
    const Case cases[] = {
        {"cancelled", DialogOutcome::Cancelled, true, "", "", "", StepSkipped},
        {"cancelled without cancel error, a name left", DialogOutcome::Cancelled, false, "chosen.wmf",
         "Error: File not saved", "", StepFailed},
        {"failed, the name it left stays", DialogOutcome::Failed, true, "chosen.wmf", "Error: File not saved",
         "Error selecting file.", StepFailed},
        {"failed without a name", DialogOutcome::Failed, true, "", "", "Error selecting file.", StepSkipped}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SaveHarness h;
        h.box.clear();
        h.form.MainCommonDialog().CancelError = c.cancelError;
        h.dialogs.scriptSave(c.outcome, c.path.empty() ? "" : h.dir.file(c.path));
        EXPECT_EQ(h.saveStep(), c.shown);
        EXPECT_EQ(h.form.stepStates()[4], c.step);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.dir.path()), {}), 1); // the pattern only
        EXPECT_EQ(h.box.beeps, c.message.empty() ? 0 : 1);
        ASSERT_EQ(h.box.boxes.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(h.box.boxes[0].text, c.message);
            EXPECT_EQ(h.box.boxes[0].style, 48);
            EXPECT_EQ(h.box.boxes[0].title, "Orvane");
        }
    }
}
