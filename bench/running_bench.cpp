// The running spectrum and the 2-D map:
//  - BM_RunningWaterfall/points: a whole multi plot with hidden lines (51 curves, 52 steps, each
//    a spectrum run with its curve drawn on an offscreen picture); steps_per_s is the step rate
//    (targets: at least 200 at 1024 points and 30 at 8192, so that a waterfall takes well under
//    a second);
//  - BM_MapRows: a full 320 × 320 map of 500 rows from spectra already computed: the map's own
//    work beyond the runs (target: 10 ms).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "analysis/running_session.h"
#include "draw/graph_plot.h"
#include "draw/image_canvas.h"
#include "draw/running_display.h"
#include "draw/spectrum_map_display.h"

namespace {

wavora::WaveRecord Record(int samples) {
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
        const double noise = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
        const double chirp = std::sin(2.0 * std::numbers::pi * (5.0 + i / 4000.0) * i / 100.0);
        s[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(8000.0 * chirp + 2000.0 * noise));
    }
    record.Channels[0].ScaleFactor = 0.01f;
    return record;
}

void BM_RunningWaterfall(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const wavora::WaveRecord record = Record(points + 60 * 200);
    wavora::RunningSession session;
    session.Analysis.PointsChoice = points;
    wavora::ImageCanvas image(433, 417);
    wavora::RunningObserver observer;
    observer.Step = [&](const wavora::RunningStep& step, const wavora::SpectrumResult&,
                        const wavora::RunningStepView&) {
        wavora::DrawRunningSpectrum(image, step, wavora::kRed);
    };
    int steps = 0;
    for (auto _ : state) {
        wavora::RunningSpectrum running;
        wavora::SpectrumMap map;
        const wavora::RunningOutcome out =
            wavora::DriveRunningSpectrum(record, session, running, map, observer);
        steps = out.Steps;
        benchmark::DoNotOptimize(image.Pixel(200, 200));
    }
    state.counters["steps_per_s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RunningWaterfall)->Arg(1024)->Arg(8192)->Unit(benchmark::kMillisecond);

void BM_MapRows(benchmark::State& state) {
    const wavora::WaveRecord record = Record(2000);
    wavora::SpectrumResult result;
    wavora::AnalysisSettings settings;
    settings.RunningActive = true;
    wavora::SpectrumRun run(record, settings, result);
    run.Begin(0);
    run.AnalyseChannel(0);
    wavora::SpectrumAxisFields axis;  // 0 … 50 Hz on 320 × 320 pixels
    wavora::ImageCanvas canvas(433, 417);
    wavora::GraphPlot plot(&canvas);
    for (auto _ : state) {
        wavora::SpectrumMap map;
        map.Fields.TimeSpan = 500.0f;  // one row per second: 500 rows
        map.Prepare(true, 0.01f);
        const wavora::MapStartPlan start = map.Start(record, result, axis, {}, 100);
        wavora::DrawMapStart(plot, canvas, start);
        for (int row = 0; row < 500; ++row) {
            result.Position = row * 100;
            wavora::DrawMapRow(canvas, map.Row(record, result, 100));
        }
        result.Position = 0;
        benchmark::DoNotOptimize(canvas.Pixel(200, 200));
    }
}
BENCHMARK(BM_MapRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The pictures' texts need Qt's fonts; no window is shown.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
