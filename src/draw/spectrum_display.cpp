#include "draw/spectrum_display.h"

#include <algorithm>
#include <cmath>

#include "draw/spectrum_format.h"
#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

// Pixels far outside the picture are pinned here before they are truncated to integers, so a
// huge value or a tiny axis step cannot overflow; the canvas clips what it cannot show.
constexpr double kPinnedPixel = 1.0e6;

std::optional<int> Pixel(double p) {
    if (!std::isfinite(p)) return std::nullopt;
    return static_cast<int>(std::clamp(p, -kPinnedPixel, kPinnedPixel));  // truncation toward zero
}

double Frequency(const SpectrumCurve& curve, int i, float duration) {
    if (!curve.Frequencies.empty()) return curve.Frequencies[i];
    return static_cast<double>(i) / duration;
}

int HalfOf(const SpectrumCurve& curve) {
    int half = curve.Points / 2;
    half = std::min<int>(half, static_cast<int>(curve.Values.size()));
    if (!curve.Frequencies.empty()) half = std::min<int>(half, static_cast<int>(curve.Frequencies.size()));
    return std::max(half, 0);
}

// The value of grid line r, in the single precision the labels are written from.
float LineValue(bool log, float start, float step, int r) {
    return log ? static_cast<float>(start * std::pow(static_cast<double>(step), r))
               : static_cast<float>(static_cast<double>(start) + r * static_cast<double>(step));
}

// Where a value lies on an axis, in pixels from its origin (upwards for Y); empty when it cannot
// be placed.
std::optional<double> AxisOffset(bool log, float start, float step, int grid, double value) {
    if (log) {
        if (!(value > 0.0) || !(start > 0.0f)) return std::nullopt;
        const double d = std::log10(value / start) / std::log10(static_cast<double>(step)) * grid;
        if (!std::isfinite(d)) return std::nullopt;
        return d;
    }
    if (!std::isfinite(value)) return std::nullopt;
    const double d = (value - start) / static_cast<double>(step) * grid;
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

void DrawFrame(Canvas& c, SpectrumDisplay& display, const SpectrumFrameInfo& info,
               const SpectrumCurve& curve) {
    SpectrumAxes& a = display.Axes;
    const SpectrumDisplayOptions& o = display.Options;
    display.Frame.CurveCount = 0;
    display.Frame.MultiPlot = false;
    c.SetXorMode(false);
    c.SetBrushColor(kWhite);
    c.FillRect(0, 0, c.Width(), c.Height());
    c.SetFontColor(kBlack);

    a.GridX = a.WidthX / std::max(a.NGridX, 1);
    a.GridY = a.HeightY / std::max(a.NGridY, 1);
    std::string formatX, formatY;
    const int subX = SubScale(a.VValueX, formatX);
    const int subY = SubScale(a.VValueY, formatY);

    const SpectrumFrameTexts texts = FrameTextsOf(info, curve.Unit, curve.Points);
    const int top = a.OriginY - a.HeightY;
    c.TextOut(a.OriginX + 10, top - 25, texts.Title);
    c.TextOut(a.OriginX - 40, top - 70, texts.DataLine);
    if (info.Ratio) c.TextOut(a.OriginX + 10, top - 25, texts.RatioLine);
    if (o.DataComment) c.TextOut(a.OriginX - 40, top - 55, texts.DataComment);

    const int frameWidth = a.NGridX * a.GridX, frameHeight = a.NGridY * a.GridY;
    auto subLine = [&](int x0, int y0, int x1, int y1, int tickX, int tickY) {
        if (o.SubAxis) {
            c.MoveTo(x0, y0);
            c.LineTo(x1, y1);
        } else {
            c.SetPenStyle(PenStyle::Solid);
            c.MoveTo(x0, y0);
            c.LineTo(tickX, tickY);
        }
    };

    // Vertical grid lines with the X labels centred under them.
    c.SetPenColor(kBlack);
    for (int r = 0; r <= a.NGridX; ++r) {
        const int x = a.OriginX + r * a.GridX;
        c.SetPenStyle(PenStyle::Solid);
        c.SetPenWidth(r == 0 || r == a.NGridX ? 2 : 1);
        c.MoveTo(x, a.OriginY);
        c.LineTo(x, a.OriginY - frameHeight);
        c.SetPenWidth(1);
        const float value = LineValue(a.LogX, a.SValueX, a.VValueX, r);
        const std::string label = a.LogX ? RoundText(value) : SignificantText(5, value);
        c.TextOut(x - c.TextWidth(label) / 2, a.OriginY + 5, label);
        c.SetPenStyle(PenStyle::Dot);
        if (r == a.NGridX) continue;
        if (a.LogX) {
            for (int k = 1; k <= 4; ++k) {
                const int sx = static_cast<int>(x + std::log10(2.0 * k) * a.GridX);
                subLine(sx, a.OriginY, sx, a.OriginY - frameHeight, sx, a.OriginY - 7);
            }
        } else {
            for (int k = 1; k < subX; ++k) {
                const int sx = x + (k * a.GridX) / subX;
                subLine(sx, a.OriginY, sx, a.OriginY - frameHeight, sx, a.OriginY - 7);
            }
        }
    }

    // Horizontal grid lines with the Y labels at the left.
    for (int r = 0; r <= a.NGridY; ++r) {
        const int y = a.OriginY - r * a.GridY;
        c.SetPenStyle(PenStyle::Solid);
        c.SetPenWidth(r == 0 || r == a.NGridY ? 2 : 1);
        c.MoveTo(a.OriginX, y);
        c.LineTo(a.OriginX + frameWidth, y);
        c.SetPenWidth(1);
        const float value = LineValue(a.LogY, a.SValueY, a.VValueY, r);
        std::string label;
        if (a.LogY) {
            label = RoundText(value);
        } else {
            label = FormatNumber(formatY, value);
            if (ZeroString(label)) label = "0";
        }
        c.TextOut(a.OriginX - c.TextWidth(label) - 10, y - c.TextHeight(label) / 2, label);
        c.SetPenStyle(PenStyle::Dot);
        if (r == a.NGridY) continue;
        if (a.LogY) {
            for (int k = 1; k <= 4; ++k) {
                const int sy = static_cast<int>(y - std::log10(2.0 * k) * a.GridY);
                subLine(a.OriginX, sy, a.OriginX + frameWidth, sy, a.OriginX + 7, sy);
            }
        } else {
            for (int k = 1; k < subY; ++k) {
                const int sy = y - (k * a.GridY) / subY;
                subLine(a.OriginX, sy, a.OriginX + frameWidth, sy, a.OriginX + 7, sy);
            }
        }
    }
    c.SetPenStyle(PenStyle::Solid);

    c.TextOut(a.OriginX + frameWidth + 5, a.OriginY - 20, o.PeriodAxis ? info.TimeText : info.FrequencyText);
    display.Frame.NewSpectrumFrame = false;
    display.Frame.AutoMaximum.reset();
    display.Frame.LegendY = a.OriginY - a.HeightY + 28;
}

}  // namespace

SpectrumFrameInfo FrameInfoOf(const WaveRecord& record, const SpectrumResult& result, int displayPosition,
                              const WaveFilterNote& filter) {
    SpectrumFrameInfo info;
    const AnalysisSettings& s = result.Settings;
    info.Mem = s.Mem;
    info.Type = s.Type;
    info.AbsCoeffMode = s.AbsCoeffMode;
    info.SmoothPasses = s.SmoothPasses;
    info.DisplayPosition = displayPosition;
    info.Step = result.Step;
    info.Ratio = s.RatioMode != 0 && result.SelectedChannelCount == 2;
    // "A to B" names A first, "B to A" names B first.
    info.RatioFirst = s.RatioMode == 1 ? result.RatioChannelA : result.RatioChannelB;
    info.RatioSecond = s.RatioMode == 1 ? result.RatioChannelB : result.RatioChannelA;
    info.Filter = filter;
    info.TimeText = record.TimeText();
    info.FrequencyText = record.FrequencyText();
    info.FileName = record.FileName;
    return info;
}

SpectrumFrameTexts FrameTextsOf(const SpectrumFrameInfo& info, const std::string& unit, int points) {
    SpectrumFrameTexts t;
    const long long p = info.DisplayPosition;
    const long long last = p + static_cast<long long>(info.Step) * (points - 1);
    if (info.Mem) {
        t.Title = "MEM Spectrum";
        t.DataLine = StrPrintf("Data %d (%lld - %lld)", points, p, last);
    } else {
        if (info.Type == SpectrumType::Power)
            t.Title = "Power Spectrum [" + unit + "^2*" + info.TimeText + "]";
        else if (info.AbsCoeffMode)
            t.Title = "Abs Fourier Coeff [" + unit + "]";
        else
            t.Title = "Fourier Spectrum [" + unit + "*" + info.TimeText + "]";
        t.DataLine = StrPrintf("Data %d (%lld - %lld)  Smooth %d", points, p, last, info.SmoothPasses);
    }
    if (info.Ratio)
        t.RatioLine = StrPrintf("Spectral Ratio          CH%d / CH%d", info.RatioFirst, info.RatioSecond);
    t.DataComment = info.Filter.FilterChecked
                        ? StrPrintf("Bandpass %.2f - %.2f %s", static_cast<double>(info.Filter.Lower),
                                    static_cast<double>(info.Filter.Upper), info.FrequencyText.c_str())
                        : std::string("Unfiltered");
    return t;
}

float AutomaticFrequencyEnd(const SpectrumCurve& curve) {
    const int half = HalfOf(curve);
    if (!curve.Frequencies.empty()) return half > 0 ? curve.Frequencies[half - 1] : 0.0f;
    return 0.5f / curve.AnalysisInterval;
}

float AutomaticMaximum(const SpectrumCurve& curve) {
    const int half = HalfOf(curve);
    const float duration = static_cast<float>(curve.Points) * curve.AnalysisInterval;
    const double fmax = AutomaticFrequencyEnd(curve);
    float largest = 0.0f;
    for (int i = 0; i < half; ++i) {
        const float v = curve.Values[i];
        if (!std::isfinite(v) || v <= largest) continue;
        const double f = Frequency(curve, i, duration);
        if (f >= 0.0 && f <= fmax) largest = v;
    }
    return largest;
}

void ChooseAutomaticAxes(SpectrumAxes& a, std::span<const SpectrumCurve> curves) {
    a.WidthX = a.HeightY = 320;
    a.LogX = a.LogY = false;
    const float fmax = curves.empty() ? 0.0f : AutomaticFrequencyEnd(curves.front());
    const AxisScale x = AxisUnit(false, fmax);
    a.NGridX = x.NGrid, a.SValueX = x.Start, a.VValueX = x.Step;
    float ymax = 0.0f;
    for (const SpectrumCurve& curve : curves) ymax = std::max(ymax, AutomaticMaximum(curve));
    const AxisScale y = AxisUnit(false, ymax);
    a.NGridY = y.NGrid, a.SValueY = y.Start, a.VValueY = y.Step;
}

std::optional<Failure> DrawSpectrum(Canvas& c, SpectrumDisplay& display, WaveView& view,
                                    const SpectrumFrameInfo& info, const SpectrumCurve& curve) {
    SpectrumAxes& a = display.Axes;
    SpectrumFrameState& frame = display.Frame;
    if ((a.LogX && !(a.SValueX > 0.0f)) || (a.LogY && !(a.SValueY > 0.0f)))
        return Failure::Captioned("Illegal lower value for axis", "Data Error");

    const int half = HalfOf(curve);
    const float duration = static_cast<float>(curve.Points) * curve.AnalysisInterval;

    // The axes: chosen at the frame when automatic, and kept for the frame's later curves.
    double fmin, fmax;
    if (a.AutoScale) {
        if (frame.NewSpectrumFrame || !a.Drawn) {
            float ymax = AutomaticMaximum(curve);
            if (frame.AutoMaximum) ymax = std::max(ymax, *frame.AutoMaximum);
            ChooseAutomaticAxes(a, std::span<const SpectrumCurve>(&curve, 1));
            const AxisScale y = AxisUnit(false, ymax);
            a.NGridY = y.NGrid, a.SValueY = y.Start, a.VValueY = y.Step;
        }
        fmin = 0.0;
        fmax = AutomaticFrequencyEnd(curve);
    } else {
        fmin = a.SValueX;
        fmax = a.LogX ? a.SValueX * std::pow(static_cast<double>(a.VValueX), a.NGridX)
                      : a.SValueX + a.NGridX * static_cast<double>(a.VValueX);
    }

    if (frame.NewSpectrumFrame) DrawFrame(c, display, info, curve);
    a.Drawn = true;

    // The curve's pen.
    const SpectrumDisplayOptions& o = display.Options;
    c.SetXorMode(false);
    c.SetPenColor(curve.Colour);
    c.SetPenStyle(PenStyle::Solid);
    if (o.BroadLine) {
        c.SetPenWidth(2);
    } else {
        c.SetPenWidth(1);
        if (!display.Format.CBSolid)
            c.SetPenStyle(
                view.ChannelPenStyles[static_cast<size_t>(frame.CurveCount) % view.ChannelPenStyles.size()]);
    }

    // The curve: every placeable point joined to the one before.
    bool started = false;
    for (int i = o.PeriodAxis ? 1 : 0; i < half; ++i) {
        const double f = Frequency(curve, i, duration);
        const double v = o.PeriodAxis ? 1.0 / f : f;
        if (!(v >= fmin && v <= fmax)) continue;
        const std::optional<double> dx = AxisOffset(a.LogX, a.SValueX, a.VValueX, a.GridX, v);
        const std::optional<double> dy = AxisOffset(a.LogY, a.SValueY, a.VValueY, a.GridY, curve.Values[i]);
        if (!dx || !dy) continue;
        const std::optional<int> px = Pixel(a.OriginX + *dx), py = Pixel(a.OriginY - *dy);
        if (!px || !py) continue;
        if (started) {
            c.LineTo(*px, *py);
        } else {
            c.MoveTo(*px, *py);
            started = true;
        }
    }

    // File name and legend.
    c.SetBrushColor(kWhite);
    c.SetFontColor(kBlack);
    const int nameY = a.OriginY - a.HeightY + 10;
    if (o.RightSideComment)
        c.TextOut(a.OriginX + a.WidthX - c.TextWidth(info.FileName) - 10, nameY, info.FileName);
    else
        c.TextOut(a.OriginX + 10, nameY, info.FileName);
    if (view.ShowChannelComment && !info.Ratio) {
        const int w = c.TextWidth(curve.Legend);
        const int ly = frame.LegendY;
        const Color pen = c.CurrentPenColor();
        if (o.RightSideComment) {
            const int right = a.OriginX + a.WidthX;
            c.FillRect(right - w - 55, ly, right - 5, ly + 18);
            c.TextOut(right - w - 10, ly, curve.Legend);
            c.SetPenColor(pen);
            c.MoveTo(right - w - 15, ly + 8);
            c.LineTo(right - w - 50, ly + 8);
        } else {
            c.FillRect(a.OriginX + 10, ly, a.OriginX + w + 55, ly + 18);
            c.TextOut(a.OriginX + 15, ly, curve.Legend);
            c.SetPenColor(pen);
            c.MoveTo(a.OriginX + w + 20, ly + 8);
            c.LineTo(a.OriginX + w + 50, ly + 8);
        }
        frame.LegendY += 18;
    }
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenWidth(1);

    frame.CurveCount += 1;
    view.DisplayKind = kShowSpectrum;
    WriteBackAxes(a, display.Format);
    return std::nullopt;
}

std::optional<Failure> DrawSpectrumFrame(Canvas& canvas, SpectrumDisplay& display, WaveView& view,
                                         const SpectrumFrameInfo& info,
                                         std::span<const SpectrumCurve> curves) {
    display.Frame.NewSpectrumFrame = true;
    float largest = 0.0f;
    for (const SpectrumCurve& curve : curves) largest = std::max(largest, AutomaticMaximum(curve));
    display.Frame.AutoMaximum = largest;
    for (const SpectrumCurve& curve : curves) {
        if (auto failure = DrawSpectrum(canvas, display, view, info, curve)) {
            display.Frame.AutoMaximum.reset();
            return failure;
        }
    }
    return std::nullopt;
}

void SpectrumRunPicture::Add(const WaveRecord& record, const SpectrumResult& result, int channel,
                             Color colour) {
    Kept k;
    k.Channel = channel;
    k.Colour = colour;
    k.Points = result.Points;
    k.AnalysisInterval = result.AnalysisInterval;
    const size_t half = std::min(static_cast<size_t>(std::max(result.Points / 2, 0)), result.RealPart.size());
    k.Values.assign(result.RealPart.begin(), result.RealPart.begin() + static_cast<std::ptrdiff_t>(half));
    if (result.Settings.Mem) {
        const size_t n = std::min(half, result.MemFrequency.size());
        k.Frequencies.assign(result.MemFrequency.begin(),
                             result.MemFrequency.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (channel >= 0 && channel < kMaxChannels) {
        k.Unit = record.Channels[channel].DisplayUnit;
        k.Legend = record.Channels[channel].Name;
    }
    kept_.push_back(std::move(k));
}

void SpectrumRunPicture::TakeNames(const WaveRecord& record) {
    for (Kept& k : kept_)
        if (k.Channel >= 0 && k.Channel < kMaxChannels) k.Legend = record.Channels[k.Channel].Name;
}

std::vector<SpectrumCurve> SpectrumRunPicture::Curves() const {
    std::vector<SpectrumCurve> curves;
    curves.reserve(kept_.size());
    for (const Kept& k : kept_) {
        SpectrumCurve c;
        c.Channel = k.Channel;
        c.Colour = k.Colour;
        c.Points = k.Points;
        c.AnalysisInterval = k.AnalysisInterval;
        c.Values = k.Values;
        c.Frequencies = k.Frequencies;
        c.Unit = k.Unit;
        c.Legend = k.Legend;
        curves.push_back(std::move(c));
    }
    return curves;
}

std::optional<Failure> SpectrumRunPicture::Draw(Canvas& canvas, SpectrumDisplay& display, WaveView& view,
                                                const SpectrumFrameInfo& info) const {
    const std::vector<SpectrumCurve> curves = Curves();
    return DrawSpectrumFrame(canvas, display, view, info, curves);
}

}  // namespace wavora
