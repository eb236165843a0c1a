// The embedded picture: copied in 1024-byte blocks and a rest to the per-user
// temporary picture file, never through a symbolic link; a failed copy never
// fails the load.

#include "harness.h"

#include "document/patternformat.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <limits>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

std::string pictureOf(std::size_t size, char seed = 'a')
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + static_cast<char>(i % 23) + static_cast<char>((i / 1024) * 7));
    return bytes;
}

// A 1.6 file with one line and no shapes, ready for the picture block.
PatternWriter withLine()
{
    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(1).line(1, 2, 3, 4).integer(0);
    return w;
}

std::vector<unsigned char> bytesOf(const std::string &s) { return {s.begin(), s.end()}; }

void expectBox(const FakeMessageBox::Box &box, const std::string &text, int style)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.style, style);
    EXPECT_EQ(box.title, "Veltrum Orvane");
}

} // namespace

TEST(PictureBlocks, WholeBlocksAndARestRoundedHalfToEven)
{
    struct Case {
        float length;
        int blocks, rest; // -1: cannot be copied
    };
    const Case cases[] = {{0, 0, 0},          {1000, 0, 1000},  {1024, 1, 0},   {2048, 2, 0},
                          {2500, 2, 452},     {1000.5f, 0, 1000}, {1001.5f, 0, 1002},
                          {32767.0f * 1024, 32767, 0}, {33554432.0f, -1, -1}, {1e9f, -1, -1},
                          {Inf, -1, -1},      {NaN, -1, -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        const auto b = PatternFormat::pictureBlocks(c.length);
        ASSERT_EQ(b.has_value(), c.blocks >= 0);
        if (b) {
            EXPECT_EQ(b->blocks, c.blocks);
            EXPECT_EQ(b->rest, c.rest);
        }
    }
}

TEST(PictureLoad, CopiesWhatTheFileHolds)
{
    struct Case {
        const char *name;
        std::int16_t flag;
        float length;
        std::string held;
        std::string after; // bytes after the picture, never copied
    };
    const Case cases[] = {
        {"1000 bytes: one short block", 1, 1000, pictureOf(1000), ""},
        {"2048 bytes: two whole blocks and nothing more", 1, 2048, pictureOf(2048), "bytes after the block"},
        {"larger picture streamed", 1, 300 * 1024 + 17, pictureOf(300 * 1024 + 17, 'q'), ""},
        {"any non-zero flag", -1, 3, "abc", ""},
        {"just below the limit, file holds 3000", 1, 33554430.0f, std::string(3000, 'p'), ""},
        {"longer than the file", 1, 5000, std::string(100, 'p'), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LoaderHarness h;
        PatternWriter w = withLine();
        w.integer(c.flag).single(c.length).raw(c.held).raw(c.after);
        ASSERT_TRUE(h.load(w));
        EXPECT_TRUE(h.box.boxes.empty());
        EXPECT_EQ(h.file.temporaryPicturePath(), h.picturePath());
        EXPECT_EQ(h.file.pictureBytes(), static_cast<long long>(c.held.size()));
        EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(c.held));
    }
    // A flag with no length after it copies nothing.
    LoaderHarness h;
    ASSERT_TRUE(h.load(withLine().integer(1)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(fs::file_size(h.picturePath()), 0u);
}

TEST(PictureLoad, LengthsThatCannotBeCopiedShowPictureNotLoaded)
{
    for (const float length : {33554432.0f, 1e12f, 1e30f, Inf, -1.0f, NaN}) {
        SCOPED_TRACE(length);
        LoaderHarness h;
        PatternWriter w = withLine();
        w.integer(1).single(length).raw(std::string(4096, 'p'));
        ASSERT_TRUE(h.load(w));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        expectBox(h.box.boxes[0], LibMessage::PictureNotLoadedText(), MessageExclamation);
        EXPECT_TRUE(h.file.temporaryPicturePath().empty());
        EXPECT_EQ(h.visibleLines().size(), 1u);
    }
}

TEST(PictureLoad, TemporaryFileIsCutToTheNewPicturesLength)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(withLine().picture(pictureOf(2048, 'x')), "first.pat"));
    const std::string second = pictureOf(1000, 'b');
    ASSERT_TRUE(h.load(withLine().picture(second), "second.pat"));
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(second));
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(PictureLoad, FolderIsCreatedPrivate)
{
    LoaderHarness h;
    ASSERT_FALSE(fs::exists(h.pictureFolder()));
    ASSERT_TRUE(h.load(withLine().picture(pictureOf(10))));
    struct stat st {};
    ASSERT_EQ(::lstat(h.pictureFolder().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(PictureLoad, FailedCopyLeavesEarlierCopyInPlace)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(withLine().picture("first picture"), "first.pat"));
    // No picture: no path, nothing written.
    ASSERT_TRUE(h.load(withLine().noPicture(), "none.pat"));
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
    EXPECT_EQ(h.file.pictureBytes(), 0);
    // A length that cannot be copied: the message, and nothing half-written.
    ASSERT_TRUE(h.load(withLine().integer(1).single(-5.0f), "bad.pat"));
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::PictureNotLoadedText());
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf("first picture"));
}

// Whatever stands at the copy's path: the copy is refused with two messages,
// nothing outside the copy is written, and the pattern still loads.
TEST(PictureLoad, CopyThatCannotBeOpenedShowsTheTwoMessages)
{
    struct Case {
        const char *name;
        std::function<void(LoaderHarness &)> prepare, check;
    };
    auto privateFolder = [](LoaderHarness &h) {
        fs::create_directories(h.pictureFolder());
        ::chmod(h.pictureFolder().c_str(), 0700);
    };
    int held = -1;
    const Case cases[] = {
        {"symbolic link at the copy path",
         [&](LoaderHarness &h) {
             privateFolder(h);
             writeFileBytes(h.dir.file("victim.txt"), "somebody else's file");
             fs::create_symlink(h.dir.file("victim.txt"), h.picturePath());
         },
         [](LoaderHarness &h) {
             EXPECT_EQ(readFileBytes(h.dir.file("victim.txt")), bytesOf("somebody else's file"));
             EXPECT_TRUE(fs::is_symlink(h.picturePath()));
         }},
        {"dangling symbolic link",
         [&](LoaderHarness &h) {
             privateFolder(h);
             fs::create_symlink(h.dir.file("would-be-created.txt"), h.picturePath());
         },
         [](LoaderHarness &h) { EXPECT_FALSE(fs::exists(h.dir.file("would-be-created.txt"))); }},
        {"symbolic link in place of the folder",
         [](LoaderHarness &h) {
             fs::create_directories(h.dir.file("elsewhere"));
             fs::create_directories(h.dir.file("cache"));
             fs::create_directory_symlink(h.dir.file("elsewhere"), h.pictureFolder());
         },
         [](LoaderHarness &h) { EXPECT_TRUE(fs::is_empty(h.dir.file("elsewhere"))); }},
        {"folder at the copy path",
         [](LoaderHarness &h) {
             fs::create_directories(h.picturePath());
             ::chmod(h.pictureFolder().c_str(), 0700);
         },
         [](LoaderHarness &h) { EXPECT_TRUE(fs::is_directory(h.picturePath())); }},
        {"copy held by another program",
         [&](LoaderHarness &h) {
             privateFolder(h);
             writeFileBytes(h.picturePath(), "held");
             held = ::open(h.picturePath().c_str(), O_RDONLY);
             ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
         },
         [&](LoaderHarness &h) {
             ::close(held);
             EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf("held"));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LoaderHarness h;
        c.prepare(h);
        ASSERT_TRUE(h.load(withLine().picture("picture bytes")));
        c.check(h);
        ASSERT_EQ(h.box.boxes.size(), 2u);
        expectBox(h.box.boxes[0], LibMessage::TempFileNotOpenedText(h.picturePath()), MessageInformation);
        expectBox(h.box.boxes[1], LibMessage::PictureNotLoadedText(), MessageExclamation);
        EXPECT_TRUE(h.file.temporaryPicturePath().empty());
        EXPECT_EQ(h.visibleLines().size(), 1u);
    }
}

TEST(PictureLoad, NoTemporaryFolderAtAllShowsTheTwoMessages)
{
    LoaderHarness h;
    TemporaryPicture none{""}; // neither $XDG_CACHE_HOME nor $HOME
    LibFile file{LibFile::Services{h.dimension, h.mirror, h.workForm, h.progress, h.messages, h.store, none}};
    EXPECT_TRUE(file.LoadPattern(h.write(withLine().picture("abc"))));
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].style, MessageInformation);
    EXPECT_EQ(h.box.boxes[1].style, MessageExclamation);
}

// In a child process whose files may grow to 1000 bytes only: the copy's
// writes fail part-way. Exits 0 when the load went as it must.
[[noreturn]] static void loadWithSmallFileLimit(LoaderHarness &h, const std::string &path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool loaded = h.load(path);
    const bool oneBox = h.box.boxes.size() == 1 && h.box.boxes[0].text == LibMessage::PictureNotLoadedText();
    std::_Exit(loaded && oneBox && h.file.temporaryPicturePath().empty() && h.visibleLines().size() == 1 ? 0 : 1);
}

TEST(PictureLoad, WriteFailureDuringTheCopyShowsPictureNotLoaded)
{
    LoaderHarness h;
    const std::string path = h.write(withLine().picture(pictureOf(4096)));
    EXPECT_EXIT(loadWithSmallFileLimit(h, path), ::testing::ExitedWithCode(0), "");
}
