#pragma once
// What the main window keeps about its spectrum graph between drawings: the axes, the drawing
// options, the state of the frame being drawn, and the fields of the spectrum format dialog
// (TParam1), which every drawing writes back so that the dialog shows what is on screen.
// Plain data: the window holds one SpectrumDisplay, TParam1 shows and edits its Format fields,
// and the drawing, the dialog's buttons and the mouse read-out work on it.

#include <cstdint>
#include <optional>
#include <string>

namespace wavora {

// The geometry and scales of the spectrum graph, as the graph component names them: the plot
// area's lower-left corner, its nominal size, pixels per grid interval, the grid counts, the value
// at the origin and per interval (the ratio per interval on a logarithmic axis).
struct SpectrumAxes {
    int32_t OriginX = 70, OriginY = 390;
    int32_t WidthX = 320, HeightY = 320;
    int32_t GridX = 100, GridY = 120;  // WidthX div NGridX, HeightY div NGridY once a frame is drawn
    int32_t NGridX = 5, NGridY = 5;
    // Until the first spectrum sets them the axes read 0 … 5 on both sides; the mouse read-out
    // stays silent until then (Drawn).
    float SValueX = 0.0f, VValueX = 1.0f;
    float SValueY = 0.0f, VValueY = 1.0f;
    bool LogX = false, LogY = false;
    bool AutoScale = true;  // axes chosen automatically on every frame
    bool Drawn = false;     // a spectrum has been drawn with these axes
};

// Options the spectrum drawing reads, mirrored by the "Spectrum" and "Edit" menu items and by the
// format dialog. The channel legends follow the waveform's "Channel Comment" option (WaveView).
struct SpectrumDisplayOptions {
    bool SubAxis = true;           // SubAxis1 / CBSubAxis: dotted sub-division lines across the plot
    bool BroadLine = false;        // BroadLine1 / CBBroad: curves 2 pixels wide
    bool RightSideComment = true;  // RightSideComment1 / CBRight: file name and legends at the right
    bool DataComment = true;       // DataComment1: the filter note above the graph
    bool PeriodAxis = false;       // the X axis shows the period 1/f ("X Value" item "Period")
    bool ZeroAverage = true;       // ZeroAverage1 / CBZero: the analysis option the dialog also sets
};

// The frame being drawn: a run sets NewSpectrumFrame before its first curve; the first curve
// draws the frame and clears it, the following ones are added with the next line styles and
// legend lines.
struct SpectrumFrameState {
    bool NewSpectrumFrame = false;
    int CurveCount = 0;  // curves drawn since the frame; selects the line style
    int LegendY = 0;     // y of the next legend line
    // The running multi-plot is what the picture shows; a spectrum frame clears it, and the mouse
    // read-out stays silent while it is set.
    bool MultiPlot = false;
    // With automatic axes: the largest value of all the curves this frame will show, so every
    // curve of a run is drawn on one scale under one set of labels. Cleared with the frame; when
    // absent the first curve's own maximum is used.
    std::optional<float> AutoMaximum;
};

// The fields of the spectrum format dialog "Spectrum Format Parameters", named after its
// controls. Texts are what the edit fields hold; grid counts are the up-down positions (1–10).
struct SpectrumFormatFields {
    std::string EdSX0, EdSXM;  // "X min", "X max"
    int UpDown2 = 2;           // X "Grid"
    std::string EdSY0, EdSYM;  // "Y min", "Y max"
    int UpDown1 = 2;           // Y "Grid"
    std::string Edlx = "320";  // "Width"
    std::string Edly = "320";  // "Height"
    int RadioGroup2 = 0;       // "X Scale": 0 linear, 1 logarithm
    int RadioGroup1 = 0;       // "Y Scale": 0 linear, 1 logarithm
    int RadioGroup3 = 0;       // "X Value": 0 Frequency, 1 Period
    bool CBSubAxis = true;     // "Sub Axis"
    bool CBBroad = false;      // "Broad Line"
    bool CBRight = true;       // "Right Side"
    bool CBZero = true;        // "Zero Average"
    bool CBSolid = true;       // all curves solid; unchecked: the channel pen styles in turn
    int RGMaxFreq = 0;         // "Max Freq to Nyquist": ×1, ×1/2, ×1/4, ×1/5, ×10 (one tenth)
};

// Everything the main window keeps about its spectrum graph.
struct SpectrumDisplay {
    SpectrumAxes Axes;
    SpectrumDisplayOptions Options;
    SpectrumFrameState Frame;
    SpectrumFormatFields Format;
};

}  // namespace wavora
