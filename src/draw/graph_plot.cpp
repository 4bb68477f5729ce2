#include "draw/graph_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace wavora {

namespace {

// A scale label: the compact text, or the value with the axis's fixed format, where a value that
// rounds to nothing but zeros (such as "-0.0") reads "0".
std::string Label(double value, const std::string& fixedFormat) {
    if (fixedFormat.empty()) return _round_number(static_cast<float>(value));
    char buf[64];
    std::snprintf(buf, sizeof buf, fixedFormat.c_str(), value);
    return zero_string(buf) ? std::string("0") : std::string(buf);
}

// The fixed format of an axis for DrawWakuN; the sub-division count goes into subs. A step that is
// not positive has no such format: its labels fall back to the compact text and no sub-divisions.
std::string FixedFormat(float step, int& subs) {
    std::string format;
    subs = sub_scale(step, format);
    return subs > 0 ? format : std::string();
}

}  // namespace

GraphPlot::GraphPlot(Canvas* canvas) : canvas_(canvas) {}

GraphPlot::~GraphPlot() = default;

Canvas& GraphPlot::Surface() {
    return *canvas_;
}

void GraphPlot::Changed() {}

void GraphPlot::Report(const std::optional<Failure>& failure) {
    if (failure) Reported.push_back(*failure);
}

void GraphPlot::DrawWaku() {
    DrawFrame(false);
}

void GraphPlot::DrawWakuN() {
    DrawFrame(true);
}

void GraphPlot::DrawFrame(bool fixedDecimals) {
    Canvas& c = Surface();
    c.SetBrushColor(kWhite);
    if (!OverWrite) c.FillRect(0, 0, c.Width(), c.Height());
    // A logarithmic axis from zero cannot be scaled; the frame is still drawn (its labels all
    // read 0) and the program goes on.
    Report(LogStartFailure('X', XAxis()));
    Report(LogStartFailure('Y', YAxis()));
    if (NGridX < 1 || NGridY < 1) {
        Changed();
        return;
    }
    const int gx = WidthX / NGridX, gy = HeightY / NGridY;
    const int right = OriginX + NGridX * gx, top = OriginY - NGridY * gy;

    std::string format;
    if (fixedDecimals) format = FixedFormat(VValueX, SubX);
    for (int r = 0; r <= NGridX; ++r) {
        const int x = OriginX + r * gx;
        c.SetPenColor(kBlack);
        c.SetPenStyle(PenStyle::Solid);
        c.SetPenWidth(r == 0 || r == NGridX ? 2 : 1);
        c.MoveTo(x, OriginY);
        c.LineTo(x, top);
        c.SetPenWidth(1);
        std::string text = Label(GridValue(XAxis(), r), format);
        c.TextOut(x - c.TextWidth(text) / 2, OriginY + 5, text);
        c.SetPenStyle(PenStyle::Dot);
        if (r == NGridX) continue;
        std::vector<int> subs;
        if (LinearX) {
            for (int k = 1; k <= SubX - 1; ++k) subs.push_back(x + (k * gx) / SubX);
        } else {
            for (int k = 1; k <= 4; ++k) subs.push_back(static_cast<int>(x + std::log10(2.0 * k) * gx));
        }
        for (int sx : subs) {
            if (SubAxis) {
                c.MoveTo(sx, OriginY);
                c.LineTo(sx, top);
            } else {
                c.SetPenStyle(PenStyle::Solid);
                c.MoveTo(sx, OriginY);
                c.LineTo(sx, OriginY - 7);
            }
        }
    }

    format.clear();
    if (fixedDecimals) format = FixedFormat(VValueY, SubY);
    for (int r = 0; r <= NGridY; ++r) {
        const int y = OriginY - r * gy;
        c.SetPenStyle(PenStyle::Solid);
        c.SetPenWidth(r == 0 || r == NGridY ? 2 : 1);
        c.MoveTo(OriginX, y);
        c.LineTo(right, y);
        c.SetPenWidth(1);
        std::string text = Label(GridValue(YAxis(), r), format);
        int h = c.TextHeight(text);
        int tx = LeftScale ? OriginX - c.TextWidth(text) - 10 : OriginX + WidthX + 5;
        c.TextOut(tx, y - h / 2, text);
        c.SetPenStyle(PenStyle::Dot);
        if (r == NGridY) continue;
        std::vector<int> subs;
        if (LinearY) {
            for (int k = 1; k <= SubY - 1; ++k) subs.push_back(y - (k * gy) / SubY);
        } else {
            for (int k = 1; k <= 4; ++k) subs.push_back(static_cast<int>(y - std::log10(2.0 * k) * gy));
        }
        for (int sy : subs) {
            if (SubAxis) {
                c.MoveTo(OriginX, sy);
                c.LineTo(right, sy);
            } else {
                // Ticks stay on the left axis, wherever the labels are.
                c.SetPenStyle(PenStyle::Solid);
                c.MoveTo(OriginX, sy);
                c.LineTo(OriginX + 7, sy);
            }
        }
    }

    const int h = c.TextHeight("A");
    c.TextOut(OriginX + WidthX / 2 - c.TextWidth(TitleX) / 2, static_cast<int>(OriginY + 1.4 * h), TitleX);
    c.TextOut(LeftScale ? OriginX + 10 : OriginX + WidthX - c.TextWidth(TitleY) - 5,
              static_cast<int>(OriginY - HeightY - 1.3 * h), TitleY);
    c.SetPenStyle(PenStyle::Solid);
    Changed();
}

void GraphPlot::XScaleUnit(int n, const float* values) {
    AxisFields a = XAxis();
    AxisScaleUnit(a, n, values);
    SValueX = a.SValue, VValueX = a.VValue;
}

void GraphPlot::YScaleUnit(int n, const float* values) {
    AxisFields a = YAxis();
    AxisScaleUnit(a, n, values);
    SValueY = a.SValue, VValueY = a.VValue;
}

void GraphPlot::XScaleUnit1(int n, const float* values) {
    AxisFields a = XAxis();
    std::optional<Failure> f = AxisScaleUnit1(a, n, values);
    NGridX = a.NGrid, SValueX = a.SValue, VValueX = a.VValue;
    Report(f);
}

void GraphPlot::YScaleUnit1(int n, const float* values) {
    AxisFields a = YAxis();
    std::optional<Failure> f = AxisScaleUnit1(a, n, values);
    NGridY = a.NGrid, SValueY = a.SValue, VValueY = a.VValue;
    Report(f);
}

std::optional<int> GraphPlot::MapX(float x) const {
    if (NGridX < 1) return std::nullopt;
    return AxisPixel(XAxis(), OriginX, WidthX / NGridX, x, false);
}

std::optional<int> GraphPlot::MapY(float y) const {
    if (NGridY < 1) return std::nullopt;
    return AxisPixel(YAxis(), OriginY, HeightY / NGridY, y, true);
}

void GraphPlot::DrawGraph(int n, const float* x, const float* y) {
    Canvas& c = Surface();
    bool started = false;
    for (int i = 0; i < n; ++i) {
        std::optional<int> px = MapX(x[i]), py = MapY(y[i]);
        if (!px || !py) continue;
        if (started)
            c.LineTo(*px, *py);
        else
            c.MoveTo(*px, *py);
        started = true;
    }
    Changed();
}

void GraphPlot::Marker(int type, int px, int py, int size) {
    Canvas& c = Surface();
    const int h = (size + 1) / 2;
    switch (type) {
        case 0:
            c.Ellipse(px - size, py - size, px + size, py + size);
            break;
        case 1:
            c.Polygon({{px, py - size}, {px - size, py + h}, {px + size, py + h}});
            c.MoveTo(px, py - size);
            c.LineTo(px - size, py + h);
            c.LineTo(px + size, py + h);
            c.LineTo(px, py - size);
            break;
        case 2:
            c.FillRect(px - h, py - h, px + h, py + h);
            c.MoveTo(px - h, py - h);
            c.LineTo(px - h, py + h);
            c.LineTo(px + h, py + h);
            c.LineTo(px + h, py - h);
            c.LineTo(px - h, py - h);
            break;
        case 3:
            c.Polygon({{px, py - h}, {px - h, py}, {px, py + h}, {px + h, py}});
            c.MoveTo(px, py - h);
            c.LineTo(px - h, py);
            c.LineTo(px, py + h);
            c.LineTo(px + h, py);
            c.LineTo(px, py - h);
            break;
        case 4:
            c.MoveTo(px - size, py - size);
            c.LineTo(px + size, py + size);
            c.MoveTo(px + size, py - size);
            c.LineTo(px - size, py + size);
            break;
        case 5:
            c.MoveTo(px, py - size);
            c.LineTo(px, py + size);
            c.MoveTo(px + size, py);
            c.LineTo(px - size, py);
            break;
        default:
            break;
    }
}

// Markers at every point whose index is a multiple of every; series run in ascending x, so the
// first point right of the plot area ends the series.
void GraphPlot::Markers(int n, const float* x, const float* y, int type, int size, int every, bool solid) {
    Canvas& c = Surface();
    for (int i = 0; i < n; i += every) {
        std::optional<int> px = MapX(x[i]);
        if (!px) continue;
        if (*px > OriginX + WidthX) break;
        std::optional<int> py = MapY(y[i]);
        if (!py) continue;
        if (solid) {
            PenStyle saved = c.CurrentPenStyle();
            c.SetPenStyle(PenStyle::Solid);
            Marker(type, *px, *py, size);
            c.SetPenStyle(saved);
        } else {
            Marker(type, *px, *py, size);
        }
    }
    Changed();
}

void GraphPlot::PlotGraph(int n, const float* x, const float* y, int type, int size) {
    Markers(n, x, y, type, size, 1, false);
}

void GraphPlot::SkipGraph(int n, const float* x, const float* y, int type, int size, int skip) {
    if (skip == 0) return;
    Markers(n, x, y, type, size, skip > 1 ? skip : 1, true);
}

void GraphPlot::DrawGraph(const std::vector<float>& x, const std::vector<float>& y) {
    DrawGraph(static_cast<int>(std::min(x.size(), y.size())), x.data(), y.data());
}

void GraphPlot::PlotGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size) {
    PlotGraph(static_cast<int>(std::min(x.size(), y.size())), x.data(), y.data(), type, size);
}

void GraphPlot::SkipGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size,
                          int skip) {
    SkipGraph(static_cast<int>(std::min(x.size(), y.size())), x.data(), y.data(), type, size, skip);
}

void GraphPlot::Clear(Color color) {
    Canvas& c = Surface();
    c.SetBrushColor(color);
    c.FillRect(0, 0, c.Width(), c.Height());
    Changed();
}

}  // namespace wavora
