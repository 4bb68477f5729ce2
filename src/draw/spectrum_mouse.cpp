#include "draw/spectrum_mouse.h"

#include <cmath>
#include <cstdlib>

#include "draw/spectrum_format.h"
#include "draw/wave_display.h"
#include "record/text_format.h"

namespace wavora {

namespace {

bool MouseSilent(const SpectrumAxes& axes, const PictureState& picture) {
    return !axes.Drawn || picture.MultiPlot || picture.DisplayKind == kShowWave ||
           picture.DisplayKind == kShowRunningPlot;
}

}  // namespace

const std::string& ReadoutEraser() {
    static const std::string eraser = std::string(13, ' ') + "\u3000\u3000" + std::string(10, ' ');
    return eraser;
}

bool InsidePlotArea(const SpectrumAxes& a, int x, int y) {
    return x >= a.OriginX && x <= a.OriginX + a.NGridX * a.GridX && y >= a.OriginY - a.NGridY * a.GridY &&
           y <= a.OriginY;
}

double ValueAtX(const SpectrumAxes& a, int x) {
    const double grids = static_cast<double>(x - a.OriginX) / (a.GridX > 0 ? a.GridX : 1);
    if (a.LogX) return a.SValueX * std::pow(static_cast<double>(a.VValueX), grids);
    return grids * a.VValueX + a.SValueX;
}

double ValueAtY(const SpectrumAxes& a, int y) {
    const double grids = static_cast<double>(a.OriginY - y) / (a.GridY > 0 ? a.GridY : 1);
    if (a.LogY) return a.SValueY * std::pow(static_cast<double>(a.VValueY), grids);
    return grids * a.VValueY + a.SValueY;
}

std::optional<PictureText> SpectrumReadout(const SpectrumAxes& axes, const PictureState& picture,
                                           const std::string& frequencyText, int x, int y) {
    if (MouseSilent(axes, picture)) return std::nullopt;
    if (!InsidePlotArea(axes, x, y)) return PictureText{kReadoutX, kReadoutY, ReadoutEraser()};
    const double xv = ValueAtX(axes, x), yv = ValueAtY(axes, y);
    const char* format = yv > 0.001 ? "%.2f%s , %.4f  " : "%.2f%s , %.3e  ";
    return PictureText{kReadoutX, kReadoutY, StrPrintf(format, xv, frequencyText.c_str(), yv)};
}

std::optional<int> GridRowNear(double x, int rowCount,
                               const std::function<std::string(int row)>& frequencyCell) {
    int examined = 0;
    for (int row = 2; row < rowCount; ++row) {
        const double tolerance = (examined < 10 ? 0.05 : 0.02) * x;
        ++examined;
        const std::optional<float> f = FieldNumber(frequencyCell(row));
        if (f && std::fabs(x - *f) < tolerance) return row;
    }
    return std::nullopt;
}

SpectrumClick SpectrumClickAt(const SpectrumAxes& axes, const PictureState& picture, int x, int y,
                              int rowCount, const std::function<std::string(int row)>& frequencyCell) {
    SpectrumClick click;
    if (!picture.DataLoaded || MouseSilent(axes, picture)) return click;
    if (!InsidePlotArea(axes, x, y)) {
        click.Erase = PictureText{kClickEraseX, kClickEraseY, ReadoutEraser()};
        return click;
    }
    click.Row = GridRowNear(ValueAtX(axes, x), rowCount, frequencyCell);
    return click;
}

RightClickDialog DialogForRightClick(const PictureState& picture) {
    if (!picture.DataLoaded) return RightClickDialog::None;
    if (picture.DisplayKind == kShowSpectrum || picture.DisplayKind == kShowRunningPlot)
        return RightClickDialog::SpectrumFormat;
    return RightClickDialog::WaveFormat;
}

}  // namespace wavora
