#include "draw/peak_histogram.h"

namespace wavora {

void DrawPeakHistogram(GraphPlot& chart, Canvas& canvas, const PeakHistogram& histogram) {
    chart.NGridX = histogram.NGridX;
    chart.SValueX = histogram.SValueX;
    chart.VValueX = histogram.VValueX;
    chart.SubX = histogram.SubX;
    chart.VValueY = histogram.VValueY;
    chart.LinearX = true;
    chart.LinearY = true;
    chart.TitleX = histogram.TitleX;
    chart.TitleY = histogram.TitleY;
    chart.DrawWaku();
    if (histogram.X.empty()) return;
    canvas.SetPenColor(kRed);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(PenStyle::Solid);
    chart.DrawGraph(histogram.X, histogram.Y);
    chart.PlotGraph(histogram.X, histogram.Y, 0, 2);
}

}  // namespace wavora
