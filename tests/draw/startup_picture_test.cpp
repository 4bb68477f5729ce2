// The start-up text of the main window's picture.

#include "draw/startup_picture.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordingCanvas;

TEST(StartupPicture, FourInstructionLinesAndTheProgramDate) {
    RecordingCanvas c(433, 417, 8, 16);
    DrawStartupText(c, 2024, 3, 7);
    ASSERT_EQ(c.Texts.size(), 5u);
    EXPECT_EQ(c.Texts[0].Text, "Select data format type through Menu Bar--");
    EXPECT_EQ(c.Texts[0].X, 50);
    EXPECT_EQ(c.Texts[0].Y, 140);
    EXPECT_EQ(c.Texts[1].Text, "File--Format Type, if necessary.");
    EXPECT_EQ(c.Texts[1].X, 70);
    EXPECT_EQ(c.Texts[1].Y, 180);
    EXPECT_EQ(c.Texts[2].Text, "Default format type is 'CSV'.");
    EXPECT_EQ(c.Texts[2].X, 50);
    EXPECT_EQ(c.Texts[2].Y, 220);
    EXPECT_EQ(c.Texts[3].Text, "Then click 'File' Button and select file, please.");
    EXPECT_EQ(c.Texts[3].X, 50);
    EXPECT_EQ(c.Texts[3].Y, 260);
    EXPECT_EQ(c.Texts[4].Text, "Last Update  2024/03/07");
    EXPECT_EQ(c.Texts[4].X, 220);
    EXPECT_EQ(c.Texts[4].Y, 360);
    EXPECT_EQ(c.Fills(), 1);
}

}  // namespace
}  // namespace wavora
