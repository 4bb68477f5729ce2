#include "analysis/mem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace wavora {
namespace {

constexpr float kGuard = 12345.0f;

TEST(MemOrder, FromTheSegmentSize) {
    EXPECT_EQ(MemOrder(16), 10);
    EXPECT_EQ(MemOrder(32), 14);
    EXPECT_EQ(MemOrder(256), 40);
    EXPECT_EQ(MemOrder(512), 56);
    EXPECT_EQ(MemOrder(1024), 80);
    EXPECT_EQ(MemOrder(8192), 226);
    EXPECT_EQ(MemOrder(39999), 499);  // 499.99…, just under the cap
    EXPECT_EQ(MemOrder(40000), 498);
    EXPECT_EQ(MemOrder(1 << 20), 498);
    EXPECT_EQ(MemOrder(2), 1);  // never as many as the points
}

// The analysis array as the run hands it over: n samples and the spare last element.
std::vector<float> Segment(int n, const std::function<float(int)>& f) {
    std::vector<float> x(n + 2, 0.0f);
    for (int j = 0; j < n; ++j) x[j] = f(j);
    x[n] = 0.0f;
    x[n + 1] = kGuard;
    return x;
}

TEST(MemSpectrum, SharpPeakAtTheGridPointNearestASine) {
    const int n = 1024;
    const float dt = 0.01f, fmax = 50.0f, f0 = 12.3f;
    std::vector<float> x = Segment(n, [&](int j) { return std::sin(2.0f * float(M_PI) * f0 * j * dt); });
    std::vector<float> freq(n + 1, kGuard);
    MemSpectrum(x.data(), freq.data(), dt, n, fmax);
    const float df = 2.0f * fmax / n;
    for (int r = 0; r < n; ++r) ASSERT_FLOAT_EQ(freq[r], r * df);
    EXPECT_EQ(freq[n], kGuard);
    EXPECT_EQ(x[n + 1], kGuard);
    const int peak = static_cast<int>(std::max_element(x.begin(), x.begin() + n / 2) - x.begin());
    EXPECT_EQ(peak, static_cast<int>(std::lround(f0 / df)));
    std::vector<float> sorted(x.begin(), x.begin() + n / 2);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_GT(x[peak], 1000.0f * sorted[n / 4]);
}

TEST(MemSpectrum, GridFollowsTheAxisMaximumAndFallsBackToNyquist) {
    const int n = 256;
    const float dt = 0.002f;
    std::mt19937 gen(5);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    std::vector<float> data = Segment(n, [&](int) { return noise(gen); });
    std::vector<float> x = data, freq(n);
    MemSpectrum(x.data(), freq.data(), dt, n, 20.0f);
    EXPECT_FLOAT_EQ(freq[1], 2.0f * 20.0f / n);
    EXPECT_FLOAT_EQ(freq[n / 2 - 1], (n / 2 - 1) * 2.0f * 20.0f / n);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        x = data;
        MemSpectrum(x.data(), freq.data(), dt, n, bad);
        EXPECT_FLOAT_EQ(freq[n / 2], 0.5f / dt) << bad;
        EXPECT_TRUE(std::isfinite(x[3]));
    }
}

TEST(MemSpectrum, ConstantSegmentGivesAnAllZeroSpectrum) {
    const int n = 64;
    std::vector<float> x = Segment(n, [](int) { return 2.5f; });
    x[n] = 2.5f;  // the spare element too, so nothing varies
    std::vector<float> freq(n);
    MemSpectrum(x.data(), freq.data(), 0.01f, n, 50.0f);
    for (int r = 0; r < n; ++r) EXPECT_EQ(x[r], 0.0f) << r;
    EXPECT_FLOAT_EQ(freq[n - 1], (n - 1) * 100.0f / n);
}

TEST(MemSpectrum, WhiteNoiseIsRoughlyFlatAtTwiceTheVarianceTimesDt) {
    const int n = 8192;
    const float dt = 0.01f, sigma = 0.5f;
    std::mt19937 gen(11);
    std::normal_distribution<float> noise(0.0f, sigma);
    std::vector<float> x = Segment(n, [&](int) { return noise(gen); });
    std::vector<float> freq(n);
    MemSpectrum(x.data(), freq.data(), dt, n, 50.0f);
    std::vector<float> lower(x.begin(), x.begin() + n / 2);
    std::sort(lower.begin(), lower.end());
    const float expected = 2.0f * sigma * sigma * dt;
    EXPECT_NEAR(lower[n / 4], expected, 0.25f * expected);
}

TEST(MemSpectrum, SpectrumIsTheModelFormulaEvaluatedTermByTerm) {
    const int n = 512;
    const float dt = 0.004f, fmax = 100.0f;
    std::mt19937 gen(2);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    std::vector<float> x =
        Segment(n, [&](int j) { return std::sin(0.3f * j) + 0.5f * std::cos(1.1f * j) + noise(gen); });
    // The model of x[1..n] with its mean removed, evaluated with a cosine and sine per term.
    std::vector<float> data(x.begin() + 1, x.begin() + 1 + n);
    double mean = 0;
    for (float v : data) mean += v;
    const float m0 = static_cast<float>(mean / n);
    for (float& v : data) v -= m0;
    std::vector<double> a;
    const int m = MemOrder(n);
    const float P = BurgFit(data.data(), n, m, a);
    ASSERT_EQ(static_cast<int>(a.size()), m + 1);

    std::vector<float> freq(n);
    MemSpectrum(x.data(), freq.data(), dt, n, fmax);
    for (int r = 0; r < n / 2; ++r) {
        const double w = 2.0 * M_PI * freq[r] * dt;
        double R = 1.0, I = 0.0;
        for (int k = 1; k <= m; ++k) {
            R += a[k] * std::cos(k * w);
            I += a[k] * std::sin(k * w);
        }
        const double S = 2.0 * P * dt / (R * R + I * I);
        ASSERT_NEAR(x[r], S, 1e-5 * S) << r;
    }
}

TEST(BurgFit, RecoversAnAutoregressiveProcess) {
    // x[t] = 0.9·x[t−1] + e[t]: the prediction-error filter is 1 − 0.9·z.
    const int n = 8192;
    std::mt19937 gen(3);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    std::vector<float> x(n);
    float prev = 0.0f;
    for (float& v : x) prev = v = 0.9f * prev + noise(gen);
    std::vector<double> a;
    const float P = BurgFit(x.data(), n, 4, a);
    EXPECT_NEAR(a[1], -0.9, 0.02);
    for (int k = 2; k <= 4; ++k) EXPECT_NEAR(a[k], 0.0, 0.03) << k;
    EXPECT_NEAR(P, 1.0f, 0.05f);
}

}  // namespace
}  // namespace wavora
