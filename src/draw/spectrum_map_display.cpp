#include "draw/spectrum_map_display.h"

#include <algorithm>

#include "scales/scale_labels.h"

namespace wavora {

Color MapColor(int level) {
    const PaletteColour p = MapPaletteColour(level);
    return static_cast<Color>(p.Red) | static_cast<Color>(p.Green) << 8 | static_cast<Color>(p.Blue) << 16;
}

void ApplyMapFrame(GraphPlot& plot, const MapFrame& frame) {
    plot.OriginX = frame.OriginX;
    plot.OriginY = frame.OriginY;
    plot.WidthX = frame.WidthX;
    plot.HeightY = frame.HeightY;
    plot.NGridX = std::max(frame.NGridX, 1);
    plot.NGridY = std::max(frame.NGridY, 1);
    plot.SubX = frame.SubX;
    plot.SubY = frame.SubY;
    plot.SValueX = frame.SValueX;
    plot.VValueX = frame.VValueX;
    plot.SValueY = frame.SValueY;
    plot.VValueY = frame.VValueY;
    plot.LinearX = true;
    plot.LinearY = true;
}

MapFrame MapFrameOf(const GraphPlot& plot) {
    MapFrame f;
    f.OriginX = plot.OriginX;
    f.OriginY = plot.OriginY;
    f.WidthX = plot.WidthX;
    f.HeightY = plot.HeightY;
    f.NGridX = plot.NGridX;
    f.NGridY = plot.NGridY;
    f.SubX = plot.SubX;
    f.SubY = plot.SubY;
    f.SValueX = plot.SValueX;
    f.VValueX = plot.VValueX;
    f.SValueY = plot.SValueY;
    f.VValueY = plot.VValueY;
    return f;
}

void DrawColourBar(Canvas& canvas, const ColourBar& bar, const MapFrame& frame) {
    Canvas& c = canvas;
    for (int i = 0; i < kMapLevels; ++i) {
        c.SetBrushColor(MapColor(i));
        c.FillRect(kColourBarX + i, kColourBarY, kColourBarX + i + 1, kColourBarY + kColourBarHeight);
    }
    c.SetBrushColor(kWhite);
    c.SetPenColor(kBlack);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);
    const int n = std::max(bar.Divisions, 1);
    const float maximum = bar.Maximum > 0.0f ? bar.Maximum : 0.0f;
    int x = kColourBarX, w = 0;
    for (int k = 0; k <= n; ++k) {
        x = k * kMapLevels / n + kColourBarX;
        c.MoveTo(x, 17);
        c.LineTo(x, 22);
        const std::string label = RoundText(static_cast<float>(k) * maximum / static_cast<float>(n));
        w = c.TextWidth(label);
        c.TextOut(x - w / 2, 24, label);
    }
    if (!bar.Unit.empty()) c.TextOut(x + w / 2 + 2, 24, bar.Unit);

    // Outward ticks at the grid lines of both axes.
    const int gx = frame.WidthX / std::max(frame.NGridX, 1), gy = frame.HeightY / std::max(frame.NGridY, 1);
    for (int r = 0; r <= frame.NGridX; ++r) {
        c.MoveTo(frame.OriginX + r * gx, frame.OriginY);
        c.LineTo(frame.OriginX + r * gx, frame.OriginY + 4);
    }
    for (int r = 0; r <= frame.NGridY; ++r) {
        c.MoveTo(frame.OriginX, frame.OriginY - r * gy);
        c.LineTo(frame.OriginX - 4, frame.OriginY - r * gy);
    }
}

void DrawMapSet(GraphPlot& plot, Canvas& canvas, const MapFrame& frame, const ColourBar& bar) {
    canvas.SetFont(kMapFont, kMapFontSize);
    ApplyMapFrame(plot, frame);
    plot.DrawWaku();
    DrawColourBar(canvas, bar, frame);
}

void DrawMapStart(GraphPlot& plot, Canvas& canvas, const MapStartPlan& plan) {
    canvas.SetFont(kMapFont, kMapFontSize);
    plot.TitleX = plan.TitleX;
    plot.TitleY = plan.TitleY;
    ApplyMapFrame(plot, plan.Frame);
    plot.DrawWaku();
    Canvas& c = canvas;
    c.SetBrushColor(kWhite);
    c.SetFontColor(kBlack);
    c.TextOut(52 - c.TextWidth(plan.StartTime), 374, plan.StartTime);
    DrawColourBar(c, plan.Bar, plan.Frame);
    for (const MapText& note : plan.Notes) c.TextOut(note.X, note.Y, note.Text);
}

void DrawMapRow(Canvas& canvas, const MapRowPlan& row) {
    const Color brush = canvas.CurrentBrushColor();
    // Neighbouring bands of one level are painted as one rectangle: the same pixels, in far
    // fewer calls (a dense spectrum puts several lines on a pixel column).
    std::optional<MapBand> pending;
    auto paint = [&] {
        if (!pending) return;
        canvas.SetBrushColor(MapColor(pending->Level));
        canvas.FillRect(pending->Left, pending->Top, pending->Right, pending->Bottom);
        pending.reset();
    };
    for (const MapBand& band : row.Bands) {
        if (band.Right <= band.Left || band.Bottom <= band.Top) continue;
        if (pending && band.Level == pending->Level && band.Top == pending->Top &&
            band.Bottom == pending->Bottom && band.Left >= pending->Left && band.Left <= pending->Right) {
            pending->Right = std::max(pending->Right, band.Right);
            continue;
        }
        paint();
        pending = band;
    }
    paint();
    canvas.SetBrushColor(brush);
}

void MapCrossHair::Draw(Canvas& canvas, const MapFrame& frame, CanvasPoint at) {
    canvas.MoveTo(at.X, frame.OriginY);
    canvas.LineTo(at.X, frame.OriginY - frame.HeightY);
    canvas.MoveTo(frame.OriginX, at.Y);
    canvas.LineTo(frame.OriginX + frame.WidthX, at.Y);
}

std::optional<std::string> MapCrossHair::Down(Canvas& canvas, const MapFrame& frame, bool mapRunning, int x,
                                              int y, const char* frequencyUnit, const char* timeUnit) {
    if (mapRunning || !CrossHairInside(frame, x, y)) return std::nullopt;
    if (active_) Draw(canvas, frame, point_);  // a second press: the old cross goes first
    canvas.SetXorMode(true);
    canvas.SetPenColor(kRed);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(PenStyle::Solid);
    point_ = {x, y};
    Draw(canvas, frame, point_);
    active_ = true;
    return CrossHairText(frame, x, y, frequencyUnit, timeUnit);
}

std::optional<std::string> MapCrossHair::Move(Canvas& canvas, const MapFrame& frame, bool mapRunning, int x,
                                              int y, const char* frequencyUnit, const char* timeUnit) {
    if (!active_ || mapRunning || !CrossHairInside(frame, x, y)) return std::nullopt;
    Draw(canvas, frame, point_);
    point_ = {x, y};
    Draw(canvas, frame, point_);
    return CrossHairText(frame, x, y, frequencyUnit, timeUnit);
}

void MapCrossHair::Up(Canvas& canvas, const MapFrame& frame) {
    if (!active_) return;
    Draw(canvas, frame, point_);
    canvas.SetXorMode(false);
    canvas.SetPenColor(kBlack);
    active_ = false;
}

}  // namespace wavora
