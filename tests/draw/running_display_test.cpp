// The waterfall painter: the frame of the first step and the curves, black ones with their base
// line and time label.

#include "draw/running_display.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordingCanvas;

RunningFrame Frame() {
    RunningFrame f;
    f.TickXs = {30, 80, 130, 180, 230};
    f.TickLabels = {"0", "10", "20", "30", "40"};
    f.FrequencyUnit = "Hz";
    f.Heading = "Running Spectrum";
    f.TimeUnit = "[s]";
    f.FileName = "wave.csv";
    f.TitleLine = "title";
    f.SkipLine = "skip";
    f.PointsLine = "points";
    f.SmoothLine = "Smooth 2";
    f.FilterNote = "Unfiltered";
    return f;
}

bool HasLine(const RecordingCanvas& c, CanvasPoint from, CanvasPoint to, Color pen) {
    for (const auto& l : c.Lines)
        if (l.From == from && l.To == to && l.PenColor == pen) return true;
    return false;
}

TEST(RunningDisplay, FrameWithTicksLabelsAndTexts) {
    RecordingCanvas c(433, 417, 8, 16);
    RunningStep step;
    step.Frame = Frame();
    DrawRunningSpectrum(c, step, kRed);
    ASSERT_GE(c.Fills(), 1);
    EXPECT_EQ(c.Shapes.front().Points, (std::vector<CanvasPoint>{{0, 0}, {433, 417}}));
    EXPECT_TRUE(HasLine(c, {30, 390}, {230, 390}, kBlack));
    for (int x : {30, 80, 130, 180, 230}) EXPECT_TRUE(HasLine(c, {x, 390}, {x, 385}, kBlack)) << x;
    struct Place {
        const char* Text;
        int X, Y;
    };
    for (const Place& p :
         {Place{"0", 26, 395}, Place{"10", 72, 395}, Place{"40", 222, 395}, Place{"Hz", 242, 395},
          Place{"Elapsed Time", 30, 140}, Place{"[s]", 50, 160}, Place{"Running Spectrum", 30, 90},
          Place{"wave.csv", 433 - 64 - 20, 395}, Place{"title", 30, 20}, Place{"skip", 30, 40},
          Place{"points", 30, 60}, Place{"Smooth 2", 300, 320}, Place{"Filter", 300, 340},
          Place{"Unfiltered", 310, 360}}) {
        const auto* t = c.FindText(p.Text);
        ASSERT_NE(t, nullptr) << p.Text;
        EXPECT_EQ(t->X, p.X) << p.Text;
        EXPECT_EQ(t->Y, p.Y) << p.Text;
    }
}

TEST(RunningDisplay, CurvesInTheChannelColourAndMarkedCurvesInBlack) {
    RunningCurve curve;
    curve.Segments = {{{33, 384}, {33, 370}}, {{33, 370}, {40, 360}}, {{50, 350}, {60, 355}}};
    RecordingCanvas c(433, 417, 8, 16);
    DrawRunningCurve(c, curve, kBlue);
    ASSERT_EQ(c.Lines.size(), 3u);
    for (const auto& l : c.Lines) EXPECT_EQ(l.PenColor, kBlue);
    EXPECT_TRUE(c.Texts.empty());

    curve.Black = true;
    curve.Base = {47, 363};
    curve.TimeLabel = "10";
    curve.TickXs = {47, 87, 127, 167, 207, 247};
    RecordingCanvas d(433, 417, 8, 16);
    DrawRunningCurve(d, curve, kBlue);
    EXPECT_TRUE(d.LinesIn(kBlue).empty());
    EXPECT_TRUE(HasLine(d, {33, 370}, {40, 360}, kBlack));
    EXPECT_TRUE(HasLine(d, {47, 363}, {247, 363}, kBlack));  // the base line
    for (int x : curve.TickXs) EXPECT_TRUE(HasLine(d, {x, 363}, {x, 358}, kBlack)) << x;
    const auto* label = d.FindText("10");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->X + 16, 47 - 8);  // ends 8 pixels left of the base point
    EXPECT_EQ(label->Y, 353);
    EXPECT_TRUE(label->Transparent);
    EXPECT_EQ(d.CurrentPenColor(), kBlue);  // the channel colour comes back
}

TEST(RunningDisplay, TheWindowsScalesAndFields) {
    SpectrumAxes axes;
    axes.SValueX = 10.0f, axes.VValueX = 20.0f, axes.NGridX = 4;
    axes.VValueY = 0.5f, axes.NGridY = 2, axes.LogY = true;
    const RunningScale scale = RunningScaleOf(axes);
    EXPECT_FLOAT_EQ(scale.UpperFrequency(), 90.0f);
    EXPECT_TRUE(scale.LogY);
    EXPECT_EQ(RunningProjection::For(scale, {}, 200, 0.01f, 1).DivisionHeight, 32);

    SpectrumFormatFields fields;
    fields.EdSX0 = "5.000";
    fields.EdSXM = "45.00";
    fields.UpDown2 = 4;
    fields.Edlx = "300";
    fields.Edly = "abc";  // not a number: the default stays
    const SpectrumAxisFields f = MapAxisFieldsOf(fields);
    EXPECT_FLOAT_EQ(f.XStart, 5.0f);
    EXPECT_FLOAT_EQ(f.XMax, 45.0f);
    EXPECT_EQ(f.XDivisions, 4);
    EXPECT_EQ(f.Width, 300);
    EXPECT_EQ(f.Height, 320);
}

}  // namespace
}  // namespace wavora
