#pragma once
// The correlation picture on the main window's picture: the frame with its value and lag-time
// scales, the curve of R[r] / R[0] from (40, 100), the "R[0]=" and "t=" texts and the file name;
// and the zero-crossing report written under the plot when the analysis stops.

#include <string>

#include "analysis/correlation.h"
#include "draw/canvas.h"

namespace wavora {

// The main window's picture.
inline constexpr int kCorrelationPictureWidth = 433;
inline constexpr int kCorrelationPictureHeight = 417;

// The curve of a cross-correlation (red 128, green 0, blue 128).
inline constexpr Color kCrossCorrelationColor = kPurple;

struct CorrelationPicture {
    int TimeScale = 1;           // pixels per lag
    std::string TimeText = "s";  // the record's time unit, after the lag-time scale
    std::string FileName;        // the record's file name, at the lower right
    Color CurveColor = kRed;     // the first channel's colour, or purple for a cross-correlation
};

// The pen of the curve: the first channel's colour for an auto-correlation, purple for a cross.
Color CorrelationCurveColor(bool cross, Color firstChannelColor);

// One step's picture: the frame always; the curve, "R[0]=…", the file name and "t=…" when the
// step computed its values (at the end of the data the frame stays empty).
void DrawCorrelationFrame(Canvas& canvas, const CorrelationFrame& frame, const CorrelationPicture& picture);

// The report line at (150, 315), over the picture as it is; a line too long to end inside the
// picture from there starts further left.
void DrawCorrelationReport(Canvas& canvas, const std::string& text);

}  // namespace wavora
