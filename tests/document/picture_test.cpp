// The embedded picture's private copy; a copy that fails says why but never fails the load.

#include "harness.h"

#include "document/patternformat.h"

#include <csignal>
#include <fcntl.h>
#include <limits>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity(), NaN = std::numeric_limits<float>::quiet_NaN();

std::string pictureOf(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23 + (i / 1024) * 7);
    return bytes;
}

PatternWriter withLine() { return PatternWriter().header(1, 6, 2).settings15({}, true).integer(1).line(1, 2, 3, 4).integer(0); }

} // namespace

TEST(PictureBlocks, WholeBlocksAndARestRoundedHalfToEven)
{
    const struct {
        float length;
        int blocks, rest; // -1: cannot be copied
    } cases[] = {{0, 0, 0},           {1000, 0, 1000}, {2048, 2, 0},   {2500, 2, 452},
                 {1000.5f, 0, 1000},  {1001.5f, 0, 1002}, {32767.0f * 1024, 32767, 0},
                 {33554432.0f, -1, -1}, {Inf, -1, -1},  {NaN, -1, -1},  {-1, -1, -1}};
    for (const auto &c : cases) {
        const auto b = PatternFormat::pictureBlocks(c.length);
        EXPECT_EQ((b ? std::pair<int, int>(b->blocks, b->rest) : std::pair(-1, -1)), std::pair(c.blocks, c.rest)) << c.length;
    }
}

TEST(PictureLoad, CopiesWhatTheFileHoldsOrSaysItCannot)
{
    const struct {
        std::int16_t flag;
        float length;
        std::string held, after, copy; // copy "": the picture-not-loaded message
    } cases[] = {{1, 2500, pictureOf(2500), "", pictureOf(2500)},
                 {1, 2048, pictureOf(2048), "after the block", pictureOf(2048)},
                 {-1, 300 * 1024 + 17, pictureOf(300 * 1024 + 17), "", pictureOf(300 * 1024 + 17)},
                 {1, 5000, "shorter than said", "", "shorter than said"},
                 {1, 33554432.0f, "p", "", ""}, {1, -1, "p", "", ""}, {1, NaN, "p", "", ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        LoaderHarness h;
        ASSERT_TRUE(h.load(withLine().integer(c.flag).single(c.length).raw(c.held + c.after)));
        EXPECT_EQ(h.visible().size(), 1u);
        EXPECT_EQ(h.file.pictureCopy().path, h.picturePath());
        if (c.copy.empty()) {
            ASSERT_EQ(h.box.boxes.size(), 1u);
            EXPECT_EQ(std::pair(h.box.boxes[0].text, h.box.boxes[0].style),
                      std::pair(LoadMessages::PictureNotLoadedText(), int(MessageExclamation)));
            continue;
        }
        EXPECT_TRUE(h.box.boxes.empty());
        EXPECT_EQ(h.file.pictureCopy().bytes, static_cast<long long>(c.copy.size()));
        EXPECT_EQ(readFileText(h.picturePath()), c.copy);
        EXPECT_EQ(fs::status(h.pictureFolder()).permissions(), fs::perms::owner_all);
        // A shorter picture next cuts the copy; a failed one leaves it alone.
        ASSERT_TRUE(h.load(withLine().picture("second"), "second.pat"));
        ASSERT_TRUE(h.load(withLine().integer(1).single(-5.0f), "bad.pat"));
        EXPECT_EQ(readFileText(h.picturePath()), "second");
    }
}

TEST(PictureLoad, CopyThatCannotBeOpenedShowsTwoMessagesAndTouchesNothing)
{
    for (const char kind : {'l', 'd', 'f'}) { // a link to somebody else's file, a dangling link, a folder
        LoaderHarness h;
        fs::create_directories(h.pictureFolder());
        fs::permissions(h.pictureFolder(), fs::perms::owner_all);
        writeFileBytes(h.dir.file("victim"), "theirs");
        kind == 'l' ? fs::create_symlink(h.dir.file("victim"), h.picturePath())
        : kind == 'd' ? fs::create_symlink(h.dir.file("created"), h.picturePath())
                      : void(fs::create_directory(h.picturePath()));
        ASSERT_TRUE(h.load(withLine().picture("picture bytes")));
        EXPECT_EQ(std::tuple(readFileText(h.dir.file("victim")), fs::exists(h.dir.file("created")),
                             fs::is_directory(h.picturePath())), std::tuple("theirs", false, kind == 'f'));
        ASSERT_EQ(h.box.boxes.size(), 2u);
        EXPECT_EQ(std::pair(h.box.boxes[0].text, h.box.boxes[0].style),
                  std::pair(LoadMessages::TempFileNotOpenedText(h.picturePath()), int(MessageInformation)));
        EXPECT_EQ(h.box.boxes[1].text, LoadMessages::PictureNotLoadedText());
        EXPECT_FALSE(h.file.pictureCopy().copied());
    }
}

TEST(PictureLoad, WriteFailureDuringTheCopyNamesTheFileAndTheReason)
{
    LoaderHarness h;
    const std::string path = h.write(withLine().picture(pictureOf(4096)));
    auto loadWithSmallFiles = [&] { // files may grow to 1000 bytes only: the copy fails part-way
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool loaded = h.file.open(path);
        const std::vector<std::string> want{LoadMessages::TempFileNotOpenedText(h.picturePath(), "File too large"),
                                            LoadMessages::PictureNotLoadedText()};
        std::vector<std::string> shown;
        for (const auto &box : h.box.boxes)
            shown.push_back(box.text);
        std::_Exit(loaded && shown == want && !h.file.pictureCopy().copied() ? 0 : 1);
    };
    EXPECT_EXIT(loadWithSmallFiles(), ::testing::ExitedWithCode(0), "");
}

TEST(PictureLoad, ACopyHeldByAnotherProgramIsNeitherWaitedForNorSpoilt)
{
    LoaderHarness h;
    fs::create_directories(h.pictureFolder());
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    if (child == 0) { // holds the copy locked, half way through a write of its own, until the load is over
        const int fd = ::open(h.picturePath().c_str(), O_WRONLY | O_CREAT, 0600);
        ::flock(fd, LOCK_EX);
        (void)!::write(fd, "other", 5);
        (void)!::write(ready[1], "x", 1);
        char x;
        (void)!::read(done[0], &x, 1);
        (void)!::pwrite(fd, "OTHER", 5, 0); // its late write lands in its own file, not ours
        ::_exit(0);
    }
    char x;
    ASSERT_EQ(::read(ready[0], &x, 1), 1);
    const bool loaded = h.load(withLine().picture(pictureOf(5000)));
    (void)!::write(done[1], "x", 1);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(h.box.boxes.size(), 0u);
    EXPECT_EQ(readFileText(h.picturePath()), pictureOf(5000));
}

TEST(PictureLoad, SimultaneousLoadsAllKeepTheirPictureAndOneWinsWhole)
{
    LoaderHarness h;
    constexpr int Loads = 30;
    std::vector<std::string> paths;
    for (int i = 0; i < Loads; ++i)
        paths.push_back(h.write(withLine().picture(std::string(4096 + i, char('A' + i % 26))), std::to_string(i) + ".pat"));
    std::vector<pid_t> children;
    for (int i = 0; i < Loads; ++i) {
        const pid_t child = ::fork();
        if (child == 0) { // each a program of its own: copied, and nothing said
            LoaderHarness one;
            TemporaryPicture picture{h.pictureFolder()};
            PatternOpen file{[&one](const LoadMessage &m) { one.messages.Show(m); }, one.store, &picture};
            ::_exit(file.open(paths[std::size_t(i)]) && one.box.boxes.empty() ? 0 : 1);
        }
        children.push_back(child);
    }
    int succeeded = 0;
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        succeeded += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
    }
    EXPECT_EQ(succeeded, Loads);
    const std::string copy = readFileText(h.picturePath());
    ASSERT_GE(copy.size(), 4096u);
    EXPECT_EQ(copy, std::string(copy.size(), char('A' + (copy.size() - 4096) % 26)));
    EXPECT_EQ(std::distance(fs::directory_iterator(h.pictureFolder()), {}), 1); // nothing left beside it
}

TEST(PictureLoad, FolderWithoutHomeComesFromThePasswordDatabase)
{
    const std::string database = std::string(::getpwuid(::geteuid())->pw_dir) + "/.cache/Veltrum Orvane";
    using Env = std::optional<std::string>;
    const auto set = [](const char *name, const Env &v) { v ? ::setenv(name, v->c_str(), 1) : ::unsetenv(name); };
    const auto get = [](const char *name) { const char *v = std::getenv(name); return v ? Env(v) : std::nullopt; };
    const Env home = get("HOME"), cache = get("XDG_CACHE_HOME");
    const std::tuple<Env, Env, std::string> cases[] = {{std::nullopt, std::nullopt, database},
                                                       {"relative", "relative too", database},
                                                       {"/h", std::nullopt, "/h/.cache/Veltrum Orvane"}};
    for (const auto &[h, c, folder] : cases) {
        set("HOME", h);
        set("XDG_CACHE_HOME", c);
        EXPECT_EQ(TemporaryPicture().path(), folder + "/vrtmimage.tmp"); // the path a message names
    }
    set("HOME", home);
    set("XDG_CACHE_HOME", cache);
}
