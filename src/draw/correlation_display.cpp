#include "draw/correlation_display.h"

#include <algorithm>

namespace wavora {

namespace {

constexpr int kX0 = kCorrelationOriginX;  // lag 0
constexpr int kY0 = kCorrelationOriginY;  // value 0
constexpr int kHalf = kCorrelationHalfHeight;

}  // namespace

Color CorrelationCurveColor(bool cross, Color firstChannelColor) {
    return cross ? kCrossCorrelationColor : firstChannelColor;
}

void DrawCorrelationFrame(Canvas& canvas, const CorrelationFrame& frame, const CorrelationPicture& picture) {
    canvas.SetBrushColor(kWhite);
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
    canvas.SetPenColor(kBlack);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetFontColor(kBlack);

    // Axes: values −1.2 … 1.2 and 350 lags plus a little room.
    const int reach = static_cast<int>(1.2 * kHalf);
    canvas.MoveTo(kX0, kY0 + reach);
    canvas.LineTo(kX0, kY0 - reach);
    canvas.MoveTo(kX0, kY0);
    canvas.LineTo(420, kY0);
    canvas.TextOut(70, 50, frame.Title);

    for (int q = 0; q < 5; ++q) {
        const int y = 300 - 50 * q;
        const std::string& label = frame.ValueLabels[static_cast<size_t>(q)];
        canvas.TextOut(kX0 - canvas.TextWidth(label) - 5, y - 10, label);
        if (q == 2) continue;  // the lag axis is there
        canvas.MoveTo(kX0, y);
        canvas.LineTo(kX0 + 7, y);
    }

    int lastWidth = 0;
    for (int t = 0; t < static_cast<int>(frame.TickLabels.size()); ++t) {
        const int x = kX0 + 50 * t;
        canvas.MoveTo(x, 340);
        canvas.LineTo(x, 345);
        const std::string& label = frame.TickLabels[static_cast<size_t>(t)];
        lastWidth = canvas.TextWidth(label);
        canvas.TextOut(x - lastWidth / 2, 350, label);
    }
    canvas.TextOut(390 + lastWidth / 2, 360, picture.TimeText);

    if (frame.Status != CorrelationStatus::Computed) return;

    const int timeScale = std::max(picture.TimeScale, 1);
    canvas.SetPenColor(picture.CurveColor);
    canvas.MoveTo(kX0, kY0 - kHalf);
    for (int r = 1; r < frame.LagCount && r < static_cast<int>(frame.CurveY.size()); ++r)
        canvas.LineTo(kX0 + r * timeScale, frame.CurveY[static_cast<size_t>(r)]);

    canvas.TextOut(200, 70, frame.R0Text);
    canvas.TextOut(canvas.Width() - canvas.TextWidth(picture.FileName) - 20, canvas.Height() - 20,
                   picture.FileName);
    canvas.TextOut(350, 70, frame.TimeText);
}

void DrawCorrelationReport(Canvas& canvas, const std::string& text) {
    canvas.SetBrushColor(kWhite);
    canvas.SetFontColor(kBlack);
    // A long report (a period of several digits, the frequency unit) moves left so that it ends
    // inside the picture instead of losing its unit at the edge.
    const int x = std::max(0, std::min(150, canvas.Width() - canvas.TextWidth(text) - 4));
    canvas.TextOut(x, 315, text);
}

}  // namespace wavora
