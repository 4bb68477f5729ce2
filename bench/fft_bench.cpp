// The transform alone against FFTW's complex single-precision transform of the same size (planned
// once), and the whole spectrum run over eight channels.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/fft.h"
#include "analysis/spectrum_run.h"

#ifdef WAVORA_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<float> Noise(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> x(n);
    for (float& v : x) v = dist(gen);
    return x;
}

// Each iteration copies the input in again (the transform works in place), as the FFTW case does.
void BM_FftTransform(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> inRe = Noise(n, 1), inIm = Noise(n, 2);
    std::vector<float> re(n), im(n);
    wavora::FftTables::Instance().Prepare(n);
    for (auto _ : state) {
        std::memcpy(re.data(), inRe.data(), sizeof(float) * n);
        std::memcpy(im.data(), inIm.data(), sizeof(float) * n);
        benchmark::DoNotOptimize(wavora::FftTransform(re.data(), im.data(), n));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FftTransform)->Arg(1024)->Arg(8192);

#ifdef WAVORA_HAVE_FFTW
void BM_Fftw(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> inRe = Noise(n, 1), inIm = Noise(n, 2);
    std::vector<float> input(2 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        input[2 * i] = inRe[i];
        input[2 * i + 1] = inIm[i];
    }
    fftwf_complex* data = fftwf_alloc_complex(static_cast<size_t>(n));
    fftwf_plan plan = fftwf_plan_dft_1d(n, data, data, FFTW_FORWARD, FFTW_MEASURE);
    for (auto _ : state) {
        std::memcpy(data, input.data(), sizeof(float) * 2 * n);
        fftwf_execute(plan);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(data);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Fftw)->Arg(1024)->Arg(8192);
#endif

// A whole run as the window makes it: eight channels of 8192 points, Fourier spectrum with one
// smoothing pass, File Save on (so the coefficients are stored too).
void BM_SpectrumRun8Channels(benchmark::State& state) {
    const int points = 8192;
    wavora::WaveRecord record;
    record.ChannelCount = 8;
    record.SampleCount = points;
    record.SamplingRate = 100;
    record.SamplingInterval = 0.01f;
    for (int c = 0; c < 8; ++c) {
        const std::vector<float> noise = Noise(points, 10 + c);
        wavora::ChannelInfo& channel = record.Channels[c];
        channel.ScaleFactor = 0.001f;
        channel.Samples.resize(points);
        for (int i = 0; i < points; ++i) channel.Samples[i] = static_cast<int16_t>(noise[i] * 30000.0f);
    }
    wavora::AnalysisSettings settings;
    settings.ChannelFlags.fill(true);
    settings.PointsChoice = points;
    settings.SmoothPasses = 1;
    settings.FileSave = true;
    wavora::SpectrumResult result;
    for (auto _ : state) {
        wavora::SpectrumRun run(record, settings, result);
        run.Begin(0);
        for (int k : run.Channels()) benchmark::DoNotOptimize(run.AnalyseChannel(k).Status);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SpectrumRun8Channels)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
