#include "analysis/filter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "analysis/exact_kernels.h"
#include "record/number_text.h"

namespace wavora {

namespace {

constexpr double kPi = 3.14159265358979323846;

// f × dt, worked out as the angular frequency over the angular sampling frequency in single
// precision, so the corners round exactly as they always have.
float NormalizedCorner(float f, float dt) {
    const float twoPi = static_cast<float>(2.0 * kPi);
    float omega = twoPi * f;
    float omegaSampling = twoPi / dt;
    return omega / omegaSampling;
}

// Coefficient i of the Ormsby low-pass with unit gain below a and a linear taper to zero at b
// (normalized corners, cycles per sample).
double LowPassTerm(float a, float b, int i) {
    if (i == 0) return static_cast<double>(a + b);
    double t = kPi * i;
    double width = static_cast<double>(b) - static_cast<double>(a);
    double sum = static_cast<double>(b) + static_cast<double>(a);
    // A taper of no width (both corners 0) is the limit of the same expression.
    if (width == 0.0) return std::sin(t * sum) / t;
    return std::sin(t * width) * std::sin(t * sum) / (width * t * t);
}

// Float to a 32-bit integer truncating toward zero; values beyond the range are held at its ends.
inline int32_t TruncateToInt32(float y) {
    if (y >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (y <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    if (y != y) return 0;
    return static_cast<int32_t>(y);
}

// One output of the symmetric filter, in the summation order every output uses:
// h[0]·x[i], then + h[j]·(x[i−j] + x[i+j]) for j = 1 .. n−1. `c` points at x[i] in a buffer
// padded with n−1 zeros on both sides.
inline float FilterOutput(const float* c, int n, const float* h) {
    float y = h[0] * c[0];
    for (int j = 1; j < n; ++j) y = y + h[j] * (c[-j] + c[j]);
    return y;
}

typedef float Float8 __attribute__((vector_size(32)));

// Outputs i in [0, count) of the filter into y. Eight outputs share a vector lane by lane, so
// each output keeps its own order of summation and the result is the same as one at a time;
// four vectors at once keep the adders busy.
WAVORA_AVX2_CLONES void FilterOutputs(const float* padded, int n, const float* h, int32_t* y, int64_t count) {
    constexpr int64_t kBlock = 32;
    const float* x = padded + (n - 1);  // x[i] is sample i; x[-n+1] .. x[count+n-2] are readable
    int64_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        const float* c = x + i;
        const float h0 = h[0];
        const Float8 b0 = {h0, h0, h0, h0, h0, h0, h0, h0};
        Float8 t0, t1, t2, t3;
        std::memcpy(&t0, c, sizeof t0);
        std::memcpy(&t1, c + 8, sizeof t1);
        std::memcpy(&t2, c + 16, sizeof t2);
        std::memcpy(&t3, c + 24, sizeof t3);
        Float8 a0 = b0 * t0, a1 = b0 * t1, a2 = b0 * t2, a3 = b0 * t3;
        for (int j = 1; j < n; ++j) {
            const float hj = h[j];
            const Float8 bj = {hj, hj, hj, hj, hj, hj, hj, hj};
            const float* left = c - j;
            const float* right = c + j;
            Float8 l0, l1, l2, l3, r0, r1, r2, r3;
            std::memcpy(&l0, left, sizeof l0);
            std::memcpy(&r0, right, sizeof r0);
            std::memcpy(&l1, left + 8, sizeof l1);
            std::memcpy(&r1, right + 8, sizeof r1);
            std::memcpy(&l2, left + 16, sizeof l2);
            std::memcpy(&r2, right + 16, sizeof r2);
            std::memcpy(&l3, left + 24, sizeof l3);
            std::memcpy(&r3, right + 24, sizeof r3);
            a0 = a0 + bj * (l0 + r0);
            a1 = a1 + bj * (l1 + r1);
            a2 = a2 + bj * (l2 + r2);
            a3 = a3 + bj * (l3 + r3);
        }
        for (int m = 0; m < 8; ++m) {
            y[i + m] = TruncateToInt32(a0[m]);
            y[i + 8 + m] = TruncateToInt32(a1[m]);
            y[i + 16 + m] = TruncateToInt32(a2[m]);
            y[i + 24 + m] = TruncateToInt32(a3[m]);
        }
    }
    for (; i < count; ++i) y[i] = TruncateToInt32(FilterOutput(x + i, n, h));
}

}  // namespace

void UpdateCorners(FilterState& state, int32_t samplingRate, int step) {
    if (step < 1) step = 1;
    state.DefaultUpper = static_cast<float>(samplingRate) * 0.75f / static_cast<float>(step * 2);
    bool arbitrary = state.Mode == FilterMode::Arbitrary;
    state.EffectiveLower = arbitrary ? state.ArbitraryLower : 1.0f;
    state.EffectiveUpper = arbitrary ? state.ArbitraryUpper : state.DefaultUpper;
}

bool IsValidBand(float lower, float upper) {
    return std::isfinite(lower) && std::isfinite(upper) && lower >= 0.0f && lower < upper;
}

Failure IllegalCornerFailure() {
    return Failure::Captioned("Illegal Corner Frequency", "Frequency Error");
}

Outcome ParseBand(const std::string& lowerText, const std::string& upperText, float& lower, float& upper) {
    std::optional<double> l = StrictFloat(lowerText);
    if (!l) return Outcome::Fail(Failure::Captioned(NotFloatText(lowerText), "Frequency Error"));
    std::optional<double> u = StrictFloat(upperText);
    if (!u) return Outcome::Fail(Failure::Captioned(NotFloatText(upperText), "Frequency Error"));
    const float fl = static_cast<float>(*l), fu = static_cast<float>(*u);
    if (!IsValidBand(fl, fu)) return Outcome::Fail(IllegalCornerFailure());
    lower = fl;
    upper = fu;
    return Outcome{};
}

void DesignLowPass(int n, float* h, float f3, float f4, float dt) {
    float u3 = NormalizedCorner(f3, dt), u4 = NormalizedCorner(f4, dt);
    for (int i = 0; i < n; ++i) h[i] = static_cast<float>(LowPassTerm(u3, u4, i));
}

void DesignBandPass(int n, float* h, float f1, float f2, float f3, float f4, float dt) {
    float u1 = NormalizedCorner(f1, dt), u2 = NormalizedCorner(f2, dt);
    float u3 = NormalizedCorner(f3, dt), u4 = NormalizedCorner(f4, dt);
    for (int i = 0; i < n; ++i) h[i] = static_cast<float>(LowPassTerm(u3, u4, i) - LowPassTerm(u1, u2, i));
}

int FilterChannel(int n, const float* h, int16_t* samples, int64_t count) {
    if (n < 1 || count < 1) return 1;
    // The samples as floats with n−1 zeros on either side: outside the record the signal is 0.
    std::vector<float> padded(static_cast<size_t>(count + 2 * (n - 1)), 0.0f);
    for (int64_t i = 0; i < count; ++i) padded[static_cast<size_t>(i + n - 1)] = samples[i];
    std::vector<int32_t> y(static_cast<size_t>(count));
    FilterOutputs(padded.data(), n, h, y.data(), count);

    // The smallest k with every |y| ≤ k × 32767 keeps the result within 16 bits.
    int64_t largest = 0;
    for (int32_t v : y) largest = std::max<int64_t>(largest, v < 0 ? -int64_t{v} : int64_t{v});
    int64_t k = std::max<int64_t>(1, (largest + 32766) / 32767);
    for (int64_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(y[static_cast<size_t>(i)] / k);
    return static_cast<int>(k);
}

void IntegrateChannel(WaveRecord& record, int channel) {
    ChannelInfo& ch = record.Channels[channel];
    const int64_t count = std::min<int64_t>(record.SampleCount, static_cast<int64_t>(ch.Samples.size()));
    ch.DisplayUnit = "\xCE\xBC";  // μ
    ch.DisplayDivisor = 4;
    if (count < 1) return;

    std::vector<float> x(static_cast<size_t>(count));
    double sum = 0.0;
    for (int64_t i = 0; i < count; ++i) {
        x[i] = static_cast<float>(ch.Samples[i]) * ch.ScaleFactor;
        sum += x[i];
    }
    const float mean = static_cast<float>(sum / static_cast<double>(count));
    for (float& v : x) v = v - mean;
    for (int64_t i = 1; i < count; ++i) x[i] = x[i] + x[i - 1];
    float largest = 0.0f;
    for (float& v : x) {
        v = v * 1000.0f * record.SamplingInterval;
        largest = std::max(largest, std::fabs(v));
    }
    // Nothing to integrate (a constant channel): the samples stay 0 and the scale is kept, so
    // that nothing later divides by a zero scale.
    if (!(largest > 0.0f) || !std::isfinite(largest)) {
        std::fill(ch.Samples.begin(), ch.Samples.begin() + count, int16_t{0});
        return;
    }
    for (int64_t i = 0; i < count; ++i)
        ch.Samples[i] = static_cast<int16_t>(x[i] / largest * 1024.0f * 16.0f);
    ch.ScaleFactor = largest * 6.103515625e-05f;
}

void ClipChannel(WaveRecord& record, int channel, float ratio) {
    ChannelInfo& ch = record.Channels[channel];
    const int64_t count = std::min<int64_t>(record.SampleCount, static_cast<int64_t>(ch.Samples.size()));
    if (count < 1 || ch.ScaleFactor == 0.0f) return;  // all values 0: nothing lies beyond any limit
    const float limit = ch.PeakValue * ratio;
    // PeakValue / ScaleFactor is the largest raw sample by definition; taking that sample itself
    // keeps the rounding of the scale from moving the cap by a whole step.
    int largestRaw = 0;
    for (int64_t i = 0; i < count; ++i)
        largestRaw = std::max(largestRaw, std::abs(static_cast<int>(ch.Samples[i])));
    const int16_t upper = static_cast<int16_t>(static_cast<float>(largestRaw) * ratio);
    const int16_t lower = static_cast<int16_t>(-upper);
    for (int64_t i = 0; i < count; ++i) {
        float value = static_cast<float>(ch.Samples[i]) * ch.ScaleFactor;
        if (value > limit) {
            ch.Samples[i] = upper;
        } else if (value < -limit) {
            ch.Samples[i] = lower;
        }
    }
}

void UpdatePeakValues(WaveRecord& record) {
    for (int k = 0; k < record.ChannelCount && k < kMaxChannels; ++k) {
        ChannelInfo& ch = record.Channels[k];
        int largest = 0;
        for (int16_t s : ch.Samples) largest = std::max(largest, std::abs(static_cast<int>(s)));
        ch.PeakValue = static_cast<float>(largest) * ch.ScaleFactor;
    }
}

void RemoveRecordMean(WaveRecord& record) {
    for (int k = 0; k < record.ChannelCount && k < kMaxChannels; ++k) {
        ChannelInfo& ch = record.Channels[k];
        const int64_t count = std::min<int64_t>(record.SampleCount, static_cast<int64_t>(ch.Samples.size()));
        if (count < 1) continue;
        float sum = 0.0f;
        for (int64_t i = 0; i < count; ++i) sum += static_cast<float>(ch.Samples[i]);
        const float mean = sum / static_cast<float>(record.SampleCount);
        for (int64_t i = 0; i < count; ++i) {
            float v = static_cast<float>(ch.Samples[i]) - mean;
            // A spike far from a large mean can leave the 16-bit range; it is held at the end of
            // the range rather than wrapped to the opposite sign.
            v = std::clamp(v, -32768.0f, 32767.0f);
            ch.Samples[i] = static_cast<int16_t>(v);
        }
    }
}

}  // namespace wavora
