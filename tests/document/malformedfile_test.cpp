// A file the loader cannot read ends in one message, "The selected file could
// not be loaded.", and leaves nothing of itself behind: no elements on the
// work window, no open file, nothing that changes the next load.

#include "formfixture.h"

#include "shell/libmessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <sys/stat.h>

namespace {

using namespace orvane;
using namespace orvane::testing;

class MalformedFile : public FormFixture {
protected:
    void expectRefusedOnce(const PatternWriter &w)
    {
        EXPECT_FALSE(open(w));
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(box.shown[0].text, LibMessage::FormatUnknownText());
        EXPECT_EQ(box.shown[0].style, MessageExclamation);
        EXPECT_EQ(box.shown[0].title, "Veltrum Orvane");
        EXPECT_EQ(form.stepStates()[0], StepFailed);
        EXPECT_FALSE(form.workForm().Visible());
        EXPECT_TRUE(visibleLines().empty());
        EXPECT_TRUE(visibleShapes().empty());
        EXPECT_FALSE(form.panel().commandEnabled[4]);
    }

    // A good file after the bad one loads as if the bad one never was.
    void expectNextLoadClean()
    {
        box.shown.clear();
        PatternWriter good;
        good.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture();
        ASSERT_TRUE(open(good, "good.pat"));
        EXPECT_TRUE(box.shown.empty());
        ASSERT_EQ(visibleLines().size(), 1u);
        EXPECT_EQ(visibleLines()[0].X2, 2880.0f);
        EXPECT_TRUE(visibleShapes().empty());
        EXPECT_EQ(form.PixelsX(), 816);
        EXPECT_EQ(form.PixelsY(), 1056);
    }

    static PatternWriter v21Lines(std::int16_t count)
    {
        PatternWriter w;
        w.header(2, 1, 0).settings21({}).integer(count);
        return w;
    }
};

TEST_F(MalformedFile, VersionOutsideTheRulesIsRefused)
{
    const std::int16_t versions[][2] = {{1, 0}, {1, 7}, {2, 0}, {2, 2}, {3, 1}, {0, 0}, {-1, 1}, {1, -32768}};
    for (const auto &v : versions) {
        SCOPED_TRACE(std::to_string(v[0]) + "." + std::to_string(v[1]));
        box.shown.clear();
        PatternWriter w;
        w.header(v[0], v[1], 0).settings11({}).integer(1).line(0, 0, 10, 10).integer(0).noPicture();
        expectRefusedOnce(w);
    }
    expectNextLoadClean();
}

TEST_F(MalformedFile, VersionCodeOverflowIsRefused)
{
    // 1 * 100 + 32668 does not fit 16 bits; 1 * 100 + 32667 just does.
    PatternWriter w;
    w.header(2, 1, 32668).settings21({}).integer(0).integer(0).noPicture();
    expectRefusedOnce(w);

    box.shown.clear();
    PatternWriter fits;
    fits.header(2, 1, 32667).settings21({}).integer(0).integer(0).noPicture();
    EXPECT_TRUE(open(fits));
}

TEST_F(MalformedFile, VersionCodeOverflowOfVersion16IsRefused)
{
    PatternWriter w;
    w.header(1, 6, 32200).settings15({}, true).integer(0).integer(0).noPicture();
    expectRefusedOnce(w);
    expectNextLoadClean();
}

TEST_F(MalformedFile, LineCountMinus32768IsRefused)
{
    PatternWriter w = v21Lines(-32768);
    w.integer(0).noPicture();
    expectRefusedOnce(w);
    expectNextLoadClean();
}

TEST_F(MalformedFile, ShapeCountMinus32768IsRefusedAndDropsTheLinesRead)
{
    PatternWriter w = v21Lines(2);
    w.line(0, 0, 10, 10).line(10, 10, 20, 20).integer(-32768).noPicture();
    expectRefusedOnce(w);
    expectNextLoadClean();
}

TEST_F(MalformedFile, NegativeHeaderTextLengthIsRefused)
{
    PatternWriter first;
    first.integer(-1).raw("x").integer(2).integer(1).integer(0).text("");
    expectRefusedOnce(first);

    box.shown.clear();
    PatternWriter second;
    second.text("Veltrum Pattern Maker").integer(2).integer(1).integer(0).integer(-32768);
    expectRefusedOnce(second);
    expectNextLoadClean();
}

TEST_F(MalformedFile, NegativePenTextLengthIsRefused)
{
    PatternWriter::Page page;
    PatternWriter v21;
    v21.header(2, 1, 0);
    v21.single(page.marginTop).single(page.marginBottom).single(page.marginLeft).single(page.marginRight);
    v21.single(page.defWidth).single(page.defHeight).single(page.penSizeValue).longValue(0).boolean(false);
    v21.integer(-4).raw("1/32");
    expectRefusedOnce(v21);

    box.shown.clear();
    PatternWriter v15;
    v15.header(1, 5, 0).zeros(6 + 16 + 16 + 8 + 16 + 8).single(0.03f).longValue(0).integer(0).integer(0);
    v15.integer(-2);
    expectRefusedOnce(v15);
    expectNextLoadClean();
}

TEST_F(MalformedFile, PageSizeOverflowIsRefused)
{
    // 1e38 inches is more twips than a float holds.
    PatternWriter::Page page;
    page.defWidth = 1e38f;
    PatternWriter w;
    w.header(2, 1, 0).settings21(page).integer(0).integer(0).noPicture();
    expectRefusedOnce(w);
    expectNextLoadClean();
}

TEST_F(MalformedFile, PageSizeNotANumberIsRefused)
{
    PatternWriter::Page page;
    page.patternWidth = std::numeric_limits<float>::quiet_NaN();
    PatternWriter w;
    w.header(1, 1, 0).settings11(page).integer(1).line(0, 0, 10, 10).integer(0).noPicture();
    expectRefusedOnce(w);
    expectNextLoadClean();
}

TEST_F(MalformedFile, NegativePageSizeIsRefused)
{
    PatternWriter::Page page;
    page.patternHeight = -15840.0f;
    PatternWriter w;
    w.header(1, 4, 0).settings11(page).integer(0).integer(0).noPicture();
    expectRefusedOnce(w);
}

TEST_F(MalformedFile, FolderIsRefusedOnce)
{
    const std::string folder = file("a folder.pat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    dialogs.openPath = folder;
    form.CommandClick(0);

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(form.stepStates()[0], StepFailed);
}

TEST_F(MalformedFile, NamedPipeIsRefusedWithoutWaiting)
{
    // Opening a pipe that nobody writes would block a plain open for ever.
    const std::string fifo = file("pipe.pat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dialogs.openPath = fifo;
    form.CommandClick(0);

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LibMessage::FormatUnknownText());
    EXPECT_EQ(form.stepStates()[0], StepFailed);
}

TEST_F(MalformedFile, MissingFileNamesThePath)
{
    const std::string missing = file("gone.pat");
    dialogs.openPath = missing;
    form.CommandClick(0);

    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LibMessage::FileNotFoundText(missing));
    EXPECT_EQ(form.stepStates()[0], StepFailed);
}

} // namespace
