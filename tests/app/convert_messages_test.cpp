// A failure prints the message the window would show, in the same words, on
// standard error; nothing else goes there.

#include "convertrunner.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orvane;
using namespace orvane::testing;

TEST(ConvertMessages, MissingFile)
{
    ConvertEnvironment env;
    const std::string path = env.file("nowhere.pat");
    const ConvertResult r = env.run({path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, plainMessage(LibMessage::FileNotFoundText(path)) + "\n");
    EXPECT_EQ(r.out, "");
}

TEST(ConvertMessages, UnknownFormat)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 2, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("v22.pat"));
    const ConvertResult r = env.run({env.file("v22.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "The selected file could not be loaded.\n\n"
                     "The file format is unknown or was made with later version of the Veltrum Pattern Maker.\n");
}

TEST(ConvertMessages, FolderGivenAsInputShowsTheFormatMessageOnce)
{
    ConvertEnvironment env;
    std::filesystem::create_directories(env.file("folder.pat"));
    const ConvertResult r = env.run({env.file("folder.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, plainMessage(LibMessage::FormatUnknownText()) + "\n");
}

TEST(ConvertMessages, PictureThatCannotBeCopiedStillConverts)
{
    ConvertEnvironment env;
    // A symbolic link where the picture copy would go.
    std::filesystem::create_directories(env.pictureFolder());
    std::filesystem::permissions(env.pictureFolder(), std::filesystem::perms::owner_all);
    const std::string target = env.file("target.txt");
    writeFileBytes(target, "keep");
    std::filesystem::create_symlink(target, env.picturePath());

    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(1).line(1440, 1440, 2880, 1440).integer(0);
    w.picture(std::string(1500, 'p'));
    w.save(env.file("pic.pat"));
    const ConvertResult r = env.run({env.file("pic.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, plainMessage(LibMessage::TempFileNotOpenedText(env.picturePath())) + "\n"
                         + plainMessage(LibMessage::PictureNotLoadedText()) + "\n");
    EXPECT_EQ(readFileBytes(target), std::vector<unsigned char>({'k', 'e', 'e', 'p'}));
    SCOPED_TRACE("pic.wmf");
    expectMetafileReadable(env.file("pic.wmf"), 816, 1056);
}

TEST(ConvertMessages, PictureTooLargeToCopy)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(0, 0, 1440, 1440).integer(0);
    w.integer(1).single(33554432.0f);
    w.save(env.file("big.pat"));
    const ConvertResult r = env.run({env.file("big.pat")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, plainMessage(LibMessage::PictureNotLoadedText()) + "\n");
    SCOPED_TRACE("big.wmf");
    expectMetafileReadable(env.file("big.wmf"), 816, 1056);
}

TEST(ConvertMessages, CoordinateOutOfRangeFailsWithTheWritersMessage)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(0, 0, 12240.0f * 50, 0).integer(0);
    w.noPicture();
    w.save(env.file("far.pat"));
    const ConvertResult r = env.run({env.file("far.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error creating metafile " + env.file("far.wmf")
                         + ".\n\nA point of the pattern lies outside the range a metafile can hold "
                           "(-32768 to 32767). Choose a smaller pattern size.\n");
    EXPECT_FALSE(std::filesystem::exists(env.file("far.wmf")));
}

TEST(ConvertMessages, WidthThatMakesThePageTooLargeFailsThatInput)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(0, 15840, 12240, 15840).integer(0);
    w.noPicture();
    w.save(env.file("edge.pat"));
    // 40000 x 51765 pixels: the bottom edge lies beyond 16 bits.
    const ConvertResult r = env.run({"--width", "40000", env.file("edge.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("Error creating metafile " + env.file("edge.wmf") + ".", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(env.file("edge.wmf")));
}

TEST(ConvertMessages, OutputIntoAMissingFolder)
{
    ConvertEnvironment env;
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(0).integer(0).noPicture();
    w.save(env.file("a.pat"));
    const std::string out = env.file("no such folder/a.wmf");
    const ConvertResult r = env.run({"-o", out, env.file("a.pat")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("Error creating metafile " + out + ".", 0), 0u) << r.err;
}
