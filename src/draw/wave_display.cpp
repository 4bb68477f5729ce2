#include "draw/wave_display.h"

#include <algorithm>
#include <cmath>

#include "record/number_text.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

constexpr int kX0 = 15;  // left edge of the traces

// Pixel rows far outside the picture are pinned, so that a huge magnification cannot overflow.
int PixelRow(double y) {
    if (!(y > -1.0e6)) return -1000000;
    if (y > 1.0e6) return 1000000;
    return static_cast<int>(y);  // truncation toward zero
}

}  // namespace

std::array<Color, kMaxChannels> DefaultChannelColors() {
    return {kRed, kBlue, kGreen, kBlack, kOlive, kFuchsia, kMaroon, kTeal};
}

WaveFilterNote FilterNoteOf(const FilterState& filter, bool filtered) {
    WaveFilterNote note;
    note.FilterChecked = filtered;
    note.Lower = filter.EffectiveLower;
    note.Upper = filter.EffectiveUpper;
    return note;
}

int CountDisplayedChannels(const WaveRecord& record, const WaveView& view) {
    int n = 0;
    for (int k = 0; k < record.ChannelCount && k < kMaxChannels; ++k)
        if (view.DisplayChannels[k]) ++n;
    return n;
}

std::string ScalingText(float magnification, int divisor) {
    return magnification > 0.9f ? StrPrintf("%.0f/%d", magnification, divisor)
                                : StrPrintf("%.2f/%d", magnification, divisor);
}

AmplitudeBar AmplitudeBarOf(const ChannelInfo& channel, float magnification, int stripPitch) {
    AmplitudeBar bar;
    const double div = channel.DisplayDivisor;
    const double scale = channel.ScaleFactor;
    // A zero magnification or scale (an all-zero channel) has no physical size to show.
    if (magnification <= 0.0f || scale <= 0.0 || div <= 0.0) return bar;
    const float m = static_cast<float>(stripPitch * 0.25 * div / magnification * scale);
    if (!std::isfinite(m) || m <= 0.0f) return bar;
    const float step = ScaleUnit(false, 1, m).Step;
    const double length = step * static_cast<double>(magnification) / div / scale;
    if (!std::isfinite(length)) return bar;
    bar.Drawn = true;
    bar.Step = step;
    bar.Length = PixelRow(length);
    bar.Label = RoundText(step) + channel.DisplayUnit;
    return bar;
}

void DrawWave(Canvas& canvas, const WaveRecord& record, WaveView& view, const WaveFilterNote& note,
              int step) {
    const int width = canvas.Width();
    const int height = canvas.Height();
    const int channels = std::clamp(record.ChannelCount, 0, kMaxChannels);
    const int h = height / (view.DisplayedCount + 1);
    step = std::max(step, 1);
    const int timeScale = std::max(view.TimeScale, 1);
    const int32_t position = view.DisplayPosition;

    canvas.SetBrushColor(kWhite);
    canvas.FillRect(0, 0, width, height);
    view.WaveWidth = 400;
    const float span = record.SamplingRate != 0 ? static_cast<float>(400 * step) /
                                                      static_cast<float>(record.SamplingRate) / timeScale
                                                : 0.0f;

    // Time ruler.
    canvas.SetPenColor(kBlue);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.MoveTo(kX0, 2);
    canvas.LineTo(kX0, 5);
    canvas.TextOut(13, 5, "0");
    canvas.TextOut(40, 5, std::to_string(position));
    canvas.TextOut(400, 15, record.TimeText());
    for (int i = 1; i <= 4; ++i) {
        const int x = (400 * i) / 4 + kX0;
        canvas.MoveTo(x, 2);
        canvas.LineTo(x, 5);
        canvas.TextOut(x - 12, 5, StrPrintf("%.2f", i * span * 0.25f));
    }

    // Points per trace; near the end the trace stops at the last sample reachable with the stride.
    int d = 400 / timeScale;
    if (static_cast<int64_t>(position) + (400 * step) / timeScale > record.SampleCount)
        d = (record.SampleCount - position) / step;

    // Traces.
    int y0 = h;
    for (int k = 0; k < channels; ++k) {
        if (!view.DisplayChannels[k]) continue;
        const ChannelInfo& ch = record.Channels[k];
        const double mag = view.ChannelMagnification[k];
        const double div = ch.DisplayDivisor != 0 ? ch.DisplayDivisor : 1;
        const int64_t available = static_cast<int64_t>(ch.Samples.size());
        if (d > 0 && position >= 0 && position < available) {
            int x = kX0;
            canvas.MoveTo(x, PixelRow(y0 - ch.Samples[position] * mag / div));
            canvas.SetPenColor(view.ChannelColors[k]);
            for (int i = 1; i < d; ++i) {
                const int64_t at = position + static_cast<int64_t>(step) * i;
                if (at >= available) break;
                x += timeScale;
                canvas.LineTo(x, PixelRow(y0 - ch.Samples[at] * mag / div));
            }
        }
        y0 += h;
    }

    // Zero lines, amplitude bars and scaling factors.
    canvas.SetPenColor(kBlack);
    y0 = h;
    for (int k = 0; k < channels; ++k) {
        if (!view.DisplayChannels[k]) continue;
        const ChannelInfo& ch = record.Channels[k];
        const float mag = view.ChannelMagnification[k];
        canvas.MoveTo(kX0, y0);
        canvas.LineTo(kX0 + 400, y0);
        AmplitudeBar bar = AmplitudeBarOf(ch, mag, h);
        if (bar.Drawn) {
            canvas.MoveTo(kX0, y0);
            canvas.LineTo(kX0, y0 - bar.Length);
            canvas.LineTo(20, y0 - bar.Length);
            canvas.TextOut(25, y0 - bar.Length - 8, bar.Label);
        }
        if (view.ShowScaling) canvas.TextOut(25, y0 + 5, ScalingText(mag, ch.DisplayDivisor));
        y0 += h;
    }

    // Filter note and file name.
    canvas.TextOut(kX0, height - 18,
                   note.FilterChecked
                       ? StrPrintf("Bandpass %.2f - %.2f %s", note.Lower, note.Upper, record.FrequencyText())
                       : std::string("Unfiltered"));
    if (view.ShowFileName)
        canvas.TextOut(width - canvas.TextWidth(record.FileName) - 20, height - 18, record.FileName);
    view.WaveShown = true;

    if (view.ShowChannelComment) {
        int y = h + 10;
        for (int k = 0; k < channels; ++k) {
            if (!view.DisplayChannels[k]) continue;
            canvas.TextOut(300, y, record.Channels[k].Name);
            y += h;
        }
    }
    if (view.ShowTitle) canvas.TextOut(kX0, height - 36, record.Title);
    view.DisplayKind = kShowWave;
}

}  // namespace wavora
