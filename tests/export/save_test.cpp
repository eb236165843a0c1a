// A failed save keeps what stood at the target, leaves nothing beside it and says why.

#include "harness.h"

#include <limits>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

TEST(SaveMetafile, FailedSavesKeepTheExistingFile)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN(), Inf = std::numeric_limits<float>::infinity();
    const std::string range = "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                              "(-32768 to 32767). Choose a smaller pattern size.",
                      noPage = "\r\n\r\nThe pattern page has no width or height to scale from.";
    enum Target { File, NoFolder, Folder };
    const struct {
        std::vector<float> line, shape; // shape: kind, left, top, width, height
        float pageW, pageH;
        std::string reason;
        Target target = File;
    } cases[] = {
        // 1e6 twips at 816 / 12240 pixels per twip is 66667: beyond a 16-bit field.
        {{0, 0, 1e6f, 0}, {}, 12240, 15840, range}, {{}, {ShapeOval, 480000, 0, 15000, 10}, 12240, 15840, range},
        {{NaN, 0, 10, 10}, {}, 12240, 15840, range}, {{}, {ShapeRectangle, 0, Inf, 10, 10}, 12240, 15840, range},
        {{0, 0, 10, 10}, {}, 0, 15840, noPage},      {{}, {}, 12240, 0, noPage},
        {{0, 0, 10, 10}, {}, 12240, 15840, "\r\n\r\nNo such file or directory", NoFolder},
        {{0, 0, 10, 10}, {}, 12240, 15840, "\r\n\r\n", Folder},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reason + std::to_string(c.target));
        TempDir dir;
        const std::string target = dir.file(c.target == NoFolder ? "no folder/pattern.wmf" : "pattern.wmf");
        if (c.target == Folder)
            fs::create_directory(target);
        else if (c.target == File)
            writeFileBytes(target, "an earlier metafile");
        const auto before = dir.names();
        DrawingHarness d;
        d.line(1440, 1440, 2880, 1440);
        if (!c.line.empty())
            d.line(c.line[0], c.line[1], c.line[2], c.line[3]);
        if (!c.shape.empty())
            d.shape(std::int16_t(c.shape[0]), c.shape[1], c.shape[2], c.shape[3], c.shape[4]);
        FakeMessageBox box;
        EXPECT_FALSE(d.save(target, box, c.pageW, c.pageH));
        if (c.target == File) {
            EXPECT_EQ(readFileText(target), "an earlier metafile");
        }
        EXPECT_EQ(dir.names(), before);
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text.rfind("Error creating metafile " + target + "." + c.reason, 0), 0u)
            << box.boxes[0].text;
        EXPECT_EQ(std::tuple(box.boxes[0].style, box.boxes[0].title, box.order), std::tuple(48, "Orvane", "bm"));
    }
}

TEST(SaveMetafile, SixteenBitLimitsAreExactAndHiddenMembersDoNotCount)
{
    // At scale 1: 32767.5 rounds to the even 32768; -32768.5 to the even -32768.
    for (const auto &[x, ok] : {std::pair{32767.4f, true}, {32767.5f, false}, {-32768.5f, true}, {-32768.6f, false}}) {
        TempDir dir;
        DrawingHarness d;
        d.drawing().OutLine.setVisible(d.line(0, 0, 1e9f, 0), false);
        d.line(0, 0, x, 0);
        FakeMessageBox box;
        EXPECT_EQ(d.save(dir.file("edge.wmf"), box, 816, 1056), ok) << x;
        if (ok) {
            EXPECT_EQ(readMetafile(dir.file("edge.wmf")), (std::vector<WmfElement>{{'L', 0, 0, int(x), 0}}));
        }
    }
}
