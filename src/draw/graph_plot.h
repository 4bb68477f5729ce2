#pragma once
// The chart of the graph component, drawn on a Canvas: a frame (grid, sub-divisions, scale labels
// and two axis titles) on linear or logarithmic axes, and series plotted into it as lines or
// markers. Everything about the frame is in the fields: set them (or let a scaling operation choose
// them), call DrawWaku, set the pen on the canvas, plot. The TMyGraph control is this chart on a
// widget; the batch tool draws it on an image canvas of its own.

#include <optional>
#include <string>
#include <vector>

#include "draw/canvas.h"
#include "record/failure.h"
#include "scales/axis_rules.h"

namespace wavora {

class GraphPlot {
  public:
    // Draws on `canvas`; a subclass that owns its surface passes none and overrides Surface().
    explicit GraphPlot(Canvas* canvas = nullptr);
    virtual ~GraphPlot();
    GraphPlot(const GraphPlot&) = delete;
    GraphPlot& operator=(const GraphPlot&) = delete;

    int NGridX = 4;    // grid intervals along X, at least 1
    int NGridY = 4;    // grid intervals along Y, at least 1
    int WidthX = 250;  // nominal plot-area width in pixels
    int HeightY = 250;
    int OriginX = 35;  // canvas position of the plot area's lower-left corner
    int OriginY = 270;
    bool LinearX = true;
    bool LinearY = true;
    float SValueX = 0;  // value at the origin (a logarithmic axis needs it non-zero)
    float SValueY = 0;
    float VValueX = 5;  // value per grid interval, or ratio per interval on a logarithmic axis
    float VValueY = 10;
    bool SubAxis = true;     // sub-divisions as dotted lines across the plot (else short ticks)
    bool OverWrite = false;  // draw the frame over the picture instead of on white
    bool LeftScale = true;   // Y labels and title at the left (else at the right)
    int SubX = 5;            // sub-divisions per grid interval on a linear axis
    int SubY = 5;
    std::string TitleX = "TitleX [unit]";
    std::string TitleY = "TitleY [unit]";

    // Messages a drawing could not avoid (a logarithmic axis from zero, negative data on a
    // logarithmic axis), in order, when no window shows them.
    std::vector<Failure> Reported;

    // Frames.
    void DrawWaku();
    // The same frame with SubX and SubY chosen from the steps and every label of an axis written
    // with one number of decimals.
    void DrawWakuN();

    // Automatic axes from data that are not negative, and from data that may be negative.
    void XScaleUnit(int n, const float* values);
    void YScaleUnit(int n, const float* values);
    void XScaleUnit1(int n, const float* values);
    void YScaleUnit1(int n, const float* values);

    // Series, in the pen and brush set on the canvas. Marker types: 0 circle, 1 triangle, 2 square,
    // 3 diamond, 4 diagonal cross, 5 upright cross; size in pixels.
    void DrawGraph(int n, const float* x, const float* y);
    void PlotGraph(int n, const float* x, const float* y, int type, int size);
    void SkipGraph(int n, const float* x, const float* y, int type, int size, int skip);
    void DrawGraph(const std::vector<float>& x, const std::vector<float>& y);
    void PlotGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size);
    void SkipGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size, int skip);

    // Fills the whole picture; the brush keeps the colour.
    void Clear(Color color);

    AxisFields XAxis() const { return {NGridX, LinearX, SValueX, VValueX}; }
    AxisFields YAxis() const { return {NGridY, LinearY, SValueY, VValueY}; }

  protected:
    // The surface drawn on, made ready for drawing.
    virtual Canvas& Surface();
    // Called after each drawing operation (a control repaints).
    virtual void Changed();
    // A message the drawing has to show.
    virtual void Report(const std::optional<Failure>& failure);

  private:
    void DrawFrame(bool fixedDecimals);
    void Marker(int type, int px, int py, int size);
    void Markers(int n, const float* x, const float* y, int type, int size, int every, bool solid);
    std::optional<int> MapX(float x) const;
    std::optional<int> MapY(float y) const;

    Canvas* canvas_ = nullptr;
};

}  // namespace wavora
