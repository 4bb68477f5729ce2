// The peak histogram on the peaks window's chart.

#include "draw/peak_histogram.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordedShape;
using test::RecordingCanvas;

int Ellipses(const RecordingCanvas& c) {
    int n = 0;
    for (const auto& s : c.Shapes) n += s.What == RecordedShape::Ellipse;
    return n;
}

PeakHistogram TwentyClasses() {
    PeakHistogram h;
    h.NGridX = 5;
    h.VValueX = 10.0f;
    h.SubX = 5;
    for (int i = 0; i < 20; ++i) {
        h.X.push_back(2.5f * static_cast<float>(i));
        h.Y.push_back(i == 2 ? 3.0f : 0.0f);
    }
    h.X[2] = 5.5f;  // the mean frequency of the class's peaks
    return h;
}

TEST(PeakHistogramPicture, RedLineWithCircleMarkersOnTheSpectrumAxis) {
    RecordingCanvas c(kPeakHistogramSize, kPeakHistogramSize);
    GraphPlot chart(&c);
    DrawPeakHistogram(chart, c, TwentyClasses());

    EXPECT_EQ(chart.NGridX, 5);
    EXPECT_FLOAT_EQ(chart.VValueX, 10.0f);
    EXPECT_NE(c.FindText("Peak Frequency [Hz]"), nullptr);
    EXPECT_NE(c.FindText("Histogram"), nullptr);
    EXPECT_NE(c.FindText("50"), nullptr);  // the frequency axis ends at 5 × 10
    EXPECT_NE(c.FindText("20"), nullptr);  // 4 divisions of 5 counts

    const auto red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 19u);
    // (5.5 Hz, 3): x = 35 + 5.5 / 10 × 50, y = 270 − 3 / 5 × 62.
    EXPECT_EQ(red[1].To, (CanvasPoint{62, 232}));
    EXPECT_EQ(Ellipses(c), 20);
    const RecordedShape& marker = c.Shapes.back();
    EXPECT_EQ(marker.Pen, kRed);
    EXPECT_EQ(marker.Points[0], (CanvasPoint{35 + 237 - 2, 268}));  // (47.5 Hz, 0), size 2
}

TEST(PeakHistogramPicture, EmptyFrameAndScaleUnit) {
    PeakHistogram h = TwentyClasses();
    h.X.clear();
    h.Y.clear();
    h.VValueY = 25.0f;
    h.TitleX = "Peak Frequency [kHz]";
    RecordingCanvas c(kPeakHistogramSize, kPeakHistogramSize);
    GraphPlot chart(&c);
    DrawPeakHistogram(chart, c, h);
    EXPECT_TRUE(c.LinesIn(kRed).empty());
    EXPECT_EQ(Ellipses(c), 0);
    EXPECT_NE(c.FindText("100"), nullptr);  // 4 divisions of 25 counts
    EXPECT_NE(c.FindText("Peak Frequency [kHz]"), nullptr);
}

}  // namespace
}  // namespace wavora
