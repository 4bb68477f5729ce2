#include "analysis/correlation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "scales/scale_labels.h"
#include "record/text_format.h"

namespace wavora {

namespace {

// Σ a[m]·b[m] for m < n. The products of two floats are exact in double; four sums side by side
// keep the loop fast and the rounding far below float resolution.
double Dot(const double* a, const double* b, int n) {
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    int m = 0;
    for (; m + 4 <= n; m += 4) {
        s0 += a[m] * b[m];
        s1 += a[m + 1] * b[m + 1];
        s2 += a[m + 2] * b[m + 2];
        s3 += a[m + 3] * b[m + 3];
    }
    for (; m < n; ++m) s0 += a[m] * b[m];
    return (s0 + s1) + (s2 + s3);
}

// Physical values sample × ScaleFactor (float, as everywhere) of `count` samples from `start`.
void TakeValues(const ChannelInfo& channel, int64_t start, int count, std::vector<double>& out) {
    out.resize(static_cast<size_t>(count));
    const float scale = channel.ScaleFactor;
    const int16_t* s = channel.Samples.data() + start;
    for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = static_cast<float>(s[i]) * scale;
}

// A pixel row from a normalised value, truncated toward zero; kept in a range a canvas can take
// even when R[0] is tiny against the other lags.
int PixelRow(float normalised) {
    float y =
        static_cast<float>(kCorrelationOriginY) - normalised * static_cast<float>(kCorrelationHalfHeight);
    if (std::isnan(y)) return kCorrelationOriginY;
    y = std::clamp(y, -100000.0f, 100000.0f);
    return static_cast<int>(y);
}

bool ChannelUsable(const WaveRecord& record, int channel) {
    return channel >= 0 && channel < record.ChannelCount && channel < kMaxChannels;
}

}  // namespace

CorrelationChannels SelectCorrelationChannels(const std::array<bool, kMaxChannels>& checked,
                                              int channelCount) {
    CorrelationChannels result;
    const int used = std::clamp(channelCount, 0, kMaxChannels);
    for (int k = 0; k < used; ++k) {
        if (!checked[static_cast<size_t>(k)]) continue;
        if (result.Count == 0) result.First = k;
        if (result.Count == 1) result.Second = k;
        ++result.Count;
    }
    if (result.Count == 0 || result.Count > 2) {
        result.Error = Failure::Captioned("Number of Channels is illegal", "Channel Error");
        result.First = result.Second = -1;
    }
    return result;
}

float NormalisedCorrelation(float value, float r0) {
    return r0 == 0.0f ? 0.0f : value / r0;
}

CorrelationFrame CorrelationStep(const WaveRecord& record, const CorrelationSettings& settings) {
    CorrelationFrame frame;
    frame.Cross = settings.SecondChannel >= 0;
    frame.Title = frame.Cross ? "Cross Correlation" : "Auto Correlation";
    for (int q = 0; q < 5; ++q) frame.ValueLabels[static_cast<size_t>(q)] = StrPrintf("%.2f", 0.5 * q - 1.0);
    const int timeScale = std::max(settings.TimeScale, 1);
    for (int t = 0; t < 8; ++t) {
        const float lagTime =
            static_cast<float>(50 * t) * record.SamplingInterval / static_cast<float>(timeScale);
        frame.TickLabels[static_cast<size_t>(t)] = RoundText(lagTime);
    }
    frame.Values.assign(kCorrelationLags, 0.0f);

    if (!ChannelUsable(record, settings.FirstChannel) ||
        (frame.Cross && !ChannelUsable(record, settings.SecondChannel))) {
        frame.Status = CorrelationStatus::ChannelError;
        frame.Error = Failure::Captioned("Number of Channels is illegal", "Channel Error");
        return frame;
    }

    // The segment and the 350 samples after it must lie inside the record (and inside every
    // channel's sample array, whatever SampleCount claims).
    const ChannelInfo& first = record.Channels[static_cast<size_t>(settings.FirstChannel)];
    const ChannelInfo* second =
        frame.Cross ? &record.Channels[static_cast<size_t>(settings.SecondChannel)] : &first;
    int64_t available = std::min<int64_t>(record.SampleCount, static_cast<int64_t>(first.Samples.size()));
    available = std::min<int64_t>(available, static_cast<int64_t>(second->Samples.size()));
    const int64_t p = std::max(settings.Position, 0);
    const int n = settings.Points;
    if (n <= 0 || p + n + kCorrelationLags >= available) {
        frame.Status = CorrelationStatus::EndOfData;
        return frame;
    }

    const int lags = kCorrelationLags / timeScale;
    frame.LagCount = lags;
    const int span = n + lags;  // x[p .. p + N + L − 2] are used
    std::vector<double> x1, x2;
    TakeValues(first, p, span, x1);
    if (frame.Cross) TakeValues(*second, p, span, x2);
    const std::vector<double>& y = frame.Cross ? x2 : x1;

    for (int r = 0; r < lags; ++r) {
        double value = 0.0;
        if (frame.Cross) {
            value = Dot(x1.data(), y.data() + r, n) / n;
        } else if (n - r > 0) {
            value = Dot(x1.data(), y.data() + r, n - r) / (n - r);
        }
        frame.Values[static_cast<size_t>(r)] = static_cast<float>(value);
    }

    const float r0 = frame.Values[0];
    frame.CurveY.resize(static_cast<size_t>(lags));
    frame.CurveY[0] = kCorrelationOriginY - kCorrelationHalfHeight;  // R[0] / R[0] = 1
    for (int r = 1; r < lags; ++r) {
        frame.CurveY[static_cast<size_t>(r)] =
            PixelRow(NormalisedCorrelation(frame.Values[static_cast<size_t>(r)], r0));
    }
    frame.R0Text = StrPrintf("R[0]=%13.4e", static_cast<double>(r0));
    frame.NextPosition = static_cast<int>(p) + 10 * std::max(settings.Step, 1);
    const float time = static_cast<float>(frame.NextPosition) * record.SamplingInterval;
    frame.TimeText = StrPrintf("t=%.2f", static_cast<double>(time)) + record.TimeText();
    frame.Status = CorrelationStatus::Computed;
    return frame;
}

CorrelationReport MakeCorrelationReport(const std::vector<float>& values,
                                        const CorrelationReportSettings& settings) {
    CorrelationReport report;
    auto at = [&values](int i) {
        return i < static_cast<int>(values.size()) ? values[static_cast<size_t>(i)] : 0.0f;
    };

    for (int p = 0; p + 1 < kCorrelationLags && static_cast<int>(report.Crossings.size()) < kMaxZeroCrossings;
         ++p) {
        if (at(p) >= 0.0f && at(p + 1) < 0.0f) report.Crossings.push_back(p);
    }

    const int step = std::max(settings.Step, 1);
    const int n = static_cast<int>(report.Crossings.size());
    if (settings.AnalysisInterval == 0.0f) {
        report.Text = "fftdt not defined.  Press 'Run' Button";
    } else if (n < 2) {
        report.Text = "No Zero Crossing";
    } else {
        report.HasPeriod = true;
        report.Period = static_cast<double>(report.Crossings.back() - report.Crossings.front()) *
                        settings.AnalysisInterval / (n - 1) / step;
        report.Frequency = 1.0 / report.Period;
        report.Text = StrPrintf("Zero Crossing  %.3f (%s)   %.3f (%s)", report.Period,
                                settings.TimeText.c_str(), report.Frequency, settings.FrequencyText.c_str());
    }

    const float r0 = at(0);
    report.GridRows.reserve(kCorrelationLags + 2);
    report.GridRows.push_back({"   i", "  Delay", "   R[i]", "", ""});
    report.GridRows.push_back(
        {"", " " + settings.TimeText, StrPrintf("%9.3e", static_cast<double>(r0)), "", ""});
    for (int p = 0; p < kCorrelationLags; ++p) {
        const double delay = static_cast<double>(p) * settings.AnalysisInterval / step;
        report.GridRows.push_back({StrPrintf("%5d", p), StrPrintf("%8.3f", delay),
                                   StrPrintf("%8.3f", static_cast<double>(NormalisedCorrelation(at(p), r0))),
                                   "", ""});
    }
    return report;
}

}  // namespace wavora
