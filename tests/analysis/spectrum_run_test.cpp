#include "analysis/spectrum_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "analysis/fft.h"
#include "analysis/mem.h"
#include "support/record_builder.h"

namespace wavora {
namespace {

// A record sampled at 100 Hz whose channel c holds f(c, i) as raw samples with scale 1.
WaveRecord MakeRecord(int channels, int samples, const std::function<int16_t(int, int)>& f) {
    return test::SyntheticRecord(channels, samples, f);
}

int16_t SineOnBin(int i, int bin, int points, double amplitude = 1000.0) {
    return static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * M_PI * bin * i / points)));
}

AnalysisSettings Channels(std::initializer_list<int> oneBased, int points = 512) {
    AnalysisSettings s;
    s.ChannelFlags.fill(false);
    for (int c : oneBased) s.ChannelFlags[c - 1] = true;
    s.PointsChoice = points;
    return s;
}

struct RunAll {
    RunStart Start;
    std::vector<ChannelOutcome> Outcomes;
};

// The whole run as the window steps it; the padding question gets `padAnswer`.
RunAll RunChannels(const WaveRecord& record, const AnalysisSettings& settings, SpectrumResult& result,
                   int position, bool padAnswer = true) {
    RunAll all;
    SpectrumRun run(record, settings, result);
    all.Start = run.Begin(position);
    if (all.Start.Status == RunStartStatus::AskPadding && !run.AnswerPadding(padAnswer)) return all;
    if (!run.IsReady()) return all;
    for (int k : run.Channels()) {
        all.Outcomes.push_back(run.AnalyseChannel(k));
        if (all.Outcomes.back().Status == ChannelStatus::Failed) break;
    }
    return all;
}

TEST(SpectrumRunChecks, EveryStopWithItsMessage) {
    const WaveRecord record = MakeRecord(3, 2048, [](int, int i) { return static_cast<int16_t>(i % 7); });
    SpectrumResult result;

    AnalysisSettings none = Channels({});
    none.ChannelFlags[5] = true;  // beyond the record's channels: not counted
    RunAll r = RunChannels(record, none, result, 0);
    EXPECT_EQ(r.Start.Status, RunStartStatus::Stopped);
    EXPECT_EQ(r.Start.Error, Failure::Captioned("No Channel Selected!!", "Channel Error"));

    for (auto flags : {std::initializer_list<int>{1}, std::initializer_list<int>{1, 2, 3}}) {
        AnalysisSettings ratio = Channels(flags);
        ratio.RatioMode = 2;
        r = RunChannels(record, ratio, result, 0);
        EXPECT_EQ(r.Start.Error,
                  Failure::Captioned("Two Channels not Selected for Spectral Ratio !!  ", "Channel Error"));
        EXPECT_TRUE(r.Outcomes.empty());
    }

    for (int position : {2048, 5000}) {
        r = RunChannels(record, Channels({1}), result, position);
        EXPECT_EQ(r.Start.Error,
                  Failure::Captioned("Data exhasuted. Return to initial point.", "Data Exhasuted"));
        EXPECT_TRUE(r.Start.ReturnToStart);
        EXPECT_TRUE(r.Outcomes.empty());
    }
}

TEST(SpectrumRunChecks, ShortSegmentAsksAndCancelStops) {
    const WaveRecord record = MakeRecord(1, 600, [](int, int i) { return static_cast<int16_t>(i); });
    SpectrumResult result;
    SpectrumRun run(record, Channels({1}), result);
    RunStart start = run.Begin(100);
    ASSERT_EQ(start.Status, RunStartStatus::AskPadding);
    EXPECT_EQ(start.Question.Text, "Data size is not sufficient. Add Trailing 0?");
    EXPECT_EQ(start.Question.Caption, "Data Size Error");
    EXPECT_EQ(start.Question.Icon, MessageIcon::Question);
    EXPECT_FALSE(start.Error);
    EXPECT_FALSE(run.AnswerPadding(false));
    EXPECT_FALSE(run.IsReady());
    EXPECT_TRUE(run.Channels().empty());
    EXPECT_FALSE(run.WantsResultFile());
    EXPECT_EQ(run.AnalyseChannel(0).Status, ChannelStatus::Failed);

    // Exactly enough data: no question.
    EXPECT_EQ(run.Begin(88).Status, RunStartStatus::Ready);
}

TEST(SpectrumRunChecks, RunningSpectrumPadsWithoutAskingAndAutomaticSkippingEnds) {
    const WaveRecord record = MakeRecord(1, 600, [](int, int i) { return static_cast<int16_t>(i); });
    SpectrumResult result;
    AnalysisSettings running = Channels({1});
    running.RunningActive = true;
    EXPECT_EQ(RunChannels(record, running, result, 300).Start.Status, RunStartStatus::Ready);

    AnalysisSettings autoSkip = Channels({1});
    autoSkip.AutoSkipActive = true;
    RunAll r = RunChannels(record, autoSkip, result, 300);
    EXPECT_EQ(r.Start.Status, RunStartStatus::Stopped);
    EXPECT_TRUE(r.Start.AutoSkipFinished);
    EXPECT_TRUE(r.Start.ReturnToStart);
    EXPECT_FALSE(r.Start.Error);
    EXPECT_TRUE(r.Outcomes.empty());
}

TEST(SpectrumRunChecks, TableFailureStopsTheRunAfterTheChannelsDone) {
    const WaveRecord record = MakeRecord(2, 4096, [](int c, int i) { return SineOnBin(i, 3 + c, 256); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1, 2}, 8192);
    s.MemMin = true;  // 256 points
    s.FileSave = true;
    SpectrumRun run(record, s, result);
    ASSERT_EQ(run.Begin(0).Status, RunStartStatus::Ready);
    FftTables::Instance().Release();
    FftTables::Instance().FailNextAllocationsForTesting(1);
    ChannelOutcome out = run.AnalyseChannel(0);
    EXPECT_EQ(out.Status, ChannelStatus::Failed);
    EXPECT_EQ(out.Error, Failure::Captioned("Insufficient Memory for FFT", "FFT Table Error"));
    EXPECT_FALSE(run.WantsResultFile());
    EXPECT_EQ(run.AnalyseChannel(1).Status, ChannelStatus::Failed);
    // The next run builds the tables again.
    ASSERT_EQ(run.Begin(0).Status, RunStartStatus::Ready);
    EXPECT_EQ(run.AnalyseChannel(0).Status, ChannelStatus::Shown);
    EXPECT_TRUE(run.WantsResultFile());
}

TEST(SpectrumRunSegment, LastSampleAloneIsPaddedWithZeros) {
    const WaveRecord record =
        MakeRecord(1, 1000, [](int, int i) { return static_cast<int16_t>(i == 999 ? 64 : 0); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1});
    s.ZeroAverageEnabled = false;
    s.AbsCoeffMode = true;
    RunAll r = RunChannels(record, s, result, 999);
    ASSERT_EQ(r.Start.Status, RunStartStatus::AskPadding);
    ASSERT_EQ(r.Outcomes.size(), 1u);
    // An impulse of 64 at index 0: every coefficient is 64/512, twice that as Abs F Coeff.
    for (int i = 0; i < 256; ++i) ASSERT_FLOAT_EQ(result.RealPart[i], 0.25f) << i;
    EXPECT_EQ(r.Outcomes[0].Statistics.Largest, 64.0f);
    EXPECT_EQ(r.Outcomes[0].Statistics.LargestIndex, 0);
    EXPECT_DOUBLE_EQ(r.Outcomes[0].Statistics.Mean, 64.0 / 512);
}

TEST(SpectrumRunSegment, StepTakesEveryStepthSampleAndStatisticsIncludeTheFill) {
    const WaveRecord record = MakeRecord(1, 3000, [](int, int i) { return static_cast<int16_t>(i); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1}, 512);
    s.MemMin = true;  // 16 points
    s.Step = 2;
    s.ZeroAverageEnabled = false;
    RunAll r = RunChannels(record, s, result, 10);
    ASSERT_EQ(r.Outcomes.size(), 1u);
    const SegmentStatistics& st = r.Outcomes[0].Statistics;
    EXPECT_DOUBLE_EQ(st.Mean, 25.0);  // 10, 12, …, 40
    EXPECT_EQ(st.Largest, 40.0f);
    EXPECT_EQ(st.LargestIndex, 15);
    EXPECT_EQ(st.Smallest, 10.0f);
    EXPECT_EQ(st.SmallestIndex, 0);
    EXPECT_FLOAT_EQ(result.AnalysisInterval, 0.02f);
    EXPECT_FLOAT_EQ(result.Duration, 0.32f);
    EXPECT_FLOAT_EQ(result.FrequencyStep, 1.0f / 0.32f);
    EXPECT_EQ(r.Start.IntervalText, "0.0200 (s)");
    EXPECT_EQ(r.Start.DurationText, "0.3200 (s)");

    // Ten samples left with step 2: five taken, then zeros; the zero average covers the five only.
    s.ZeroAverageEnabled = true;
    r = RunChannels(record, s, result, 2990);
    ASSERT_EQ(r.Outcomes.size(), 1u);
    const SegmentStatistics& short_ = r.Outcomes[0].Statistics;
    EXPECT_DOUBLE_EQ(short_.Mean, 0.0);  // −4, −2, 0, 2, 4 and zeros
    EXPECT_EQ(short_.Largest, 4.0f);
    EXPECT_EQ(short_.LargestIndex, 4);
    EXPECT_EQ(short_.Smallest, -4.0f);
    EXPECT_DOUBLE_EQ(short_.MeanSquare, 40.0 / 16);
}

TEST(SpectrumRunSegment, ZeroAverageOnAndOffOnAConstantChannel) {
    const WaveRecord record = MakeRecord(1, 600, [](int, int) { return static_cast<int16_t>(-8); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1});
    RunAll r = RunChannels(record, s, result, 0);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(result.RealPart[i], 0.0f) << i;
    s.ZeroAverageEnabled = false;
    r = RunChannels(record, s, result, 0);
    EXPECT_FLOAT_EQ(result.RealPart[0], 8.0f * 0.5f * 5.12f);
    for (int i = 1; i < 256; ++i) ASSERT_EQ(result.RealPart[i], 0.0f) << i;
    EXPECT_DOUBLE_EQ(r.Outcomes[0].Statistics.Mean, -8.0);
}

std::string Fmt(const char* format, float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, static_cast<double>(value));
    return buffer;
}

TEST(SpectrumRunListing, FourierSpectrumAbsCoeffAndPowerColumns) {
    WaveRecord record = MakeRecord(2, 600, [](int, int i) { return SineOnBin(i, 10, 512); });
    record.Channels[1].ScaleFactor = 0.001f;
    SpectrumResult result;
    AnalysisSettings s = Channels({1});
    s.AbsCoeffMode = true;
    s.FileSave = true;
    RunAll r = RunChannels(record, s, result, 0);
    const GridListing& abs = r.Outcomes[0].Listing;
    EXPECT_EQ(abs.Title, "Fourier Amplitude Spectrum for 1 ch");
    EXPECT_EQ(abs.Headings,
              (std::array<std::string, 5>{"No", "Freq(Hz)", "FFT real", "FFT imag", "Abs F Coeff"}));
    EXPECT_EQ(abs.Columns, 5);
    EXPECT_EQ(abs.Rows, 256);
    EXPECT_EQ(abs.Cell(10, 0), "    10");
    EXPECT_EQ(abs.Cell(10, 1), "     1.95");  // 10 / 5.12 s
    EXPECT_EQ(abs.Cell(10, 2), Fmt("%9.4f", result.ResultStore[30]));
    EXPECT_EQ(abs.Cell(10, 3), Fmt("%9.4f", result.ResultStore[31]));
    EXPECT_NEAR(result.ResultStore[31], -500.0f, 0.05f);
    EXPECT_EQ(abs.Cell(10, 4), Fmt("%9.4f", result.RealPart[10]));
    EXPECT_NEAR(result.RealPart[10], 1000.0f, 0.1f);
    EXPECT_EQ(abs.Cell(256, 0), "");
    EXPECT_EQ(abs.Cell(0, 5), "");

    s.AbsCoeffMode = false;
    r = RunChannels(record, s, result, 0);
    EXPECT_EQ(r.Outcomes[0].Listing.Headings[4], "Fourier Spectrum");
    EXPECT_EQ(r.Outcomes[0].Listing.Cell(10, 4), Fmt("%9.4f", result.RealPart[10]));
    EXPECT_NEAR(result.RealPart[10], 1280.0f, 0.2f);  // 0.25 · T per unit amplitude

    s = Channels({2});
    s.Type = SpectrumType::Power;
    r = RunChannels(record, s, result, 0);
    const GridListing& pwr = r.Outcomes[0].Listing;
    EXPECT_EQ(pwr.Title, "Fourier Power Spectrum for 2 ch");
    EXPECT_EQ(pwr.Headings, (std::array<std::string, 5>{"No", "Freq(Hz)", "", "", "Power Spec"}));
    EXPECT_EQ(pwr.Cell(10, 2), "");
    EXPECT_EQ(pwr.Cell(10, 3), "");
    EXPECT_EQ(pwr.Cell(10, 4), " 1.280e+00");
}

TEST(SpectrumRunListing, MemColumnsAndGrid) {
    const WaveRecord record = MakeRecord(1, 600, [](int, int i) { return SineOnBin(i, 40, 512); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1});
    s.Mem = true;
    s.MemFmax = 20.0f;
    s.FileSave = true;
    RunAll r = RunChannels(record, s, result, 0);
    const GridListing& mem = r.Outcomes[0].Listing;
    EXPECT_EQ(mem.Title, "MEM Spectrum for 1 ch");
    EXPECT_EQ(mem.Headings, (std::array<std::string, 5>{"No", "Freq(Hz)", "MEM Spec", "", ""}));
    EXPECT_EQ(mem.Columns, 3);
    EXPECT_EQ(mem.Rows, 256);
    EXPECT_EQ(mem.Cell(3, 1), "    0.234");  // 3 · 2 · 20 / 512
    char expected[32];
    std::snprintf(expected, sizeof expected, "%9.3e", result.RealPart[3]);
    EXPECT_EQ(mem.Cell(3, 2), expected);
    EXPECT_EQ(mem.Cell(3, 3), "");
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(result.ResultStore[i * 3], result.RealPart[i]);
        ASSERT_EQ(result.ResultStore[i * 3 + 1], 0.0f);
        ASSERT_EQ(result.ResultStore[i * 3 + 2], 0.0f);
    }
    // The peak of the 7.8125 Hz sine lies at the grid point nearest it.
    int peak = 0;
    for (int i = 1; i < 256; ++i)
        if (result.RealPart[i] > result.RealPart[peak]) peak = i;
    EXPECT_EQ(peak, std::lround(7.8125 / (40.0 / 512)));
}

TEST(SpectrumRunStore, TriplesPerBinAndStoredChannel) {
    const WaveRecord record = MakeRecord(3, 600, [](int c, int i) { return SineOnBin(i, 5 + 7 * c, 512); });
    SpectrumResult result;
    AnalysisSettings s = Channels({1, 3});
    s.FileSave = true;
    s.SmoothPasses = 1;
    RunAll r = RunChannels(record, s, result, 0);
    ASSERT_EQ(r.Outcomes.size(), 2u);
    EXPECT_EQ(result.StoredChannelCount, 2);
    ASSERT_EQ(result.ResultStore.size(), 512u * 2 * 3);

    // The second triple of every bin holds channel 3's coefficients.
    std::vector<float> re(513, 0.0f), im(513, 0.0f);
    for (int j = 0; j < 512; ++j) re[j] = record.Channels[2].Samples[j];
    RemoveSegmentMean(re.data(), 512);
    FftTransform(re.data(), im.data(), 512);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(result.ResultStore[(i * 2 + 1) * 3 + 0], re[i]) << i;
        ASSERT_EQ(result.ResultStore[(i * 2 + 1) * 3 + 1], im[i]) << i;
    }
    // Smoothed spectrum in +2: channel 3's peak spreads over bins 18, 19, 20.
    EXPECT_GT(result.ResultStore[(19 * 2 + 1) * 3 + 2], 0.0f);
    EXPECT_GT(result.ResultStore[(18 * 2 + 1) * 3 + 2], 0.0f);
    EXPECT_LT(result.ResultStore[(5 * 2 + 1) * 3 + 2], 1.0f);
    EXPECT_GT(result.ResultStore[(5 * 2 + 0) * 3 + 2], 0.0f);

    // Without File Save (or while running) only the spectra are kept.
    s.FileSave = false;
    RunChannels(record, s, result, 0);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(result.ResultStore[(i * 2) * 3], 0.0f);
        ASSERT_EQ(result.ResultStore[(i * 2 + 1) * 3 + 1], 0.0f);
    }
    EXPECT_GT(result.ResultStore[(19 * 2 + 1) * 3 + 2], 0.0f);
}

TEST(SpectrumRunSegment, EveryChannelOfAPaddedRunStartsFromZeros) {
    // A later channel must not see what the transform or MEM of an earlier one left in the arrays.
    const WaveRecord record =
        MakeRecord(2, 700, [](int c, int i) { return SineOnBin(i, 9 + c, 512, 500 + 100 * c); });
    for (bool mem : {false, true}) {
        AnalysisSettings both = Channels({1, 2}), second = Channels({2});
        both.Mem = second.Mem = mem;
        both.MemFmax = second.MemFmax = 50.0f;
        SpectrumResult a, b;
        RunChannels(record, both, a, 400);
        RunChannels(record, second, b, 400);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(a.RealPart[i], b.RealPart[i]) << "mem " << mem << " bin " << i;
    }
}

TEST(SpectrumRunRatio, TitlesHeadingsAndZeroBins) {
    const WaveRecord record = MakeRecord(3, 600, [](int c, int i) {
        if (c == 1) return static_cast<int16_t>(7);  // constant: an all-zero spectrum
        return c == 0 ? SineOnBin(i, 20, 512)
                      : static_cast<int16_t>(SineOnBin(i, 20, 512, 500) + SineOnBin(i, 30, 512));
    });
    SpectrumResult result;
    AnalysisSettings s = Channels({1, 3});
    s.RatioMode = 1;
    s.AbsCoeffMode = true;
    s.FileSave = true;
    RunAll r = RunChannels(record, s, result, 0);
    ASSERT_EQ(r.Outcomes.size(), 2u);
    EXPECT_EQ(r.Outcomes[0].Status, ChannelStatus::RatioHeld);
    EXPECT_EQ(r.Outcomes[1].Status, ChannelStatus::Shown);
    EXPECT_EQ(result.RatioChannelA, 1);
    EXPECT_EQ(result.RatioChannelB, 3);
    EXPECT_FALSE(result.RatioFirstStored);
    EXPECT_EQ(result.StoredChannelCount, 2);
    const GridListing& g = r.Outcomes[1].Listing;
    EXPECT_EQ(g.Title, "Spectral Ratio 1 ch to 3 ch");
    EXPECT_EQ(g.Headings,
              (std::array<std::string, 5>{"No", "Freq(Hz)", "AmpSP[1]", "AmpSP[3]", "Ratio [1]/[3]"}));
    EXPECT_EQ(g.Columns, 5);
    EXPECT_EQ(g.Cell(20, 1), "     3.91");
    EXPECT_EQ(g.Cell(20, 2), Fmt("%9.4f", result.RatioA[20]));
    EXPECT_EQ(g.Cell(20, 3), Fmt("%9.4f", result.RatioB[20]));
    EXPECT_EQ(g.Cell(20, 4), Fmt("%9.4f", result.RealPart[20]));
    EXPECT_NEAR(result.RealPart[20], 2.0f, 1e-3f);
    EXPECT_NEAR(result.RealPart[30], 0.0f, 1e-3f);
    // The second channel's spectrum (not the ratio) is what File Save keeps.
    EXPECT_NEAR(result.ResultStore[(20 * 2 + 1) * 3 + 2], 500.0f, 0.1f);

    s.RatioMode = 2;
    s.Type = SpectrumType::Power;
    r = RunChannels(record, s, result, 0);
    const GridListing& p = r.Outcomes[1].Listing;
    EXPECT_EQ(p.Title, "Spectral Ratio 3 ch to 1 ch");
    EXPECT_EQ(p.Headings,
              (std::array<std::string, 5>{"No", "Freq(Hz)", "PwrSP[1]", "PwrSP[3]", "Ratio [3]/[1]"}));
    EXPECT_EQ(p.Cell(20, 4), " 2.500e-01");

    // A channel whose spectrum is zero everywhere gives ratio 0 in both directions, never a division by 0.
    for (int mode : {1, 2}) {
        AnalysisSettings z = Channels({1, 2});
        z.RatioMode = mode;
        RunChannels(record, z, result, 0);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(result.RealPart[i], 0.0f) << mode << " " << i;
    }

    // While running, the run leaves the ratio as the one curve the running spectrum averages
    // (the two channel spectra are no longer added into the average with it).
    s.RunningActive = true;
    s.RatioMode = 1;
    s.Type = SpectrumType::Amp;
    RunChannels(record, s, result, 0, true);
    EXPECT_NEAR(result.RealPart[20], 2.0f, 0.2f / 1502.0f * 2.0f + 0.001f);
    // Running without File Save of real and imaginary parts.
    EXPECT_EQ(result.ResultStore[(20 * 2) * 3 + 1], 0.0f);
}

TEST(SpectrumRunPosition, SkipAndBack) {
    SpectrumResult result;
    result.Settings = Channels({1}, 1024);
    result.Settings.Step = 2;
    result.Settings.SkipDivisor = 2;
    result.Step = 2;
    result.Points = 1024;
    EXPECT_EQ(PositionAfterSkip(result, 100, 100000), 1124);
    EXPECT_EQ(PositionAfterBack(result.Settings, 1124), 100);
    EXPECT_EQ(PositionAfterBack(result.Settings, 500), 0);
    EXPECT_EQ(PositionAfterSkip(result, 99500, 100000), 100000);
    result.Settings.SkipDivisor = 4;
    EXPECT_EQ(PositionAfterSkip(result, 0, 100000), 512);
    result.SkipAllowed = false;
    EXPECT_EQ(PositionAfterSkip(result, 0, 100000), 0);
    result.SkipAllowed = true;
    result.Settings.RunningActive = true;
    EXPECT_EQ(PositionAfterSkip(result, 0, 100000), 0);
    result.Settings.RunningActive = false;
    result.Settings.Skip = false;
    EXPECT_EQ(PositionAfterSkip(result, 0, 100000), 0);
    result.Settings.Skip = true;
    result.Settings.SkipDivisor = 0;
    EXPECT_EQ(PositionAfterSkip(result, 0, 100000), 0);
    EXPECT_EQ(PositionAfterBack(result.Settings, 5000), 5000);
}

TEST(SpectrumRunSettings, PointsItemsAndAxisField) {
    EXPECT_EQ(PointsForItem(3, false), 4096);
    EXPECT_EQ(PointsForItem(3, true), 128);
    EXPECT_EQ(PointsForItem(0, true), 16);
    EXPECT_FLOAT_EQ(AxisFieldValue("50.00"), 50.0f);
    EXPECT_FLOAT_EQ(AxisFieldValue(" 12.5 "), 12.5f);
    EXPECT_TRUE(std::isnan(AxisFieldValue("")));
    EXPECT_TRUE(std::isnan(AxisFieldValue("abc")));
    EXPECT_TRUE(std::isnan(AxisFieldValue("12x")));

    // The automatic axis for the Nyquist frequency: 50 → 5 × 10, 100 → 2 × 50, 25 → 5 × 5, 166.7 → 2 × 100.
    EXPECT_EQ(AutomaticFrequencyMaximum(0.01f), 50.0f);
    EXPECT_EQ(AutomaticFrequencyMaximum(0.005f), 100.0f);
    EXPECT_EQ(AutomaticFrequencyMaximum(0.02f), 25.0f);
    EXPECT_EQ(AutomaticFrequencyMaximum(0.003f), 200.0f);
    EXPECT_EQ(AutomaticFrequencyMaximum(0.1f), 5.0f);
}

}  // namespace
}  // namespace wavora
