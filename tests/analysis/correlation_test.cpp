#include "analysis/correlation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace wavora;

namespace {

// A record whose channels hold the given samples, sampled every `interval` seconds.
WaveRecord MakeRecord(const std::vector<std::vector<int16_t>>& channels, float interval = 0.01f) {
    WaveRecord record;
    record.ChannelCount = static_cast<int32_t>(channels.size());
    record.SampleCount = static_cast<int32_t>(channels.front().size());
    record.SamplingInterval = interval;
    record.SamplingRate = static_cast<int32_t>(std::lround(1.0f / interval));
    for (size_t k = 0; k < channels.size(); ++k) record.Channels[k].Samples = channels[k];
    return record;
}

std::vector<int16_t> Sine(int count, double period, double amplitude = 10000.0, double phase = 0.0) {
    std::vector<int16_t> s(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        s[static_cast<size_t>(i)] = static_cast<int16_t>(
            std::lround(amplitude * std::sin(2.0 * std::numbers::pi * i / period + phase)));
    }
    return s;
}

// A fixed pseudo-random sequence, so a delayed copy has one clear correlation peak.
std::vector<int16_t> Noise(int count) {
    std::vector<int16_t> s(static_cast<size_t>(count));
    uint32_t state = 12345;
    for (auto& v : s) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<int16_t>(static_cast<int>(state >> 20) - 2048);
    }
    return s;
}

}  // namespace

TEST(SelectCorrelationChannels, OneOrTwoCheckedChannels) {
    std::array<bool, kMaxChannels> checked{};
    auto none = SelectCorrelationChannels(checked, 4);
    ASSERT_TRUE(none.Error.has_value());
    EXPECT_EQ(none.Error->Text, "Number of Channels is illegal");
    EXPECT_EQ(none.Error->Caption, "Channel Error");
    EXPECT_EQ(none.Error->Icon, MessageIcon::Warning);

    checked[2] = true;
    auto one = SelectCorrelationChannels(checked, 4);
    EXPECT_FALSE(one.Error.has_value());
    EXPECT_EQ(one.Count, 1);
    EXPECT_EQ(one.First, 2);
    EXPECT_EQ(one.Second, -1);

    checked[0] = true;
    checked[6] = true;  // beyond the record's channels: not counted
    auto two = SelectCorrelationChannels(checked, 4);
    EXPECT_FALSE(two.Error.has_value());
    EXPECT_EQ(two.Count, 2);
    EXPECT_EQ(two.First, 0);
    EXPECT_EQ(two.Second, 2);

    auto three = SelectCorrelationChannels(checked, 8);
    EXPECT_EQ(three.Count, 3);
    EXPECT_TRUE(three.Error.has_value());
}

TEST(CorrelationStep, SineOfPeriodTwentyCrossesEveryTwentyLags) {
    WaveRecord record = MakeRecord({Sine(4000, 20.0)});
    record.Channels[0].ScaleFactor = 0.001f;
    CorrelationSettings settings;
    settings.Points = 1000;  // whole periods
    settings.Position = 100;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_FALSE(frame.Cross);
    EXPECT_EQ(frame.Title, "Auto Correlation");
    EXPECT_EQ(frame.LagCount, 350);
    ASSERT_EQ(frame.Values.size(), 350u);
    EXPECT_NEAR(frame.Values[0], 50.0f, 0.05f);   // (10 × 0.001 × 1000)² / 2
    EXPECT_NEAR(frame.Values[10], -50.0f, 0.5f);  // half a period
    EXPECT_NEAR(frame.Values[20], 50.0f, 0.5f);
    EXPECT_EQ(frame.CurveY[0], 100);  // starts at the top
    EXPECT_NEAR(frame.CurveY[10], 300, 1);
    EXPECT_EQ(frame.R0Text.substr(0, 5), "R[0]=");
    EXPECT_EQ(frame.R0Text.size(), 5u + 13u);
    EXPECT_EQ(frame.NextPosition, 110);
    EXPECT_EQ(frame.TimeText, "t=1.10s");
    EXPECT_EQ(frame.TickLabels[0], "0");
    EXPECT_EQ(frame.TickLabels[1], "0.5");
    EXPECT_EQ(frame.TickLabels[7], "3.5");
    EXPECT_EQ(frame.ValueLabels[0], "-1.00");
    EXPECT_EQ(frame.ValueLabels[2], "0.00");
    EXPECT_EQ(frame.ValueLabels[4], "1.00");

    CorrelationReportSettings rs;
    rs.AnalysisInterval = 0.01f;
    rs.Step = 1;
    CorrelationReport report = MakeCorrelationReport(frame.Values, rs);
    ASSERT_GE(report.Crossings.size(), 2u);
    for (size_t i = 1; i < report.Crossings.size(); ++i) {
        EXPECT_EQ(report.Crossings[i] - report.Crossings[i - 1], 20);
    }
    EXPECT_TRUE(report.HasPeriod);
    EXPECT_EQ(report.Text, "Zero Crossing  0.200 (s)   5.000 (Hz)");

    ASSERT_EQ(report.GridRows.size(), 352u);
    EXPECT_EQ(report.GridRows[0], (std::array<std::string, 5>{"   i", "  Delay", "   R[i]", "", ""}));
    EXPECT_EQ(report.GridRows[1][1], " s");
    EXPECT_EQ(report.GridRows[1][2], "5.000e+01");
    EXPECT_EQ(report.GridRows[2], (std::array<std::string, 5>{"    0", "   0.000", "   1.000", "", ""}));
    EXPECT_EQ(report.GridRows[12][0], "   10");
    EXPECT_EQ(report.GridRows[12][1], "   0.100");
    EXPECT_EQ(report.GridRows[12][2], "  -1.000");
    EXPECT_EQ(report.GridRows[351][0], "  349");
}

TEST(CorrelationStep, StepTwoAdvancesTwentyAndCountsOneIntervalPerLag) {
    WaveRecord record = MakeRecord({Sine(4000, 20.0)}, 0.005f);
    CorrelationSettings settings;
    settings.Points = 512;
    settings.Step = 2;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_EQ(frame.NextPosition, 20);
    CorrelationReportSettings rs;
    rs.AnalysisInterval = 0.01f;  // 2 × 0.005
    rs.Step = 2;
    CorrelationReport report = MakeCorrelationReport(frame.Values, rs);
    EXPECT_EQ(report.Text, "Zero Crossing  0.100 (s)   10.000 (Hz)");
    EXPECT_EQ(report.GridRows[2 + 20][1], "   0.100");
}

TEST(CorrelationStep, TimeScaleTwoComputesHalfTheLags) {
    WaveRecord record = MakeRecord({Sine(4000, 20.0)});
    CorrelationSettings settings;
    settings.Points = 512;
    settings.TimeScale = 2;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_EQ(frame.LagCount, 175);
    EXPECT_EQ(frame.CurveY.size(), 175u);
    EXPECT_NE(frame.Values[174], 0.0f);
    EXPECT_EQ(frame.Values[175], 0.0f);
    EXPECT_EQ(frame.Values[349], 0.0f);
    EXPECT_EQ(frame.TickLabels[1], "0.25");  // 50 × 0.01 / 2
}

TEST(CorrelationStep, ConstantHasNoZeroCrossing) {
    WaveRecord record = MakeRecord({std::vector<int16_t>(2000, 300)});
    record.Channels[0].ScaleFactor = 0.5f;
    CorrelationSettings settings;
    settings.Points = 512;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    for (int r = 0; r < 350; ++r) ASSERT_FLOAT_EQ(frame.Values[static_cast<size_t>(r)], 22500.0f) << r;
    for (int y : frame.CurveY) ASSERT_EQ(y, 100);
    EXPECT_EQ(frame.R0Text, "R[0]=   2.2500e+04");
    CorrelationReportSettings rs;
    rs.AnalysisInterval = 0.01f;
    CorrelationReport report = MakeCorrelationReport(frame.Values, rs);
    EXPECT_TRUE(report.Crossings.empty());
    EXPECT_FALSE(report.HasPeriod);
    EXPECT_EQ(report.Text, "No Zero Crossing");
    EXPECT_EQ(report.GridRows[300][2], "   1.000");
}

TEST(CorrelationStep, AllZeroSegmentDrawsFlatWithoutDividingByZero) {
    WaveRecord record = MakeRecord({std::vector<int16_t>(2000, 0)});
    CorrelationSettings settings;
    settings.Points = 512;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_EQ(frame.CurveY[0], 100);
    for (int r = 1; r < 350; ++r) ASSERT_EQ(frame.CurveY[static_cast<size_t>(r)], 200);
    CorrelationReportSettings rs;
    rs.AnalysisInterval = 0.01f;
    CorrelationReport report = MakeCorrelationReport(frame.Values, rs);
    EXPECT_EQ(report.GridRows[2][2], "   0.000");
    EXPECT_EQ(report.GridRows[1][2], "0.000e+00");
}

TEST(CorrelationStep, SegmentTooShortForTheLagsOnlyDrawsTheFrame) {
    CorrelationSettings settings;
    settings.Points = 1024;
    settings.Position = 100;
    // Position + Points + 350 must stay below SampleCount.
    WaveRecord exact = MakeRecord({Sine(100 + 1024 + 350, 20.0)});
    CorrelationFrame end = CorrelationStep(exact, settings);
    EXPECT_EQ(end.Status, CorrelationStatus::EndOfData);
    EXPECT_EQ(end.Title, "Auto Correlation");  // the frame texts are still there
    EXPECT_EQ(end.TickLabels[7], "3.5");
    EXPECT_TRUE(end.CurveY.empty());
    EXPECT_EQ(end.Values, std::vector<float>(350, 0.0f));

    WaveRecord enough = MakeRecord({Sine(100 + 1024 + 351, 20.0)});
    EXPECT_EQ(CorrelationStep(enough, settings).Status, CorrelationStatus::Computed);

    // A channel array shorter than SampleCount claims is never read past its end.
    enough.Channels[0].Samples.resize(1000);
    EXPECT_EQ(CorrelationStep(enough, settings).Status, CorrelationStatus::EndOfData);

    WaveRecord empty;
    empty.ChannelCount = 1;
    EXPECT_EQ(CorrelationStep(empty, settings).Status, CorrelationStatus::EndOfData);
}

TEST(CorrelationStep, FewerPointsThanLagsLeavesTheLongLagsAtZero) {
    WaveRecord record = MakeRecord({Sine(2000, 8.0, 10000.0, 0.3)});
    CorrelationSettings settings;
    settings.Points = 16;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_NE(frame.Values[15], 0.0f);
    for (int r = 16; r < 350; ++r) {
        ASSERT_TRUE(std::isfinite(frame.Values[static_cast<size_t>(r)]));
        ASSERT_EQ(frame.Values[static_cast<size_t>(r)], 0.0f) << r;
    }
}

TEST(CorrelationStep, CrossCorrelationPeaksAtTheDelayOfTheSecondChannel) {
    std::vector<int16_t> a = Noise(3000);
    std::vector<int16_t> b(a.size(), 0);
    for (size_t i = 7; i < a.size(); ++i) b[i] = a[i - 7];  // the second channel lags by 7 samples
    WaveRecord record = MakeRecord({a, std::vector<int16_t>(a.size(), 1), b});
    CorrelationSettings settings;
    settings.FirstChannel = 0;
    settings.SecondChannel = 2;
    settings.Points = 1024;
    settings.Position = 50;
    CorrelationFrame frame = CorrelationStep(record, settings);
    ASSERT_EQ(frame.Status, CorrelationStatus::Computed);
    EXPECT_TRUE(frame.Cross);
    EXPECT_EQ(frame.Title, "Cross Correlation");
    auto peak = std::max_element(frame.Values.begin(), frame.Values.end()) - frame.Values.begin();
    EXPECT_EQ(peak, 7);
    // R[7] is the mean square of the first channel over the same samples, divided by N.
    double sum = 0;
    for (int m = 0; m < 1024; ++m)
        sum += double(a[static_cast<size_t>(50 + m)]) * a[static_cast<size_t>(50 + m)];
    EXPECT_NEAR(frame.Values[7], sum / 1024, sum / 1024 * 1e-6);

    settings.SecondChannel = 5;  // not in the record
    CorrelationFrame bad = CorrelationStep(record, settings);
    EXPECT_EQ(bad.Status, CorrelationStatus::ChannelError);
    ASSERT_TRUE(bad.Error.has_value());
    EXPECT_EQ(bad.Error->Text, "Number of Channels is illegal");
}

TEST(CorrelationReport, TextsAndTheFirstHundredCrossings) {
    std::vector<float> alternating(350);
    for (size_t i = 0; i < alternating.size(); ++i) alternating[i] = (i % 2 == 0) ? 2.0f : -2.0f;

    CorrelationReportSettings none;  // no spectrum run yet
    CorrelationReport undefined = MakeCorrelationReport(alternating, none);
    EXPECT_EQ(undefined.Text, "fftdt not defined.  Press 'Run' Button");
    EXPECT_FALSE(undefined.HasPeriod);
    EXPECT_EQ(undefined.GridRows.size(), 352u);

    CorrelationReportSettings ms;
    ms.AnalysisInterval = 0.5f;
    ms.TimeText = "ms";
    ms.FrequencyText = "kHz";
    CorrelationReport report = MakeCorrelationReport(alternating, ms);
    ASSERT_EQ(report.Crossings.size(), 100u);
    EXPECT_EQ(report.Crossings.front(), 0);
    EXPECT_EQ(report.Crossings.back(), 198);
    EXPECT_DOUBLE_EQ(report.Period, 1.0);  // 198 × 0.5 / 99
    EXPECT_EQ(report.Text, "Zero Crossing  1.000 (ms)   1.000 (kHz)");
    EXPECT_EQ(report.GridRows[1][1], " ms");
    EXPECT_EQ(report.GridRows[3][2], "  -1.000");

    // One crossing is not a period; a crossing needs R[p] ≥ 0 (zero included) and R[p+1] < 0.
    std::vector<float> once(350, 1.0f);
    once[100] = 0.0f;
    once[101] = -1.0f;
    CorrelationReport single = MakeCorrelationReport(once, ms);
    EXPECT_EQ(single.Crossings, std::vector<int>{100});
    EXPECT_EQ(single.Text, "No Zero Crossing");
}
