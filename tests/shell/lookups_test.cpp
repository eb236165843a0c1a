// LibSetup's tables, LibId's names, LibMessage's boxes and the indicator
// colours.

#include "fakes.h"

#include "platform/libid.h"
#include "platform/libmessage.h"
#include "platform/libsetup.h"
#include "shell/stepstate.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvane;
using namespace orvane::testing;

TEST(Lookups, SetupTablesAndNames)
{
    const LibSetup setup;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(setup.SetupFolder(i), "");
    EXPECT_EQ(setup.DrawColor(0), 0u);
    EXPECT_EQ(setup.DrawColor(1), 0u);
    EXPECT_EQ(setup.PenWidth(), 1);
    // An index outside the table is a subscript failure.
    EXPECT_THROW(setup.SetupFolder(3), std::out_of_range);
    EXPECT_THROW(setup.SetupFolder(-1), std::out_of_range);
    EXPECT_THROW(setup.DrawColor(2), std::out_of_range);
    EXPECT_THROW(setup.DrawColor(-1), std::out_of_range);
    EXPECT_EQ(LibId::ProductName(), "Veltrum Orvane");
    EXPECT_EQ(LibId::ApplicationTitle(), "Orvane");
}

TEST(Lookups, IndicatorColourPerState)
{
    EXPECT_EQ(indicatorColor(0), 0xFFFFFFu);
    EXPECT_EQ(indicatorColor(1), 0x00FF00u);
    EXPECT_EQ(indicatorColor(2), 0x00FFFFu);
    EXPECT_EQ(indicatorColor(3), 0x0000FFu);
    EXPECT_FALSE(indicatorColor(4).has_value());
    EXPECT_FALSE(indicatorColor(-1).has_value());
}

TEST(LibMessage, TextsStylesAndTitle)
{
    FakeMessageBox box;
    LibMessage messages{box};
    messages.MsgFileNotFound("C:\\x.pat");
    messages.MsgTempFileNotOpened("\\vrtmimage.tmp");
    messages.MsgFormatUnknown();
    messages.MsgPictureNotLoaded();
    const std::pair<std::string, int> expected[] = {
        {"The selected file was not found.\r\nFile: C:\\x.pat\r\n\r\n"
         "Check that the above folder and file exist and are write enabled.",
         48},
        {"The temporary picture file could not be opened.\r\nFile: \\vrtmimage.tmp\r\n\r\n"
         "Check that the above folder exist and is write enable.\r\n"
         "See Options, Display Setup to select the temporary file folder.",
         64},
        {"The selected file could not be loaded.\r\n\r\n"
         "The file format is unknown or was made with later version of the Veltrum Pattern Maker.",
         48},
        {"The background picture was not loaded.\r\n\r\n"
         "The selected file format is unrecognized or the file is corrupted.",
         48},
    };
    ASSERT_EQ(box.boxes.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(box.boxes[i].text, expected[i].first);
        EXPECT_EQ(box.boxes[i].style, expected[i].second) << i;
        EXPECT_EQ(box.boxes[i].title, "Veltrum Orvane");
    }
}
