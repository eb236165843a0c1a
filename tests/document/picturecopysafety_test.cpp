// The embedded picture comes from a file we did not write: its length may be
// anything, its bytes may be missing, and the copy's path may have been
// prepared by someone else. None of that may crash the load, fail it, or make
// the copy write anywhere but its own file.

#include "formfixture.h"

#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

std::string readText(const std::string &path)
{
    return readFileText(path);
}

class PictureLoad : public FormFixture {
protected:
    // A letter page with one line and no shapes; the test adds the picture block.
    static PatternWriter withLine()
    {
        PatternWriter w;
        w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0);
        return w;
    }

    int lineCount() const { return static_cast<int>(visibleLines().size()); }

    void expectOnlyPictureNotLoaded() const
    {
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, LibMessage::PictureNotLoadedText());
        EXPECT_EQ(box.shown[0].style, MessageExclamation);
        EXPECT_EQ(box.shown[0].title, "Veltrum Orvane");
        EXPECT_EQ(form.libFile().temporaryPicturePath(), "");
    }

    void expectTempFileRefused() const
    {
        ASSERT_EQ(box.shown.size(), 2u);
        EXPECT_EQ(box.shown[0].text, LibMessage::TempFileNotOpenedText(picturePath()));
        EXPECT_EQ(box.shown[0].style, MessageInformation);
        EXPECT_EQ(box.shown[1].text, LibMessage::PictureNotLoadedText());
        EXPECT_EQ(box.shown[1].style, MessageExclamation);
        EXPECT_EQ(form.libFile().temporaryPicturePath(), "");
    }
};

TEST_F(PictureLoad, SymbolicLinkAtCopyPathIsNotFollowed)
{
    ASSERT_EQ(::mkdir(pictureFolder().c_str(), 0700), 0);
    const std::string victim = file("victim.txt");
    writeFileText(victim, "somebody else's file");
    ASSERT_EQ(::symlink(victim.c_str(), picturePath().c_str()), 0);

    ASSERT_TRUE(open(withLine().picture("picture bytes")));

    expectTempFileRefused();
    EXPECT_EQ(readText(victim), "somebody else's file");
    EXPECT_TRUE(fs::is_symlink(picturePath()));
    EXPECT_EQ(lineCount(), 1);
}

TEST_F(PictureLoad, DanglingSymbolicLinkCreatesNothingAtItsTarget)
{
    ASSERT_EQ(::mkdir(pictureFolder().c_str(), 0700), 0);
    const std::string victim = file("would-be-created.txt");
    ASSERT_EQ(::symlink(victim.c_str(), picturePath().c_str()), 0);

    ASSERT_TRUE(open(withLine().picture("picture bytes")));

    expectTempFileRefused();
    EXPECT_FALSE(fs::exists(victim));
}

TEST_F(PictureLoad, SymbolicLinkInPlaceOfTheFolderIsNotFollowed)
{
    const std::string elsewhere = file("elsewhere");
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(elsewhere.c_str(), pictureFolder().c_str()), 0);

    ASSERT_TRUE(open(withLine().picture("picture bytes")));

    expectTempFileRefused();
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(PictureLoad, LengthOf33554432IsNotCopied)
{
    // 32768 whole blocks: one more than the block count can hold.
    PatternWriter w = withLine();
    w.integer(1).single(33554432.0f).raw(std::string(4096, 'p'));

    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
    EXPECT_EQ(lineCount(), 1);
    EXPECT_EQ(form.PixelsX(), 816);
}

TEST_F(PictureLoad, LengthJustBelowTheLimitCopiesWhatTheFileHolds)
{
    // 32767 whole blocks and 1022 bytes (33554431 is no float) are allowed; the
    // file holds only 3000.
    PatternWriter w = withLine();
    w.integer(1).single(33554430.0f).raw(std::string(3000, 'p'));

    ASSERT_TRUE(open(w));

    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(form.libFile().temporaryPicturePath(), picturePath());
    EXPECT_EQ(readText(picturePath()), std::string(3000, 'p'));
    EXPECT_EQ(form.libFile().pictureBytes(), 3000);
}

TEST_F(PictureLoad, HugeLengthIsNotCopied)
{
    PatternWriter w = withLine();
    w.integer(1).single(1e30f).raw("pppp");

    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
}

TEST_F(PictureLoad, NegativeLengthIsNotCopied)
{
    PatternWriter w = withLine();
    w.integer(1).single(-1.0f).raw("pppp");

    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
    EXPECT_EQ(lineCount(), 1);
}

TEST_F(PictureLoad, NotANumberLengthIsNotCopied)
{
    PatternWriter w = withLine();
    w.integer(1).single(std::numeric_limits<float>::quiet_NaN()).raw("pppp");

    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
    EXPECT_EQ(lineCount(), 1);
}

TEST_F(PictureLoad, InfiniteLengthIsNotCopied)
{
    PatternWriter w = withLine();
    w.integer(-1).single(std::numeric_limits<float>::infinity());

    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
}

TEST_F(PictureLoad, FailedCopyLeavesEarlierCopyInPlace)
{
    ASSERT_TRUE(open(withLine().picture("first picture")));
    ASSERT_EQ(readText(picturePath()), "first picture");
    box.shown.clear();
    form.CommandResetClick();

    PatternWriter w = withLine();
    w.integer(1).single(-5.0f);
    ASSERT_TRUE(open(w));

    expectOnlyPictureNotLoaded();
    // The copy is never read back; what matters is that nothing half-written
    // replaced it and the load still reports no picture.
    EXPECT_EQ(readText(picturePath()), "first picture");
}

TEST_F(PictureLoad, PictureLongerThanTheFileKeepsWhatIsThere)
{
    PatternWriter w = withLine();
    w.integer(1).single(5000.0f).raw(std::string(100, 'p'));

    ASSERT_TRUE(open(w));

    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(readText(picturePath()), std::string(100, 'p'));
    EXPECT_EQ(form.libFile().pictureBytes(), 100);
}

} // namespace
