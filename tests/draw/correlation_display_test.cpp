// The correlation picture: frame, scales, curve and texts of one step, and the report line.

#include "draw/correlation_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/record_builder.h"
#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordedLine;
using test::RecordingCanvas;

WaveRecord Sines() {
    WaveRecord r = test::SyntheticRecord(2, 3000, [](int c, int i) {
        return static_cast<int16_t>(std::lround(9000 * std::sin(2 * std::numbers::pi * (i - 3 * c) / 25.0)));
    });
    r.FileName = "floors.csv";
    return r;
}

CorrelationFrame Step(const WaveRecord& record, int second, int timeScale = 1, int position = 0) {
    CorrelationSettings s;
    s.SecondChannel = second;
    s.TimeScale = timeScale;
    s.Position = position;
    return CorrelationStep(record, s);
}

CorrelationPicture Picture(const CorrelationFrame& frame, int timeScale = 1) {
    CorrelationPicture p;
    p.TimeScale = timeScale;
    p.FileName = "floors.csv";
    p.CurveColor = CorrelationCurveColor(frame.Cross, kBlue);
    return p;
}

TEST(CorrelationPicture, OneChannelFrameCurveAndTexts) {
    const WaveRecord record = Sines();
    const CorrelationFrame frame = Step(record, -1);
    RecordingCanvas c(kCorrelationPictureWidth, kCorrelationPictureHeight);
    DrawCorrelationFrame(c, frame, Picture(frame));

    ASSERT_EQ(c.Fills(), 1);
    EXPECT_EQ(c.Shapes[0].Points[1], (CanvasPoint{433, 417}));
    const std::pair<const char*, CanvasPoint> texts[] = {
        {"Auto Correlation", {70, 50}},
        {"-1.00", {5, 290}},  // right end 5 pixels left of the axis, top 10 above the value
        {"0.00", {11, 190}},
        {"1.00", {11, 90}},
        {"0", {37, 350}},  // lag-time labels centred under their ticks
        {"0.5", {81, 350}},
        {"3.5", {381, 350}},
        {"s", {399, 360}},  // the time unit after the last label
        {"floors.csv", {353, 397}},
        {"t=0.10s", {350, 70}},
    };
    for (const auto& [text, at] : texts) {
        const auto* t = c.FindText(text);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ((CanvasPoint{t->X, t->Y}), at) << text;
    }
    const auto* r0 = c.FindText(frame.R0Text);
    ASSERT_NE(r0, nullptr);
    EXPECT_EQ(r0->X, 200);
    EXPECT_EQ(frame.R0Text.substr(0, 5), "R[0]=");

    // Black: two axes, four value ticks (none at 0) and eight lag ticks.
    const auto black = c.LinesIn(kBlack);
    ASSERT_EQ(black.size(), 14u);
    EXPECT_EQ(black[0].From, (CanvasPoint{40, 320}));
    EXPECT_EQ(black[0].To, (CanvasPoint{40, 80}));
    EXPECT_EQ(black[1].To, (CanvasPoint{420, 200}));
    // The curve in the channel's colour: 349 segments from (40, 100), one pixel per lag.
    const auto curve = c.LinesIn(kBlue);
    ASSERT_EQ(curve.size(), 349u);
    EXPECT_EQ(curve[0].From, (CanvasPoint{40, 100}));
    EXPECT_EQ(curve[0].To.X, 41);
    EXPECT_EQ(curve.back().To.X, 389);
    EXPECT_EQ(curve[24].To.X, 65);
    EXPECT_NEAR(curve[24].To.Y, 100, 3);  // one period: back at the top
}

TEST(CorrelationPicture, TwoChannelsInPurpleAndTimeScaleTwo) {
    const WaveRecord record = Sines();
    const CorrelationFrame frame = Step(record, 1, 2);
    RecordingCanvas c(kCorrelationPictureWidth, kCorrelationPictureHeight);
    DrawCorrelationFrame(c, frame, Picture(frame, 2));
    EXPECT_NE(c.FindText("Cross Correlation"), nullptr);
    EXPECT_TRUE(c.LinesIn(kBlue).empty());
    const auto curve = c.LinesIn(kPurple);
    ASSERT_EQ(curve.size(), 174u);  // 175 lags, two pixels apart
    EXPECT_EQ(curve[0].From, (CanvasPoint{40, 100}));
    EXPECT_EQ(curve[0].To.X, 42);
    EXPECT_EQ(curve.back().To.X, 388);
    EXPECT_NE(c.FindText("0.25"), nullptr);  // 50 lags × 0.01 s / 2
}

TEST(CorrelationPicture, EndOfDataDrawsTheFrameOnly) {
    const WaveRecord record = Sines();
    const CorrelationFrame frame = Step(record, -1, 1, 2000);
    ASSERT_EQ(frame.Status, CorrelationStatus::EndOfData);
    RecordingCanvas c(kCorrelationPictureWidth, kCorrelationPictureHeight);
    DrawCorrelationFrame(c, frame, Picture(frame));
    EXPECT_NE(c.FindText("Auto Correlation"), nullptr);
    EXPECT_EQ(c.LinesIn(kBlack).size(), 14u);
    EXPECT_TRUE(c.LinesIn(kBlue).empty());
    EXPECT_EQ(c.FindText("floors.csv"), nullptr);
    EXPECT_EQ(c.Texts.size(), 1u + 5u + 8u + 1u);  // title, value labels, lag labels, unit
}

TEST(CorrelationPicture, ReportUnderThePlot) {
    RecordingCanvas c(kCorrelationPictureWidth, kCorrelationPictureHeight);
    DrawCorrelationReport(c, "No Zero Crossing");
    ASSERT_EQ(c.Texts.size(), 1u);
    EXPECT_EQ((CanvasPoint{c.Texts[0].X, c.Texts[0].Y}), (CanvasPoint{150, 315}));
    EXPECT_EQ(c.Fills(), 0);  // over the picture as it is

    // A line that would run off the picture ends 4 pixels inside it.
    const std::string longReport(60, 'W');
    DrawCorrelationReport(c, longReport);
    ASSERT_EQ(c.Texts.size(), 2u);
    EXPECT_LT(c.Texts[1].X, 150);
    EXPECT_EQ(c.Texts[1].X + c.TextWidth(longReport), kCorrelationPictureWidth - 4);
}

}  // namespace
}  // namespace wavora
