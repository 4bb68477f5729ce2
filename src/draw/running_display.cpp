#include "draw/running_display.h"

#include "draw/spectrum_format.h"
#include "draw/startup_picture.h"

namespace wavora {

namespace {

constexpr int kTextSize = 12;  // the picture's font size

}  // namespace

RunningScale RunningScaleOf(const SpectrumAxes& axes) {
    RunningScale s;
    s.SValueX = axes.SValueX;
    s.VValueX = axes.VValueX;
    s.NGridX = axes.NGridX;
    s.SValueY = axes.SValueY;
    s.VValueY = axes.VValueY;
    s.NGridY = axes.NGridY;
    s.LogX = axes.LogX;
    s.LogY = axes.LogY;
    s.WidthX = axes.WidthX;
    s.HeightY = axes.HeightY;
    return s;
}

SpectrumAxisFields MapAxisFieldsOf(const SpectrumFormatFields& fields) {
    SpectrumAxisFields f;
    f.XStart = FieldNumber(fields.EdSX0).value_or(f.XStart);
    f.XMax = FieldNumber(fields.EdSXM).value_or(f.XMax);
    f.XDivisions = fields.UpDown2;
    f.Width = FieldInteger(fields.Edlx).value_or(f.Width);
    f.Height = FieldInteger(fields.Edly).value_or(f.Height);
    return f;
}

void DrawRunningFrame(Canvas& canvas, const RunningFrame& frame) {
    Canvas& c = canvas;
    const RunningFrameGeometry& g = frame.Geometry;
    c.SetFont(kPictureFont, kTextSize);
    c.SetFontColor(kBlack);
    c.SetBrushColor(kWhite);
    c.FillRect(0, 0, c.Width(), c.Height());
    c.SetPenColor(kBlack);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);

    // The frequency axis with a tick and a label at every division the curves use.
    c.MoveTo(g.OriginX, g.OriginY);
    c.LineTo(g.OriginX + g.Width, g.OriginY);
    int labelEnd = g.OriginX;
    for (size_t p = 0; p < frame.TickXs.size(); ++p) {
        const int x = frame.TickXs[p];
        c.MoveTo(x, g.OriginY);
        c.LineTo(x, g.OriginY - 5);
        const std::string& label = p < frame.TickLabels.size() ? frame.TickLabels[p] : std::string();
        const int w = c.TextWidth(label);
        c.TextOut(x - w / 2, g.OriginY + 5, label);
        labelEnd = x - w / 2 + w;
    }
    c.TextOut(labelEnd + 4, g.OriginY + 5, frame.FrequencyUnit);

    c.TextOut(30, 140, "Elapsed Time");
    c.TextOut(50, 160, frame.TimeUnit);
    c.TextOut(30, 90, frame.Heading);
    c.TextOut(c.Width() - c.TextWidth(frame.FileName) - 20, 395, frame.FileName);
    c.TextOut(30, 20, frame.TitleLine);
    c.TextOut(30, 40, frame.SkipLine);
    c.TextOut(30, 60, frame.PointsLine);
    c.TextOut(300, 320, frame.SmoothLine);
    c.TextOut(300, 340, "Filter");
    c.TextOut(310, 360, frame.FilterNote);
}

void DrawRunningCurve(Canvas& canvas, const RunningCurve& curve, Color channelColor) {
    Canvas& c = canvas;
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);
    const Color pen = curve.Black ? kBlack : channelColor;
    c.SetPenColor(pen);
    bool placed = false;
    PlotPoint at;
    for (const PlotSegment& s : curve.Segments) {
        if (!placed || !(s.From == at)) c.MoveTo(s.From.X, s.From.Y);
        c.LineTo(s.To.X, s.To.Y);
        // A line leaves out its end pixel; the visible pieces of a dense curve are often a single
        // column or a single point, which would then not show at all.
        c.SetPixel(s.To.X, s.To.Y, pen);
        at = s.To;
        placed = true;
    }
    if (curve.Black) {
        // The time slice's base line with its ticks, and the time of its position to the left.
        c.SetPenColor(kBlack);
        const PlotPoint b = curve.Base;
        const int w = c.TextWidth(curve.TimeLabel);
        c.SetFontColor(kBlack);
        c.SetTextTransparent(true);  // labels never blank out the curves in front
        c.TextOut(b.X - 8 - w, b.Y - 10, curve.TimeLabel);
        c.SetTextTransparent(false);
        c.MoveTo(b.X, b.Y);
        c.LineTo(b.X + curve.BaseLength, b.Y);
        for (int x : curve.TickXs) {
            c.MoveTo(x, b.Y);
            c.LineTo(x, b.Y - 5);
        }
    }
    c.SetPenColor(channelColor);
}

void DrawRunningSpectrum(Canvas& canvas, const RunningStep& step, Color channelColor) {
    if (step.Frame) DrawRunningFrame(canvas, *step.Frame);
    if (step.Curve) DrawRunningCurve(canvas, *step.Curve, channelColor);
}

}  // namespace wavora
