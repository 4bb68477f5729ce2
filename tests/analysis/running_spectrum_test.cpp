#include "analysis/running_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "analysis/running_session.h"
#include "record/text_format.h"
#include "support/record_builder.h"

namespace wavora {
namespace {

// A sine whose amplitude grows along the record, so that every step's spectrum differs.
int16_t GrowingSine(int c, int i) {
    return static_cast<int16_t>(std::lround((1000.0 + 0.2 * i) * std::sin(2.0 * M_PI * (5 + c) * i / 100.0)));
}

// A run's result made by hand: `points` points at 0.01 s, line p holding value(p).
SpectrumResult FakeResult(int points, int position, const std::function<float(int)>& value) {
    SpectrumResult r;
    r.Points = points;
    r.Step = 1;
    r.Position = position;
    r.SelectedChannelCount = 1;
    r.CurrentChannel = 1;
    r.AnalysisInterval = 0.01f;
    r.Duration = static_cast<float>(points) * r.AnalysisInterval;
    r.FrequencyStep = 1.0f / r.Duration;
    r.RealPart.assign(static_cast<size_t>(points) + 1, 0.0f);
    r.MemFrequency.assign(static_cast<size_t>(points) + 1, 0.0f);
    for (int p = 0; p < points / 2; ++p) r.RealPart[static_cast<size_t>(p)] = value(p);
    return r;
}

RunningStartInput StartInput(int sampleCount, int points = 64) {
    RunningStartInput in;
    in.Points = points;
    in.SampleCount = sampleCount;
    in.SamplingInterval = 0.01f;
    return in;
}

struct Drive {
    RunningOutcome Outcome;
    std::vector<RunningStep> Steps;
};

Drive DriveAll(const WaveRecord& record, RunningSession session) {
    Drive d;
    RunningSpectrum running;
    SpectrumMap map;
    RunningObserver observer;
    observer.Step = [&](const RunningStep& step, const SpectrumResult&, const RunningStepView&) {
        d.Steps.push_back(step);
    };
    d.Outcome = DriveRunningSpectrum(record, session, running, map, observer);
    EXPECT_FALSE(running.Active());
    return d;
}

// The spectrum (or ratio) a plain run draws at a position.
std::vector<float> SpectrumAt(const WaveRecord& record, AnalysisSettings settings, int position) {
    settings.RunningActive = true;  // no padding question
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    run.Begin(position);
    for (int k : run.Channels()) run.AnalyseChannel(k);
    return std::vector<float>(result.RealPart.begin(), result.RealPart.begin() + result.Points / 2);
}

TEST(RunningProjection, BasePointsForSkip200At10ms) {
    RunningScale scale;  // 0 … 50 in 5 divisions, value 1 per division
    const RunningProjection p = RunningProjection::For(scale, {}, 200, 0.01f, 1);
    EXPECT_EQ(p.DivisionWidth, 40);
    EXPECT_EQ(p.DivisionHeight, 13);
    EXPECT_EQ(p.TimeStepPixels, 32);
    struct Case {
        int Curve;
        PlotPoint Expected;
    };
    for (const Case& c : {Case{0, {30, 390}}, Case{1, {33, 384}}, Case{5, {47, 363}}, Case{50, {202, 120}}}) {
        const float t = static_cast<float>(c.Curve * 200) * 0.01f;
        EXPECT_EQ(p.Project(0.0f, 0.0f, t), c.Expected) << "curve " << c.Curve;
    }
    // A value of one division rises 13 pixels, a frequency step of one division goes 40 right.
    EXPECT_EQ(p.Project(10.0f, 1.0f, 0.0f), (PlotPoint{70, 377}));
    // Far outside any picture the pixel is held, never overflowing.
    EXPECT_EQ(p.Project(0.0f, 1.0e30f, 0.0f).Y, -1000000);
}

TEST(RunningSpectrumDrive, MultiPlotStopsAtFiftyOneCurvesWithEveryFifthBlack) {
    const WaveRecord record = test::SyntheticRecord(2, 1024 + 60 * 200, GrowingSine);
    for (int ratio : {0, 1}) {
        RunningSession session;
        if (ratio) session.Analysis.ChannelFlags[1] = true;
        session.Analysis.RatioMode = ratio;
        Drive d = DriveAll(record, session);
        ASSERT_EQ(d.Outcome.Start.Status, RunningStartStatus::Started);
        std::vector<int> black;
        int curves = 0;
        for (const RunningStep& s : d.Steps) {
            if (!s.Curve) continue;
            if (s.Curve->Black) black.push_back(curves);
            ++curves;
        }
        EXPECT_EQ(curves, kRunningCurveLimit);
        std::vector<int> expected;
        for (int i = 0; i <= 50; i += ratio ? 10 : 5) expected.push_back(i);
        EXPECT_EQ(black, expected);
        // The 52nd step stops without drawing and is not counted.
        ASSERT_EQ(d.Steps.size(), 52u);
        EXPECT_TRUE(d.Steps.back().Stop && d.Steps.back().CurveLimit);
        EXPECT_FALSE(d.Steps.back().Curve);
        EXPECT_EQ(d.Outcome.CountText, "Count  51");
        ASSERT_TRUE(d.Outcome.Stop.Average);
        EXPECT_FALSE(d.Outcome.Stop.DrawAverage);
        EXPECT_EQ(d.Outcome.Stop.InitPosition, 51 * 200);
        // Back one Skip before the undrawn step: where the last curve was analysed.
        EXPECT_EQ(d.Outcome.FinalPosition, 50 * 200);
        if (ratio) continue;
        EXPECT_EQ(d.Steps[1].Curve->Segments.front().From, (PlotPoint{33, 384}));
        EXPECT_EQ(d.Steps[5].Curve->Base, (PlotPoint{47, 363}));
        EXPECT_EQ(d.Steps[50].Curve->Base, (PlotPoint{202, 120}));
        EXPECT_EQ(d.Steps[5].Curve->TimeLabel, "10");
        EXPECT_EQ(d.Steps[5].Curve->TickXs, (std::vector<int>{47, 87, 127, 167, 207, 247}));
    }
}

TEST(RunningSpectrumDrive, SinglePlotWithMaxThreeAveragesFourSpectra) {
    const WaveRecord record = test::SyntheticRecord(1, 4000, GrowingSine);
    RunningSession session;
    session.Start.Multi = false;
    session.View.Max = 3;
    Drive d = DriveAll(record, session);
    ASSERT_EQ(d.Steps.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(d.Steps[i].DrawSingle);
        EXPECT_EQ(d.Steps[i].Stop, i == 3);
    }
    EXPECT_EQ(d.Outcome.CountText, "Count  4");
    const RunningStop& stop = d.Outcome.Stop;
    ASSERT_TRUE(stop.Average);
    EXPECT_TRUE(stop.DrawAverage);
    EXPECT_EQ(stop.Average->Column, 4);
    ASSERT_EQ(stop.Average->Values.size(), 512u);
    std::vector<float> sum(512, 0.0f);
    for (int position : {0, 200, 400, 600}) {
        const std::vector<float> s = SpectrumAt(record, session.Analysis, position);
        for (size_t p = 0; p < sum.size(); ++p) sum[p] += s[p];
    }
    for (size_t p = 0; p < sum.size(); ++p) EXPECT_FLOAT_EQ(stop.Average->Values[p], sum[p] / 4.0f) << p;
    EXPECT_EQ(stop.Average->Cell(50), StrPrintf("%9.4f", stop.Average->Values[50]));
    // The run that stopped at "max" still applies its own skip before the step adds Skip.
    EXPECT_EQ(d.Outcome.FinalPosition, 600 + 1024 + 200);
}

TEST(RunningSpectrumDrive, TheAverageOfARatioIsTheAverageOfTheRatios) {
    const WaveRecord record = test::SyntheticRecord(2, 4000, GrowingSine);
    RunningSession session;
    session.Analysis.ChannelFlags[1] = true;
    session.Analysis.RatioMode = 2;
    session.Start.Multi = false;
    session.View.Max = 1;
    Drive d = DriveAll(record, session);
    ASSERT_TRUE(d.Outcome.Stop.Average);
    const std::vector<float> a = SpectrumAt(record, session.Analysis, 0);
    const std::vector<float> b = SpectrumAt(record, session.Analysis, 200);
    for (size_t p = 0; p < a.size(); p += 17)
        EXPECT_FLOAT_EQ(d.Outcome.Stop.Average->Values[p], (a[p] + b[p]) / 2.0f) << p;
}

TEST(RunningSpectrumDrive, RunsToTheEndOfTheDataWithPaddedSegments) {
    const WaveRecord record = test::SyntheticRecord(1, 2000, GrowingSine);
    RunningSession session;
    session.Start.Multi = false;
    session.Start.SkipItem = 5;  // 500
    Drive d = DriveAll(record, session);
    EXPECT_EQ(d.Outcome.Steps, 4);  // 0, 500, 1000 and 1500, the last two padded with zeros
    EXPECT_EQ(d.Outcome.FinalPosition, 0);
    EXPECT_EQ(d.Outcome.Stop.InitPosition, 2000);
    EXPECT_TRUE(d.Outcome.Stop.Average);
}

TEST(RunningSpectrumDrive, HiddenLinesHaltWhenTheWaterfallLeavesThePicture) {
    const WaveRecord record = test::SyntheticRecord(1, 1024 + 60 * 200, GrowingSine);
    RunningSession session;
    session.View.TimeScale = 8;  // 51 curves would reach far beyond the right edge
    Drive d = DriveAll(record, session);
    ASSERT_FALSE(d.Steps.empty());
    EXPECT_TRUE(d.Steps.back().Halt);
    EXPECT_TRUE(d.Steps.back().Curve->Halted);
    EXPECT_LT(d.Steps.size(), 51u);
    for (size_t i = 0; i + 1 < d.Steps.size(); ++i) EXPECT_FALSE(d.Steps[i].Halt);
    // Stop (pressed after the halt) still lists the average of every drawn curve.
    EXPECT_TRUE(d.Outcome.Stop.WasActive);
    EXPECT_TRUE(d.Outcome.Stop.Average);
}

TEST(RunningSpectrumStart, RefusalsLeaveTheActivityIdle) {
    const Failure channel = Failure::Captioned(
        "Sufficient Channel(s) not Selected or Extra Channel(s) selected !!    ", "Channel Select Error");
    const Failure skip =
        Failure::Captioned("Skip must be a whole number of samples, 1 or more.", "Skip Error");
    const Failure axis =
        Failure::Captioned("Axis type must be linear for Multi Plot Running Spectrum", "Axis Type Error");
    struct Case {
        const char* Name;
        std::function<void(RunningStartInput&)> Change;
        std::optional<Failure> Error;
        RunningStartStatus Status;
    };
    const RunningStartStatus refused = RunningStartStatus::Refused, started = RunningStartStatus::Started;
    const std::vector<Case> cases = {
        {"no channel", [](auto& in) { in.CheckedChannels = 0; }, channel, refused},
        {"two without ratio", [](auto& in) { in.CheckedChannels = 2; }, channel, refused},
        {"one with ratio", [](auto& in) { in.RatioMode = 1; }, channel, refused},
        {"two with ratio", [](auto& in) { in.RatioMode = 1, in.CheckedChannels = 2; }, std::nullopt, started},
        {"skip 0", [](auto& in) { in.EditBoxSkip = true, in.SkipText = "0"; }, skip, refused},
        {"skip -5", [](auto& in) { in.EditBoxSkip = true, in.SkipText = "-5"; }, skip, refused},
        {"skip text", [](auto& in) { in.EditBoxSkip = true, in.SkipText = "abc"; }, skip, refused},
        {"skip 2.5", [](auto& in) { in.EditBoxSkip = true, in.SkipText = "2.5"; }, skip, refused},
        {"skip empty", [](auto& in) { in.EditBoxSkip = true, in.SkipText = ""; }, skip, refused},
        {"skip 250", [](auto& in) { in.EditBoxSkip = true, in.SkipText = " 250 "; }, std::nullopt, started},
        {"log multi", [](auto& in) { in.LogAxis = true; }, axis, refused},
        {"log single", [](auto& in) { in.LogAxis = true, in.Multi = false; }, std::nullopt, started},
        {"beyond the data", [](auto& in) { in.InitPosition = 1937; }, std::nullopt,
         RunningStartStatus::BeyondData},
        {"last full segment", [](auto& in) { in.InitPosition = 1936; }, std::nullopt, started},
    };
    for (const Case& c : cases) {
        RunningSpectrum running;
        SpectrumMap map;
        RunningStartInput in = StartInput(2000);
        c.Change(in);
        const RunningStart start = running.Start(in, map);
        EXPECT_EQ(start.Status, c.Status) << c.Name;
        EXPECT_EQ(start.Error, c.Error) << c.Name;
        EXPECT_EQ(start.DisableStartControls, c.Error == channel) << c.Name;
        EXPECT_EQ(running.Active(), c.Status == started) << c.Name;
        if (c.Status != started) {
            EXPECT_EQ(running.Tick(0, 2000), RunningTick::Idle) << c.Name;
        } else {
            EXPECT_EQ(start.CountText, "Count  0");
            EXPECT_EQ(running.AverageSize(), 32);
        }
    }
}

TEST(RunningSpectrumStart, SkipTimeAndTheSkipOfTheRun) {
    RunningSpectrum running;
    SpectrumMap map;
    RunningStartInput in = StartInput(100000, 1024);
    in.Step = 2;
    RunningStart start = running.Start(in, map);
    EXPECT_EQ(start.Skip, 200);
    EXPECT_EQ(start.SkipTimeText, "Skip Time 4 [s]");  // Skip × Step × sampling interval
    // Position still moves by 200 samples per step.
    EXPECT_EQ(running.PositionAfterStep(1000, 100000), 1200);
    EXPECT_EQ(running.PositionAfterStep(99900, 100000), 100000);
    // A second Start while running changes nothing.
    in.SkipItem = 0;
    EXPECT_EQ(running.Start(in, map).Status, RunningStartStatus::Refused);
    EXPECT_EQ(running.Skip(), 200);
    EXPECT_TRUE(running.Active());
    EXPECT_EQ(SkipTimeText(10, 0.001f, "ms"), "Skip Time 0.01 [ms]");
}

TEST(RunningSpectrumStop, TheAverageComesOncePerRunWithSteps) {
    RunningSpectrum running;
    SpectrumMap map;
    EXPECT_FALSE(running.Stop(0, false, false, map).Average);  // from idle: nothing to divide

    RunningStepView view;
    view.Multi = false;
    ASSERT_EQ(running.Start(StartInput(2000), map).Status, RunningStartStatus::Started);
    EXPECT_FALSE(running.Stop(0, false, false, map).Average);  // started, but no step

    ASSERT_EQ(running.Start(StartInput(2000), map).Status, RunningStartStatus::Started);
    const WaveRecord record = test::SyntheticRecord(1, 2000, GrowingSine);
    EXPECT_EQ(running.Tick(0, 2000), RunningTick::Run);
    running.AddSpectrum(record, FakeResult(64, 0, [](int p) { return 2.0f + p; }), view, map);
    running.AddSpectrum(record, FakeResult(64, 200, [](int p) { return 4.0f + p; }), view, map);
    RunningStop stop = running.Stop(400, false, false, map);
    ASSERT_TRUE(stop.Average);
    EXPECT_FLOAT_EQ(stop.Average->Values[0], 3.0f);
    EXPECT_FLOAT_EQ(stop.Average->Values[10], 13.0f);
    EXPECT_TRUE(stop.DrawAverage);
    EXPECT_FALSE(running.Active());
    EXPECT_FALSE(running.Stop(400, false, false, map).Average);  // a second Stop
    running.Close();
    EXPECT_FALSE(running.Stop(400, false, false, map).Average);  // after Close
    EXPECT_EQ(running.AverageSize(), 0);
    // No step is taken once stopped.
    EXPECT_FALSE(running.AddSpectrum(record, FakeResult(64, 0, [](int) { return 1.0f; }), view, map).Handled);
}

TEST(RunningSpectrumStop, TheAverageTakesTheColumnAndFormatOfItsListing) {
    struct Case {
        bool Mem;
        SpectrumType Type;
        int Column;
        const char* Format;
    };
    for (const Case& c :
         {Case{false, SpectrumType::Amp, 4, "%9.4f"}, Case{false, SpectrumType::Power, 4, "%10.3e"},
          Case{true, SpectrumType::Amp, 2, "%9.3e"}}) {
        RunningSpectrum running;
        SpectrumMap map;
        RunningStepView view;
        running.Start(StartInput(2000), map);
        SpectrumResult r = FakeResult(64, 0, [](int) { return 0.00002f; });
        r.Settings.Mem = c.Mem;
        r.Settings.Type = c.Type;
        running.AddSpectrum(test::SyntheticRecord(1, 10, GrowingSine), r, view, map);
        const RunningStop stop = running.Stop(0, true, true, map);
        ASSERT_TRUE(stop.Average);
        EXPECT_EQ(stop.Average->Column, c.Column);
        EXPECT_EQ(std::string(stop.Average->Format), c.Format);
        EXPECT_EQ(stop.Average->EmptyColumns23, c.Column == 4);
        EXPECT_EQ(stop.InitPosition, 0);  // with "2D" Position − Skip − Points, never below 0
    }
}

TEST(RunningSpectrumTick, TheEndOfTheDataStopsTheTimer) {
    RunningSpectrum running;
    SpectrumMap map;
    running.Start(StartInput(2000), map);
    EXPECT_EQ(running.Tick(1999, 2000), RunningTick::Run);
    EXPECT_EQ(running.Tick(2000, 2000), RunningTick::Finished);
    EXPECT_FALSE(running.TimerOn());
    EXPECT_TRUE(running.Active());  // until Stop
    EXPECT_EQ(running.Tick(0, 2000), RunningTick::Idle);
}

TEST(RunningSpectrumFrame, TicksAtTheCurvesDivisionWidthAndTheTitleLines) {
    WaveRecord record = test::SyntheticRecord(2, 2000, GrowingSine);
    record.FileName = "wave.csv";
    RunningSpectrum running;
    SpectrumMap map;
    running.Start(StartInput(2000), map);
    RunningStepView view;
    view.Scale.NGridX = 4;
    view.Scale.VValueX = 10.0f;
    view.Filter = {true, 1.0f, 20.0f};
    SpectrumResult r = FakeResult(1024, 400, [](int) { return 0.5f; });
    const RunningStep step = running.AddSpectrum(record, r, view, map);
    ASSERT_TRUE(step.Frame);
    const RunningFrame& f = *step.Frame;
    EXPECT_EQ(f.TickXs, (std::vector<int>{30, 80, 130, 180, 230}));
    EXPECT_EQ(f.TickLabels, (std::vector<std::string>{"0", "10", "20", "30", "40"}));
    EXPECT_EQ(f.Heading, "Running Spectrum");
    EXPECT_EQ(f.TimeUnit, "[s]");
    EXPECT_EQ(f.TitleLine, "wave.csv   CH 1   Init Position  400  4 [s]");
    EXPECT_EQ(f.SkipLine, "Skip Time  2 [s] ");
    EXPECT_EQ(f.PointsLine, "1024 Points 10.2400 [s]");
    EXPECT_EQ(f.SmoothLine, "Smooth 0");
    EXPECT_EQ(f.FilterNote, "1.00 - 20.00 Hz");
    EXPECT_EQ(step.CountText, "Count  1");
    EXPECT_FALSE(running.AddSpectrum(record, r, view, map).Frame);  // only the first step

    RunningSpectrum ratio;
    RunningStartInput in = StartInput(2000);
    in.RatioMode = 2;
    in.CheckedChannels = 2;
    ratio.Start(in, map);
    r.Settings.RatioMode = 2;
    r.SelectedChannelCount = 2;
    r.RatioChannelA = 1;
    r.RatioChannelB = 2;
    const RunningFrame g = *ratio.AddSpectrum(record, r, view, map).Frame;
    EXPECT_EQ(g.Heading, "Running Plot");
    EXPECT_EQ(g.TitleLine, "wave.csv   CH2/CH1  Init Position  400  4 [s]");
}

TEST(HiddenLineHorizon, SegmentsShowOnlyAboveEverythingDrawnBefore) {
    HiddenLineHorizon h(20, 100);
    std::vector<PlotSegment> out;
    ASSERT_TRUE(h.Segment({0, 50}, {10, 50}, out));
    EXPECT_EQ(out, (std::vector<PlotSegment>{{{0, 50}, {10, 50}}}));
    EXPECT_EQ(h.At(0), 100);  // the start column belongs to the segment before
    EXPECT_EQ(h.At(5), 51);
    struct Case {
        PlotPoint A, B;
        std::vector<PlotSegment> Visible;
    };
    // Each against the horizon of the first segment only.
    const std::vector<Case> cases = {
        {{0, 60}, {10, 60}, {}},                     // below: hidden
        {{0, 60}, {10, 40}, {{{5, 50}, {10, 40}}}},  // rises out of it at column 5
        {{0, 40}, {10, 60}, {{{0, 40}, {5, 50}}}},   // sinks into it after column 5
        {{3, 30}, {3, 45}, {{{3, 30}, {3, 45}}}},    // upright, visible
        {{3, 30}, {3, 55}, {}},                      // upright, one end hidden
        {{0, 51}, {10, 51}, {}},                     // level with the horizon: hidden
        {{0, 50}, {10, 50}, {{{0, 50}, {10, 50}}}},  // the same height again: visible
    };
    for (const Case& c : cases) {
        HiddenLineHorizon fresh(20, 100);
        std::vector<PlotSegment> first;
        fresh.Segment({0, 50}, {10, 50}, first);
        std::vector<PlotSegment> visible;
        ASSERT_TRUE(fresh.Segment(c.A, c.B, visible));
        EXPECT_EQ(visible, c.Visible) << c.A.X << "," << c.A.Y << " - " << c.B.X << "," << c.B.Y;
    }
    // Reaching the right edge draws nothing and changes nothing.
    out.clear();
    EXPECT_FALSE(h.Segment({15, 10}, {20, 10}, out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(h.At(16), 100);
}

TEST(RunningSpectrumCurve, ATallEarlyCurveHidesTheLowerPartsOfLaterCurves) {
    const WaveRecord record = test::SyntheticRecord(1, 2000, GrowingSine);
    RunningSpectrum running;
    SpectrumMap map;
    running.Start(StartInput(2000), map);
    RunningStepView view;  // 0 … 50 Hz, 1 per division; lines 1.5625 Hz (6.25 pixels) apart
    const RunningStep first = running.AddSpectrum(
        record, FakeResult(64, 0, [](int p) { return p == 10 ? 5.0f : 0.1f; }), view, map);
    const RunningStep later =
        running.AddSpectrum(record, FakeResult(64, 200, [](int) { return 0.5f; }), view, map);
    ASSERT_TRUE(first.Curve && later.Curve);
    // The peak of the first curve stands at x 92 (line 10), 65 pixels high.
    const int peak = running.Projection().Project(10 * 1.5625f, 5.0f, 0.0f).X;
    EXPECT_EQ(peak, 92);
    EXPECT_GE(later.Curve->Segments.size(), 2u);
    for (const PlotSegment& s : later.Curve->Segments)
        EXPECT_FALSE(s.From.X <= peak && s.To.X >= peak) << s.From.X << " - " << s.To.X;
    // Left and right of the peak the later curve is visible.
    EXPECT_LT(later.Curve->Segments.front().From.X, peak - 10);
    EXPECT_GT(later.Curve->Segments.back().To.X, peak + 10);
}

TEST(RunningSpectrumCurve, MemHiddenLinesFollowTheMemGrid) {
    const WaveRecord record = test::SyntheticRecord(1, 2000, GrowingSine);
    RunningSpectrum running;
    SpectrumMap map;
    running.Start(StartInput(2000), map);
    RunningStepView view;
    SpectrumResult r = FakeResult(64, 0, [](int) { return 1.0f; });
    r.Settings.Mem = true;
    for (int p = 0; p <= 64; ++p) r.MemFrequency[static_cast<size_t>(p)] = 0.5f * p;  // not 1.5625
    const RunningCurve curve = *running.AddSpectrum(record, r, view, map).Curve;
    ASSERT_EQ(curve.Segments.size(), 32u);  // the rise from the base, then one per line
    for (int p = 0; p + 1 < 32; ++p) {
        const int x = running.Projection().Project(0.5f * (p + 1), 1.0f, 0.0f).X;
        EXPECT_EQ(curve.Segments[static_cast<size_t>(p + 1)].To.X, x) << p;
    }
}

}  // namespace
}  // namespace wavora
