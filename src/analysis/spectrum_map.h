#pragma once
// The two-dimensional spectrum map without a window: every step of a running spectrum becomes one
// horizontal band of a time × frequency map, coloured by the spectrum's value on a 256-level
// blue–cyan–green–yellow–red palette. This unit keeps the map's settings and state, checks a run
// before it starts (the proposed Skip, the number of rows), and works out the axes, titles and
// notes of a new map and the coloured bands of each row, which the painter puts on the chart.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// --- Palette and levels --------------------------------------------------------------------------

struct PaletteColour {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const PaletteColour&) const = default;
};
inline constexpr int kMapLevels = 256;

// The colour of a level (clamped to 0 … 255): 0 blue, 85 cyan, about 128 green, 170 yellow, 255 red.
PaletteColour MapPaletteColour(int level);

// The level of a value: value ÷ colour maximum × 256, truncated and held within 0 … 255. A value
// of 0 or below, or one that is not a number, gives 0; any positive value gives 255 when the
// maximum is not above 0.
int MapLevel(float value, float colourMax);

// --- Checks before a run -------------------------------------------------------------------------

// The Skip proposed for a new map: one row per time unit, s = 1 ÷ analysis interval (truncated,
// at least 1). From 10 on, the smallest Skip of the dialog's list that is not below s (5000 for
// anything larger), chosen with "Radio Btn"; below 10, s itself, typed with "Edit Box".
struct SkipProposal {
    bool EditBox = false;  // true: "Edit Box" with Skip in Edit2; false: "Radio Btn" item Item
    int Item = 0;
    int Skip = 1;
    bool operator==(const SkipProposal&) const = default;
};
SkipProposal ProposedSkip(float analysisInterval);

// The rows of a map: time span ÷ (Skip × analysis interval), in single precision.
float MapRowCount(float timeSpan, int skip, float analysisInterval);
// 50 … 500 rows pass; fewer: "Skip time interval for 2D Spectrum plot is too large!!   ", more:
// "… too small!!   ", both captioned "Skip time error".
std::optional<Failure> MapRowCountCheck(float timeSpan, int skip, float analysisInterval);
inline constexpr int kMapRowsMin = 50, kMapRowsMax = 500;

// --- Settings ------------------------------------------------------------------------------------

// The 2-D window's fields as numbers: the window keeps the last valid value of each edit.
struct MapFields {
    float UpperFrequency = 20.0f;  // "Upper Limit" (Edit1)
    float LowerFrequency = 0.0f;   // "Lower Limit" (Edit5)
    int FrequencyGrid = 4;         // "Grid" (UpDown1), 1 … 10
    float TimeSpan = 60.0f;        // "Elapsed Time" "Max" (Edit3)
    int TimeGrid = 4;              // "Grid" (UpDown2), 1 … 10
    bool Auto = true;              // "Auto" colour scale (CBAuto)
    float ColourMax = 20.0f;       // "Color Scale" "Max" (Edit8)
    int ColourGrid = 4;            // colour-bar divisions (UpDown3), 1 … 5
};

// What the spectrum format dialog shows of the spectrum graph: x start and x maximum as its
// fields hold them, the x divisions, and the plot area's size in pixels.
struct SpectrumAxisFields {
    float XStart = 0.0f;  // EdSX0
    float XMax = 50.0f;   // EdSXM
    int XDivisions = 5;   // UpDown2
    int Width = 320;      // Edlx
    int Height = 320;     // Edly
};

// The band-pass note: the corners while the "Filter" check box is on.
struct BandPassNote {
    bool Checked = false;
    float Lower = 1.0f, Upper = 0.0f;
};

// --- Pictures ------------------------------------------------------------------------------------

// The chart's axes after Set (the fields of the graph component).
struct MapFrame {
    int OriginX = 70, OriginY = 380;
    int WidthX = 300, HeightY = 300;
    int NGridX = 4, NGridY = 4;
    int SubX = 5, SubY = 5;
    float SValueX = 0.0f, VValueX = 5.0f;
    float SValueY = 0.0f, VValueY = 15.0f;
};

// The colour bar above the chart: one pixel column per level at (105 + level, 5 … 14), labels
// from 0 to Maximum in Divisions steps, the value unit right of the last label.
inline constexpr int kColourBarX = 105, kColourBarY = 5, kColourBarHeight = 10;
struct ColourBar {
    int Divisions = 4;
    float Maximum = 20.0f;  // never below 0
    std::string Unit;       // "[Gal*s]", or empty
};

struct MapText {
    int X = 0, Y = 0;
    std::string Text;
};

// What a new map shows (StartMap), besides the frame of Set.
struct MapStartPlan {
    std::optional<std::string> ColourMaxText;  // the automatic colour maximum, for "Color Scale" "Max"
    bool LimitsTaken = false;                  // the first Set took the limits: show them in the edits
    MapFrame Frame;
    ColourBar Bar;
    std::string TitleX, TitleY;
    std::string StartTime;  // right-aligned to end at (52, 374)
    std::vector<MapText> Notes;
    std::string TimeUnit, FrequencyUnit;  // the unit labels beside the edits
};

// One coloured band: the line's level and the pixels it covers (right and bottom excluded; empty
// when the band lies outside the chart).
struct MapBand {
    int Line = 0;   // the spectrum line p
    int Level = 0;  // 0 … 255
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const MapBand&) const = default;
};

struct MapRowPlan {
    bool Stop = false;           // the time span is full: the run stops and nothing is drawn
    int Position = 0;            // the step's first sample
    double Time = 0.0;           // the row's time since the map's first row, in time units
    std::vector<MapBand> Bands;  // every line inside the frequency limits, in order
};

// The read-out of the cross-hair: "( f, t )=( %.3f%s, %.3f%s )".
std::string CrossHairText(const MapFrame& frame, int x, int y, const char* frequencyUnit,
                          const char* timeUnit);
// Whether the cross-hair may stand at (x, y): within the axis area, one pixel of slack on the
// left and at the top.
bool CrossHairInside(const MapFrame& frame, int x, int y);

class SpectrumMap {
  public:
    MapFields Fields;      // the window's edits, updated as they change
    bool FirstSet = true;  // the next Set takes the frequency axis from the spectrum format dialog

    // The chart (MyGraph1): size and the plot area's lower-left corner.
    int GraphWidth = 433, GraphHeight = 417;

    // Every Start of the running spectrum (PrepareMapRun): the colour-scale setting is taken and,
    // while "2D" is checked and the first Set is still to come, a Skip is proposed. The row count
    // is checked by the Start with MapRowCountCheck and the Skip it settles on.
    std::optional<SkipProposal> Prepare(bool twoD, float analysisInterval);
    // A run has started: the rows expected, the time span, the cross-hair reset; not yet drawing.
    void Begin(int skip, float analysisInterval);

    // Set (Button3Click): the axes from the fields (the first time from the format dialog).
    // Nothing while a map is being drawn: edits wait for the next Set or run.
    std::optional<MapFrame> Set(const SpectrumAxisFields& axis);
    bool LimitsTakenByLastSet() const { return limitsTaken_; }

    // The first step of a run (StartMap): colour scale, Set, titles and notes; the map runs.
    MapStartPlan Start(const WaveRecord& record, const SpectrumResult& result, const SpectrumAxisFields& axis,
                       const BandPassNote& filter, int skip);
    // Every step (DrawMapRow): the row of this step, or Stop when the time span is full.
    MapRowPlan Row(const WaveRecord& record, const SpectrumResult& result, int skip) const;
    // The run has stopped: the map is idle, the cross-hair works again.
    void Idle() { MapRunning = false; }
    // A new record: the next Set takes the frequency axis from the spectrum graph again.
    void NewRecord() { FirstSet = true; }

    // The colour bar as the fields give it now.
    ColourBar Bar() const;
    std::string RowTotalText() const;  // Label19

    // State (the window's data model).
    float UpperFrequency = 20.0f, LowerFrequency = 0.0f;
    float TimeSpan = 60.0f;
    float ColourMax = 20.0f;
    float MapColourMax = 20.0f;  // the maximum of the run being drawn
    int MapInitialPosition = 0;
    int MapRowTotal = 0;
    bool AutoColourScale = true;
    bool MapRunning = false;
    MapFrame Frame;         // the axes after the last Set
    std::string ValueUnit;  // of the colour bar, from the last map's spectrum

  private:
    MapFrame ApplySet(const SpectrumAxisFields& axis);
    bool limitsTaken_ = false;
};

// The y title of the map for a run's spectrum kind ("          Fourier Amplitude Spectrum [Gal*s]" …)
// and the unit of its values ("[Gal*s]"; empty for a ratio).
std::string MapValueTitle(const WaveRecord& record, const SpectrumResult& result);
std::string MapValueUnit(const WaveRecord& record, const SpectrumResult& result);

}  // namespace wavora
