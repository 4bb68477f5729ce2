// The waveform drawing: strips, zero lines, traces, amplitude bars, ruler and notes.

#include "draw/wave_display.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordedLine;
using test::RecordedText;
using test::RecordingCanvas;

WaveRecord MakeRecord(int channels, int samples, int rate, float scale = 0.01f) {
    WaveRecord r;
    r.ChannelCount = channels;
    r.SampleCount = samples;
    r.SamplingRate = rate;
    r.SamplingInterval = 1.0f / rate;
    r.FileName = "wave.csv";
    r.Title = "Bridge deck";
    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = r.Channels[k];
        ch.Name = "CH" + std::to_string(k + 1);
        ch.DisplayUnit = "Gal";
        ch.ScaleFactor = scale;
        ch.DisplayDivisor = 1024;
        ch.Samples.assign(samples, 0);
        for (int i = 0; i < samples; ++i) ch.Samples[i] = static_cast<int16_t>((i % 10) * 1024);
    }
    return r;
}

WaveView ViewFor(const WaveRecord& r) {
    WaveView v;
    v.DisplayedCount = CountDisplayedChannels(r, v);
    return v;
}

TEST(WaveDisplay, TwoChannelsOnTheFullHeightGetZeroLinesAtThirds) {
    WaveRecord r = MakeRecord(2, 1000, 100);
    WaveView v = ViewFor(r);
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    std::vector<test::RecordedLine> black = c.LinesIn(kBlack);
    auto hasZeroLine = [&](int y) {
        for (auto& l : black)
            if (l.From.X == 15 && l.From.Y == y && l.To.X == 415 && l.To.Y == y) return true;
        return false;
    };
    EXPECT_TRUE(hasZeroLine(139));
    EXPECT_TRUE(hasZeroLine(278));
    EXPECT_TRUE(v.WaveShown);
    EXPECT_EQ(v.DisplayKind, kShowWave);
    EXPECT_EQ(v.WaveWidth, 400);
    // The trace of channel 1 in red starts at its zero line, channel 2 in blue one strip lower.
    std::vector<test::RecordedLine> red = c.LinesIn(kRed), blue = c.LinesIn(kBlue);
    ASSERT_EQ(red.size(), 399u);
    EXPECT_EQ(red.front().From.Y, 139);
    EXPECT_EQ(red.front().To.Y, 139 - 1);  // sample 1024 × 1 / 1024
    EXPECT_EQ(blue.front().From.Y, 278);
    EXPECT_EQ(red.back().To.X, 15 + 399);
}

TEST(WaveDisplay, RulerTicksAndLabelsAlongTheTopEdge) {
    WaveRecord r = MakeRecord(1, 1000, 100);
    WaveView v = ViewFor(r);
    v.DisplayPosition = 123;
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    EXPECT_EQ(c.Fills(), 1);
    std::vector<int> ticks;
    for (const test::RecordedLine& l : c.Lines)
        if (l.PenColor == kBlue && l.From.Y == 2 && l.To.Y == 5 && l.From.X == l.To.X)
            ticks.push_back(l.From.X);
    EXPECT_EQ(ticks, (std::vector<int>{15, 115, 215, 315, 415}));
    auto at = [&](const std::string& text, int x, int y) {
        const test::RecordedText* t = c.FindText(text);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->X, x) << text;
        EXPECT_EQ(t->Y, y) << text;
    };
    at("0", 13, 5);
    at("123", 40, 5);
    at("s", 400, 15);
    // 400 samples at 100 per second: 4 s across, labelled each quarter.
    at("1.00", 115 - 12, 5);
    at("2.00", 215 - 12, 5);
    at("3.00", 315 - 12, 5);
    at("4.00", 415 - 12, 5);
}

TEST(WaveDisplay, AmplitudeBarOfAHundredthScaleChannelIs500UnitsAnd48Pixels) {
    ChannelInfo ch;
    ch.ScaleFactor = 0.01f;
    ch.DisplayDivisor = 1024;
    ch.DisplayUnit = "Gal";
    AmplitudeBar bar = AmplitudeBarOf(ch, 1.0f, 139);
    ASSERT_TRUE(bar.Drawn);
    EXPECT_FLOAT_EQ(bar.Step, 500.0f);
    EXPECT_EQ(bar.Length, 48);
    EXPECT_EQ(bar.Label, "500Gal");

    WaveRecord r = MakeRecord(2, 1000, 100);
    WaveView v = ViewFor(r);
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    const test::RecordedText* label = c.FindText("500Gal");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->X, 25);
    EXPECT_EQ(label->Y, 139 - 48 - 8);
    const test::RecordedText* scaling = c.FindText("1/1024");
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(scaling->Y, 139 + 5);
}

TEST(WaveDisplay, ScalingTextShowsFractionsWithTwoDecimals) {
    EXPECT_EQ(ScalingText(1.0f, 1024), "1/1024");
    EXPECT_EQ(ScalingText(0.5f, 1024), "0.50/1024");
    EXPECT_EQ(ScalingText(8.0f, 4), "8/4");
}

TEST(WaveDisplay, ZeroMagnificationOrScaleDrawsNoBarAndDoesNotHang) {
    ChannelInfo ch;
    ch.ScaleFactor = 0.0f;  // an all-zero channel
    EXPECT_FALSE(AmplitudeBarOf(ch, 1.0f, 139).Drawn);
    ch.ScaleFactor = 0.01f;
    EXPECT_FALSE(AmplitudeBarOf(ch, 0.0f, 139).Drawn);
    EXPECT_FALSE(AmplitudeBarOf(ch, -2.0f, 139).Drawn);
}

TEST(WaveDisplay, TimeScaleTwoDrawsTwoHundredSamplesTwoPixelsApart) {
    WaveRecord r = MakeRecord(1, 1000, 100);
    WaveView v = ViewFor(r);
    v.TimeScale = 2;
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    std::vector<test::RecordedLine> red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 199u);
    EXPECT_EQ(red[0].To.X - red[0].From.X, 2);
    // Ruler: 400 / 100 / 2 seconds across the width.
    EXPECT_NE(c.FindText("2.00"), nullptr);
    EXPECT_NE(c.FindText("0.50"), nullptr);
    EXPECT_EQ(c.FindText("2.00")->X, 415 - 12);
}

TEST(WaveDisplay, TraceEndsAtTheLastSampleReachableWithTheStride) {
    WaveRecord r = MakeRecord(1, 1000, 100);
    WaveView v = ViewFor(r);
    v.DisplayPosition = 900;  // (1000 − 900) / 2 = 50 points
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {}, 2);
    EXPECT_EQ(c.LinesIn(kRed).size(), 49u);
    // The ruler still spans the whole width: 400 × 2 / 100 = 8 s.
    EXPECT_NE(c.FindText("8.00"), nullptr);
    EXPECT_NE(c.FindText("900"), nullptr);
}

TEST(WaveDisplay, PositionAtTheEndDrawsNoTraceAndReadsNothingBeyond) {
    WaveRecord r = MakeRecord(1, 100, 100);
    WaveView v = ViewFor(r);
    v.DisplayPosition = 100;
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    EXPECT_TRUE(c.LinesIn(kRed).empty());
    EXPECT_TRUE(v.WaveShown);
}

TEST(WaveDisplay, NotesNamesTitleAndFileName) {
    WaveRecord r = MakeRecord(3, 500, 100);
    WaveView v = ViewFor(r);
    v.DisplayChannels[1] = false;
    v.DisplayedCount = CountDisplayedChannels(r, v);
    ASSERT_EQ(v.DisplayedCount, 2);
    RecordingCanvas c(433, 417, 8, 16);
    WaveFilterNote note;
    note.FilterChecked = true;
    note.Lower = 1.0f;
    note.Upper = 37.5f;
    DrawWave(c, r, v, note);
    ASSERT_NE(c.FindText("Bandpass 1.00 - 37.50 Hz"), nullptr);
    EXPECT_EQ(c.FindText("Bandpass 1.00 - 37.50 Hz")->Y, 417 - 18);
    const test::RecordedText* file = c.FindText("wave.csv");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->X, 433 - 8 * 8 - 20);
    ASSERT_NE(c.FindText("CH1"), nullptr);
    EXPECT_EQ(c.FindText("CH1")->X, 300);
    EXPECT_EQ(c.FindText("CH1")->Y, 139 + 10);
    EXPECT_EQ(c.FindText("CH2"), nullptr);  // not displayed
    EXPECT_EQ(c.FindText("CH3")->Y, 278 + 10);
    EXPECT_EQ(c.FindText("Bridge deck")->Y, 417 - 36);
    EXPECT_TRUE(c.LinesIn(kBlue).empty());
    EXPECT_FALSE(c.LinesIn(kGreen).empty());

    v.ShowTitle = v.ShowFileName = v.ShowChannelComment = v.ShowScaling = false;
    RecordingCanvas plain(433, 417, 8, 16);
    DrawWave(plain, r, v, {});
    EXPECT_NE(plain.FindText("Unfiltered"), nullptr);
    EXPECT_EQ(plain.FindText("wave.csv"), nullptr);
    EXPECT_EQ(plain.FindText("CH1"), nullptr);
    EXPECT_EQ(plain.FindText("Bridge deck"), nullptr);
    EXPECT_EQ(plain.FindText("1/1024"), nullptr);
}

TEST(WaveDisplay, HugeMagnificationStaysWithinPixelRange) {
    WaveRecord r = MakeRecord(1, 500, 100);
    WaveView v = ViewFor(r);
    v.ChannelMagnification[0] = 1e30f;
    RecordingCanvas c(433, 417, 8, 16);
    DrawWave(c, r, v, {});
    for (const test::RecordedLine& l : c.LinesIn(kRed)) {
        EXPECT_GE(l.To.Y, -1000000);
        EXPECT_LE(l.To.Y, 1000000);
    }
}

}  // namespace
}  // namespace wavora
