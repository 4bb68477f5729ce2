// The 2-D map painter: colour bar, start of a map, rows, and the cross-hair drawn in XOR.

#include "draw/spectrum_map_display.h"

#include <gtest/gtest.h>

#include <QImage>

#include "draw/image_canvas.h"
#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordingCanvas;

MapFrame Frame320() {
    MapFrame f;
    f.WidthX = f.HeightY = 320;
    f.VValueX = 5.0f;
    f.VValueY = 15.0f;
    return f;
}

TEST(MapDisplay, ColourBarWithTicksLabelsUnitAndOutwardTicks) {
    RecordingCanvas c(433, 417, 8, 16);
    ColourBar bar;
    bar.Maximum = 20.0f;
    bar.Unit = "[Gal*s]";
    DrawColourBar(c, bar, Frame320());
    ASSERT_EQ(c.Fills(), 256);
    for (int i : {0, 85, 170, 255}) {
        const auto& fill = c.Shapes[static_cast<size_t>(i)];
        EXPECT_EQ(fill.Points, (std::vector<CanvasPoint>{{105 + i, 5}, {106 + i, 15}})) << i;
        EXPECT_EQ(fill.Brush, MapColor(i)) << i;
    }
    EXPECT_EQ(MapColor(0), kBlue);
    EXPECT_EQ(MapColor(255), kRed);
    EXPECT_EQ(MapColor(85), kAqua);
    EXPECT_EQ(MapColor(170), kYellow);
    std::vector<std::string> labels;
    for (const auto& t : c.Texts)
        labels.push_back(t.Text + "@" + std::to_string(t.X) + "," + std::to_string(t.Y));
    EXPECT_EQ(labels, (std::vector<std::string>{"0@101,24", "5@165,24", "10@225,24", "15@289,24", "20@353,24",
                                                "[Gal*s]@371,24"}));
    auto has = [&](CanvasPoint a, CanvasPoint b) {
        for (const auto& l : c.Lines)
            if (l.From == a && l.To == b) return true;
        return false;
    };
    EXPECT_TRUE(has({169, 17}, {169, 22}));
    EXPECT_TRUE(has({150, 380}, {150, 384}));  // outward ticks under the x axis …
    EXPECT_TRUE(has({70, 300}, {66, 300}));    // … and left of the y axis
}

TEST(MapDisplay, StartDrawsTitlesStartTimeAndNotes) {
    RecordingCanvas c(433, 417, 8, 16);
    GraphPlot plot(&c);
    MapStartPlan plan;
    plan.Frame = Frame320();
    plan.TitleX = "Frequency f[Hz]";
    plan.TitleY = "          MEM Spectrum";
    plan.StartTime = "20 + ";
    plan.Notes = {{10, 401, "Unfiltered"}, {375, 4, "smooth 0"}};
    DrawMapStart(plot, c, plan);
    EXPECT_EQ(plot.WidthX, 320);
    EXPECT_NE(c.FindText("Frequency f[Hz]"), nullptr);
    EXPECT_NE(c.FindText("          MEM Spectrum"), nullptr);
    const auto* start = c.FindText("20 + ");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->X + 40, 52);
    EXPECT_EQ(start->Y, 374);
    ASSERT_NE(c.FindText("smooth 0"), nullptr);
    EXPECT_EQ(c.FindText("smooth 0")->X, 375);
}

// A map row on a real picture, and the cross-hair over it.
TEST(MapDisplay, RowsPaintTheirBandsAndTheCrossHairInvertsAndErasesExactly) {
    ImageCanvas c(433, 417);
    const MapFrame frame = Frame320();
    MapRowPlan row;
    row.Bands = {{0, 0, 70, 300, 200, 381}, {1, 200, 199, 300, 391, 381}, {2, 30, 0, 0, 0, 0}};
    DrawMapRow(c, row);
    EXPECT_EQ(c.Pixel(70, 380), MapColor(0));
    EXPECT_EQ(c.Pixel(198, 300), MapColor(0));
    EXPECT_EQ(c.Pixel(199, 300), MapColor(200));  // a later band overlaps the one before
    EXPECT_EQ(c.Pixel(390, 380), MapColor(200));
    EXPECT_EQ(c.Pixel(70, 299), kWhite);
    EXPECT_EQ(c.CurrentBrushColor(), kWhite);
    const QImage before = c.ToImage();

    MapCrossHair cross;
    EXPECT_FALSE(cross.Down(c, frame, true, 150, 320, "Hz", "s"));  // not while a map is drawn
    EXPECT_FALSE(cross.Down(c, frame, false, 20, 320, "Hz", "s"));  // not outside the axes
    EXPECT_EQ(c.ToImage(), before);
    const auto text = cross.Down(c, frame, false, 150, 320, "Hz", "s");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "( f, t )=( 5.000Hz, 11.250s )");
    // The XOR colour: every crossed pixel is inverted, whatever the (red) pen.
    EXPECT_EQ(c.Pixel(150, 340), MapColor(0) ^ 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(300, 320), MapColor(200) ^ 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(150, 200), kBlack);  // over white
    EXPECT_TRUE(cross.Active());

    ASSERT_TRUE(cross.Move(c, frame, false, 250, 330, "Hz", "s"));
    EXPECT_EQ(c.Pixel(150, 340), MapColor(0));  // the old cross is gone
    EXPECT_EQ(c.Pixel(250, 350), MapColor(200) ^ 0xFFFFFFu);
    EXPECT_FALSE(cross.Move(c, frame, false, 400, 330, "Hz", "s"));  // outside: the cross stays
    EXPECT_EQ(cross.Point(), (CanvasPoint{250, 330}));
    cross.Up(c, frame);
    EXPECT_FALSE(cross.Active());
    EXPECT_FALSE(c.XorMode());
    EXPECT_EQ(c.ToImage(), before);
}

}  // namespace
}  // namespace wavora
