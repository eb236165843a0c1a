// A failed open empties the work window and the mirror, so that what the
// loader read before the failure is neither drawn nor saved with the next
// pattern.

#include "harness.h"
#include "wmf2svg.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

TEST(FailedOpen, ClearsTheWorkWindowAndTheMirror)
{
    MainFormHarness h;
    PatternWriter broken; // two lines, then a shape count that fails the load
    broken.header(2, 1, 0).settings21({}).integer(2).line(100, 100, 200, 200).line(300, 300, 400, 400);
    h.open(h.write(broken.integer(-32768), "broken.pat"));
    ASSERT_EQ(h.steps()[0], StepFailed);
    const Drawing &d = h.form.workForm().drawing();
    EXPECT_EQ(d.OutLine.count(), 1);
    EXPECT_FALSE(d.OutLine[0].Visible);
    EXPECT_EQ(h.form.mirrorForm().LineCount(), 1);
    EXPECT_FALSE(h.form.workForm().Visible());
    EXPECT_TRUE(h.form.WorkFormClean());

    PatternWriter good;
    good.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture();
    h.open(h.write(good, "good.pat"));
    const std::string out = h.dir.file("good.wmf");
    h.save(out);
    ASSERT_EQ(h.steps()[4], StepDone);
    const ReadableMetafile m = expectMetafileReadable(out, 816, 1056);
    EXPECT_EQ(m.decoded.lines(), (std::vector<WmfLine>{{96, 96, 192, 96}}));
    EXPECT_TRUE(m.decoded.boxes().empty());
}
