// The spectrum run as the window does it, listing and drawing included, on the offscreen picture:
//   BM_RunListDraw8x8192  eight channels of 8192 points (target 25 ms),
//   BM_RunListDraw1x1024  one channel of 1024 points, the running spectrum's step (target 1 ms),
//   BM_MouseReadout       one read-out under the pointer, text drawn (target 50 µs).
// "Listing" makes every channel's grid listing and the cell texts of one screenful of rows, as
// the grid paints them.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <string>

#include "analysis/spectrum_run.h"
#include "draw/image_canvas.h"
#include "draw/spectrum_display.h"
#include "draw/spectrum_mouse.h"
#include "draw/startup_picture.h"
#include "draw/wave_display.h"

namespace {

using namespace wavora;

constexpr int kVisibleRows = 25;

// Eight channels at 100 Hz: two sines each and a deterministic hiss.
WaveRecord BenchRecord(int channels, int samples) {
    WaveRecord r;
    r.FileName = "bench.csv";
    r.ChannelCount = channels;
    r.SampleCount = samples;
    r.SamplingRate = 100;
    r.SamplingInterval = 0.01f;
    uint32_t state = 12345u;
    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = r.Channels[k];
        ch.Name = "CH" + std::to_string(k + 1);
        ch.DisplayUnit = "Gal";
        ch.ScaleFactor = 0.001f;
        ch.Samples.resize(samples);
        for (int i = 0; i < samples; ++i) {
            state = state * 1664525u + 1013904223u;
            const double hiss = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
            ch.Samples[i] = static_cast<int16_t>(8000.0 * std::sin(0.05 * (k + 1) * i) +
                                                 3000.0 * std::sin(0.7 * i) + 2000.0 * hiss);
        }
    }
    return r;
}

// The main window's picture with its font.
struct Picture {
    ImageCanvas Canvas{kMainPictureWidth, kMainPictureHeight};
    Picture() { Canvas.SetFont(kPictureFont, 12); }
};

void RunListDraw(benchmark::State& state, int channels, int points) {
    const WaveRecord record = BenchRecord(channels, points + 100);
    AnalysisSettings settings;
    settings.ChannelFlags.fill(false);
    for (int k = 0; k < channels; ++k) settings.ChannelFlags[k] = true;
    settings.PointsChoice = points;
    Picture screen;
    ImageCanvas& canvas = screen.Canvas;
    SpectrumDisplay display;
    WaveView view;
    for (auto _ : state) {
        SpectrumResult result;
        SpectrumRun run(record, settings, result);
        if (run.Begin(0).Status != RunStartStatus::Ready) state.SkipWithError("the run did not start");
        SpectrumRunPicture picture;
        size_t cells = 0;
        for (int k : run.Channels()) {
            const ChannelOutcome outcome = run.AnalyseChannel(k);
            for (int row = 0; row < kVisibleRows; ++row)
                for (int column = 0; column < outcome.Listing.Columns; ++column)
                    cells += outcome.Listing.Cell(row, column).size();
            picture.Add(record, result, k, view.ChannelColors[k]);
        }
        picture.Draw(canvas, display, view, FrameInfoOf(record, result, 0, {}));
        benchmark::DoNotOptimize(cells);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
}

void BM_RunListDraw8x8192(benchmark::State& state) {
    RunListDraw(state, 8, 8192);
}
BENCHMARK(BM_RunListDraw8x8192)->Unit(benchmark::kMillisecond);

void BM_RunListDraw1x1024(benchmark::State& state) {
    RunListDraw(state, 1, 1024);
}
BENCHMARK(BM_RunListDraw1x1024)->Unit(benchmark::kMicrosecond);

void BM_MouseReadout(benchmark::State& state) {
    Picture screen;
    ImageCanvas& canvas = screen.Canvas;
    SpectrumAxes axes;
    axes.NGridX = 5, axes.GridX = 64, axes.VValueX = 10;
    axes.NGridY = 2, axes.GridY = 160, axes.VValueY = 0.5f;
    axes.Drawn = true;
    const PictureState picture{kShowSpectrum, false, true};
    int x = 70;
    for (auto _ : state) {
        x = x >= 390 ? 70 : x + 1;
        if (auto text = SpectrumReadout(axes, picture, "Hz", x, 200))
            canvas.TextOut(text->X, text->Y, text->Text);
    }
    benchmark::DoNotOptimize(canvas.Image().constBits());
}
BENCHMARK(BM_MouseReadout)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Text needs the GUI application object; the offscreen platform needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char name[] = "spectrum_display_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
