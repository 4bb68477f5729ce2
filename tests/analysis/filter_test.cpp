#include "analysis/filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace wavora {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kN = kFilterCoefficients;

// Gain of the symmetric filter h at frequency f (same unit as 1/dt).
double Gain(const std::vector<float>& h, double f, double dt) {
    double g = h[0];
    for (size_t j = 1; j < h.size(); ++j)
        g += 2.0 * h[j] * std::cos(2.0 * kPi * f * dt * static_cast<double>(j));
    return g;
}

std::vector<float> BandPass(float lower, float upper, float dt) {
    std::vector<float> h(kN);
    DesignBandPass(kN, h.data(), lower * 0.5f, lower, upper, upper * 1.5f, dt);
    return h;
}

// The filter one output at a time, written straight from its definition; the volatile keeps
// the compiler from fusing the multiply and the add.
int ReferenceFilter(int n, const std::vector<float>& h, std::vector<int16_t>& x) {
    const int64_t count = static_cast<int64_t>(x.size());
    std::vector<int32_t> y(x.size());
    for (int64_t i = 0; i < count; ++i) {
        volatile float acc = h[0] * static_cast<float>(x[i]);
        for (int j = 1; j < n; ++j) {
            int left = i - j >= 0 ? x[i - j] : 0;
            int right = i + j < count ? x[i + j] : 0;
            volatile float product = h[j] * static_cast<float>(left + right);
            acc = acc + product;
        }
        y[i] = static_cast<int32_t>(acc);
    }
    int k = 1;
    for (int64_t i = 0; i < count; ++i) {
        if (std::abs(static_cast<int64_t>(y[i])) > int64_t{k} * 32767) {
            ++k;
            i = -1;
        }
    }
    for (int64_t i = 0; i < count; ++i) x[i] = static_cast<int16_t>(y[i] / k);
    return k;
}

WaveRecord OneChannel(std::vector<int16_t> samples, float scale, int32_t rate = 1000) {
    WaveRecord r;
    r.ChannelCount = 1;
    r.SampleCount = static_cast<int32_t>(samples.size());
    r.SamplingRate = rate;
    r.SamplingInterval = 1.0f / static_cast<float>(rate);
    r.Channels[0].Samples = std::move(samples);
    r.Channels[0].ScaleFactor = scale;
    r.Channels[0].BaseScaleFactor = scale;
    return r;
}

TEST(FilterDesign, BandPassPassesItsBandAndStopsOutsideIt) {
    const float dt = 0.001f;  // 1000 Hz
    auto h = BandPass(10.0f, 200.0f, dt);
    EXPECT_NEAR(Gain(h, 0.0, dt), 0.0, 0.01);
    EXPECT_NEAR(Gain(h, 2.5, dt), 0.0, 0.01);
    EXPECT_NEAR(Gain(h, 7.5, dt), 0.5, 0.01);  // half way up the lower taper from 5 to 10
    EXPECT_NEAR(Gain(h, 20.0, dt), 1.0, 0.01);
    EXPECT_NEAR(Gain(h, 150.0, dt), 1.0, 0.01);
    EXPECT_NEAR(Gain(h, 250.0, dt), 0.5, 0.01);  // half way down the upper taper from 200 to 300
    EXPECT_NEAR(Gain(h, 320.0, dt), 0.0, 0.01);
    EXPECT_NEAR(Gain(h, 500.0, dt), 0.0, 0.01);  // Nyquist
}

TEST(FilterDesign, LowPassKeepsDcAndTapersLinearly) {
    const float dt = 0.01f;  // 100 Hz
    std::vector<float> h(kN);
    DesignLowPass(kN, h.data(), 20.0f, 30.0f, dt);
    // h[0] is the sum of the two normalized corners.
    EXPECT_FLOAT_EQ(h[0], 0.2f + 0.3f);
    EXPECT_NEAR(Gain(h, 0.0, dt), 1.0, 0.01);
    EXPECT_NEAR(Gain(h, 15.0, dt), 1.0, 0.01);
    EXPECT_NEAR(Gain(h, 25.0, dt), 0.5, 0.02);
    EXPECT_NEAR(Gain(h, 40.0, dt), 0.0, 0.01);
    // Symmetric-term formula: coefficient 1 by hand.
    const double t = kPi, a = 0.2, b = 0.3;
    EXPECT_NEAR(h[1], std::sin(t * (b - a)) * std::sin(t * (b + a)) / ((b - a) * t * t), 1e-6);
}

TEST(FilterDesign, ZeroWidthTaperIsFinite) {
    std::vector<float> h(kN);
    DesignLowPass(kN, h.data(), 0.0f, 0.0f, 0.01f);
    for (float v : h) EXPECT_EQ(v, 0.0f);
}

TEST(FilterCorners, DefaultBandFollowsRateAndStep) {
    FilterState s;
    s.Mode = FilterMode::Default;
    UpdateCorners(s, 100, 1);
    EXPECT_FLOAT_EQ(s.DefaultUpper, 37.5f);
    EXPECT_FLOAT_EQ(s.EffectiveLower, 1.0f);
    EXPECT_FLOAT_EQ(s.EffectiveUpper, 37.5f);
    UpdateCorners(s, 100, 2);
    EXPECT_FLOAT_EQ(s.EffectiveUpper, 18.75f);
    UpdateCorners(s, 1000, 2);
    EXPECT_FLOAT_EQ(s.EffectiveUpper, 187.5f);

    s.Mode = FilterMode::Arbitrary;
    s.ArbitraryLower = 0.0f;
    s.ArbitraryUpper = 50.0f;
    UpdateCorners(s, 1000, 10);
    EXPECT_FLOAT_EQ(s.DefaultUpper, 37.5f);  // still recomputed
    EXPECT_FLOAT_EQ(s.EffectiveLower, 0.0f);
    EXPECT_FLOAT_EQ(s.EffectiveUpper, 50.0f);
}

TEST(FilterCorners, OnlyABandIsABand) {
    struct Case {
        float Lower, Upper;
        bool Valid;
    };
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {1.0f, 50.0f, true},   {0.0f, 50.0f, true},   {-0.0f, 0.5f, true},
        {1.0f, 0.0f, false},  // the start corners
        {5.0f, 5.0f, false},   {-1.0f, 50.0f, false}, {0.0f, 0.0f, false},
        {1.0f, 0.075f, false}, {1.0f, inf, false},    {nan, 5.0f, false},
        {1.0f, nan, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidBand(c.Lower, c.Upper), c.Valid) << c.Lower << " " << c.Upper;
}

TEST(FilterCorners, TypedCornersAreCheckedBeforeTheyAreTaken) {
    struct Case {
        std::string Lower, Upper, Message;
    };
    const Case cases[] = {
        {"1", "50", ""},
        {" 0 ", "12.5", ""},
        {"abc", "50", "'abc' is not a valid floating point value"},
        {"1", "", "'' is not a valid floating point value"},
        {"1", "inf", "'inf' is not a valid floating point value"},
        {"-1", "50", "Illegal Corner Frequency"},
        {"50", "50", "Illegal Corner Frequency"},
        {"60", "50", "Illegal Corner Frequency"},
    };
    for (const Case& c : cases) {
        float lower = -7.0f, upper = -7.0f;
        Outcome o = ParseBand(c.Lower, c.Upper, lower, upper);
        if (c.Message.empty()) {
            EXPECT_TRUE(o.Ok()) << c.Lower << " " << c.Upper;
            EXPECT_EQ(lower, std::stof(c.Lower));
            EXPECT_EQ(upper, std::stof(c.Upper));
            continue;
        }
        ASSERT_FALSE(o.Ok()) << c.Lower << " " << c.Upper;
        EXPECT_EQ(o.Error->Text, c.Message);
        EXPECT_EQ(o.Error->Caption, "Frequency Error");
        EXPECT_EQ(lower, -7.0f);  // nothing taken
        EXPECT_EQ(upper, -7.0f);
    }
}

TEST(FilterChannel, VectorisedOutputEqualsOneAtATimeBitForBit) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    auto design = BandPass(1.0f, 37.5f, 0.01f);
    for (int64_t count : {1, 7, 31, 32, 33, 100, 498, 499, 500, 998, 999, 1000, 1001, 4133}) {
        std::vector<int16_t> x(static_cast<size_t>(count));
        for (auto& v : x) v = static_cast<int16_t>(value(rng));
        auto expected = x;
        int kExpected = ReferenceFilter(kN, design, expected);
        int k = FilterChannel(kN, design.data(), x.data(), count);
        EXPECT_EQ(k, kExpected) << count;
        EXPECT_EQ(x, expected) << count;
    }
    // A short filter and an all-pass one use the same code paths.
    std::vector<float> small = {0.5f, 0.25f, -0.125f, 0.0625f};
    std::vector<int16_t> x(97);
    for (auto& v : x) v = static_cast<int16_t>(value(rng));
    auto expected = x;
    EXPECT_EQ(FilterChannel(4, small.data(), x.data(), 97), ReferenceFilter(4, small, expected));
    EXPECT_EQ(x, expected);
}

TEST(FilterChannel, PassbandSineKeepsItsPhysicalAmplitudeAndPhase) {
    const int rate = 1000, count = 8000;
    const float scale = 0.001f;
    std::vector<int16_t> x(count);
    for (int i = 0; i < count; ++i)
        x[i] = static_cast<int16_t>(std::lround(20000.0 * std::sin(2.0 * kPi * 10.0 * i / rate)));
    auto input = x;
    auto h = BandPass(1.0f, 375.0f, 1.0f / rate);
    int k = FilterChannel(kN, h.data(), x.data(), count);
    EXPECT_EQ(k, 1);
    // Away from the ends: same values (no delay) within a small fraction of the amplitude.
    for (int i = 1000; i < count - 1000; ++i)
        EXPECT_NEAR(x[i] * scale * k, input[i] * scale, 20000 * scale * 0.01) << i;
}

TEST(FilterChannel, OverflowGuardHalvesAndTruncatesTowardZero) {
    // A gain of 1.5 turns 26667 into 40000.5 (40000 once truncated) and −3 into −4.5 (−4).
    std::vector<float> h = {1.5f, 0.0f, 0.0f};
    std::vector<int16_t> x = {26667, -3, 3, 0, -26667};
    EXPECT_EQ(FilterChannel(3, h.data(), x.data(), 5), 2);
    EXPECT_EQ(x, (std::vector<int16_t>{20000, -2, 2, 0, -20000}));

    // Values that all fit keep k = 1 and the samples as they are.
    std::vector<float> unit = {1.0f};
    std::vector<int16_t> y = {32767, -32767, 5};
    EXPECT_EQ(FilterChannel(1, unit.data(), y.data(), 3), 1);
    EXPECT_EQ(y, (std::vector<int16_t>{32767, -32767, 5}));
    // −32768 is one beyond 32767 in magnitude.
    std::vector<int16_t> z = {-32768, 1};
    EXPECT_EQ(FilterChannel(1, unit.data(), z.data(), 2), 2);
    EXPECT_EQ(z, (std::vector<int16_t>{-16384, 0}));
}

TEST(FilterChannel, HugeGainIsHeldWithinRange) {
    std::vector<float> h = {1e30f, 0.0f};
    std::vector<int16_t> x = {1000, -1000, 0};
    int k = FilterChannel(2, h.data(), x.data(), 3);
    EXPECT_GT(k, 1);
    EXPECT_EQ(x[2], 0);
    EXPECT_GT(x[0], 0);
    EXPECT_LT(x[1], 0);
}

TEST(FilterChannel, EdgesSeeZerosBeyondTheRecord) {
    // An impulse at the start: output i is h[i] × the impulse for i < n, and nothing wraps around.
    const int count = 2000;
    auto h = BandPass(1.0f, 37.5f, 0.01f);
    std::vector<int16_t> x(count, 0);
    x[0] = 10000;
    FilterChannel(kN, h.data(), x.data(), count);
    for (int i = 0; i < kN; ++i) EXPECT_EQ(x[i], static_cast<int32_t>(h[i] * 10000.0f)) << i;
    for (int i = kN; i < count; ++i) EXPECT_EQ(x[i], 0) << i;

    // A constant through a low-pass: full value in the middle, less at either end.
    std::vector<float> lp(kN);
    DesignLowPass(kN, lp.data(), 20.0f, 30.0f, 0.01f);
    std::vector<int16_t> c(count, 10000);
    EXPECT_EQ(FilterChannel(kN, lp.data(), c.data(), count), 1);
    EXPECT_NEAR(c[count / 2], 10000, 50);
    // At the first sample the other half of the taps sees zeros: (1 + h[0]) / 2 of the value.
    EXPECT_NEAR(c[0], 10000 * (1.0 + lp[0]) / 2.0, 50);
    EXPECT_NEAR(c[count - 1], 10000 * (1.0 + lp[0]) / 2.0, 50);
}

TEST(FilterChannel, LowPassStopsNyquist) {
    const int count = 3000;
    std::vector<float> lp(kN);
    DesignLowPass(kN, lp.data(), 25.0f, 37.5f, 0.01f);
    std::vector<int16_t> x(count);
    for (int i = 0; i < count; ++i) x[i] = static_cast<int16_t>(i % 2 ? -20000 : 20000);
    FilterChannel(kN, lp.data(), x.data(), count);
    for (int i = 600; i < count - 600; ++i) EXPECT_LE(std::abs(x[i]), 20) << i;
}

TEST(Clipping, EightyPercentOfPeakTenCapsAtEight) {
    std::vector<int16_t> s;
    for (int v = -10000; v <= 10000; v += 7) s.push_back(static_cast<int16_t>(v));
    s.push_back(10000);
    auto original = s;
    WaveRecord r = OneChannel(s, 0.001f);
    UpdatePeakValues(r);
    EXPECT_FLOAT_EQ(r.Channels[0].PeakValue, 10.0f);
    ClipChannel(r, 0, 0.80f);
    UpdatePeakValues(r);
    EXPECT_FLOAT_EQ(r.Channels[0].PeakValue, 8.0f);
    for (size_t i = 0; i < s.size(); ++i) {
        int16_t v = r.Channels[0].Samples[i];
        if (original[i] > 8000)
            EXPECT_EQ(v, 8000);
        else if (original[i] < -8000)
            EXPECT_EQ(v, -8000);
        else
            EXPECT_EQ(v, original[i]);
    }
}

TEST(Clipping, NinetyFivePercentUsesTheLargestRawMagnitude) {
    // Standard CSV scale of a column whose largest value is 3.7: 32000 steps of 3.7 / 32000.
    std::vector<int16_t> s = {32000, -32000, 30500, 30400, -30401, 100};
    WaveRecord r = OneChannel(s, 3.7f * 3.125e-5f);
    UpdatePeakValues(r);
    ClipChannel(r, 0, 0.95f);
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{30400, -30400, 30400, 30400, -30400, 100}));

    // A silent channel with a zero scale is left alone.
    WaveRecord z = OneChannel({0, 0, 0}, 0.0f);
    UpdatePeakValues(z);
    ClipChannel(z, 0, 0.8f);
    EXPECT_EQ(z.Channels[0].Samples, (std::vector<int16_t>{0, 0, 0}));
}

TEST(PeakValue, IsLargestMagnitudeTimesScale) {
    WaveRecord r = OneChannel({3, -32768, 100}, 0.5f);
    UpdatePeakValues(r);
    EXPECT_FLOAT_EQ(r.Channels[0].PeakValue, 16384.0f);
}

TEST(DcCut, RemovesTheRecordMeanTruncating) {
    WaveRecord r = OneChannel({1, 2}, 1.0f);
    RemoveRecordMean(r);
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{0, 0}));

    WaveRecord three = OneChannel({10, 20, 30, 41}, 1.0f);  // mean 25.25
    RemoveRecordMean(three);
    EXPECT_EQ(three.Channels[0].Samples, (std::vector<int16_t>{-15, -5, 4, 15}));

    // Far from a large mean a spike stays at the end of the range instead of wrapping over.
    std::vector<int16_t> s(1000, -32768);
    s[500] = 32767;
    WaveRecord spike = OneChannel(s, 1.0f);
    RemoveRecordMean(spike);
    EXPECT_EQ(spike.Channels[0].Samples[500], 32767);
    EXPECT_EQ(spike.Channels[0].Samples[0], -65);  // mean −32702.465

    WaveRecord empty = OneChannel({}, 1.0f);
    RemoveRecordMean(empty);  // no samples, no division
    EXPECT_TRUE(empty.Channels[0].Samples.empty());
}

TEST(Integration, CosineBecomesSineOfOneOverOmega) {
    const int rate = 1000, count = 4000;  // 20 whole periods of 5 Hz
    std::vector<int16_t> s(count);
    for (int i = 0; i < count; ++i)
        s[i] = static_cast<int16_t>(std::lround(1000.0 * std::cos(2 * kPi * 5.0 * i / rate)));
    WaveRecord r = OneChannel(s, 0.01f, rate);  // amplitude 10
    IntegrateChannel(r, 0);
    const ChannelInfo& ch = r.Channels[0];
    EXPECT_EQ(ch.DisplayUnit, "\xCE\xBC");
    EXPECT_EQ(ch.DisplayDivisor, 4);
    // 10 / (2π·5) × 1000 ≈ 318.3, plus the half step a running sum from the first sample adds
    // (10 × 0.001 × 1000 / 2 = 5), is the largest magnitude, which maps to 16384.
    const double crest = 10.0 / (2 * kPi * 5.0) * 1000.0 + 5.0;
    EXPECT_NEAR(ch.ScaleFactor * 16384.0, crest, 1.0);
    int largest = 0;
    for (int16_t v : ch.Samples) largest = std::max(largest, std::abs(static_cast<int>(v)));
    EXPECT_EQ(largest, 16384);
    // Quarter of a period in, the integral of a cosine is at its crest.
    EXPECT_NEAR(ch.Samples[50] * ch.ScaleFactor, crest, 1.0);
    EXPECT_NEAR(ch.Samples[150] * ch.ScaleFactor, -crest + 10.0, 1.0);
}

TEST(Integration, ConstantChannelStaysZeroWithItsScale) {
    WaveRecord r = OneChannel(std::vector<int16_t>(100, 1234), 0.25f);
    IntegrateChannel(r, 0);
    for (int16_t v : r.Channels[0].Samples) EXPECT_EQ(v, 0);
    EXPECT_FLOAT_EQ(r.Channels[0].ScaleFactor, 0.25f);
    EXPECT_EQ(r.Channels[0].DisplayDivisor, 4);
    UpdatePeakValues(r);
    EXPECT_EQ(r.Channels[0].PeakValue, 0.0f);
}

}  // namespace
}  // namespace wavora
