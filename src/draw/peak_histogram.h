#pragma once
// The peak histogram of the spectral peaks window on its chart: the frame on the spectrum graph's
// frequency axis and the count axis of the "Scale Unit", and the classes as a red line with circle
// markers through (class frequency, count).

#include "analysis/spectral_peaks.h"
#include "draw/graph_plot.h"

namespace wavora {

// The chart of the peaks window: 300 × 300 pixels, plot area 250 × 250 from (35, 270).
inline constexpr int kPeakHistogramSize = 300;

// Sets the chart's axes and titles from the histogram, draws the frame and, when there are
// points, the histogram in red.
void DrawPeakHistogram(GraphPlot& chart, Canvas& canvas, const PeakHistogram& histogram);

}  // namespace wavora
