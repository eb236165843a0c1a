// A save that fails must not cost the user a file: whatever stood at the
// target stays byte for byte, no temporary file is left beside it, and the
// user is told why with a beep and one message.

#include "harness.h"
#include "wmf2svg.h"

#include "export/libemf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

const std::string Precious = "an earlier metafile";
const std::string RangeReason = "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                                "(-32768 to 32767). Choose a smaller pattern size.";

std::vector<std::string> listing(const TempDir &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> bytesOf(const std::string &s) { return {s.begin(), s.end()}; }

// The letter page (12240 x 15840 twips) at 816 x 1056 pixels.
bool saveLetter(DrawingHarness &d, const std::string &path, FakeMessageBox &box, float pageW = 12240,
                float pageH = 15840)
{
    return saveMetafile(816, 1056, path, d.drawing(), pageW, pageH, box);
}

// Runs save in a child whose files may grow to limit bytes (SIGXFSZ ignored),
// so the write itself is refused half way. The child exits 0 when the save
// failed with "File too large".
void saveInChildWithFileLimit(DrawingHarness &d, const std::string &path, rlim_t limit)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit l{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &l) != 0)
            ::_exit(3);
        FakeMessageBox box;
        if (saveLetter(d, path, box))
            ::_exit(1);
        const std::string expected = "Error creating metafile " + path + ".\r\n\r\nFile too large";
        ::_exit(box.boxes.size() == 1 && box.boxes[0].text == expected ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace

TEST(SaveMetafile, FailedSavesKeepTheExistingFile)
{
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float Inf = std::numeric_limits<float>::infinity();
    const std::string NoPage = "\r\n\r\nThe pattern page has no width or height to scale from.";
    struct Case {
        const char *name;
        std::function<void(DrawingHarness &)> draw;
        float pageW, pageH;
        std::string reason;
    };
    const Case cases[] = {
        // 1e6 twips at 816 / 12240 pixels per twip is 66667: beyond a 16-bit field.
        {"coordinate out of range", [](DrawingHarness &d) {
             d.line(1440, 1440, 2880, 1440);
             d.line(0, 0, 1e6f, 0);
         },
         12240, 15840, RangeReason},
        {"shape corner out of range", [](DrawingHarness &d) { d.shape(ShapeOval, 480000, 0, 15000, 10); }, 12240,
         15840, RangeReason},
        {"not a number", [](DrawingHarness &d) { d.line(NaN, 0, 10, 10); }, 12240, 15840, RangeReason},
        {"infinite shape top", [](DrawingHarness &d) { d.shape(ShapeRectangle, 0, Inf, 10, 10); }, 12240, 15840,
         RangeReason},
        {"page without width", [](DrawingHarness &d) { d.line(0, 0, 10, 10); }, 0, 15840, NoPage},
        {"page without height", [](DrawingHarness &d) { d.line(0, 0, 10, 10); }, 12240, 0, NoPage},
        {"empty page, no elements", [](DrawingHarness &) {}, 0, 0, NoPage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.file("pattern.wmf");
        writeFileBytes(target, Precious);
        DrawingHarness d;
        c.draw(d);
        FakeMessageBox box;
        EXPECT_FALSE(saveLetter(d, target, box, c.pageW, c.pageH));
        EXPECT_EQ(readFileBytes(target), bytesOf(Precious));
        EXPECT_EQ(listing(dir), std::vector<std::string>{"pattern.wmf"});
        ASSERT_EQ(box.boxes.size(), 1u);
        EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + target + "." + c.reason);
        EXPECT_EQ(box.boxes[0].style, 48);
        EXPECT_EQ(box.boxes[0].title, "Orvane");
        ASSERT_EQ(box.events.size(), 2u);
        EXPECT_TRUE(box.events[0].beep); // the beep comes first
    }
}

TEST(SaveMetafile, MissingFolderFailsWithReason)
{
    TempDir dir;
    DrawingHarness d;
    d.line(0, 0, 10, 10);
    FakeMessageBox box;
    const std::string target = dir.file("no such folder/pattern.wmf");
    EXPECT_FALSE(saveLetter(d, target, box));
    EXPECT_TRUE(listing(dir).empty());
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + target + ".\r\n\r\nNo such file or directory");
    EXPECT_EQ(box.beeps, 1);
}

TEST(SaveMetafile, UnwritableFolderKeepsExistingFile)
{
    // Permission bits do not stop root; the size limit test covers a refused write then.
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes into read-only folders";
    TempDir dir;
    const std::string target = dir.file("pattern.wmf");
    writeFileBytes(target, Precious);
    ::chmod(dir.str().c_str(), 0500);
    DrawingHarness d;
    d.line(0, 0, 10, 10);
    FakeMessageBox box;
    const bool saved = saveLetter(d, target, box);
    ::chmod(dir.str().c_str(), 0700);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFileBytes(target), bytesOf(Precious));
    EXPECT_EQ(listing(dir), std::vector<std::string>{"pattern.wmf"});
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "Error creating metafile " + target + ".\r\n\r\nPermission denied");
}

TEST(SaveMetafile, FileSizeLimitKeepsExistingFileAndCreatesNoFile)
{
    TempDir dir;
    DrawingHarness d;
    for (int i = 0; i < 300; ++i)
        d.line(0, float(i * 10), 1440, float(i * 10));
    ASSERT_GT(buildWmf(d.drawing(), 12240, 15840, 816, 1056).bytes.size(), 4096u);
    const std::string target = dir.file("pattern.wmf");
    writeFileBytes(target, Precious);
    saveInChildWithFileLimit(d, target, 1024);
    EXPECT_EQ(readFileBytes(target), bytesOf(Precious));
    saveInChildWithFileLimit(d, dir.file("new.wmf"), 512);
    EXPECT_EQ(listing(dir), std::vector<std::string>{"pattern.wmf"});
}

TEST(SaveMetafile, SixteenBitLimitsAreExactAndHiddenMembersDoNotCount)
{
    struct Case {
        float x;
        bool ok;
    };
    // At scale 1: 32767.5 rounds to the even 32768; -32768.5 to the even -32768.
    const Case cases[] = {{32767, true},      {32767.4f, true},   {32767.5f, false}, {32768, false},
                          {-32768, true},     {-32768.5f, true},  {-32768.6f, false}, {-32769, false},
                          {1e10f, false},     {-1e10f, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.x);
        TempDir dir;
        DrawingHarness d;
        const int hidden = d.line(0, 0, 1e9f, 0);
        d.drawing().OutLine.setVisible(hidden, false);
        d.line(0, 0, c.x, 0);
        FakeMessageBox box;
        const std::string path = dir.file("edge.wmf");
        EXPECT_EQ(saveMetafile(816, 1056, path, d.drawing(), 816, 1056, box), c.ok);
        EXPECT_EQ(fs::exists(path), c.ok);
        if (c.ok) {
            const ReadableMetafile m = expectMetafileReadable(path, 816, 1056);
            EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{0, 0, static_cast<int>(std::nearbyint(c.x)), 0}}));
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
    EXPECT_TRUE(saveLetter(d, path, box));
    EXPECT_TRUE(box.boxes.empty());
    EXPECT_EQ(listing(dir), std::vector<std::string>{"replace.wmf"});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, mode);
    expectMetafileReadable(path, 816, 1056);
}

TEST(SaveMetafile, FolderInTheWayOfTheTargetFailsAndStays)
{
    TempDir dir;
    const std::string path = dir.file("folder.wmf");
    fs::create_directory(path);
    DrawingHarness d;
    d.line(1, 2, 3, 4);
    FakeMessageBox box;
    EXPECT_FALSE(saveLetter(d, path, box));
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(listing(dir), std::vector<std::string>{"folder.wmf"});
}

TEST(SaveAsMetafile, FailedSaveShowsNotSavedAndKeepsExistingFile)
{
    MainFormHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(0, 0, 1e6f, 0).integer(0).noPicture();
    h.open(h.write(w, "far.pat"));
    ASSERT_EQ(h.steps()[0], StepDone);
    const std::string target = h.dir.file("far.wmf");
    writeFileBytes(target, Precious);

    h.save(target);

    EXPECT_EQ(h.steps()[4], StepFailed);
    EXPECT_EQ(h.form.panel().textFilename[1], "Error: File not saved");
    EXPECT_TRUE(h.form.panel().textFilenameVisible[1]);
    EXPECT_EQ(readFileBytes(target), bytesOf(Precious));
    EXPECT_EQ(listing(h.dir), (std::vector<std::string>{"far.pat", "far.wmf"}));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, "Error creating metafile " + target + "." + RangeReason);
}
