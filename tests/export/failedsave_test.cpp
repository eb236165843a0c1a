// A save that fails must not cost the user a file: what stood at the target
// stays byte for byte, nothing is left beside it, and a beep and one message
// say why. A good save replaces the file and keeps its mode.

#include "harness.h"

#include "platform/fileio.h"

#include <csignal>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

const std::string RangeReason = "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                                "(-32768 to 32767). Choose a smaller pattern size.";
const std::string NoPage = "\r\n\r\nThe pattern page has no width or height to scale from.";

} // namespace

TEST(SaveMetafile, FailedSavesKeepTheExistingFile)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN(), Inf = std::numeric_limits<float>::infinity();
    enum Target { File, NoFolder, Folder };
    const struct {
        const char *name;
        std::function<void(DrawingHarness &)> draw;
        float pageW, pageH;
        std::string reason;
        Target target = File;
    } cases[] = {
        // 1e6 twips at 816 / 12240 pixels per twip is 66667: beyond a 16-bit field.
        {"coordinate out of range", [](DrawingHarness &d) { d.line(1440, 1440, 2880, 1440), d.line(0, 0, 1e6f, 0); },
         12240, 15840, RangeReason},
        {"shape corner out of range", [](DrawingHarness &d) { d.shape(ShapeOval, 480000, 0, 15000, 10); }, 12240,
         15840, RangeReason},
        {"not a number", [](DrawingHarness &d) { d.line(NaN, 0, 10, 10); }, 12240, 15840, RangeReason},
        {"infinite shape top", [](DrawingHarness &d) { d.shape(ShapeRectangle, 0, Inf, 10, 10); }, 12240, 15840,
         RangeReason},
        {"page without width", [](DrawingHarness &d) { d.line(0, 0, 10, 10); }, 0, 15840, NoPage},
        {"empty page, no elements", [](DrawingHarness &) {}, 12240, 0, NoPage},
        {"missing folder", [](DrawingHarness &d) { d.line(0, 0, 10, 10); }, 12240, 15840,
         "\r\n\r\nNo such file or directory", NoFolder},
        {"folder in the way", [](DrawingHarness &d) { d.line(0, 0, 10, 10); }, 12240, 15840, "\r\n\r\n", Folder},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.file(c.target == NoFolder ? "no folder/pattern.wmf" : "pattern.wmf");
        if (c.target == Folder)
            fs::create_directory(target);
        else if (c.target == File)
            writeFileBytes(target, "an earlier metafile");
        const auto before = dir.names();
        DrawingHarness d;
        c.draw(d);
        FakeMessageBox box;
        EXPECT_FALSE(d.save(target, box, c.pageW, c.pageH));
        if (c.target == File) {
            EXPECT_EQ(readFileText(target), "an earlier metafile");
        }
        EXPECT_EQ(dir.names(), before);
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text.rfind("Error creating metafile " + target + "." + c.reason, 0), 0u)
            << box.boxes[0].text;
        EXPECT_EQ(box.boxes[0].style, 48);
        EXPECT_EQ(box.boxes[0].title, "Orvane");
        EXPECT_EQ(box.order, "bm"); // the beep first
    }
}

TEST(SaveMetafile, SixteenBitLimitsAreExactAndHiddenMembersDoNotCount)
{
    // At scale 1: 32767.5 rounds to the even 32768; -32768.5 to the even -32768.
    for (const auto &[x, ok] : {std::pair{32767.4f, true}, {32767.5f, false}, {-32768.5f, true}, {-32768.6f, false}}) {
        SCOPED_TRACE(x);
        TempDir dir;
        DrawingHarness d;
        d.drawing().OutLine.setVisible(d.line(0, 0, 1e9f, 0), false);
        d.line(0, 0, x, 0);
        FakeMessageBox box;
        EXPECT_EQ(d.save(dir.file("edge.wmf"), box, 816, 1056), ok);
        if (ok) {
            EXPECT_EQ(readMetafile(dir.file("edge.wmf")), (std::vector<WmfElement>{{'L', 0, 0, int(x), 0}}));
        }
    }
}

TEST(SaveMetafile, GoodSaveReplacesTheFileKeepingItsMode)
{
    TempDir dir;
    const std::string path = dir.file("replace.wmf");
    writeFileBytes(path, std::string(5000, 'x'));
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    DrawingHarness d;
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    EXPECT_TRUE(d.save(path, box));
    EXPECT_TRUE(box.boxes.empty());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"replace.wmf"});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, mode);
    EXPECT_EQ(readMetafile(path).size(), 1u);
}

TEST(SaveMetafile, WriteRefusedHalfWayKeepsTheFileAndLeavesNothing)
{
    DrawingHarness d;
    for (int i = 0; i < 300; ++i)
        d.line(0, float(i * 10), 1440, float(i * 10));
    for (const bool unnamed : {true, false}) { // O_TMPFILE, and a named temporary file where there is none
        TempDir dir;
        writeFileBytes(dir.file("pattern.wmf"), "an earlier metafile");
        const pid_t child = ::fork();
        if (child == 0) { // files may grow to 1024 bytes only
            setUnnamedTemporaryFiles(unnamed);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            FakeMessageBox box;
            const bool failed = !d.save(dir.file("pattern.wmf"), box) && box.boxes.size() == 1
                && box.boxes[0].text == "Error creating metafile " + dir.file("pattern.wmf") + ".\r\n\r\nFile too large";
            std::_Exit(failed ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << unnamed;
        EXPECT_EQ(readFileText(dir.file("pattern.wmf")), "an earlier metafile");
        EXPECT_EQ(dir.names(), std::vector<std::string>{"pattern.wmf"}) << unnamed;
    }
}
