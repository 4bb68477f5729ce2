#pragma once
// The spectrum run without the window: the checks at its start, one channel's segment, its FFT or
// MEM spectrum with the grid listing, the spectral ratio, and the position after the skip. The
// caller steps channel by channel (Begin, AnalyseChannel for each channel, then the writer and
// the skip), so that a window can draw and list each channel before the next one is analysed.
// Failures come back as values; nothing here shows a message. While a running spectrum is
// active, the curve a run draws goes to RunningSpectrum::AddSpectrum, which keeps the average.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "analysis/fft.h"
#include "analysis/statistics.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The sizes of the "Points" items (divided by 32 with "min" checked) and the "Step" items.
inline constexpr std::array<int, 5> kPointsChoices = {512, 1024, 2048, 4096, 8192};
inline constexpr std::array<int, 4> kStepChoices = {1, 2, 5, 10};
inline constexpr int kMemMinDivisor = 32;

// What a run reads from the main window when it starts.
struct AnalysisSettings {
    std::array<bool, kMaxChannels> ChannelFlags = {true, false, false, false, false, false, false, false};
    int PointsChoice = 1024;  // the size of the checked "Points" item: 512 … 8192
    bool MemMin = false;      // "min": the sizes divided by 32 (16 … 256)
    int16_t Step = 1;         // 1, 2, 5, 10
    SpectrumType Type = SpectrumType::Amp;
    bool AbsCoeffMode = false;  // "Abs F Coeff"
    int SmoothPasses = 0;       // 0, 1, 2, 5, 10
    bool ZeroAverageEnabled = true;
    int RatioMode = 0;  // 0 none, 1 A to B (A/B), 2 B to A (B/A)
    bool Mem = false;
    // The upper end of the spectrum graph's frequency axis as its field shows it (two decimals);
    // not a number when the field does not hold one (the MEM grid then ends at Nyquist).
    float MemFmax = std::numeric_limits<float>::quiet_NaN();
    bool FileSave = false;
    bool Skip = true;
    int SkipDivisor = 1;  // 0, 4, 2 or 1 for the skip items "0", "1/4", "1/2", "1"
    bool RunningActive = false;
    bool AutoSkipActive = false;
    bool PeaksWindowOpen = false;
    bool PeriodAxis = false;
    bool StatisticsWindowOpen = false;

    int Points() const { return MemMin ? PointsChoice / kMemMinDivisor : PointsChoice; }
    int SelectedChannelCount(int channelCount) const;
};

// The size of a "Points" item (0 … 4) with or without "min".
int PointsForItem(int item, bool memMin);

// The number that a frequency-axis field holds, or not a number when it holds none.
float AxisFieldValue(const std::string& text);

// The upper end of the frequency axis that the automatic spectrum axis draws for a Fourier
// spectrum at this analysis interval (the axis for the Nyquist frequency 0.5 / interval), as the
// axis field holds it: written with two decimals and read back. A MEM run takes its grid from it.
float AutomaticFrequencyMaximum(float analysisInterval);

// What one run leaves behind for the displays, the running analyses, the writers and the next
// run. Every array is allocated again, zero-filled, by each run.
struct SpectrumResult {
    std::vector<float> RealPart;      // Points + 1: samples, then spectrum (or ratio)
    std::vector<float> ImagPart;      // Points + 1
    std::vector<float> MemFrequency;  // Points + 1
    std::vector<float> RatioA, RatioB;
    // Points × SelectedChannelCount × 3: for bin i and stored-channel ordinal d the triple at
    // (i × SelectedChannelCount + d) × 3 holds real part, imaginary part, spectrum (FFT) or
    // MEM value, 0, 0 (MEM).
    std::vector<float> ResultStore;
    int RatioChannelA = 100, RatioChannelB = 200;  // 1-based channel numbers of the ratio
    bool RatioFirstStored = false;
    int StoredChannelCount = 0;
    int CurrentChannel = 0;  // 1-based number of the channel being analysed
    bool SkipAllowed = true;

    // The run that filled it.
    AnalysisSettings Settings;
    int Points = 0;
    int Step = 1;
    int Position = 0;
    int SelectedChannelCount = 0;
    float AnalysisInterval = 0.0f;  // Step × SamplingInterval
    float FrequencyStep = 0.0f;     // 1 / (Points × AnalysisInterval)
    float Duration = 0.0f;          // T = Points × AnalysisInterval

    size_t StoreIndex(int bin, int ordinal) const {
        return (static_cast<size_t>(bin) * SelectedChannelCount + ordinal) * 3;
    }
};

// The value grid as one channel leaves it: the title above it, the column headings and the cell
// texts. Cells are written on demand, so a long listing costs nothing until it is shown.
class GridListing {
  public:
    std::string Title;                             // label "Data"
    std::array<std::string, 5> Headings = {"No"};  // labels "Data0" … "Data4"
    int Columns = 5;
    int Rows = 0;

    // The text of a cell; "" outside the grid and in empty columns.
    std::string Cell(int row, int column) const;

    // Column contents: the row number, numbers with a printf format, or nothing.
    void SetIndexColumn(int column);
    void SetNumberColumn(int column, const char* format, std::vector<float> values);
    void SetEmptyColumn(int column);

  private:
    enum class Kind { Empty, Index, Number };
    struct Column {
        Kind kind = Kind::Empty;
        const char* format = "";
        std::vector<float> values;
    };
    std::array<Column, 5> columns_;
};

enum class RunStartStatus {
    Ready,       // go on with the channels
    AskPadding,  // ask Question; OK pads the segment with zeros, Cancel stops the run
    Stopped,     // show Error if there is one; the run ends
};

struct RunStart {
    RunStartStatus Status = RunStartStatus::Stopped;
    std::optional<Failure> Error;
    Failure Question;               // with AskPadding
    bool ReturnToStart = false;     // TrackBar1 goes back to 0
    bool AutoSkipFinished = false;  // the automatic skipping analysis reached the end of the data
    std::string IntervalText;       // "FFT/MEM DT" read-out: AnalysisInterval "%.4f (%s)"
    std::string DurationText;       // "FFT/MEM T" read-out: T "%.4f (%s)"
};

enum class ChannelStatus {
    Shown,      // list Listing, draw RealPart, gather peaks
    RatioHeld,  // the first channel of a ratio: kept for the second; not drawn, no statistics or peaks
    Failed,     // show Error; the whole run stops here
};

struct ChannelOutcome {
    ChannelStatus Status = ChannelStatus::Shown;
    std::optional<Failure> Error;
    GridListing Listing;
    SegmentStatistics
        Statistics;  // of the Points values analysed (after "Zero Average", zeros of the fill included)
};

class SpectrumRun {
  public:
    // The record and the result must outlive the run; the settings are copied.
    SpectrumRun(const WaveRecord& record, const AnalysisSettings& settings, SpectrumResult& result);

    // The checks and set-up before the channels, with the analysis position taken from the track bar.
    RunStart Begin(int position);
    // The answer to the padding question: true (OK) goes on with zeros after the data, false
    // (Cancel) stops the run. Returns whether the run goes on.
    bool AnswerPadding(bool ok);
    bool IsReady() const { return ready_; }

    // The 0-based channels to analyse, in order.
    const std::vector<int>& Channels() const { return channels_; }

    // Analyses channel k (one of Channels()), leaving its spectrum (or the ratio) in RealPart.
    ChannelOutcome AnalyseChannel(int k);

    // After the last channel: whether the spectrum result file is to be written now.
    bool WantsResultFile() const;

  private:
    const WaveRecord& record_;
    const AnalysisSettings settings_;  // a copy: the window may change its controls meanwhile
    SpectrumResult& result_;
    std::vector<int> channels_;
    bool ready_ = false;
    bool failed_ = false;
};

// The track-bar position after a completed run: moved on by Step × Points / SkipDivisor when the
// skip applies, at most to the end of the data.
int PositionAfterSkip(const SpectrumResult& result, int position, int sampleCount);
// The position after "Back": moved back by Step × Points / SkipDivisor (0 for skip "0"), at least 0.
int PositionAfterBack(const AnalysisSettings& settings, int position);

}  // namespace wavora
