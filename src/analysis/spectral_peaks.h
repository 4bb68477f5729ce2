#pragma once
// Spectral peaks: the highest local maxima of the spectrum just shown, and the statistics that
// gather them run after run into a histogram of peak frequencies (classes of equal width over the
// frequency axis, their counts and mean frequencies, the running mean of the largest peak).
// `SpectralPeaks` is everything the peaks window shows — its table, its labels, its histogram —
// kept as values and texts, so the window only displays it and the batch tool writes the same
// texts. Nothing here draws or shows a message.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"

namespace wavora {

// A detection keeps at most this many local maxima (the lowest frequencies) as candidates.
inline constexpr int kMaxPeakCandidates = 100;
// At most this many peaks are listed from one spectrum.
inline constexpr int kMaxPeakTops = 10;
// Room for the classes of the histogram; only the first PeakDivision are used.
inline constexpr int kMaxPeakClasses = 200;

// The "Division", "Tops" and "Scale Unit" menu items.
inline constexpr std::array<int, 4> kPeakDivisionChoices = {10, 20, 25, 50};
inline constexpr std::array<int, 4> kPeakTopsChoices = {1, 3, 5, 10};
inline constexpr std::array<int, 3> kPeakScaleUnitChoices = {5, 10, 25};

// The spectrum graph's axes as the peaks read them: the frequency axis (grid count, start and step,
// or ratio per interval when logarithmic) and whether either axis is logarithmic.
struct PeakAxes {
    int NGridX = 5;
    float SValueX = 0.0f;
    float VValueX = 10.0f;
    bool LogX = false;
    bool LogY = false;

    // The upper end of the frequency axis: start + divisions × step, or start × step^divisions.
    float End() const;
    // Peaks are gathered only while both axes are linear.
    bool BothLinear() const { return !LogX && !LogY; }
};

// The frequency axis that the automatic spectrum axis draws after `result`'s run: up to the
// Nyquist frequency 0.5 / AnalysisInterval, or with MEM up to the grid frequency of line
// Points/2 − 1; both axes linear.
PeakAxes AutomaticPeakAxes(const SpectrumResult& result);

// One peak: spectrum line p, its frequency p × FrequencyStep (also for MEM) and its value.
struct SpectralPeak {
    int Line = 0;
    float Frequency = 0.0f;
    float Value = 0.0f;
    bool operator==(const SpectralPeak&) const = default;
};

// The spectrum lines a detection examines, First … Last (none when Last < First). A line needs a
// neighbour on either side inside the spectrum's own lines 0 … Points/2 − 1 (the lines above hold
// no spectrum), and it lies on the frequency axis shown: from the first line at or above the
// axis start up to line L − 2, where L = axis end ÷ FrequencyStep, truncated.
struct PeakScanLines {
    int First = 1;
    int Last = 0;
};
PeakScanLines PeakScanRange(const PeakAxes& axes, float frequencyStep, int points);

// The peaks of a spectrum (index i = line i, at least Points/2 values): the lines of
// PeakScanRange whose value is strictly greater than both neighbours, the first 100 of them in
// increasing frequency, ordered by value, largest first (equal values: lower frequency first),
// and of those the first `tops` (1 … 10).
std::vector<SpectralPeak> DetectPeaks(std::span<const float> spectrum, int points, float frequencyStep,
                                      const PeakAxes& axes, int tops);

// What the spectrum is, for the heading of the value column.
enum class PeakSpectrumKind { FftAmp, FftPower, MemPower };
PeakSpectrumKind PeakSpectrumKindOf(const AnalysisSettings& settings);

// The peak table of the window: 3 columns, row 0 the header. Only RowCount rows exist; a cell
// written outside them is dropped.
class PeakTable {
  public:
    static constexpr int kColumns = 3;
    using Row = std::array<std::string, kColumns>;

    PeakTable() { SetRowCount(11); }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Rows added are empty; rows dropped are forgotten.
    void SetRowCount(int rows);
    const std::string& Cell(int row, int column) const;
    void SetCell(int row, int column, std::string text);
    const std::vector<Row>& Rows() const { return rows_; }

    bool VerticalScrollBar = false;
    int SelectedRow = 1;

  private:
    std::vector<Row> rows_;
};

// The histogram picture: the frame's frequency axis (from the spectrum graph at the last gather),
// the value per division of the count axis ("Scale Unit"), the axis title, and the points
// (class frequency, count) of every class; no points: the empty frame.
struct PeakHistogram {
    int NGridX = 4;
    float SValueX = 0.0f;
    float VValueX = 5.0f;
    int SubX = 5;
    float VValueY = 5.0f;
    std::string TitleX = "Peak Frequency [Hz]";
    std::string TitleY = "Histogram";
    std::vector<float> X, Y;
};

// What the peaks window shows and keeps: the statistics, the table, the labels and the histogram.
class SpectralPeaks {
  public:
    SpectralPeaks();

    // Settings of the window's menus.
    int PeakDivision() const { return division_; }
    int PeakTops() const { return tops_; }
    // A new number of classes (10, 20, 25 or 50) clears the statistics; other values are ignored.
    void SetPeakDivision(int division, PeakSpectrumKind kind, const std::string& frequencyText);
    // A new number of peaks per spectrum (1, 3, 5 or 10) applies from the next spectrum on; the
    // statistics gathered so far stay. Label8 follows at once.
    void SetPeakTops(int tops);
    // The count per division of the histogram (5, 10 or 25); the histogram is to be drawn again.
    void SetScaleUnit(int countPerDivision);
    int ScaleUnit() const { return static_cast<int>(Histogram.VValueY); }

    // Clear: empty labels, the table's header and row numbers, no spectra counted, every class
    // emptied (count and sum 0, frequency its lower edge), the empty histogram frame with the
    // axis title in the frequency unit.
    void Clear(PeakSpectrumKind kind, const std::string& frequencyText);

    // Gathers the peaks of the spectrum just shown (result.RealPart) for channel k (0-based):
    // lists them, counts the spectrum, adds its largest peak to the averages and its peaks to the
    // classes, and sets up the histogram on the spectrum graph's frequency axis. Nothing happens,
    // and false comes back, when an axis is logarithmic.
    bool Gather(const SpectrumResult& result, int channel, const PeakAxes& axes, const std::string& fileName);
    // The same for a spectrum kept apart from the result (at least Points/2 values, line i at
    // i × FrequencyStep): a run that draws all its channels at the end gathers each channel's own
    // spectrum, while `result` (its points, frequency step and settings) holds only the last one.
    bool Gather(std::span<const float> spectrum, const SpectrumResult& result, int channel,
                const PeakAxes& axes, const std::string& fileName);

    // The class listing (Value): PeakDivision + 1 rows with a scroll bar, class, frequency, count.
    void ListValues();
    // The order listing (Order): the classes by count, largest first, in the rows the table has.
    void ListOrder();

    // The classes ordered by count as the order listing takes them (an exchange sort: classes of
    // equal count do not always keep their index order).
    std::vector<int> OrderByCount() const;

    // Statistics since the last Clear.
    int PeakRunCount = 0;
    float TopPeakFrequencySum = 0.0f;
    float TopPeakValueSum = 0.0f;
    std::array<float, kMaxPeakClasses> ClassFrequency{};
    std::array<float, kMaxPeakClasses> ClassCount{};
    std::array<float, kMaxPeakClasses> ClassFrequencySum{};

    // The peaks of the last gathered spectrum.
    std::vector<SpectralPeak> LastPeaks;

    // What the window shows.
    PeakTable Table;                // StringGrid1
    std::string FileNameText;       // Label2: the record's name
    std::string ChannelText;        // Label3: "%d CH"
    std::string CountText;          // Label4: PeakRunCount
    std::string MeanFrequencyText;  // Label5: mean frequency of the largest peaks
    std::string MeanValueText;      // Label6: mean value of the largest peaks
    std::string DivisionText;       // Label8: "20 Divisons    5 Top Peaks"
    PeakHistogram Histogram;        // MyGraph1

  private:
    float ClassWidth() const;
    void ResetClasses();
    void LabelTableRows(PeakSpectrumKind kind);
    void UpdateHistogramPoints();

    int division_ = 20;
    int tops_ = 5;
    std::string frequencyText_ = "Hz";
};

// The texts of the window, for a test or the batch tool.
std::string PeakValueText(float value);                 // "%12.3f", below 0.001 "%12.3e"
std::string PeakDivisionLabel(int division, int tops);  // "20 Divisons    5 Top Peaks"
// Sub-divisions of the histogram's frequency axis for a step: 4 when the step × 100 written
// compactly begins with "2" not followed by "5", otherwise 5.
int HistogramSubDivisions(float step);

}  // namespace wavora
