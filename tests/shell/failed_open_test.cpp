// A failed open empties the work window and the mirror store, so that what
// the loader read before the failure is neither drawn nor saved with the next
// pattern.

#include "harness.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

// Two lines, then a shape count that fails the load.
PatternWriter failsAfterTheLines()
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(PatternWriter::Page{});
    w.integer(2).line(100, 100, 200, 200).line(300, 300, 400, 400).integer(-32768);
    return w;
}

} // namespace

TEST(FailedOpen, ClearsTheWorkWindowAndTheMirror)
{
    MainFormHarness h;
    h.open(h.write(failsAfterTheLines(), "broken.pat"));
    EXPECT_EQ(h.steps()[0], StepFailed);
    ASSERT_EQ(h.box.boxes.size(), 1u);
    EXPECT_EQ(h.box.boxes[0].text, LibMessage::FormatUnknownText());
    const Drawing &d = h.form.workForm().drawing();
    EXPECT_EQ(d.OutLine.count(), 1);
    EXPECT_FALSE(d.OutLine[0].Visible);
    EXPECT_EQ(h.form.mirrorForm().LineCount(), 1);
    EXPECT_FALSE(h.form.workForm().Visible());
    EXPECT_TRUE(h.form.WorkFormClean());
}

TEST(FailedOpen, NextPatternIsSavedWithOnlyItsOwnElements)
{
    MainFormHarness h;
    h.open(h.write(failsAfterTheLines(), "broken.pat"));
    ASSERT_EQ(h.steps()[0], StepFailed);

    PatternWriter good;
    good.header(2, 1, 0).settings21(PatternWriter::Page{}).integer(1).line(1440, 1440, 2880, 1440);
    good.integer(0).noPicture();
    h.open(h.write(good, "good.pat"));
    ASSERT_EQ(h.steps()[0], StepDone);
    const std::string out = h.dir.file("good.wmf");
    h.save(out);
    ASSERT_EQ(h.steps()[4], StepDone);
    SCOPED_TRACE(out);
    const ReadableMetafile m = expectMetafileReadable(out, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_TRUE(m.decoded.boxes().empty());
}

TEST(FailedOpen, CancelledOpenKeepsAnEmptyWindowEmpty)
{
    MainFormHarness h;
    h.dialogs.scriptOpen(DialogOutcome::Cancelled);
    h.form.CommandClick(0);
    EXPECT_EQ(h.steps()[0], StepSkipped);
    EXPECT_EQ(h.form.workForm().drawing().OutLine.count(), 1);
    EXPECT_EQ(h.form.mirrorForm().LineCount(), 1);
}
