#include "analysis/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

namespace wavora {
namespace {

constexpr float kGuard = 12345.0f;

std::vector<float> RandomSignal(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(n);
    for (float& v : x) v = dist(gen);
    return x;
}

// The transform written out loop by loop as it is defined, on the cached tables: the fast one
// must give the very same bits.
void ReferenceTransform(float* re, float* im, int n) {
    const float* sine = FftTables::Instance().SineTable();
    const int32_t* reverse = FftTables::Instance().BitReverse();
    for (int i = 0; i < n; ++i) {
        int j = reverse[i];
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    for (int k = 1; k < n; k *= 2) {
        int h = 0, d = n / (2 * k);
        for (int j = 0; j < k; ++j) {
            volatile float co = sine[h + n / 4], si = sine[h];
            for (int i = j; i < n; i += 2 * k) {
                int p = i + k;
                volatile float a = si * im[p];
                volatile float b = co * re[p];
                float dx = a + b;
                volatile float c = co * im[p];
                volatile float e = si * re[p];
                float dy = c - e;
                re[p] = re[i] - dx;
                re[i] = re[i] + dx;
                im[p] = im[i] - dy;
                im[i] = im[i] + dy;
            }
            h += d;
        }
    }
    for (int i = 0; i < n; ++i) {
        re[i] /= static_cast<float>(n);
        im[i] /= static_cast<float>(n);
    }
}

TEST(FftTables, BuiltOncePerSizeAndRebuiltOnChange) {
    FftTables& tables = FftTables::Instance();
    std::vector<float> re(256), im(256);
    ASSERT_EQ(FftTransform(re.data(), im.data(), 64), 0);
    const int64_t built = tables.BuildCount();
    EXPECT_EQ(tables.TableSize(), 64);
    ASSERT_EQ(FftTransform(re.data(), im.data(), 64), 0);
    EXPECT_EQ(tables.BuildCount(), built);
    ASSERT_EQ(FftTransform(re.data(), im.data(), 128), 0);
    EXPECT_EQ(tables.BuildCount(), built + 1);
    EXPECT_EQ(tables.TableSize(), 128);
    ASSERT_EQ(FftTransform(re.data(), im.data(), 64), 0);
    EXPECT_EQ(tables.BuildCount(), built + 2);
}

TEST(FftTables, SineAndBitReverseTables) {
    for (int n : {16, 1024, 8192}) {
        ASSERT_EQ(FftTables::Instance().Prepare(n), 0);
        const float* sine = FftTables::Instance().SineTable();
        for (int k = 0; k < n + n / 4; ++k)
            EXPECT_NEAR(sine[k], std::sin(2.0 * M_PI * k / n), 2e-6) << "n " << n << " k " << k;
        EXPECT_EQ(sine[n / 4], 1.0f);
        EXPECT_EQ(sine[n / 8], std::sqrt(0.5f));
        EXPECT_EQ(sine[0], 0.0f);
        const int32_t* reverse = FftTables::Instance().BitReverse();
        const int bits = static_cast<int>(std::log2(n));
        for (int i = 0; i < n; ++i) {
            int r = 0;
            for (int b = 0; b < bits; ++b)
                if (i & (1 << b)) r |= 1 << (bits - 1 - b);
            ASSERT_EQ(reverse[i], r) << "n " << n << " i " << i;
        }
    }
}

TEST(FftTables, FailedAllocationLeavesTheCacheEmptyAndTheNextCallTriesAgain) {
    FftTables& tables = FftTables::Instance();
    ASSERT_EQ(tables.Prepare(32), 0);
    std::vector<float> re = RandomSignal(64, 1), im(64, 0.0f);
    const std::vector<float> before = re;
    tables.FailNextAllocationsForTesting(1);
    EXPECT_EQ(FftTransform(re.data(), im.data(), 64), 1);
    EXPECT_EQ(tables.TableSize(), 0);
    EXPECT_EQ(re, before);
    EXPECT_EQ(FftTransform(re.data(), im.data(), 64), 0);
    EXPECT_EQ(tables.TableSize(), 64);
}

TEST(FftTables, SizesThatAreNotPowersOfTwoAreRefused) {
    std::vector<float> re(100), im(100);
    EXPECT_EQ(FftTransform(re.data(), im.data(), 100), 1);
    EXPECT_EQ(FftTransform(re.data(), im.data(), 0), 1);
    EXPECT_EQ(FftTransform(re.data(), im.data(), -16), 1);
}

TEST(FftTransform, SameBitsAsTheLoopsWrittenOut) {
    for (int n : {4, 8, 16, 32, 64, 128, 1024, 8192}) {
        std::vector<float> re = RandomSignal(n, 7), im = RandomSignal(n, 8);
        std::vector<float> re2 = re, im2 = im;
        ASSERT_EQ(FftTransform(re.data(), im.data(), n), 0);
        ReferenceTransform(re2.data(), im2.data(), n);
        ASSERT_EQ(std::memcmp(re.data(), re2.data(), sizeof(float) * n), 0) << "n " << n;
        ASSERT_EQ(std::memcmp(im.data(), im2.data(), sizeof(float) * n), 0) << "n " << n;
    }
}

TEST(FftTransform, MatchesTheDiscreteFourierTransformDividedByN) {
    const int n = 256;
    std::vector<float> re = RandomSignal(n, 3), im = RandomSignal(n, 4);
    std::vector<std::complex<double>> expected(n);
    for (int k = 0; k < n; ++k) {
        std::complex<double> sum = 0;
        for (int j = 0; j < n; ++j)
            sum += std::complex<double>(re[j], im[j]) * std::polar(1.0, -2.0 * M_PI * j * k / n);
        expected[k] = sum / static_cast<double>(n);
    }
    re.push_back(kGuard);
    im.push_back(kGuard);
    ASSERT_EQ(FftTransform(re.data(), im.data(), n), 0);
    for (int k = 0; k < n; ++k) {
        EXPECT_NEAR(re[k], expected[k].real(), 1e-6);
        EXPECT_NEAR(im[k], expected[k].imag(), 1e-6);
    }
    EXPECT_EQ(re[n], kGuard);
    EXPECT_EQ(im[n], kGuard);
}

TEST(FftTransform, NyquistAndDc) {
    const int n = 64;
    std::vector<float> re(n), im(n, 0.0f);
    for (int j = 0; j < n; ++j) re[j] = (j % 2 == 0) ? 1.0f : -1.0f;
    ASSERT_EQ(FftTransform(re.data(), im.data(), n), 0);
    EXPECT_NEAR(re[n / 2], 1.0f, 1e-6);
    for (int k = 0; k < n; ++k)
        if (k != n / 2) {
            EXPECT_NEAR(std::hypot(re[k], im[k]), 0.0, 1e-6) << k;
        }
}

// A sine of amplitude 1 on bin k, transformed and scaled as the run does.
std::vector<float> SineSpectrum(int n, int bin, SpectrumType type, bool absMode, float T) {
    std::vector<float> re(n + 1, 0.0f), im(n + 1, 0.0f);
    for (int j = 0; j < n; ++j) re[j] = static_cast<float>(std::sin(2.0 * M_PI * bin * j / n));
    EXPECT_EQ(FftTransform(re.data(), im.data(), n), 0);
    ScaleSpectrum(re.data(), im.data(), n, type, absMode, T);
    re.resize(n / 2);
    return re;
}

TEST(ScaleSpectrum, SineOnABinGivesOneAsAbsCoeffAndQuarterTAsFourierSpectrum) {
    const int n = 1024, bin = 37;
    const float T = n * 0.01f;
    std::vector<float> abs = SineSpectrum(n, bin, SpectrumType::Amp, true, T);
    std::vector<float> amp = SineSpectrum(n, bin, SpectrumType::Amp, false, T);
    std::vector<float> pwr = SineSpectrum(n, bin, SpectrumType::Power, false, T);
    EXPECT_NEAR(abs[bin], 1.0f, 1e-5);
    EXPECT_NEAR(amp[bin], 0.25f * T, 1e-4);
    EXPECT_NEAR(pwr[bin], 0.25f * T, 1e-4);
    for (int k = 0; k < n / 2; ++k) {
        if (k == bin) continue;
        EXPECT_NEAR(abs[k], 0.0f, 1e-5) << k;
        EXPECT_NEAR(amp[k], 0.0f, 1e-4) << k;
    }
}

TEST(ScaleSpectrum, ConstantSegmentWithAndWithoutZeroAverage) {
    const int n = 64;
    const float T = 6.4f, level = 3.0f;
    for (int type = 0; type < 3; ++type) {
        for (bool zeroAverage : {false, true}) {
            std::vector<float> re(n, -level), im(n, 0.0f);
            if (zeroAverage) RemoveSegmentMean(re.data(), n);
            ASSERT_EQ(FftTransform(re.data(), im.data(), n), 0);
            ScaleSpectrum(re.data(), im.data(), n, type == 2 ? SpectrumType::Power : SpectrumType::Amp,
                          type == 1, T);
            const float bin0 = type == 0 ? level * 0.5f * T : type == 1 ? 2 * level : level * level * T;
            EXPECT_FLOAT_EQ(re[0], zeroAverage ? 0.0f : bin0) << type;
            for (int k = 1; k < n / 2; ++k) EXPECT_EQ(re[k], 0.0f) << type << " " << k;
        }
    }
}

TEST(HanningSmooth, ImpulsesInsideAndAtBothEnds) {
    const int n = 32, h = n / 2;
    for (int at : {5, 0, h - 1}) {
        std::vector<float> values(n + 1, 0.0f);
        values[n] = kGuard;
        values[at] = 1.0f;
        HanningSmooth(values.data(), n);
        for (int i = 0; i < h; ++i) {
            float expected = i == at ? 0.5f : (i == at - 1 || i == at + 1) ? 0.25f : 0.0f;
            EXPECT_EQ(values[i], expected) << "impulse " << at << " bin " << i;
            EXPECT_EQ(values[h + i], values[i]) << "scratch half " << i;
        }
        EXPECT_EQ(values[n], kGuard);
    }
    // Two passes spread an impulse to 1:4:6:4:1 / 16.
    std::vector<float> values(n, 0.0f);
    values[8] = 16.0f;
    HanningSmooth(values.data(), n);
    HanningSmooth(values.data(), n);
    EXPECT_EQ(values[6], 1.0f);
    EXPECT_EQ(values[7], 4.0f);
    EXPECT_EQ(values[8], 6.0f);
    EXPECT_EQ(values[9], 4.0f);
    EXPECT_EQ(values[10], 1.0f);
}

TEST(SpectralRatio, BothDirectionsAndZeros) {
    const std::vector<float> a = {2, 0, 3, 8, 0}, b = {4, 5, 0, 2, 0};
    std::vector<float> out(6, kGuard);
    SpectralRatio(a.data(), b.data(), 1, out.data(), 5);
    EXPECT_EQ(out, (std::vector<float>{0.5f, 0, 0, 4, 0, kGuard}));
    SpectralRatio(a.data(), b.data(), 2, out.data(), 5);
    EXPECT_EQ(out, (std::vector<float>{2, 0, 0, 0.25f, 0, kGuard}));
}

TEST(RemoveSegmentMean, OnlyTheSamplesTaken) {
    std::vector<float> x = {1, 2, 3, 6, 0, 0};
    RemoveSegmentMean(x.data(), 4);
    EXPECT_EQ(x, (std::vector<float>{-2, -1, 0, 3, 0, 0}));
}

}  // namespace
}  // namespace wavora
