#include "analysis/auto_skip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <numbers>

#include "support/record_builder.h"

using namespace wavora;

namespace {

// A scripted run: each call takes the next report (a plain run when the script is empty).
struct ScriptedRuns {
    std::deque<AutoSkipRunReport> script;
    int calls = 0;
    AutoSkipActivity::RunOnce Callback() {
        return [this] {
            ++calls;
            if (script.empty()) return AutoSkipRunReport{};
            AutoSkipRunReport r = script.front();
            script.pop_front();
            return r;
        };
    }
};

// 100 Hz; channel 1 a sine of 12.5 Hz (8 samples a period) with a weaker one at 31.25 Hz.
WaveRecord SineRecord(int samples) {
    return test::SyntheticRecord(1, samples, [](int, int i) {
        return static_cast<int16_t>(std::lround(8000 * std::sin(2 * std::numbers::pi * i / 8.0) +
                                                2000 * std::sin(2 * std::numbers::pi * i / 3.2)));
    });
}

AnalysisSettings OneChannel(int points = 1024, int skipDivisor = 1) {
    AnalysisSettings s;
    s.PointsChoice = points;
    s.SkipDivisor = skipDivisor;
    return s;
}

}  // namespace

TEST(AutoSkipActivity, StartRunsAtOnceAndTicksRunUntilStop) {
    ScriptedRuns runs;
    AutoSkipActivity activity(runs.Callback());
    EXPECT_EQ(activity.IntervalMs(), 200);

    AutoSkipEvent started = activity.Start();
    EXPECT_TRUE(started.Ran);
    EXPECT_FALSE(started.Stopped);
    EXPECT_EQ(runs.calls, 1);
    EXPECT_TRUE(activity.Active());
    EXPECT_TRUE(activity.TimerEnabled());

    EXPECT_TRUE(activity.Tick(1).Ran);
    EXPECT_TRUE(activity.Tick(4).Ran);
    EXPECT_EQ(runs.calls, 3);
    // The Skip menu on "0": ticks wait at the position.
    EXPECT_FALSE(activity.Tick(0).Ran);
    EXPECT_EQ(runs.calls, 3);
    EXPECT_TRUE(activity.Start().Ran == false);  // already running: nothing

    AutoSkipEvent stopped = activity.Toggle();
    EXPECT_TRUE(stopped.Stopped);
    EXPECT_FALSE(stopped.EndOfData);
    EXPECT_FALSE(activity.Active());
    // The timer is off at once: a tick already queued runs nothing.
    EXPECT_FALSE(activity.TimerEnabled());
    EXPECT_FALSE(activity.Tick(1).Ran);
    EXPECT_EQ(runs.calls, 3);
    EXPECT_FALSE(activity.Stop().Stopped);  // idle: nothing
}

TEST(AutoSkipActivity, EndOfDataAndFailuresEndTheActivity) {
    struct Case {
        const char* what;
        AutoSkipRunReport report;
        bool endOfData;
        bool error;
    } cases[] = {
        {"end of data", {true, std::nullopt}, true, false},
        {"failed run",
         {false, Failure::Captioned("Insufficient Memory for FFT", "FFT Table Error")},
         false,
         true},
    };
    for (const Case& c : cases) {
        // At a tick.
        ScriptedRuns runs;
        runs.script = {AutoSkipRunReport{}, c.report};
        AutoSkipActivity activity(runs.Callback());
        activity.Start();
        AutoSkipEvent e = activity.Tick(1);
        EXPECT_TRUE(e.Stopped) << c.what;
        EXPECT_EQ(e.EndOfData, c.endOfData) << c.what;
        EXPECT_EQ(e.Error.has_value(), c.error) << c.what;
        EXPECT_FALSE(activity.Active()) << c.what;
        EXPECT_FALSE(activity.TimerEnabled()) << c.what;
        EXPECT_FALSE(activity.Tick(1).Ran) << c.what;

        // At the first run of Start.
        ScriptedRuns first;
        first.script = {c.report};
        AutoSkipActivity immediate(first.Callback());
        e = immediate.Start();
        EXPECT_TRUE(e.Stopped) << c.what;
        EXPECT_EQ(e.EndOfData, c.endOfData) << c.what;
        EXPECT_FALSE(immediate.TimerEnabled()) << c.what;
    }
}

TEST(AutoSkipActivity, RunsOfOtherCommandsReportToIt) {
    ScriptedRuns runs;
    AutoSkipActivity activity(runs.Callback());
    // While idle a run's end of data is none of its business.
    EXPECT_FALSE(activity.AfterRun({true, std::nullopt}).Stopped);
    activity.Start();
    AutoSkipEvent e = activity.AfterRun({true, std::nullopt});  // the Run button at the end
    EXPECT_TRUE(e.Stopped);
    EXPECT_TRUE(e.EndOfData);
    EXPECT_FALSE(activity.Active());

    activity.SetIntervalMs(500);
    EXPECT_EQ(activity.IntervalMs(), 500);
    activity.SetIntervalMs(300);
    EXPECT_EQ(activity.IntervalMs(), 500);
}

TEST(AutoSkipRun, SegmentStartingAtTheEndIsTheEndOfDataNotAMessage) {
    const WaveRecord record = SineRecord(4096);
    SpectrumResult result;
    AnalysisSettings settings = OneChannel();
    settings.AutoSkipActive = true;
    SpectrumRun run(record, settings, result);
    const RunStart start = run.Begin(4096);
    EXPECT_TRUE(start.AutoSkipFinished);
    EXPECT_TRUE(start.ReturnToStart);
    EXPECT_FALSE(start.Error);

    settings.AutoSkipActive = false;  // an ordinary run still says so
    SpectrumRun plain(record, settings, result);
    EXPECT_TRUE(plain.Begin(4096).Error.has_value());
}

TEST(AutoSkipRun, WholeRecordLoopEndsAtTheEndOfTheData) {
    struct Case {
        int samples;
        int skipDivisor;
        int runs;
        int lastPosition;
    } cases[] = {
        {4096, 1, 4, 3072},  // the record ends exactly where the fourth segment ends
        {4500, 1, 4, 3072}, {4096, 2, 7, 3072}, {4096, 4, 13, 3072}, {1023, 1, 0, -1},  // not one segment
    };
    for (const Case& c : cases) {
        const WaveRecord record = SineRecord(c.samples);
        SpectralPeaks peaks;
        const AutoSkipSummary s = RunAutoSkipToEnd(record, OneChannel(1024, c.skipDivisor), 0, &peaks);
        EXPECT_FALSE(s.Error) << c.samples << "/" << c.skipDivisor;
        EXPECT_TRUE(s.ReachedEnd);
        EXPECT_EQ(s.FinalPosition, 0);
        EXPECT_EQ(s.Runs, c.runs) << c.samples << "/" << c.skipDivisor;
        EXPECT_EQ(s.Gathered, c.runs);
        EXPECT_EQ(s.LastPosition, c.lastPosition);
        EXPECT_EQ(peaks.PeakRunCount, c.runs);
    }
}

TEST(AutoSkipRun, TheOrderListingNamesTheDominantFrequencies) {
    const WaveRecord record = SineRecord(20000);
    SpectralPeaks peaks;
    peaks.SetPeakTops(1);
    const AutoSkipSummary s = RunAutoSkipToEnd(record, OneChannel(), 0, &peaks);
    ASSERT_EQ(s.Runs, 19);
    // Every spectrum's largest peak is the 12.5 Hz line (128 of 1024 at 100 Hz).
    EXPECT_EQ(peaks.MeanFrequencyText, "  12.500");
    peaks.ListValues();
    peaks.ListOrder();
    EXPECT_EQ(peaks.Table.Rows()[1], (PeakTable::Row{"    1", "  12.500", "      19"}));
    EXPECT_EQ(peaks.Table.Rows()[2], (PeakTable::Row{"    2", "", ""}));

    // Starting part-way: only the segments from there on.
    SpectralPeaks later;
    EXPECT_EQ(RunAutoSkipToEnd(record, OneChannel(), 15000, &later).Runs, 4);
    // Without peaks (the benchmark's baseline) nothing is gathered.
    EXPECT_EQ(RunAutoSkipToEnd(record, OneChannel(), 0, nullptr).Gathered, 0);
}

TEST(AutoSkipRun, SkipThatCannotMoveStopsAfterOneRun) {
    const WaveRecord record = SineRecord(4096);
    AnalysisSettings settings = OneChannel();
    settings.Skip = false;
    SpectralPeaks peaks;
    const AutoSkipSummary s = RunAutoSkipToEnd(record, settings, 0, &peaks);
    EXPECT_EQ(s.Runs, 1);
    EXPECT_TRUE(s.Error.has_value());
    EXPECT_FALSE(s.ReachedEnd);
}

TEST(AutoSkipRun, OneRunAsksForPaddingAndGathersEveryShownChannel) {
    WaveRecord record = test::SyntheticRecord(3, 1500, [](int c, int i) {
        return static_cast<int16_t>(std::lround(5000 * std::sin(0.3 * (c + 1) * i)));
    });
    AnalysisSettings settings = OneChannel();
    settings.ChannelFlags = {true, false, true, false, false, false, false, false};
    SpectralPeaks peaks;
    SpectrumResult result;
    PeakRunOutcome out = RunSpectrumWithPeaks(record, settings, 1000, &peaks, false, result);
    ASSERT_TRUE(out.Error.has_value());
    EXPECT_EQ(out.Error->Text, "Data size is not sufficient. Add Trailing 0?");
    EXPECT_EQ(peaks.PeakRunCount, 0);

    out = RunSpectrumWithPeaks(record, settings, 1000, &peaks, true, result);
    EXPECT_TRUE(out.Analysed);
    EXPECT_EQ(out.Gathered, 2);
    EXPECT_EQ(peaks.ChannelText, "3 CH");  // the table shows the last channel's peaks
    EXPECT_EQ(out.NextPosition, 1500);     // moved on, at most to the end

    // A spectral ratio shows one curve: its peaks are gathered once.
    settings.RatioMode = 1;
    out = RunSpectrumWithPeaks(record, settings, 0, &peaks, false, result);
    EXPECT_EQ(out.Gathered, 1);
    EXPECT_EQ(peaks.ChannelText, "3 CH");

    out = RunSpectrumWithPeaks(record, settings, 1500, &peaks, false, result);
    ASSERT_TRUE(out.Error.has_value());
    EXPECT_EQ(out.Error->Text, "Data exhasuted. Return to initial point.");
    EXPECT_EQ(out.NextPosition, 0);
}
