// The transform alone against FFTW's complex single-precision transform of the same size (planned
// once), and the whole spectrum run over eight channels.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/fft.h"

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

}  // namespace

BENCHMARK_MAIN();
