// LibSetup's tables, LibId's names and LibMessage's boxes.

#include "fakes.h"

#include "shell/libid.h"
#include "shell/libmessage.h"
#include "shell/libsetup.h"
#include "shell/stepstate.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvane;
using namespace orvane::testing;

TEST(LibSetup, FoldersAreEmpty)
{
    const LibSetup setup;
    EXPECT_EQ(setup.SetupFolder(0), "");
    EXPECT_EQ(setup.SetupFolder(1), "");
    EXPECT_EQ(setup.SetupFolder(2), "");
}

TEST(LibSetup, ColoursAreBlackAndPenWidthIsOne)
{
    const LibSetup setup;
    EXPECT_EQ(setup.DrawColor(0), 0u);
    EXPECT_EQ(setup.DrawColor(1), 0u);
    EXPECT_EQ(setup.PenWidth(), 1);
}

TEST(LibSetup, IndexOutsideTheTableIsASubscriptFailure)
{
    const LibSetup setup;
    EXPECT_THROW(setup.SetupFolder(3), std::out_of_range);
    EXPECT_THROW(setup.SetupFolder(-1), std::out_of_range);
    EXPECT_THROW(setup.DrawColor(2), std::out_of_range);
    EXPECT_THROW(setup.DrawColor(-1), std::out_of_range);
}

TEST(LibId, Names)
{
    EXPECT_EQ(LibId::ProductName(), "Veltrum Orvane");
    EXPECT_EQ(LibId::ApplicationTitle(), "Orvane");
}

TEST(LibMessage, EveryBoxIsTitledWithTheProductName)
{
    FakeMessageBox box;
    LibMessage messages{box};
    messages.MsgFormatUnknown();
    messages.MsgFileNotFound("C:\\x.pat");
    messages.MsgPictureNotLoaded();
    messages.MsgTempFileNotOpened("\\vrtmimage.tmp");
    ASSERT_EQ(box.boxes.size(), 4u);
    for (const auto &b : box.boxes)
        EXPECT_EQ(b.title, "Veltrum Orvane");
}

TEST(LibMessage, FileNotFoundShowsFourLines)
{
    FakeMessageBox box;
    LibMessage messages{box};
    messages.MsgFileNotFound("C:\\x.pat");
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "The selected file was not found.\r\n"
                                 "File: C:\\x.pat\r\n"
                                 "\r\n"
                                 "Check that the above folder and file exist and are write enabled.");
    EXPECT_EQ(box.boxes[0].style, 48);
}

TEST(LibMessage, TempFileNotOpenedShowsFiveLinesWithoutAGapBeforeTheLast)
{
    FakeMessageBox box;
    LibMessage messages{box};
    messages.MsgTempFileNotOpened("\\vrtmimage.tmp");
    ASSERT_EQ(box.boxes.size(), 1u);
    EXPECT_EQ(box.boxes[0].text, "The temporary picture file could not be opened.\r\n"
                                 "File: \\vrtmimage.tmp\r\n"
                                 "\r\n"
                                 "Check that the above folder exist and is write enable.\r\n"
                                 "See Options, Display Setup to select the temporary file folder.");
    EXPECT_EQ(box.boxes[0].style, 64);
}

TEST(LibMessage, FormatUnknownAndPictureNotLoaded)
{
    FakeMessageBox box;
    LibMessage messages{box};
    messages.MsgFormatUnknown();
    messages.MsgPictureNotLoaded();
    ASSERT_EQ(box.boxes.size(), 2u);
    EXPECT_EQ(box.boxes[0].text, "The selected file could not be loaded.\r\n\r\n"
                                 "The file format is unknown or was made with later version of the Veltrum "
                                 "Pattern Maker.");
    EXPECT_EQ(box.boxes[0].style, 48);
    EXPECT_EQ(box.boxes[1].text, "The background picture was not loaded.\r\n\r\n"
                                 "The selected file format is unrecognized or the file is corrupted.");
    EXPECT_EQ(box.boxes[1].style, 48);
}

TEST(StepStateColours, OneColourPerState)
{
    EXPECT_EQ(indicatorColor(0), 0xFFFFFFu);
    EXPECT_EQ(indicatorColor(1), 0x00FF00u);
    EXPECT_EQ(indicatorColor(2), 0x00FFFFu);
    EXPECT_EQ(indicatorColor(3), 0x0000FFu);
    EXPECT_FALSE(indicatorColor(4).has_value());
    EXPECT_FALSE(indicatorColor(-1).has_value());
}
