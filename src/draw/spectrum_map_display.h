#pragma once
// The two-dimensional spectrum map on the chart of the 2-D window: the axes of Set with the colour
// bar above them, the titles and notes of a new map, one coloured row per step, and the cross-hair
// that reads (f, t) off the finished map. The chart is a GraphPlot (TMyGraph on the window) and the
// pixels go on its canvas, so the window and wavora-batch draw the same picture.

#include <optional>
#include <string>

#include "analysis/spectrum_map.h"
#include "draw/canvas.h"
#include "draw/graph_plot.h"

namespace wavora {

// The font of the chart's labels, titles and notes: proportional, so that the long value title and
// the notes beside it fit the places they are given.
inline constexpr const char* kMapFont = "ＭＳ Ｐゴシック";
inline constexpr int kMapFontSize = 9;

// The colour of a palette level as a canvas colour.
Color MapColor(int level);

// The chart's fields from a frame (axes, sub-divisions, origin), both axes linear.
void ApplyMapFrame(GraphPlot& plot, const MapFrame& frame);
// The frame the chart has now.
MapFrame MapFrameOf(const GraphPlot& plot);

// The colour bar with its ticks, labels and unit, and the outward ticks of 4 pixels at every grid
// line of both axes.
void DrawColourBar(Canvas& canvas, const ColourBar& bar, const MapFrame& frame);

// Set: the axes, the frame (DrawWaku) and the colour bar.
void DrawMapSet(GraphPlot& plot, Canvas& canvas, const MapFrame& frame, const ColourBar& bar);

// StartMap: the frame with the map's titles, the start time, the colour bar and the notes.
void DrawMapStart(GraphPlot& plot, Canvas& canvas, const MapStartPlan& plan);

// DrawMapRow: one row of coloured bands.
void DrawMapRow(Canvas& canvas, const MapRowPlan& row);

// The cross-hair: a vertical line over the axis height and a horizontal one over the axis width,
// drawn in the canvas's XOR mode, which inverts every pixel it crosses whatever the pen colour
// (white turns black, a map colour its complement), so drawing the cross again erases it exactly.
// It works only while no map is being drawn and inside the axis area.
class MapCrossHair {
  public:
    // Mouse down: draws the cross and returns the read-out; nothing outside or while a map runs.
    std::optional<std::string> Down(Canvas& canvas, const MapFrame& frame, bool mapRunning, int x, int y,
                                    const char* frequencyUnit, const char* timeUnit);
    // Mouse move while the button is held: the cross follows; nothing when it may not stand there.
    std::optional<std::string> Move(Canvas& canvas, const MapFrame& frame, bool mapRunning, int x, int y,
                                    const char* frequencyUnit, const char* timeUnit);
    // Mouse up: the cross is erased; pen back to copy mode and black.
    void Up(Canvas& canvas, const MapFrame& frame);
    // A new run: no cross, point (0, 0).
    void Reset() { active_ = false, point_ = {}; }

    bool Active() const { return active_; }
    CanvasPoint Point() const { return point_; }

  private:
    static void Draw(Canvas& canvas, const MapFrame& frame, CanvasPoint at);

    bool active_ = false;
    CanvasPoint point_;
};

}  // namespace wavora
