// The placeable metafile's frame, and the save dialog's filters choosing the
// format and the extension.

#include "harness.h"

#include "export/exportformat.h"
#include "export/scene.h"
#include "export/wmfencoder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

TEST(PlaceableMetafile, FramesThePageAtItsPrintedSize)
{
    struct Case {
        float widthTwips, heightTwips;
        std::int32_t pixelsX, pixelsY;
        int inch;           // 0: refused
        const char *reason; // part of the refusal
    };
    const Case cases[] = {
        {12240, 15840, 816, 1056, 96, ""},   // letter at 96 dpi
        {12240, 15840, 2000, 2588, 235, ""}, // 235.29
        {11906, 16838, 794, 1123, 96, ""},   // A4: 96.03
        {12240, 15840, 4, 5, 0, "65535"},    // 0.47
        {100, 100, 5000, 5000, 0, "65535"},  // 72000
        {1440000, 1440000, 32768, 32768, 0, "32767"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.pixelsX) + " px over " + std::to_string(c.widthTwips) + " twips");
        Scene scene{c.pixelsX, c.pixelsY, c.widthTwips, c.heightTwips, {}};
        scene.elements.push_back({SceneElement::Line, 1, 2, 3, 4});
        scene.elements.push_back({SceneElement::Ellipse, 4, 3, 2, 1});
        const EncodeResult framed = findExportFormat("placeable")->encode(scene);
        if (!c.inch) {
            EXPECT_TRUE(framed.bytes.empty());
            EXPECT_NE(framed.error.find(c.reason), std::string::npos) << framed.error;
            continue;
        }
        const DecodedMetafile m = decodeMetafile(framed.bytes);
        ASSERT_TRUE(m.placeable.has_value()) << framed.error;
        EXPECT_EQ(std::tuple(m.placeable->right, m.placeable->bottom, int(m.placeable->inch)),
                  std::tuple(c.pixelsX, c.pixelsY, c.inch));
        const auto problems = checkConverterMetafile(m); // checksum, frame, sizes
        EXPECT_TRUE(problems.empty()) << problems.front();
        // After the frame, the plain metafile's records unchanged.
        const DecodedMetafile plain = decodeMetafile(EncodeWmf(scene));
        ASSERT_EQ(m.records.size(), plain.records.size() + 2);
        EXPECT_TRUE(std::equal(plain.records.begin(), plain.records.end(), m.records.begin() + 2));
    }
}

namespace {

// The save dialog as a user leaves it: a name and the filter chosen.
struct FilterDialogs : ScriptedDialogs {
    int filterIndex = 1;
    DialogOutcome showSave(CommonDialog &dialog) override
    {
        dialog.FilterIndex = filterIndex;
        return ScriptedDialogs::showSave(dialog);
    }
};

} // namespace

TEST(SaveDialogFormats, TheChosenFilterDecidesFormatAndExtension)
{
    struct Case {
        int filter;
        const char *typed, *written;
        bool placeable;
    };
    const Case cases[] = {
        {1, "plain", "plain", false}, // the default as before: the name as typed
        {1, "plain.svg", "plain.svg", false},
        {2, "framed", "framed.wmf", true},
        {2, "framed.WMF", "framed.WMF", true},
        {2, "framed.v2", "framed.v2.wmf", true},
        {99, "unlisted", "unlisted", false},
        {3, "p.wmf", "p.tst", false}, // the suggestion's extension follows the filter
        {3, "other.wmf", "other.wmf.tst", false},
    };
    // A format the core does not list, in the metafile's bytes.
    registerExportFormat({"tst", "Test (*.tst)|*.tst", "tst", [](const Scene &scene) {
                              return EncodeResult{EncodeWmf(scene), {}};
                          }});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        TempDir dir;
        FakeMessageBox box;
        FakeSettingsStore store;
        FilterDialogs dialogs;
        MainForm form{Platform{box, store, &dialogs, nullptr, 15.0, 15.0, dir.file("cache")}};
        form.Load();
        PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0)
            .noPicture().save(dir.file("p.pat"));
        ASSERT_EQ(form.OpenPattern(dir.file("p.pat")), MainForm::Outcome::Done);
        dialogs.filterIndex = c.filter;
        dialogs.scriptSave(DialogOutcome::Accepted, dir.file(c.typed));
        form.CommandClick(4);
        EXPECT_EQ(form.panel().textFilename[1], dir.file(c.written));
        const DecodedMetafile m = decodeMetafileFile(dir.file(c.written));
        EXPECT_EQ(m.placeable.has_value(), c.placeable);
        EXPECT_EQ(m.elements(), (std::vector<WmfElement>{{'L', 96, 96, 192, 96}}));
        if (std::string(c.typed) != c.written)
            EXPECT_FALSE(std::filesystem::exists(dir.file(c.typed)));
    }
}
