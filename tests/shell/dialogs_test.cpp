// The save dialog's answers, and its filter's format and extension.

#include "harness.h"

#include "export/exportformat.h"
#include "export/wmfencoder.h"

using namespace orvane;
using namespace orvane::testing;

TEST(SaveDialog, CancelOrAFailedDialogWritesNothing)
{
    // The actions, CancelError, the name shown, the message and the save step's state.
    const std::tuple<const char *, bool, std::string, std::string, StepState> cases[] = {
        {"cancel-save", true, "", "", StepSkipped},
        {"dialog-fail-named", true, "Error: File not saved", "Error selecting file.", StepFailed},
        {"dialog-fail", true, "", "Error selecting file.", StepSkipped},
        {"cancel-save:x.wmf", false, "Error: File not saved", "", StepFailed}};
    for (const auto &[actions, cancelError, shown, message, step] : cases) {
        SCOPED_TRACE(actions);
        MainFormHarness h;
        h.run("open");
        h.form.MainCommonDialog().CancelError = cancelError;

        h.run(actions);

        EXPECT_EQ(h.form.panel().textFilenameVisible[1] ? h.form.panel().textFilename[1] : "", shown);
        EXPECT_EQ(h.steps()[4], step);
        EXPECT_EQ(h.dir.names(), std::vector<std::string>{"letter.pat"});
        EXPECT_EQ(h.box.order + (h.box.boxes.empty() ? "" : h.box.boxes[0].text), (message.empty() ? "" : "bm") + message);
    }
}

TEST(SaveDialogFormats, TheChosenFilterDecidesFormatAndExtension)
{
    // The filter chosen, the name typed and written, and whether the metafile is placeable.
    const std::tuple<int, const char *, const char *, bool> cases[] = {
        {1, "plain", "plain", false}, // the default as before: the name as typed
        {2, "framed", "framed.wmf", true},
        {2, "framed.WMF", "framed.WMF", true},
        {2, "framed.v2", "framed.v2.wmf", true},
        {99, "unlisted", "unlisted", false},
        {5, "p.wmf", "p.tst", false}, // the suggestion's extension follows the filter
        {5, "other.wmf", "other.wmf.tst", false}};
    // A format the core does not list (after wmf, placeable, svg and pdf), in the metafile's bytes.
    static constexpr ExportFormat Test[] = {{"tst", "tst", "Test (*.tst)|*.tst", "test file", [](const Scene &scene) {
                                                 return EncodeResult{EncodeWmf(scene), {}};
                                             }}};
    for (const auto &[filter, typed, written, placeable] : cases) {
        SCOPED_TRACE(typed);
        MainFormHarness h(Test);
        h.dialogs.saveFilter = filter;
        const std::string pattern = h.write(
            PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture(),
            "p.pat");

        h.run("open:" + pattern + " save:" + h.dir.file(typed));

        EXPECT_EQ(h.form.panel().textFilename[1], h.dir.file(written));
        const DecodedMetafile m = decodeMetafileFile(h.dir.file(written));
        EXPECT_EQ(m.placeable.has_value(), placeable);
        EXPECT_EQ(m.elements(), (std::vector<WmfElement>{{'L', 96, 96, 192, 96}}));
        EXPECT_EQ(std::filesystem::exists(h.dir.file(typed)), std::string(typed) == written);
    }
}
