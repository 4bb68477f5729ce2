#include "analysis/correlation_activity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/record_builder.h"

using namespace wavora;

namespace {

// 100 Hz; channel 1 a sine of period 21 samples (its downward zero crossings fall between lags,
// 5.25 + 21 k), channel 2 the same 5 samples later, channel 3 a slow sine.
WaveRecord Sines(int samples) {
    return test::SyntheticRecord(3, samples, [](int c, int i) {
        const double period = c == 2 ? 97.0 : 21.0;
        const double shift = c == 1 ? 5.0 : 0.0;
        return static_cast<int16_t>(
            std::lround(10000 * std::sin(2 * std::numbers::pi * (i - shift) / period)));
    });
}

CorrelationInputs Checked(std::initializer_list<int> oneBased, int position = 0) {
    CorrelationInputs in;
    for (int c : oneBased) in.Checked[static_cast<size_t>(c - 1)] = true;
    in.Points = 1024;
    in.Position = position;
    return in;
}

}  // namespace

TEST(CorrelationActivity, OneChannelStartsWithAnAutoCorrelationFromTheTop) {
    const WaveRecord record = Sines(4000);
    CorrelationActivity activity;
    const CorrelationEvent e = activity.Start(record, Checked({1}, 100));
    EXPECT_TRUE(e.Started);
    EXPECT_TRUE(e.Drew);
    EXPECT_EQ(e.Frame.Title, "Auto Correlation");
    EXPECT_FALSE(e.Frame.Cross);
    EXPECT_EQ(e.FirstChannel, 0);
    ASSERT_EQ(e.Frame.LagCount, 350);
    EXPECT_EQ(e.Frame.CurveY[0], 100);        // R[0] / R[0] = 1 at (40, 100)
    EXPECT_NEAR(e.Frame.CurveY[21], 100, 2);  // one period later: 1 again
    EXPECT_TRUE(e.MovePosition);
    EXPECT_EQ(e.NextPosition, 110);
    EXPECT_EQ(e.Frame.TimeText, "t=1.10s");
    EXPECT_TRUE(activity.Active());
    EXPECT_TRUE(activity.TimerEnabled());
}

TEST(CorrelationActivity, TwoChannelsGiveTheCrossCorrelation) {
    const WaveRecord record = Sines(4000);
    CorrelationActivity activity;
    const CorrelationEvent e = activity.Start(record, Checked({1, 2}));
    EXPECT_EQ(e.Frame.Title, "Cross Correlation");
    EXPECT_TRUE(e.Frame.Cross);
    EXPECT_EQ(e.FirstChannel, 0);
    // Channel 2 lags channel 1 by 5 samples: the cross-correlation peaks at lag 5.
    const auto& v = activity.Values();
    EXPECT_EQ(std::max_element(v.begin(), v.begin() + 20) - v.begin(), 5);
}

TEST(CorrelationActivity, TimeScaleAndStepShapeTheSteps) {
    const WaveRecord record = Sines(4000);
    CorrelationActivity activity;
    CorrelationInputs in = Checked({1}, 0);
    in.TimeScale = 2;
    in.Step = 2;
    CorrelationEvent e = activity.Start(record, in);
    EXPECT_EQ(e.Frame.LagCount, 175);
    EXPECT_EQ(e.Frame.TickLabels[1], "0.25");  // 50 lags × 0.01 s / 2
    EXPECT_EQ(e.NextPosition, 20);             // 10 × Step
    in.Position = e.NextPosition;
    e = activity.Tick(record, in);
    EXPECT_EQ(e.NextPosition, 40);
    EXPECT_EQ(activity.Values()[175], 0.0f);  // lags beyond L stay 0

    const CorrelationStopResult stop = activity.Stop({0.02f, 2, "s", "Hz"});
    ASSERT_TRUE(stop.Stopped);
    // The delay counts one sample interval per lag also with Step 2.
    EXPECT_EQ(stop.Report.GridRows[12][1], "   0.100");
    EXPECT_EQ(stop.Report.Text, "Zero Crossing  0.210 (s)   4.762 (Hz)");
}

TEST(CorrelationActivity, EndOfDataDrawsTheFrameOnlyAndStopsTheTimer) {
    const WaveRecord record = Sines(2000);
    CorrelationActivity activity;
    CorrelationEvent e = activity.Start(record, Checked({1}, 0));
    ASSERT_TRUE(e.MovePosition);
    // 626 + 1024 + 350 = 2000 reaches the end.
    e = activity.Tick(record, Checked({1}, 626));
    EXPECT_TRUE(e.Drew);
    EXPECT_EQ(e.Frame.Status, CorrelationStatus::EndOfData);
    EXPECT_FALSE(e.MovePosition);
    EXPECT_FALSE(e.Stopped);
    EXPECT_FALSE(activity.TimerEnabled());
    EXPECT_TRUE(activity.Active());  // until the user stops it
    EXPECT_FALSE(activity.Tick(record, Checked({1}, 0)).Drew);

    // Stop reports on the last values computed.
    const CorrelationStopResult stop = activity.Stop({0.01f, 1, "s", "Hz"});
    EXPECT_EQ(stop.Report.Text, "Zero Crossing  0.210 (s)   4.762 (Hz)");
    EXPECT_FALSE(activity.Active());
    EXPECT_FALSE(activity.Tick(record, Checked({1}, 0)).Drew);
}

TEST(CorrelationActivity, StopBeforeAnyRunAndBeforeAnyValues) {
    const WaveRecord record = Sines(2000);
    CorrelationActivity activity;
    EXPECT_FALSE(activity.Stop({}).Stopped);  // not running: nothing

    // No spectrum run yet: no analysis interval for the period.
    activity.Start(record, Checked({1}, 0));
    CorrelationStopResult stop = activity.Stop({0.0f, 1, "s", "Hz"});
    EXPECT_EQ(stop.Report.Text, "fftdt not defined.  Press 'Run' Button");
    ASSERT_EQ(stop.Report.GridRows.size(), 352u);
    EXPECT_EQ(stop.Report.GridRows[0], (std::array<std::string, 5>{"   i", "  Delay", "   R[i]", "", ""}));

    // The first step already at the end of the data: all values 0, no crossing.
    CorrelationActivity late;
    const CorrelationEvent e = late.Start(record, Checked({1}, 1900));
    EXPECT_TRUE(e.Started);
    EXPECT_FALSE(late.TimerEnabled());
    stop = late.Stop({0.01f, 1, "s", "Hz"});
    EXPECT_EQ(stop.Report.Text, "No Zero Crossing");
    EXPECT_EQ(stop.Report.GridRows[2][2], "   0.000");
}

TEST(CorrelationActivity, IllegalChannelCountsAreRefused) {
    const WaveRecord record = Sines(2000);
    for (auto checked : {Checked({}), Checked({1, 2, 3})}) {
        CorrelationActivity activity;
        const CorrelationEvent e = activity.Start(record, checked);
        EXPECT_TRUE(e.Refused);
        EXPECT_FALSE(e.Drew);
        ASSERT_TRUE(e.Error.has_value());
        EXPECT_EQ(e.Error->Text, "Number of Channels is illegal");
        EXPECT_EQ(e.Error->Caption, "Channel Error");
        EXPECT_FALSE(activity.Active());
        EXPECT_FALSE(activity.TimerEnabled());
    }
    // A channel beyond the record's channels is not counted.
    CorrelationActivity activity;
    EXPECT_TRUE(activity.Start(record, Checked({5})).Refused);
}

TEST(CorrelationActivity, PointsFromThePointsItemBeforeAnyRun) {
    const WaveRecord record = Sines(4000);
    CorrelationActivity activity;
    CorrelationInputs in = Checked({1});
    in.Points = 0;
    in.PointsItem = 2048;
    activity.Start(record, in);
    EXPECT_EQ(activity.PointsUsed(), 2048);
}
