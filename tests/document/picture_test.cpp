// The embedded picture's private copy; a copy that fails says why but never fails the load.

#include "harness.h"

#include <csignal>
#include <limits>
#include <pwd.h>
#include <sys/resource.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

std::string pictureOf(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23 + (i / 1024) * 7);
    return bytes;
}

PatternWriter withLine() { return PatternWriter().header(1, 6, 2).settings15({}, true).integer(1).line(1, 2, 3, 4).integer(0); }

} // namespace

// The length counts whole blocks of 1024 bytes and a rest rounded half to even.
TEST(PictureLoad, CopiesWhatTheFileHoldsOrSaysItCannot)
{
    const struct {
        std::int16_t flag;
        float length;
        std::string held;
        std::string copy; // "": the picture-not-loaded message
    } cases[] = {{1, 2500, pictureOf(2500), pictureOf(2500)},
                 {1, 2048, pictureOf(2048) + "after the block", pictureOf(2048)},
                 {1, 1000.5f, pictureOf(1001), pictureOf(1000)},
                 {1, 1001.5f, pictureOf(1002), pictureOf(1002)},
                 {-1, 3000, pictureOf(3000), pictureOf(3000)},
                 {1, 5000, "shorter than said", "shorter than said"},
                 {1, 33554432.0f, "p", ""}, // 32768 blocks
                 {1, -1, "p", ""},
                 {1, std::numeric_limits<float>::quiet_NaN(), "p", ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        LoaderHarness h;
        ASSERT_TRUE(h.load(withLine().integer(c.flag).single(c.length).raw(c.held)));
        if (c.copy.empty()) {
            ASSERT_EQ(h.box.boxes.size(), 1u);
            EXPECT_EQ(h.box.boxes[0].text, LoadMessages::PictureNotLoadedText());
            EXPECT_EQ(h.box.boxes[0].style, int(MessageExclamation));
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
        SCOPED_TRACE(kind);
        LoaderHarness h;
        fs::create_directories(h.pictureFolder());
        fs::permissions(h.pictureFolder(), fs::perms::owner_all);
        writeFileBytes(h.dir.file("victim"), "theirs");
        kind == 'l' ? fs::create_symlink(h.dir.file("victim"), h.picturePath())
        : kind == 'd' ? fs::create_symlink(h.dir.file("created"), h.picturePath())
                      : void(fs::create_directory(h.picturePath()));

        ASSERT_TRUE(h.load(withLine().picture("picture bytes")));

        EXPECT_EQ(readFileText(h.dir.file("victim")), "theirs");
        EXPECT_FALSE(fs::exists(h.dir.file("created")));
        EXPECT_EQ(fs::is_directory(h.picturePath()), kind == 'f');
        ASSERT_EQ(h.box.boxes.size(), 2u);
        EXPECT_EQ(h.box.boxes[0].text, LoadMessages::TempFileNotOpenedText(h.picturePath()));
        EXPECT_EQ(h.box.boxes[0].style, int(MessageInformation));
        EXPECT_EQ(h.box.boxes[1].text, LoadMessages::PictureNotLoadedText());
        EXPECT_FALSE(h.file.pictureCopy().copied());
    }
}

// Files may grow to 1000 bytes only, so the copy fails part-way: the message
// names the copy and the system's reason, and the pattern still loads.
TEST(PictureLoad, WriteFailureNamesTheCopyAndTheReason)
{
    LoaderHarness h;
    const std::string path = h.write(withLine().picture(pictureOf(4096)));
    const auto loadWithSmallFiles = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool loaded = h.file.open(path);
        const bool named = !h.box.boxes.empty()
            && h.box.boxes[0].text == LoadMessages::TempFileNotOpenedText(h.picturePath(), "File too large");
        std::_Exit(loaded && named ? 0 : 1);
    };

    EXPECT_EXIT(loadWithSmallFiles(), ::testing::ExitedWithCode(0), "");
}

// Without a HOME or XDG_CACHE_HOME that is a full path, the copy goes under the home folder the password
// database names, never under the working folder.
TEST(PictureLoad, FolderWithoutHomeComesFromThePasswordDatabase)
{
    const std::string database = std::string(::getpwuid(::geteuid())->pw_dir) + "/.cache/Veltrum Orvane";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : database;
    const std::tuple<const char *, const char *, std::string> cases[] = {
        {nullptr, nullptr, database}, {"relative", "relative too", database}, {"/h", nullptr, "/h/.cache/Veltrum Orvane"}};
    for (const auto &[home, cache, folder] : cases) {
        SCOPED_TRACE(folder);
        home ? ::setenv("HOME", home, 1) : ::unsetenv("HOME");
        cache ? ::setenv("XDG_CACHE_HOME", cache, 1) : ::unsetenv("XDG_CACHE_HOME");

        const std::string path = TemporaryPicture().path();

        EXPECT_EQ(path, folder + "/vrtmimage.tmp");
    }
    ::setenv("HOME", savedHome.c_str(), 1);
}
