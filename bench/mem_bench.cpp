// The MEM spectrum of one channel at 8192 points (model order 226), on the data that
// bench/compare_spectral.py evaluates with numpy.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <cstring>
#include <vector>

#include "analysis/mem.h"

namespace {

constexpr float kDt = 0.01f;
constexpr float kFmax = 50.0f;

// Two sines and a deterministic pseudo-random hiss; compare_spectral.py builds the same values.
std::vector<float> BenchSegment(int n) {
    std::vector<float> x(static_cast<size_t>(n) + 1, 0.0f);
    uint32_t state = 12345u;
    for (int j = 0; j < n; ++j) {
        state = state * 1664525u + 1013904223u;
        const float hiss = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        x[j] = std::sin(0.37f * j) + 0.5f * std::sin(1.3f * j) + 0.2f * hiss;
    }
    return x;
}

void BM_MemSpectrum(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> input = BenchSegment(n);
    std::vector<float> x(input.size()), freq(static_cast<size_t>(n));
    for (auto _ : state) {
        std::memcpy(x.data(), input.data(), sizeof(float) * input.size());
        wavora::MemSpectrum(x.data(), freq.data(), kDt, n, kFmax);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemSpectrum)->Arg(8192)->Unit(benchmark::kMillisecond);

// --dump=FILE writes the input (n + 1 floats), the spectrum and the frequencies (n floats each) of
// one MEM evaluation at 8192 points as raw little-endian floats, for compare_spectral.py.
bool Dump(const std::string& path) {
    const int n = 8192;
    std::vector<float> x = BenchSegment(n), freq(static_cast<size_t>(n));
    const std::vector<float> input = x;
    wavora::MemSpectrum(x.data(), freq.data(), kDt, n, kFmax);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(input.data(), sizeof(float), input.size(), file) == input.size();
    ok = ok && std::fwrite(x.data(), sizeof(float), static_cast<size_t>(n), file) == static_cast<size_t>(n);
    ok =
        ok && std::fwrite(freq.data(), sizeof(float), static_cast<size_t>(n), file) == static_cast<size_t>(n);
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--dump=", 0) == 0) return Dump(arg.substr(7)) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
