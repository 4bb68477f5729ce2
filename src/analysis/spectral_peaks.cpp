#include "analysis/spectral_peaks.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

// A non-negative float count of lines truncated toward zero, kept inside int.
int TruncatedLines(float lines) {
    if (!(lines > 0.0f)) return 0;  // also not a number
    if (lines >= static_cast<float>(INT_MAX / 2)) return INT_MAX / 2;
    return static_cast<int>(lines);
}

const char* ClearHeading(PeakSpectrumKind kind) {
    switch (kind) {
        case PeakSpectrumKind::FftPower:
            return " FFT Power";
        case PeakSpectrumKind::MemPower:
            return " MEM Power";
        case PeakSpectrumKind::FftAmp:
            break;
    }
    return " FFT Amp";
}

const char* GatherHeading(PeakSpectrumKind kind) {
    switch (kind) {
        case PeakSpectrumKind::FftPower:
            return "  FFT Power";
        case PeakSpectrumKind::MemPower:
            return " MEM Power";
        case PeakSpectrumKind::FftAmp:
            break;
    }
    return "    FFT Amp";
}

bool IsChoice(int value, std::span<const int> choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

}  // namespace

float PeakAxes::End() const {
    if (LogX) return SValueX * static_cast<float>(std::pow(static_cast<double>(VValueX), NGridX));
    return SValueX + static_cast<float>(NGridX) * VValueX;
}

PeakAxes AutomaticPeakAxes(const SpectrumResult& result) {
    float fmax = 0.5f / result.AnalysisInterval;
    const int line = result.Points / 2 - 1;
    if (result.Settings.Mem && line >= 0 && line < static_cast<int>(result.MemFrequency.size()))
        fmax = result.MemFrequency[static_cast<size_t>(line)];
    const AxisScale axis = AxisUnit(false, fmax);
    PeakAxes axes;
    axes.NGridX = axis.NGrid;
    axes.SValueX = axis.Start;
    axes.VValueX = axis.Step;
    return axes;
}

PeakScanLines PeakScanRange(const PeakAxes& axes, float frequencyStep, int points) {
    PeakScanLines range;
    if (!(frequencyStep > 0.0f) || points < 2) {
        range.Last = 0;
        return range;
    }
    // Up to line L − 2 of the axis, and never past the spectrum's own lines: a maximum needs its
    // upper neighbour inside 0 … Points/2 − 1 too.
    const int axisLines = TruncatedLines(axes.End() / frequencyStep);
    range.Last = std::min(axisLines - 2, points / 2 - 2);

    // From the first line at or above the axis start (line 1 when the axis starts at 0).
    const float start = axes.SValueX;
    if (start > 0.0f) {
        int first = std::max(1, TruncatedLines(start / frequencyStep));
        while (first > 1 && static_cast<float>(first - 1) * frequencyStep >= start) --first;
        while (first <= range.Last && static_cast<float>(first) * frequencyStep < start) ++first;
        range.First = first;
    }
    return range;
}

std::vector<SpectralPeak> DetectPeaks(std::span<const float> spectrum, int points, float frequencyStep,
                                      const PeakAxes& axes, int tops) {
    std::vector<SpectralPeak> peaks;
    const PeakScanLines range = PeakScanRange(axes, frequencyStep, points);
    const int last = std::min<int64_t>(range.Last, static_cast<int64_t>(spectrum.size()) - 2);
    for (int p = range.First; p <= last && static_cast<int>(peaks.size()) < kMaxPeakCandidates; ++p) {
        const float v = spectrum[static_cast<size_t>(p)];
        if (v > spectrum[static_cast<size_t>(p) - 1] && v > spectrum[static_cast<size_t>(p) + 1])
            peaks.push_back({p, static_cast<float>(p) * frequencyStep, v});
    }
    if (peaks.size() <= 1) return peaks;
    // Largest first; among equal values the lower frequency stays first.
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const SpectralPeak& a, const SpectralPeak& b) { return a.Value > b.Value; });
    peaks.resize(std::min<size_t>(peaks.size(), static_cast<size_t>(std::clamp(tops, 1, kMaxPeakTops))));
    return peaks;
}

PeakSpectrumKind PeakSpectrumKindOf(const AnalysisSettings& settings) {
    if (settings.Mem) return PeakSpectrumKind::MemPower;
    return settings.Type == SpectrumType::Power ? PeakSpectrumKind::FftPower : PeakSpectrumKind::FftAmp;
}

// ---------------------------------------------------------------------------------------------
// PeakTable

void PeakTable::SetRowCount(int rows) {
    rows_.resize(static_cast<size_t>(std::max(rows, 1)));
    if (SelectedRow >= RowCount()) SelectedRow = RowCount() - 1;
}

const std::string& PeakTable::Cell(int row, int column) const {
    static const std::string empty;
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return empty;
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void PeakTable::SetCell(int row, int column, std::string text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return;
    rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = std::move(text);
}

// ---------------------------------------------------------------------------------------------
// Texts

std::string PeakValueText(float value) {
    return static_cast<double>(value) >= 0.001 ? StrPrintf("%12.3f", static_cast<double>(value))
                                               : StrPrintf("%12.3e", static_cast<double>(value));
}

std::string PeakDivisionLabel(int division, int tops) {
    return std::to_string(division) + " Divisons    " + std::to_string(tops) + " Top Peaks";
}

int HistogramSubDivisions(float step) {
    const std::string text = RoundText(step * 100.0f);
    const bool two = !text.empty() && text[0] == '2' && (text.size() < 2 || text[1] != '5');
    return two ? 4 : 5;
}

// ---------------------------------------------------------------------------------------------
// SpectralPeaks

SpectralPeaks::SpectralPeaks() {
    DivisionText = PeakDivisionLabel(division_, tops_);
    Clear(PeakSpectrumKind::FftAmp, frequencyText_);
}

void SpectralPeaks::SetPeakDivision(int division, PeakSpectrumKind kind, const std::string& frequencyText) {
    if (!IsChoice(division, kPeakDivisionChoices)) return;
    division_ = division;
    Clear(kind, frequencyText);
}

void SpectralPeaks::SetPeakTops(int tops) {
    if (!IsChoice(tops, kPeakTopsChoices)) return;
    tops_ = tops;
    DivisionText = PeakDivisionLabel(division_, tops_);
}

void SpectralPeaks::SetScaleUnit(int countPerDivision) {
    if (!IsChoice(countPerDivision, kPeakScaleUnitChoices)) return;
    Histogram.VValueY = static_cast<float>(countPerDivision);
}

float SpectralPeaks::ClassWidth() const {
    return static_cast<float>(Histogram.NGridX) * Histogram.VValueX / static_cast<float>(division_);
}

void SpectralPeaks::ResetClasses() {
    const float w = ClassWidth();
    for (int i = 0; i < kMaxPeakClasses; ++i) {
        ClassFrequency[static_cast<size_t>(i)] =
            i < division_ ? Histogram.SValueX + static_cast<float>(i) * w : 0.0f;
        ClassCount[static_cast<size_t>(i)] = 0.0f;
        ClassFrequencySum[static_cast<size_t>(i)] = 0.0f;
    }
}

void SpectralPeaks::LabelTableRows(PeakSpectrumKind kind) {
    Table.SetCell(0, 0, " Order");
    Table.SetCell(0, 1, " Fq[" + frequencyText_ + "]");
    Table.SetCell(0, 2, ClearHeading(kind));
    for (int row = 1; row <= kMaxPeakTops; ++row) Table.SetCell(row, 0, "    " + std::to_string(row));
}

void SpectralPeaks::Clear(PeakSpectrumKind kind, const std::string& frequencyText) {
    frequencyText_ = frequencyText;
    FileNameText.clear();
    ChannelText.clear();
    Histogram.TitleX = "Peak Frequency [" + frequencyText_ + "]";

    // The table goes back to its own shape, so no class listing is left below the peak rows.
    Table.SetRowCount(kMaxPeakTops + 1);
    Table.VerticalScrollBar = false;
    LabelTableRows(kind);
    for (int row = 1; row <= kMaxPeakTops; ++row) {
        Table.SetCell(row, 1, "");
        Table.SetCell(row, 2, "");
    }
    DivisionText = PeakDivisionLabel(division_, tops_);
    Table.SelectedRow = 1;

    PeakRunCount = 0;
    TopPeakFrequencySum = 0.0f;
    TopPeakValueSum = 0.0f;
    CountText.clear();
    MeanFrequencyText.clear();
    MeanValueText.clear();
    LastPeaks.clear();
    // Counts and sums go with the rest, so a Value listing after Clear shows empty classes.
    ResetClasses();
    Histogram.X.clear();
    Histogram.Y.clear();
}

bool SpectralPeaks::Gather(const SpectrumResult& result, int channel, const PeakAxes& axes,
                           const std::string& fileName) {
    return Gather(result.RealPart, result, channel, axes, fileName);
}

bool SpectralPeaks::Gather(std::span<const float> spectrum, const SpectrumResult& result, int channel,
                           const PeakAxes& axes, const std::string& fileName) {
    if (!axes.BothLinear()) return false;
    const PeakSpectrumKind kind = PeakSpectrumKindOf(result.Settings);

    // The peak table, labelled as such even after a class or order listing.
    Table.SetRowCount(kMaxPeakTops + 1);
    LabelTableRows(kind);
    Table.SetCell(0, 2, GatherHeading(kind));
    for (int row = 1; row <= kMaxPeakTops; ++row) {
        Table.SetCell(row, 1, "");
        Table.SetCell(row, 2, "");
    }
    FileNameText = fileName;
    ChannelText = std::to_string(channel + 1) + " CH";

    LastPeaks = DetectPeaks(spectrum, result.Points, result.FrequencyStep, axes, tops_);
    for (size_t j = 0; j < LastPeaks.size(); ++j) {
        const int row = static_cast<int>(j) + 1;
        Table.SetCell(row, 1, StrPrintf("%8.3f", static_cast<double>(LastPeaks[j].Frequency)));
        Table.SetCell(row, 2, PeakValueText(LastPeaks[j].Value));
    }
    Table.SelectedRow = 1;
    Table.VerticalScrollBar = false;

    // A spectrum without peaks is counted too; the sums then stay as they are.
    PeakRunCount += 1;
    if (!LastPeaks.empty()) {
        TopPeakFrequencySum += LastPeaks[0].Frequency;
        TopPeakValueSum += LastPeaks[0].Value;
    }
    const float runs = static_cast<float>(PeakRunCount);
    CountText = std::to_string(PeakRunCount);
    MeanFrequencyText = StrPrintf("%8.3f", static_cast<double>(TopPeakFrequencySum / runs));
    MeanValueText = PeakValueText(TopPeakValueSum / runs);

    // The histogram's frequency axis is the spectrum graph's, from the same start.
    Histogram.NGridX = axes.NGridX;
    Histogram.VValueX = axes.VValueX;
    Histogram.SValueX = axes.SValueX;
    Histogram.SubX = HistogramSubDivisions(axes.VValueX);

    if (PeakRunCount == 1) ResetClasses();
    const float w = ClassWidth();
    if (w > 0.0f && std::isfinite(w)) {
        for (const SpectralPeak& peak : LastPeaks) {
            const float x = (peak.Frequency - Histogram.SValueX) / w;
            if (!(x >= 0.0f) || x >= static_cast<float>(division_)) continue;
            const size_t i = static_cast<size_t>(x);
            ClassCount[i] += 1.0f;
            ClassFrequencySum[i] += peak.Frequency;
        }
    }
    for (int i = 0; i < division_; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (ClassCount[at] != 0.0f) ClassFrequency[at] = ClassFrequencySum[at] / ClassCount[at];
    }
    UpdateHistogramPoints();
    return true;
}

void SpectralPeaks::UpdateHistogramPoints() {
    Histogram.X.assign(ClassFrequency.begin(), ClassFrequency.begin() + division_);
    Histogram.Y.assign(ClassCount.begin(), ClassCount.begin() + division_);
}

void SpectralPeaks::ListValues() {
    Table.VerticalScrollBar = true;
    Table.SetRowCount(division_ + 1);
    Table.SetCell(0, 0, " Class");
    Table.SetCell(0, 2, "Frequency");
    for (int r = 1; r <= division_; ++r) {
        const size_t i = static_cast<size_t>(r - 1);
        Table.SetCell(r, 0, StrPrintf("%5d", r - 1));
        Table.SetCell(r, 1, StrPrintf("%8.3f", static_cast<double>(ClassFrequency[i])));
        Table.SetCell(r, 2, StrPrintf("%8.0f", static_cast<double>(ClassCount[i])));
    }
}

std::vector<int> SpectralPeaks::OrderByCount() const {
    std::vector<int> order(static_cast<size_t>(division_));
    for (int i = 0; i < division_; ++i) order[static_cast<size_t>(i)] = i;
    for (int i = 0; i + 1 < division_; ++i) {
        for (int j = i + 1; j < division_; ++j) {
            int& a = order[static_cast<size_t>(i)];
            int& b = order[static_cast<size_t>(j)];
            if (ClassCount[static_cast<size_t>(a)] < ClassCount[static_cast<size_t>(b)]) std::swap(a, b);
        }
    }
    return order;
}

void SpectralPeaks::ListOrder() {
    Table.SetCell(0, 0, " Order");
    Table.SetCell(0, 2, "  Frequency");
    const std::vector<int> order = OrderByCount();
    for (int i = 0; i < division_; ++i) {
        const size_t m = static_cast<size_t>(order[static_cast<size_t>(i)]);
        Table.SetCell(i + 1, 0, StrPrintf("%5d", i + 1));
        if (ClassCount[m] != 0.0f) {
            Table.SetCell(i + 1, 1,
                          StrPrintf("%8.3f", static_cast<double>(ClassFrequencySum[m] / ClassCount[m])));
            Table.SetCell(i + 1, 2, StrPrintf("%8.0f", static_cast<double>(ClassCount[m])));
        } else {
            Table.SetCell(i + 1, 1, "");
            Table.SetCell(i + 1, 2, "");
        }
    }
}

}  // namespace wavora
