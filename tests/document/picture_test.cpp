// The embedded picture: copied in 1024-byte blocks and a rest to the per-user
// temporary picture file, never through a symbolic link, and a failed copy
// never fails the load.

#include "harness.h"

#include "document/patternformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::string pictureOf(std::size_t size, char seed = 'a')
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + static_cast<char>(i % 23) + static_cast<char>((i / 1024) * 7));
    return bytes;
}

PatternWriter withPicture(const std::string &picture)
{
    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(1).line(1, 2, 3, 4).integer(0);
    w.picture(picture);
    return w;
}

std::vector<unsigned char> bytesOf(const std::string &s)
{
    return std::vector<unsigned char>(s.begin(), s.end());
}

void expectPictureNotLoadedOnly(const FakeMessageBox &box)
{
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, LibMessage::PictureNotLoadedText());
    EXPECT_EQ(box.boxes[0].style, 48);
    EXPECT_EQ(box.boxes[0].title, "Veltrum Orvane");
}

} // namespace

TEST(PictureBlocks, WholeBlocksAndRest)
{
    using PatternFormat::pictureBlocks;
    auto check = [](float length, int blocks, int rest) {
        const auto b = pictureBlocks(length);
        ASSERT_TRUE(b.has_value()) << length;
        EXPECT_EQ(b->blocks, blocks) << length;
        EXPECT_EQ(b->rest, rest) << length;
    };
    check(0, 0, 0);
    check(1000, 0, 1000);
    check(1024, 1, 0);
    check(2048, 2, 0);
    check(2500, 2, 452);
    check(32767.0f * 1024, 32767, 0);
    // The rest is rounded half to even.
    check(1000.5f, 0, 1000);
    check(1001.5f, 0, 1002);
}

TEST(PictureBlocks, MoreThan32767WholeBlocksCannotBeCopied)
{
    using PatternFormat::pictureBlocks;
    EXPECT_FALSE(pictureBlocks(33554432.0f).has_value()); // 32 x 1024 x 1024
    EXPECT_FALSE(pictureBlocks(1e9f).has_value());
    EXPECT_FALSE(pictureBlocks(std::numeric_limits<float>::infinity()).has_value());
    EXPECT_FALSE(pictureBlocks(std::numeric_limits<float>::quiet_NaN()).has_value());
}

TEST(Picture, ThousandBytesAreOneShortBlock)
{
    LoaderHarness h;
    const std::string picture = pictureOf(1000);
    ASSERT_TRUE(h.load(withPicture(picture)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.file.temporaryPicturePath(), h.picturePath());
    EXPECT_EQ(h.file.pictureBytes(), 1000);
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(picture));
}

TEST(Picture, Exactly2048BytesAreTwoWholeBlocksAndNothingMore)
{
    LoaderHarness h;
    const std::string picture = pictureOf(2048);
    PatternWriter w = withPicture(picture);
    w.raw("these bytes follow the picture block");
    ASSERT_TRUE(h.load(w));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.file.pictureBytes(), 2048);
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(picture));
}

TEST(Picture, WholeMultipleOf1024IsCopiedCompletelyWithoutAMessage)
{
    LoaderHarness h;
    const std::string picture = pictureOf(5 * 1024, 'k');
    ASSERT_TRUE(h.load(withPicture(picture)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(picture));
}

TEST(Picture, LargerPictureIsStreamedCompletely)
{
    LoaderHarness h;
    const std::string picture = pictureOf(300 * 1024 + 17, 'q');
    ASSERT_TRUE(h.load(withPicture(picture)));
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(h.file.pictureBytes(), static_cast<long long>(picture.size()));
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(picture));
}

TEST(Picture, TemporaryFileIsCutToTheNewPicturesLength)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(withPicture(pictureOf(2048, 'x')), "first.pat"));
    ASSERT_EQ(std::filesystem::file_size(h.picturePath()), 2048u);
    const std::string second = pictureOf(1000, 'b');
    ASSERT_TRUE(h.load(withPicture(second), "second.pat"));
    EXPECT_EQ(std::filesystem::file_size(h.picturePath()), 1000u);
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf(second));
    EXPECT_TRUE(h.box.boxes.empty());
}

TEST(Picture, FolderIsCreatedPrivate)
{
    LoaderHarness h;
    ASSERT_FALSE(std::filesystem::exists(h.pictureFolder()));
    ASSERT_TRUE(h.load(withPicture(pictureOf(10))));
    struct stat st {};
    ASSERT_EQ(::lstat(h.pictureFolder().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(Picture, AnyNonZeroFlagMeansAPicture)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0);
    w.integer(-1).single(3.0f).raw("abc");
    ASSERT_TRUE(h.load(w));
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf("abc"));
}

TEST(Picture, FlagZeroLeavesNoPathAndWritesNothing)
{
    LoaderHarness h;
    ASSERT_TRUE(h.load(withPicture(pictureOf(100)), "with.pat"));
    ASSERT_FALSE(h.file.temporaryPicturePath().empty());
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    ASSERT_TRUE(h.load(w, "without.pat"));
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
    EXPECT_EQ(h.file.pictureBytes(), 0);
    // The earlier copy is not touched.
    EXPECT_EQ(std::filesystem::file_size(h.picturePath()), 100u);
}

TEST(Picture, SymbolicLinkAtTheTemporaryPathIsRefusedWithTheTwoMessages)
{
    LoaderHarness h;
    std::filesystem::create_directories(h.pictureFolder());
    ::chmod(h.pictureFolder().c_str(), 0700);
    const std::string target = h.dir.file("target.txt");
    writeFileBytes(target, "do not touch");
    std::filesystem::create_symlink(target, h.picturePath());

    ASSERT_TRUE(h.load(withPicture(pictureOf(1000))));
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::TempFileNotOpenedText(h.picturePath()));
    EXPECT_EQ(h.box.boxes[0].style, 64);
    EXPECT_EQ(h.box.boxes[0].title, "Veltrum Orvane");
    EXPECT_EQ(h.box.boxes[1].text, LibMessage::PictureNotLoadedText());
    EXPECT_EQ(h.box.boxes[1].style, 48);
    EXPECT_EQ(h.box.boxes[1].title, "Veltrum Orvane");
    EXPECT_EQ(readFileBytes(target), bytesOf("do not touch"));
    EXPECT_TRUE(h.file.temporaryPicturePath().empty());
    // The pattern itself loaded.
    EXPECT_EQ(h.visibleLines().size(), 1u);
}

TEST(Picture, SymbolicLinkAsTheTemporaryFolderIsRefused)
{
    LoaderHarness h;
    const std::string elsewhere = h.dir.file("elsewhere");
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(h.dir.file("cache"));
    std::filesystem::create_directory_symlink(elsewhere, h.pictureFolder());

    ASSERT_TRUE(h.load(withPicture(pictureOf(1000))));
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::TempFileNotOpenedText(h.picturePath()));
    EXPECT_EQ(h.box.boxes[1].text, LibMessage::PictureNotLoadedText());
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST(Picture, TemporaryPathThatIsAFolderIsRefused)
{
    LoaderHarness h;
    std::filesystem::create_directories(h.picturePath());
    ::chmod(h.pictureFolder().c_str(), 0700);
    ASSERT_TRUE(h.load(withPicture(pictureOf(10))));
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].style, 64);
    EXPECT_EQ(h.box.boxes[1].text, LibMessage::PictureNotLoadedText());
}

TEST(Picture, CopyHeldByAnotherProgramIsRefusedWithTheTwoMessages)
{
    LoaderHarness h;
    std::filesystem::create_directories(h.pictureFolder());
    ::chmod(h.pictureFolder().c_str(), 0700);
    writeFileBytes(h.picturePath(), "held");
    const int fd = ::open(h.picturePath().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_TRUE(h.load(withPicture(pictureOf(100))));
    ::close(fd);
    ASSERT_EQ(h.box.boxes.size(), 2u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::TempFileNotOpenedText(h.picturePath()));
    EXPECT_EQ(h.box.boxes[1].text, LibMessage::PictureNotLoadedText());
    EXPECT_EQ(readFileBytes(h.picturePath()), bytesOf("held"));
}

TEST(Picture, LengthOf32MiBOrMoreShowsPictureNotLoadedButTheLoadSucceeds)
{
    for (const float length : {33554432.0f, 1e12f}) {
        LoaderHarness h;
        PatternWriter w;
        w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(1, 2, 3, 4).integer(0);
        w.integer(1).single(length).raw("a few bytes");
        EXPECT_TRUE(h.load(w)) << length;
        expectPictureNotLoadedOnly(h.box);
        EXPECT_TRUE(h.file.temporaryPicturePath().empty());
        EXPECT_EQ(h.visibleLines().size(), 1u);
    }
}

TEST(Picture, LengthThatIsNotANumberShowsPictureNotLoaded)
{
    LoaderHarness h;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0);
    w.integer(1).single(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(h.load(w));
    expectPictureNotLoadedOnly(h.box);
}

TEST(Picture, NoTemporaryFolderAtAllShowsTheTwoMessages)
{
    TempDir dir;
    FakeMessageBox box;
    FakeSettingsStore store;
    LibSetup setup;
    LibMessage messages{box};
    LibProgress progress;
    LibDimension dimension;
    MirrorForm mirror{progress};
    WorkForm work{mirror, progress, setup};
    TemporaryPicture picture{""}; // neither $XDG_CACHE_HOME nor $HOME
    CommonDialog dialog;
    LibFile file{LibFile::Services{dimension, mirror, work, progress, messages, setup, store, dialog, picture}};
    const std::string path = dir.file("p.pat");
    withPicture(pictureOf(10)).save(path);
    std::string name = path;
    EXPECT_TRUE(file.LoadPattern(name));
    ASSERT_EQ(box.boxes.size(), 2u);
    EXPECT_EQ(box.boxes[0].style, 64);
    EXPECT_EQ(box.boxes[1].style, 48);
}

// Runs in a child process: files may grow to 1000 bytes only, so the
// picture copy's writes fail part-way. Exits 0 when the load went as it must.
[[noreturn]] static void loadWithSmallFileLimit(LoaderHarness &h, const std::string &path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = 1000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool loaded = h.load(path);
    const bool oneBox = h.box.boxes.size() == 1 && h.box.boxes[0].text == LibMessage::PictureNotLoadedText();
    const bool noPath = h.file.temporaryPicturePath().empty();
    const bool lines = h.visibleLines().size() == 1;
    std::_Exit(loaded && oneBox && noPath && lines ? 0 : 1);
}

TEST(Picture, WriteFailureDuringTheCopyShowsPictureNotLoadedAndTheLoadSucceeds)
{
    LoaderHarness h;
    const std::string path = h.write(withPicture(pictureOf(4096)));
    EXPECT_EXIT(loadWithSmallFileLimit(h, path), ::testing::ExitedWithCode(0), "");
}
