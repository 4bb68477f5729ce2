// One step of the timed correlation analysis at the largest segment: it must fit well inside the
// 100 ms tick of its timer.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "analysis/correlation.h"

namespace {

wavora::WaveRecord MakeRecord(int channels, int samples) {
    wavora::WaveRecord record;
    record.ChannelCount = channels;
    record.SampleCount = samples;
    record.SamplingRate = 100;
    record.SamplingInterval = 0.01f;
    for (int k = 0; k < channels; ++k) {
        auto& s = record.Channels[static_cast<size_t>(k)].Samples;
        s.resize(static_cast<size_t>(samples));
        for (int i = 0; i < samples; ++i) {
            s[static_cast<size_t>(i)] =
                static_cast<int16_t>(std::lround(8000.0 * std::sin(2.0 * std::numbers::pi * i / (20.0 + k)) +
                                                 500.0 * std::sin(0.37 * i * (k + 1))));
        }
        record.Channels[static_cast<size_t>(k)].ScaleFactor = 0.01f;
    }
    return record;
}

void BM_CorrelationStep(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const bool cross = state.range(1) != 0;
    const wavora::WaveRecord record = MakeRecord(2, points + 2000);
    wavora::CorrelationSettings settings;
    settings.Points = points;
    settings.Position = 100;
    settings.SecondChannel = cross ? 1 : -1;
    for (auto _ : state) {
        wavora::CorrelationFrame frame = wavora::CorrelationStep(record, settings);
        benchmark::DoNotOptimize(frame.Values.data());
    }
    state.SetLabel(cross ? "cross" : "auto");
}
BENCHMARK(BM_CorrelationStep)
    ->Args({8192, 0})
    ->Args({8192, 1})
    ->Args({1024, 0})
    ->Unit(benchmark::kMillisecond);

void BM_CorrelationReport(benchmark::State& state) {
    const wavora::WaveRecord record = MakeRecord(1, 12000);
    wavora::CorrelationSettings settings;
    settings.Points = 8192;
    const wavora::CorrelationFrame frame = wavora::CorrelationStep(record, settings);
    wavora::CorrelationReportSettings rs;
    rs.AnalysisInterval = 0.01f;
    for (auto _ : state) {
        wavora::CorrelationReport report = wavora::MakeCorrelationReport(frame.Values, rs);
        benchmark::DoNotOptimize(report.GridRows.data());
    }
}
BENCHMARK(BM_CorrelationReport)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
