#include "analysis/spectral_peaks.h"

#include <gtest/gtest.h>

#include <map>

#include "record/text_format.h"

using namespace wavora;

namespace {

// A spectrum array of Points + 1 values (its own lines are the first Points / 2) with the given
// values at some lines and 0 elsewhere.
SpectrumResult Spectrum(int points, float frequencyStep, const std::map<int, float>& values) {
    SpectrumResult r;
    r.Points = points;
    r.FrequencyStep = frequencyStep;
    r.AnalysisInterval = 1.0f / (static_cast<float>(points) * frequencyStep);
    r.RealPart.assign(static_cast<size_t>(points) + 1, 0.0f);
    for (const auto& [line, value] : values) r.RealPart[static_cast<size_t>(line)] = value;
    return r;
}

PeakAxes Axis(int grids, float start, float step) {
    PeakAxes a;
    a.NGridX = grids;
    a.SValueX = start;
    a.VValueX = step;
    return a;
}

std::vector<int> Lines(const std::vector<SpectralPeak>& peaks) {
    std::vector<int> lines;
    for (const auto& p : peaks) lines.push_back(p.Line);
    return lines;
}

constexpr float kStep = 0.125f;  // 128 samples per second at 1024 points: exact in binary

}  // namespace

TEST(PeakScanRange, LinesOfTheAxisShownAndOfTheSpectrumItself) {
    struct Case {
        const char* what;
        PeakAxes axes;
        float step;
        int points;
        int first, last;
    } cases[] = {
        // Nyquist 50 Hz, axis 0 … 50: L = 512, lines 1 … 510.
        {"axis ends at Nyquist", Axis(5, 0, 10), 100.0f / 1024, 1024, 1, 510},
        // Nyquist 64 Hz, automatic axis 0 … 100: the scan stops at the spectrum's own lines.
        {"axis beyond Nyquist", Axis(2, 0, 50), kStep, 1024, 1, 510},
        {"axis inside the spectrum", Axis(4, 0, 5), kStep, 1024, 1, 158},
        // Axis 10 … 50: from the line at 10 Hz on.
        {"axis from 10", Axis(4, 10, 10), kStep, 1024, 80, 398},
        {"start between lines", Axis(4, 10.05f, 10), kStep, 1024, 81, 398},
        {"no frequency step", Axis(5, 0, 10), 0.0f, 1024, 1, 0},
    };
    for (const Case& c : cases) {
        const PeakScanLines r = PeakScanRange(c.axes, c.step, c.points);
        EXPECT_EQ(r.First, c.first) << c.what;
        EXPECT_EQ(r.Last, c.last) << c.what;
    }
    PeakAxes log = Axis(2, 1, 10);
    log.LogX = true;  // 1 … 100
    EXPECT_FLOAT_EQ(log.End(), 100.0f);
    EXPECT_EQ(PeakScanRange(log, kStep, 2048).First, 8);
    EXPECT_EQ(PeakScanRange(log, kStep, 2048).Last, 798);
}

TEST(DetectPeaks, OnePeakIsReturnedWithItsFrequency) {
    const SpectrumResult r = Spectrum(1024, kStep, {{29, 1.0f}, {30, 3.0f}, {31, 1.0f}});
    const auto peaks = DetectPeaks(r.RealPart, 1024, kStep, Axis(5, 0, 10), 5);
    ASSERT_EQ(peaks.size(), 1u);
    EXPECT_EQ(peaks[0], (SpectralPeak{30, 3.75f, 3.0f}));
}

TEST(DetectPeaks, EqualPeaksListTheLowerFrequencyFirst) {
    const SpectrumResult r = Spectrum(1024, kStep, {{40, 2.0f}, {20, 2.0f}, {60, 1.0f}, {10, 2.5f}});
    EXPECT_EQ(Lines(DetectPeaks(r.RealPart, 1024, kStep, Axis(5, 0, 10), 10)),
              (std::vector<int>{10, 20, 40, 60}));
}

TEST(DetectPeaks, OnlyTheFirstHundredMaximaAreCandidates) {
    // 150 maxima at the odd lines, each higher than the one before: the highest candidates are
    // the 100th maximum (line 199) and those just below it, not the higher ones further up.
    std::map<int, float> values;
    for (int k = 0; k < 150; ++k) values[2 * k + 1] = static_cast<float>(k + 1);
    const SpectrumResult r = Spectrum(1024, kStep, values);
    EXPECT_EQ(Lines(DetectPeaks(r.RealPart, 1024, kStep, Axis(5, 0, 10), 3)),
              (std::vector<int>{199, 197, 195}));
}

TEST(DetectPeaks, TopsLimitsThePeaksLargestFirst) {
    std::map<int, float> values;
    for (int k = 0; k < 12; ++k) values[10 + 10 * k] = static_cast<float>(1 + (k * 5) % 12);  // all distinct
    const SpectrumResult r = Spectrum(1024, kStep, values);
    for (int tops : {1, 3, 5, 10}) {
        const auto peaks = DetectPeaks(r.RealPart, 1024, kStep, Axis(5, 0, 10), tops);
        ASSERT_EQ(static_cast<int>(peaks.size()), tops);
        EXPECT_EQ(peaks[0].Value, 12.0f);
        for (size_t j = 1; j < peaks.size(); ++j) EXPECT_GT(peaks[j - 1].Value, peaks[j].Value);
    }
}

TEST(DetectPeaks, NoInteriorMaximumGivesNone) {
    struct Case {
        const char* what;
        std::map<int, float> values;
        bool humpsAboveNyquist = false;
    } cases[] = {
        {"flat", {}},
        {"plateau", {{20, 1.0f}, {21, 1.0f}}},
        {"maximum at line 0", {{0, 5.0f}, {1, 4.0f}}},
        // Rising to the last line of the spectrum: it has no upper neighbour of its own.
        {"maximum at the last line", {{509, 1.0f}, {510, 2.0f}, {511, 3.0f}}},
        // Lines from Points / 2 on hold no spectrum: their humps are never peaks, even where the
        // automatic axis (0 … 100 Hz here) reaches past the Nyquist frequency (64 Hz).
        {"humps above Nyquist", {}, true},
    };
    for (const Case& c : cases) {
        SpectrumResult r = Spectrum(1024, kStep, c.values);
        if (c.humpsAboveNyquist)
            for (int i = 513; i <= 1024; i += 7) r.RealPart[static_cast<size_t>(i)] = 100.0f;
        EXPECT_TRUE(DetectPeaks(r.RealPart, 1024, kStep, Axis(2, 0, 50), 10).empty()) << c.what;
    }
}

TEST(DetectPeaks, OnlyTheLinesOfTheAxisShownAreScanned) {
    // Axis 10 … 50 Hz: a peak at 5 Hz lies left of it, one at 55 Hz right of it.
    const SpectrumResult r = Spectrum(1024, kStep, {{40, 9.0f}, {100, 2.0f}, {440, 9.0f}});
    EXPECT_EQ(Lines(DetectPeaks(r.RealPart, 1024, kStep, Axis(4, 10, 10), 10)), (std::vector<int>{100}));
    EXPECT_EQ(Lines(DetectPeaks(r.RealPart, 1024, kStep, Axis(5, 0, 20), 10)),
              (std::vector<int>{40, 440, 100}));
}

TEST(AutomaticPeakAxes, FollowsTheAutomaticSpectrumAxis) {
    SpectrumResult r = Spectrum(1024, 100.0f / 1024, {});
    r.AnalysisInterval = 0.01f;  // Nyquist 50: 5 × 10
    PeakAxes a = AutomaticPeakAxes(r);
    EXPECT_EQ(a.NGridX, 5);
    EXPECT_FLOAT_EQ(a.VValueX, 10.0f);
    EXPECT_TRUE(a.BothLinear());
    r.AnalysisInterval = 1.0f / 128;  // Nyquist 64: 2 × 50
    a = AutomaticPeakAxes(r);
    EXPECT_EQ(a.NGridX, 2);
    EXPECT_FLOAT_EQ(a.VValueX, 50.0f);
    r.Settings.Mem = true;  // MEM: up to the grid frequency of line Points/2 − 1
    r.MemFrequency.assign(1025, 0.0f);
    r.MemFrequency[511] = 20.0f;
    a = AutomaticPeakAxes(r);
    EXPECT_EQ(a.NGridX, 2);
    EXPECT_FLOAT_EQ(a.VValueX, 10.0f);
}

TEST(PeakTexts, ValuesBelowAThousandthInExponentForm) {
    const std::pair<float, const char*> cases[] = {{1234.5678f, "    1234.568"},
                                                   {0.001f, "       0.001"},
                                                   {0.0009f, "   9.000e-04"},
                                                   {0.0f, "   0.000e+00"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(PeakValueText(value), text) << value;
    EXPECT_EQ(PeakDivisionLabel(20, 5), "20 Divisons    5 Top Peaks");
    const std::pair<float, int> subs[] = {{10, 5},   {2, 4},     {20, 4},  {25, 5},
                                          {0.2f, 4}, {0.25f, 5}, {200, 4}, {50, 5}};
    for (const auto& [step, n] : subs) EXPECT_EQ(HistogramSubDivisions(step), n) << step;
}

TEST(SpectralPeaks, StartsClearWithTheTableAndLabel8) {
    SpectralPeaks peaks;
    EXPECT_EQ(peaks.DivisionText, "20 Divisons    5 Top Peaks");
    EXPECT_EQ(peaks.Table.RowCount(), 11);
    EXPECT_EQ(peaks.Table.Rows()[0], (PeakTable::Row{" Order", " Fq[Hz]", " FFT Amp"}));
    EXPECT_EQ(peaks.Table.Rows()[10], (PeakTable::Row{"    10", "", ""}));
    EXPECT_EQ(peaks.Histogram.TitleX, "Peak Frequency [Hz]");
    peaks.Clear(PeakSpectrumKind::MemPower, "kHz");
    EXPECT_EQ(peaks.Table.Rows()[0], (PeakTable::Row{" Order", " Fq[kHz]", " MEM Power"}));
    EXPECT_EQ(peaks.Histogram.TitleX, "Peak Frequency [kHz]");
}

TEST(SpectralPeaks, GatherListsCountsAndAverages) {
    SpectralPeaks peaks;
    const PeakAxes axes = Axis(5, 0, 10);  // classes of 2.5 Hz
    // 5 Hz (line 40) the largest, then 3.75 Hz and a small one at 0.0005.
    SpectrumResult r = Spectrum(1024, kStep, {{40, 2.0f}, {30, 1.5f}, {200, 0.0005f}});
    r.Settings.Type = SpectrumType::Power;
    ASSERT_TRUE(peaks.Gather(r, 1, axes, "wave.csv"));
    EXPECT_EQ(peaks.FileNameText, "wave.csv");
    EXPECT_EQ(peaks.ChannelText, "2 CH");
    EXPECT_EQ(peaks.Table.Rows()[0][2], "  FFT Power");
    EXPECT_EQ(peaks.Table.Rows()[1], (PeakTable::Row{"    1", "   5.000", "       2.000"}));
    EXPECT_EQ(peaks.Table.Rows()[2], (PeakTable::Row{"    2", "   3.750", "       1.500"}));
    EXPECT_EQ(peaks.Table.Rows()[3], (PeakTable::Row{"    3", "  25.000", "   5.000e-04"}));
    EXPECT_EQ(peaks.Table.Rows()[4], (PeakTable::Row{"    4", "", ""}));
    EXPECT_EQ(peaks.CountText, "1");
    EXPECT_EQ(peaks.MeanFrequencyText, "   5.000");
    EXPECT_EQ(peaks.MeanValueText, "       2.000");
    EXPECT_EQ(peaks.ClassCount[1], 1.0f);   // 3.75
    EXPECT_EQ(peaks.ClassCount[2], 1.0f);   // 5.0
    EXPECT_EQ(peaks.ClassCount[10], 1.0f);  // 25.0
    EXPECT_EQ(peaks.Histogram.X.size(), 20u);
    EXPECT_FLOAT_EQ(peaks.Histogram.X[3], 7.5f);  // an empty class at its lower edge
    EXPECT_FLOAT_EQ(peaks.Histogram.X[2], 5.0f);  // the mean of its peaks

    // A second spectrum whose largest peak is at 10 Hz: the averages follow.
    const SpectrumResult second = Spectrum(1024, kStep, {{80, 4.0f}, {41, 1.0f}});
    peaks.Gather(second, 0, axes, "wave.csv");
    EXPECT_EQ(peaks.CountText, "2");
    EXPECT_EQ(peaks.MeanFrequencyText, "   7.500");
    EXPECT_EQ(peaks.MeanValueText, "       3.000");
    EXPECT_EQ(peaks.ClassCount[2], 2.0f);
    EXPECT_FLOAT_EQ(peaks.ClassFrequency[2], (5.0f + 5.125f) / 2);
}

// A run that draws every channel at its end gathers each channel's own kept spectrum; the result
// then holds only the last channel's.
TEST(SpectralPeaks, GatherTakesTheSpectrumGivenNotTheResultsLastOne) {
    SpectralPeaks peaks;
    const SpectrumResult last = Spectrum(1024, kStep, {{80, 4.0f}});
    std::vector<float> first(512, 0.0f);
    first[40] = 2.0f;
    first[30] = 1.0f;
    ASSERT_TRUE(peaks.Gather(first, last, 0, Axis(5, 0, 10), "a"));
    EXPECT_EQ(Lines(peaks.LastPeaks), (std::vector<int>{40, 30}));
    EXPECT_EQ(peaks.ChannelText, "1 CH");
    ASSERT_TRUE(peaks.Gather(last, 1, Axis(5, 0, 10), "a"));
    EXPECT_EQ(Lines(peaks.LastPeaks), (std::vector<int>{80}));
    EXPECT_EQ(peaks.MeanFrequencyText, "   7.500");  // 5 and 10 Hz

    // A short array is scanned only as far as it reaches.
    std::vector<float> shortSpectrum = {0.0f, 1.0f, 0.0f, 3.0f};
    ASSERT_TRUE(peaks.Gather(shortSpectrum, last, 0, Axis(5, 0, 10), "a"));
    EXPECT_EQ(Lines(peaks.LastPeaks), (std::vector<int>{1}));
}

TEST(SpectralPeaks, SpectrumWithoutPeaksIsCountedButAddsNothing) {
    SpectralPeaks peaks;
    peaks.Gather(Spectrum(1024, kStep, {{40, 2.0f}}), 0, Axis(5, 0, 10), "a");
    peaks.Gather(Spectrum(1024, kStep, {}), 0, Axis(5, 0, 10), "a");
    EXPECT_EQ(peaks.PeakRunCount, 2);
    EXPECT_EQ(peaks.TopPeakFrequencySum, 5.0f);
    EXPECT_EQ(peaks.MeanFrequencyText, "   2.500");
    EXPECT_EQ(peaks.Table.Rows()[1], (PeakTable::Row{"    1", "", ""}));
}

TEST(SpectralPeaks, LogarithmicAxesGatherNothing) {
    SpectralPeaks peaks;
    for (bool logX : {true, false}) {
        PeakAxes axes = Axis(3, 1, 10);
        axes.LogX = logX;
        axes.LogY = !logX;
        EXPECT_FALSE(peaks.Gather(Spectrum(1024, kStep, {{40, 2.0f}}), 0, axes, "a"));
    }
    EXPECT_EQ(peaks.PeakRunCount, 0);
    EXPECT_EQ(peaks.CountText, "");
}

TEST(SpectralPeaks, ClassesStartAtTheAxisStart) {
    SpectralPeaks peaks;  // 20 classes of 2 Hz from 10 Hz
    peaks.Gather(Spectrum(1024, kStep, {{100, 1.0f}}), 0, Axis(4, 10, 10), "a");
    EXPECT_EQ(peaks.ClassCount[1], 1.0f);  // 12.5 Hz: 12 … 14
    EXPECT_FLOAT_EQ(peaks.ClassFrequency[0], 10.0f);
    EXPECT_FLOAT_EQ(peaks.Histogram.SValueX, 10.0f);
}

TEST(SpectralPeaks, DivisionChangesClearAndTopsChangesDoNot) {
    SpectralPeaks peaks;
    const SpectrumResult r = Spectrum(1024, kStep, {{40, 2.0f}, {80, 1.0f}, {120, 0.5f}});
    peaks.Gather(r, 0, Axis(5, 0, 10), "a");

    peaks.SetPeakTops(3);
    EXPECT_EQ(peaks.PeakTops(), 3);
    EXPECT_EQ(peaks.PeakRunCount, 1);
    EXPECT_EQ(peaks.ClassCount[2], 1.0f);
    EXPECT_EQ(peaks.Table.Rows()[1][1], "   5.000");
    EXPECT_EQ(peaks.DivisionText, "20 Divisons    3 Top Peaks");
    peaks.SetPeakTops(4);  // not a menu item
    EXPECT_EQ(peaks.PeakTops(), 3);

    peaks.SetPeakDivision(50, PeakSpectrumKind::FftAmp, "Hz");
    EXPECT_EQ(peaks.PeakDivision(), 50);
    EXPECT_EQ(peaks.PeakRunCount, 0);
    EXPECT_EQ(peaks.CountText, "");
    EXPECT_EQ(peaks.TopPeakFrequencySum, 0.0f);
    EXPECT_EQ(peaks.ClassCount[2], 0.0f);
    EXPECT_EQ(peaks.Table.Rows()[1][1], "");
    EXPECT_EQ(peaks.DivisionText, "50 Divisons    3 Top Peaks");
    EXPECT_TRUE(peaks.Histogram.X.empty());
}

TEST(SpectralPeaks, ClearEmptiesTheClassesOfTheValueListing) {
    SpectralPeaks peaks;
    peaks.Gather(Spectrum(1024, kStep, {{40, 2.0f}}), 0, Axis(5, 0, 10), "a");
    peaks.ListValues();
    EXPECT_EQ(peaks.Table.RowCount(), 21);
    EXPECT_TRUE(peaks.Table.VerticalScrollBar);
    EXPECT_EQ(peaks.Table.Rows()[0], (PeakTable::Row{" Class", " Fq[Hz]", "Frequency"}));
    EXPECT_EQ(peaks.Table.Rows()[3], (PeakTable::Row{"    2", "   5.000", "       1"}));

    peaks.Clear(PeakSpectrumKind::FftAmp, "Hz");
    EXPECT_EQ(peaks.Table.RowCount(), 11);  // no old classes left below the peak rows
    peaks.ListValues();
    for (int row = 1; row <= 20; ++row) {
        EXPECT_EQ(peaks.Table.Cell(row, 2), "       0") << row;
        EXPECT_EQ(peaks.Table.Cell(row, 1), StrPrintf("%8.3f", 2.5 * (row - 1))) << row;
    }
}

TEST(SpectralPeaks, OrderSortsByCountWithItsExchangeOnTies) {
    SpectralPeaks peaks;
    peaks.SetPeakDivision(10, PeakSpectrumKind::FftAmp, "Hz");
    struct Case {
        std::vector<float> counts;
        std::vector<int> first;
    } cases[] = {
        {{1, 2, 2}, {1, 2, 0}},
        {{1, 1, 2}, {2, 1, 0}},  // the exchange puts class 1 before class 0
        {{0, 3, 0, 3}, {1, 3, 2, 0}},
    };
    for (const Case& c : cases) {
        peaks.ClassCount.fill(0.0f);
        for (size_t i = 0; i < c.counts.size(); ++i) peaks.ClassCount[i] = c.counts[i];
        const std::vector<int> order = peaks.OrderByCount();
        EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + static_cast<long>(c.first.size())),
                  c.first);
    }

    peaks.SetPeakDivision(20, PeakSpectrumKind::FftAmp, "Hz");
    peaks.ClassCount[3] = 2.0f;
    peaks.ClassFrequencySum[3] = 17.0f;
    peaks.ListOrder();  // the table keeps its 11 rows: the first ten places
    EXPECT_EQ(peaks.Table.RowCount(), 11);
    EXPECT_EQ(peaks.Table.Rows()[0], (PeakTable::Row{" Order", " Fq[Hz]", "  Frequency"}));
    EXPECT_EQ(peaks.Table.Rows()[1], (PeakTable::Row{"    1", "   8.500", "       2"}));
    EXPECT_EQ(peaks.Table.Rows()[2], (PeakTable::Row{"    2", "", ""}));
    EXPECT_EQ(peaks.Table.Rows()[10], (PeakTable::Row{"   10", "", ""}));
}

TEST(SpectralPeaks, ScaleUnitKeepsTheHistogram) {
    SpectralPeaks peaks;
    peaks.Gather(Spectrum(1024, kStep, {{40, 2.0f}}), 0, Axis(5, 0, 10), "a");
    peaks.SetScaleUnit(25);
    EXPECT_EQ(peaks.ScaleUnit(), 25);
    EXPECT_EQ(peaks.Histogram.Y.size(), 20u);
    peaks.SetScaleUnit(7);
    EXPECT_EQ(peaks.ScaleUnit(), 25);
}
