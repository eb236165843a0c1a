// The save step: the save dialog's settings on the shared dialog object, the
// name taken as the dialog gives it, and what a cancel or a failed dialog do.

#include "harness.h"

using namespace orvane;
using namespace orvane::testing;

TEST(SaveDialog, SettingsOfTheSaveDialogAndTheNameAsGiven)
{
    MainFormHarness h;
    const std::string path = h.dir.file("drawing"); // no extension is added; the file is replaced
    writeFileBytes(path, "old contents");
    h.run("open save:" + path);
    EXPECT_EQ(h.steps()[4], StepDone);
    EXPECT_EQ(h.form.panel().textFilename[1], path);
    ASSERT_EQ(h.dialogs.saveShown.size(), 1u);
    const CommonDialog &d = h.dialogs.saveShown[0];
    EXPECT_TRUE(d.Filter.starts_with("Windows Metafile (*.wmf)|*.wmf|")) << d.Filter;
    EXPECT_EQ(d.FilterIndex, 1);
    EXPECT_EQ(d.InitDir + "/" + d.FileName, h.dir.file("letter.wmf")); // beside the pattern, under its name
    EXPECT_EQ(d.Flags, 0x806u);
    EXPECT_EQ(d.DialogTitle, "Open Pattern File"); // the title is not set: the open's stays
    EXPECT_TRUE(d.CancelError);
    EXPECT_EQ(h.box.order, "");
    EXPECT_EQ(readMetafile(path), (std::vector<WmfElement>{{'L', 96, 96, 192, 96}, {'R', 48, 48, 144, 96}}));
}

TEST(SaveDialog, CancelOrAFailedDialogWritesNothing)
{
    const struct {
        const char *actions;
        bool cancelError;
        std::string shown, message;
        StepState step;
    } cases[] = {
        {"cancel-save", true, "", "", StepSkipped},
        {"dialog-fail-named", true, "Error: File not saved", "Error selecting file.", StepFailed},
        {"dialog-fail", true, "", "Error selecting file.", StepSkipped},
        {"cancel-save:x.wmf", false, "Error: File not saved", "", StepFailed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.actions);
        MainFormHarness h;
        h.run("open");
        h.form.MainCommonDialog().CancelError = c.cancelError;
        h.run(c.actions);
        EXPECT_EQ(h.form.panel().textFilenameVisible[1] ? h.form.panel().textFilename[1] : "", c.shown);
        EXPECT_EQ(h.steps()[4], c.step);
        EXPECT_EQ(h.dir.names(), std::vector<std::string>{"letter.pat"});
        EXPECT_EQ(h.box.order, c.message.empty() ? "" : "bm");
        if (!c.message.empty()) {
            EXPECT_EQ(h.box.boxes[0].text, c.message);
        }
    }
}
