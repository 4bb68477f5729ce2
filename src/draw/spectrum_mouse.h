#pragma once
// The mouse over the spectrum picture, without the window: the read-out of frequency and value
// under the pointer, the grid row a click selects, and which dialog a right click opens. The
// window draws the returned text on its picture and selects the returned row.

#include <functional>
#include <optional>
#include <string>

#include "draw/canvas.h"
#include "draw/spectrum_state.h"

namespace wavora {

// A text to draw on the picture at (X, Y).
struct PictureText {
    int X = 0, Y = 0;
    std::string Text;
    bool operator==(const PictureText&) const = default;
};

// Where the read-out is written, and where a click outside the plot area erases.
inline constexpr int kReadoutX = 280, kReadoutY = 15;
inline constexpr int kClickEraseX = 300, kClickEraseY = 1;

// The text that covers a read-out: 13 blanks, two ideographic spaces, 10 blanks.
const std::string& ReadoutEraser();

// Whether (x, y) lies in the plot area as drawn: OriginX … OriginX + NGridX·GridX across and
// OriginY − NGridY·GridY … OriginY up and down, edges included.
bool InsidePlotArea(const SpectrumAxes& axes, int x, int y);

// The X and Y values under a pixel of the plot area (logarithmic axes by their ratio per grid).
double ValueAtX(const SpectrumAxes& axes, int x);
double ValueAtY(const SpectrumAxes& axes, int y);

// What the picture shows, for the mouse handlers.
struct PictureState {
    int DisplayKind = 0;      // WaveView::DisplayKind
    bool MultiPlot = false;   // the running multi-plot (SpectrumFrameState::MultiPlot)
    bool DataLoaded = false;  // a record has been loaded
};

// Image1MouseMove: "%.2f%s , %.4f  " (value above 0.001) or "%.2f%s , %.3e  " with the X value,
// the frequency unit and the Y value at (280, 15) inside the plot area, the eraser there outside
// it. Nothing while the waveform or the running multi-plot is shown, and nothing before the first
// spectrum has set the axes.
std::optional<PictureText> SpectrumReadout(const SpectrumAxes& axes, const PictureState& picture,
                                           const std::string& frequencyText, int x, int y);

// Image1MouseDown: inside the plot area the grid row whose frequency (column 1) lies within 5 %
// of the X value for the first ten rows examined, 2 % after, searched from row 2 down; outside
// it the eraser at (300, 1). Only after a record is loaded and a spectrum has set the axes, and
// not while the waveform or the running multi-plot is shown. Rows whose frequency cell holds no
// number are examined but never chosen.
struct SpectrumClick {
    std::optional<int> Row;
    std::optional<PictureText> Erase;
};
SpectrumClick SpectrumClickAt(const SpectrumAxes& axes, const PictureState& picture, int x, int y,
                              int rowCount, const std::function<std::string(int row)>& frequencyCell);

// The grid row for an X value (see SpectrumClickAt), or none.
std::optional<int> GridRowNear(double x, int rowCount,
                               const std::function<std::string(int row)>& frequencyCell);

// Image1MouseUp with the right button: the spectrum format dialog for a spectrum or the running
// multi-plot, the wave format dialog otherwise (only once a record is loaded).
enum class RightClickDialog { None, SpectrumFormat, WaveFormat };
RightClickDialog DialogForRightClick(const PictureState& picture);

}  // namespace wavora
