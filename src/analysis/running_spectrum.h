#pragma once
// The running spectrum without a window: the analysis steps through the record by a fixed Skip,
// each step an ordinary spectrum run whose drawn curve is handed over here. This unit keeps the
// activity's state (running, the timer, the count, the average), decides every step (draw a
// curve of the waterfall, draw a single plot, add a row to the 2-D map, or stop), and works out
// what the pictures show: the waterfall's projection, its hidden lines and its frame texts.
//
// The window only relays: its 1 ms timer calls Tick() and runs the main window's Run when told,
// the run's drawing hook calls AddSpectrum() with the run's results and paints what comes back,
// and Stop and Close call the methods of the same names. Failures come back as values.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/spectrum_map.h"
#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The Skip list of the dialog ("Skip "), in samples of the record; item 4 (200) is the default.
inline constexpr std::array<int, 9> kRunningSkipChoices = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
inline constexpr int kRunningDefaultSkipItem = 4;
// The waterfall holds at most this many curves; every fifth one (per analysed channel) is black.
inline constexpr int kRunningCurveLimit = 51;
inline constexpr int kRunningMarkEvery = 5;
// The angle of the waterfall's time axis, in radians (about 57° above the horizontal).
inline constexpr float kRunningPlotAngle = 1.0f;

// The whole number a field holds (blanks around it allowed), or nothing for any other text.
std::optional<int> WholeNumber(const std::string& text);

// "Skip Time %s [%s]": skip × analysis interval written by RoundText, and the time unit.
std::string SkipTimeText(int skip, float analysisInterval, const char* timeUnit);
// "Count  %d".
std::string CountText(int count);

// The spectrum graph's scale as the main window's spectrum display left it (or as the format
// dialog set it); the waterfall draws with it and never chooses its own.
struct RunningScale {
    float SValueX = 0.0f, VValueX = 10.0f;  // frequency at the origin and per division
    int NGridX = 5;
    float SValueY = 0.0f, VValueY = 1.0f;  // value at the origin and per division
    int NGridY = 5;
    bool LogX = false, LogY = false;
    int WidthX = 320, HeightY = 320;  // the plot area's size in pixels ("lx", "ly" of the dialog)

    float UpperFrequency() const { return SValueX + static_cast<float>(NGridX) * VValueX; }
};

// The scale the spectrum display chooses for a run's spectrum with automatic axes: frequency
// 0 … the Nyquist frequency (the MEM grid's last line for MEM) and value 0 … the largest value.
RunningScale AutomaticRunningScale(const SpectrumResult& result);

// The format dialog's fields for a scale, as it writes them after a drawing and reads them back
// (x start "%.3f", x maximum "%.2f"): what the 2-D map's first Set takes.
SpectrumAxisFields AxisFieldsOf(const RunningScale& scale);

// The frame of one spectrum in the waterfall: the first curve's origin and size in pixels.
struct RunningFrameGeometry {
    int OriginX = 30, OriginY = 390, Width = 200, Height = 65;
};

// A pixel of the main window's picture (y grows downwards).
struct PlotPoint {
    int X = 0, Y = 0;
    bool operator==(const PlotPoint&) const = default;
};
struct PlotSegment {
    PlotPoint From, To;  // drawn as a line whose end pixel is left out
    bool operator==(const PlotSegment&) const = default;
};

// The waterfall's oblique projection of (frequency f, value v, time t): the time moves a curve
// by L = t ÷ TimeUnitPerMs × TimeStepPixels pixels along the slanted axis. Computed in double
// precision from the single-precision values the axes and the run keep; each coordinate is
// truncated toward zero once (and held within ±1 000 000 pixels).
struct RunningProjection {
    float XStart = 0.0f, XStep = 10.0f, YStep = 1.0f;
    int DivisionWidth = 40, DivisionHeight = 13;
    int TimeStepPixels = 32;
    float TimeUnitPerMs = 10.0f;
    float PlotAngle = kRunningPlotAngle;
    int OriginX = 30, OriginY = 390;

    // DivisionWidth = width ÷ x divisions, DivisionHeight = height ÷ y divisions, TimeStepPixels
    // = 6400 ÷ skip (truncated), TimeUnitPerMs = analysis interval × 1000 ÷ step.
    static RunningProjection For(const RunningScale& scale, const RunningFrameGeometry& geometry, int skip,
                                 float analysisInterval, int step);
    PlotPoint Project(float f, float v, float t) const;
};

// The hidden-line horizon: for every pixel column, the screen y above which a later curve is
// still visible. Curves are drawn front to back; the horizon is never lowered, so a later curve
// shows only where it rises above everything drawn before.
class HiddenLineHorizon {
  public:
    HiddenLineHorizon() = default;
    HiddenLineHorizon(int width, int height) : horizon_(static_cast<size_t>(width > 0 ? width : 0), height) {}

    int Width() const { return static_cast<int>(horizon_.size()); }
    int At(int x) const { return x >= 0 && x < Width() ? horizon_[static_cast<size_t>(x)] : 0; }

    // Adds the visible pieces of the segment a–b (a left of b) to `out` and raises the horizon
    // under them. Returns false, drawing and changing nothing, when b lies at or beyond the right
    // edge: the waterfall has left the picture.
    bool Segment(PlotPoint a, PlotPoint b, std::vector<PlotSegment>& out);

  private:
    std::vector<int> horizon_;
};

// Everything the painter draws for one curve of the waterfall.
struct RunningCurve {
    bool Black = false;                 // a marked curve: black, with its base line and time label
    std::vector<PlotSegment> Segments;  // in drawing order
    bool Halted = false;                // a segment would have reached the right edge (hidden lines)
    // Marked curves: the base point (lower frequency, value 0) of this time slice, the time label
    // to end 8 pixels left of it and 10 above it, and the ticks of the base line.
    PlotPoint Base;
    std::string TimeLabel;
    int BaseLength = 200;
    std::vector<int> TickXs;
};

// The frame of the waterfall, drawn at the first step: the frequency axis with its ticks, the
// headings, the title lines and the notes (positions are the painter's).
struct RunningFrame {
    RunningFrameGeometry Geometry;
    std::vector<int> TickXs;              // at the curves' division width
    std::vector<std::string> TickLabels;  // the frequencies of the ticks
    std::string FrequencyUnit;            // right of the last label
    std::string Heading;                  // "Running Spectrum", or "Running Plot" for a ratio
    std::string TimeUnit;                 // "[s]" under "Elapsed Time"
    std::string FileName;                 // right-aligned at the bottom
    std::string TitleLine, SkipLine, PointsLine;
    std::string SmoothLine, FilterNote;
};

// What the dialog holds when Start is pressed; the main window's part (checked channels, points,
// step, axes) as the first step's run will see it.
struct RunningStartInput {
    int InitPosition = 0;      // "Init" (Edit1): the last whole number it held
    bool EditBoxSkip = false;  // "SkipType" on "Edit Box"
    int SkipItem = kRunningDefaultSkipItem;
    std::string SkipText = "250";  // Edit2
    bool Multi = true;             // "Multi Plot"
    bool Hidden = true;            // "Hidden Line"
    bool TwoD = false;             // the main window's "2D"
    int CheckedChannels = 1;       // the channel boxes checked among the record's channels
    int RatioMode = 0;
    int Points = 1024;  // the first step's Points ("Points" item, divided by 32 with "min")
    int Step = 1;
    int SampleCount = 0;
    float SamplingInterval = 0.0f;
    TimeUnit Time = TimeUnit::Seconds;  // the record's time unit
    bool LogAxis = false;               // either axis of the spectrum graph is logarithmic
};

enum class RunningStartStatus {
    Started,     // the timer runs; TrackBar1 goes to Position
    Refused,     // Error says why (Proposal may still switch the dialog's skip)
    BeyondData,  // the first segment lies beyond the data: perform Stop, TrackBar1 to 0, no message
};

struct RunningStart {
    RunningStartStatus Status = RunningStartStatus::Refused;
    std::optional<Failure> Error;
    bool DisableStartControls = false;     // the channel check failed: SBRunSpec and CB2D disabled
    std::optional<SkipProposal> Proposal;  // the 2-D map's proposal, to show in the dialog
    int Skip = 0;                          // the Skip of this run
    int Position = 0;                      // the first step's position
    std::string SkipTimeText;              // Label4
    std::string CountText;                 // Label3
};

// What the window shows while a step is analysed: the dialog's and the main window's controls as
// they are now (they are read at every step), and the axes of both graphs.
struct RunningStepView {
    bool Multi = true;  // "Multi Plot"
    bool TwoD = false;  // "2D"
    int Max = 100;      // "max": the last whole number it held
    int TimeScale = 1;
    float WaveMagnification = 1.0f;
    RunningScale Scale;
    RunningFrameGeometry Geometry;
    int ImageWidth = 433, ImageHeight = 417;  // the main window's picture
    BandPassNote Filter;
    SpectrumAxisFields Axis;  // the format dialog's fields, for the 2-D map's first Set
};

// One step's outcome, for the painters and the window.
struct RunningStep {
    bool Handled = false;                  // false: no running spectrum is in progress
    std::optional<RunningFrame> Frame;     // the first step: clear the picture and draw this frame
    std::optional<MapStartPlan> MapStart;  // the first step with "2D": the map begins
    std::optional<MapRowPlan> Row;         // "2D": this step's row of the map
    std::optional<RunningCurve> Curve;     // "Multi Plot": this step's curve (DisplayKind 3)
    bool DrawSingle = false;               // single plot: the spectrum display draws the curve
    bool Stop = false;                     // perform Stop now (after the drawing above)
    // The 51-curve stop: after Stop, Edit1 gets the Position label, TrackBar1 moves back by
    // 2 × Skip and the run's own skip is left out (SkipAllowed cleared).
    bool CurveLimit = false;
    bool Halt = false;      // the waterfall left the picture: the timer stops, the run waits for Stop
    std::string CountText;  // the new Label3 text; empty when the count did not change
};

// The average that Stop lists in the value grid.
struct RunningAverage {
    std::vector<float> Values;     // Points ÷ 2
    int Column = 4;                // the grid column it replaces (2 for a MEM listing of 3 columns)
    const char* Format = "%9.4f";  // the number format of that column
    bool EmptyColumns23 = true;    // columns 2 and 3 are emptied

    std::string Cell(int row) const;
};

struct RunningStop {
    bool WasActive = false;
    int InitPosition = 0;  // Edit1
    // The average, once per started run with at least one step; listed, and drawn in purple
    // #800080 as channel 0 with the spectrum display when DrawAverage.
    std::optional<RunningAverage> Average;
    bool DrawAverage = false;
    int Points = 0;
    float AnalysisInterval = 0.0f;
};

enum class RunningTick {
    Idle,      // nothing to do (not running, or halted)
    Run,       // perform the main window's Run at the current position, then PositionAfterStep
    Finished,  // the end of the data: the timer is off; perform Stop and move TrackBar1 to 0
};

class RunningSpectrum {
  public:
    // Start (BtnRunRunClick): the checks and the start. The 2-D map takes its part (its colour
    // scale setting, the proposed Skip and the row-count check while "2D" is checked). While a
    // run is active it is refused without a message and nothing changes.
    RunningStart Start(const RunningStartInput& input, SpectrumMap& map);

    // The timer's step: whether to analyse the segment at `displayPosition`.
    RunningTick Tick(int displayPosition, int sampleCount);
    // Where TrackBar1 goes after a step's Run: the position the Run left (its own skip included)
    // moved on by Skip, at most to the end of the data.
    int PositionAfterStep(int positionAfterRun, int sampleCount) const;

    // The spectrum run's drawing hook: the run's drawn curve is in result.RealPart (the ratio
    // with a spectral ratio). Call once per step, for the channel the run would draw.
    RunningStep AddSpectrum(const WaveRecord& record, const SpectrumResult& result,
                            const RunningStepView& view, SpectrumMap& map);

    // Stop (BtnRunStopClick), with the main window's current position and check boxes. The
    // average comes back once per started run with at least one step.
    RunningStop Stop(int displayPosition, bool twoD, bool multi, SpectrumMap& map);
    // The timer stops (before a message is shown, or when the waterfall leaves the picture); the
    // run stays active until Stop.
    void Halt() { timerOn_ = false; }
    // Close (BtnRunCloseClick): the activity ends and the average is released.
    void Close();

    bool Active() const { return active_; }  // RunningActive
    bool TimerOn() const { return timerOn_; }
    int Count() const { return count_; }  // RunningCount: the spectra drawn (and averaged)
    int Skip() const { return skip_; }    // RunningSkip
    int AverageSize() const { return static_cast<int>(sums_.size()); }
    bool MultiPlot() const { return multiPlot_; }
    bool HiddenLine() const { return hiddenLine_; }
    int StartPosition() const { return startPosition_; }
    const RunningProjection& Projection() const { return projection_; }
    const HiddenLineHorizon& Horizon() const { return horizon_; }

  private:
    void SetUp(const WaveRecord& record, const SpectrumResult& result, const RunningStepView& view,
               RunningStep& step);
    RunningCurve PlanCurve(const WaveRecord& record, const SpectrumResult& result,
                           const RunningStepView& view);

    bool active_ = false, timerOn_ = false, setUp_ = false;
    int skip_ = kRunningSkipChoices[kRunningDefaultSkipItem];
    int count_ = 0;
    int added_ = 0;            // spectra summed into sums_
    std::vector<float> sums_;  // AverageAccumulator
    int points_ = 0;
    float analysisInterval_ = 0.0f;
    bool multiPlot_ = true, hiddenLine_ = true;
    int startPosition_ = 0;
    int selectedChannels_ = 1;
    float lowerFrequency_ = 0.0f, upperFrequency_ = 0.0f;
    RunningProjection projection_;
    HiddenLineHorizon horizon_;
    // How the last step's run listed its spectrum, for the average's column and format.
    bool lastMem_ = false, lastRatio_ = false;
    SpectrumType lastType_ = SpectrumType::Amp;
};

}  // namespace wavora
