// Spectral peaks: one detection on the largest spectrum, one gather with its texts, and the whole
// automatic skipping analysis of a long record with and without the peaks (the difference is what
// the peaks cost beyond the spectrum runs themselves; the target is under 0.1 s for 1,000,000
// samples at 1024 points).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "analysis/auto_skip.h"
#include "analysis/spectral_peaks.h"

namespace {

// A rough spectrum: a few resonances over noise, so that every other line or so is a maximum.
std::vector<float> RoughSpectrum(int points) {
    std::vector<float> s(static_cast<size_t>(points) + 1, 0.0f);
    uint32_t state = 2024;
    for (int i = 0; i < points / 2; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 8) / 16777216.0;
        const double resonance = 5.0 / (1.0 + std::pow((i - points / 8.0) / 20.0, 2)) +
                                 3.0 / (1.0 + std::pow((i - points / 5.0) / 10.0, 2));
        s[static_cast<size_t>(i)] = static_cast<float>(noise + resonance);
    }
    return s;
}

wavora::WaveRecord LongRecord(int samples) {
    wavora::WaveRecord record;
    record.ChannelCount = 1;
    record.SampleCount = samples;
    record.SamplingRate = 100;
    record.SamplingInterval = 0.01f;
    record.FileName = "long.csv";
    auto& s = record.Channels[0].Samples;
    s.resize(static_cast<size_t>(samples));
    uint32_t state = 7;
    for (int i = 0; i < samples; ++i) {
        state = state * 1664525u + 1013904223u;
        const double v = 6000.0 * std::sin(2.0 * std::numbers::pi * i / 8.3) +
                         3000.0 * std::sin(2.0 * std::numbers::pi * i / 31.0) +
                         static_cast<double>(static_cast<int>(state >> 21) - 1024);
        s[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(v));
    }
    record.Channels[0].ScaleFactor = 0.01f;
    return record;
}

void BM_DetectPeaks(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const std::vector<float> spectrum = RoughSpectrum(points);
    wavora::PeakAxes axes;  // 0 … 50 Hz at 100 samples per second
    const float step = 100.0f / static_cast<float>(points);
    for (auto _ : state) {
        auto peaks = wavora::DetectPeaks(spectrum, points, step, axes, 10);
        benchmark::DoNotOptimize(peaks.data());
    }
}
BENCHMARK(BM_DetectPeaks)->Arg(8192)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_GatherPeaks(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    wavora::SpectrumResult result;
    result.Points = points;
    result.FrequencyStep = 100.0f / static_cast<float>(points);
    result.AnalysisInterval = 0.01f;
    result.RealPart = RoughSpectrum(points);
    wavora::SpectralPeaks peaks;
    const wavora::PeakAxes axes = wavora::AutomaticPeakAxes(result);
    for (auto _ : state) {
        peaks.Gather(result, 0, axes, "long.csv");
        benchmark::DoNotOptimize(peaks.Histogram.Y.data());
    }
}
BENCHMARK(BM_GatherPeaks)->Arg(8192)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The automatic skipping analysis over 1,000,000 samples at 1024 points (976 runs); range 1 says
// whether the peaks are gathered.
void BM_AutoSkipWholeRecord(benchmark::State& state) {
    static const wavora::WaveRecord record = LongRecord(1000000);
    const bool gather = state.range(0) != 0;
    wavora::AnalysisSettings settings;
    settings.PointsChoice = 1024;
    settings.MemFmax = wavora::AutomaticFrequencyMaximum(0.01f);
    for (auto _ : state) {
        wavora::SpectralPeaks peaks;
        const wavora::AutoSkipSummary summary =
            wavora::RunAutoSkipToEnd(record, settings, 0, gather ? &peaks : nullptr);
        benchmark::DoNotOptimize(summary.Runs);
        if (summary.Runs != 976) state.SkipWithError("unexpected number of runs");
    }
    state.SetLabel(gather ? "runs with peaks" : "runs only");
}
BENCHMARK(BM_AutoSkipWholeRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
