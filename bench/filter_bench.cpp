// The 999-tap filter over 8 channels of 1,000,000 samples each.
// Options besides Google Benchmark's own:
//   --samples=FILE     16-bit samples, channel after channel (8 × 1,000,000), instead of built-in ones
//   --write-taps=FILE  writes the 500 coefficients as 32-bit floats, for a comparison with the same taps
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/filter.h"

namespace {

constexpr int kChannels = 8;
constexpr int64_t kSamples = 1'000'000;

std::vector<int16_t> g_samples;  // kChannels × kSamples
std::vector<float> g_taps(wavora::kFilterCoefficients);

void MakeSamples() {
    g_samples.resize(static_cast<size_t>(kChannels * kSamples));
    uint32_t noise = 12345;
    for (int c = 0; c < kChannels; ++c) {
        for (int64_t i = 0; i < kSamples; ++i) {
            noise = noise * 1664525u + 1013904223u;
            double v = 15000.0 * std::sin(0.001 * (c + 1) * i) + static_cast<double>(noise >> 20) - 2048.0;
            g_samples[static_cast<size_t>(c * kSamples + i)] = static_cast<int16_t>(v);
        }
    }
}

bool LoadSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    g_samples.resize(static_cast<size_t>(kChannels * kSamples));
    in.read(reinterpret_cast<char*>(g_samples.data()), static_cast<std::streamsize>(g_samples.size() * 2));
    return static_cast<size_t>(in.gcount()) == g_samples.size() * 2;
}

void BM_FilterChannels(benchmark::State& state) {
    std::vector<int16_t> work(g_samples.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), g_samples.data(), work.size() * sizeof(int16_t));
        state.ResumeTiming();
        for (int c = 0; c < kChannels; ++c) {
            int k = wavora::FilterChannel(wavora::kFilterCoefficients, g_taps.data(),
                                          work.data() + c * kSamples, kSamples);
            benchmark::DoNotOptimize(k);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kChannels * kSamples);
}
BENCHMARK(BM_FilterChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string samplesPath, tapsPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--samples=", 0) == 0) {
            samplesPath = arg.substr(10);
        } else if (arg.rfind("--write-taps=", 0) == 0) {
            tapsPath = arg.substr(13);
        } else {
            std::fprintf(stderr, "filter_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    // The default band of a 100 Hz record: 0.5, 1.0, 37.5 and 56.25 Hz.
    wavora::DesignBandPass(wavora::kFilterCoefficients, g_taps.data(), 0.5f, 1.0f, 37.5f, 56.25f, 0.01f);
    if (!tapsPath.empty()) {
        std::ofstream out(tapsPath, std::ios::binary);
        out.write(reinterpret_cast<const char*>(g_taps.data()),
                  static_cast<std::streamsize>(g_taps.size() * 4));
        if (!out) {
            std::fprintf(stderr, "filter_bench: cannot write %s\n", tapsPath.c_str());
            return 1;
        }
    }
    if (samplesPath.empty()) {
        MakeSamples();
    } else if (!LoadSamples(samplesPath)) {
        std::fprintf(stderr, "filter_bench: %s does not hold 8 × 1,000,000 16-bit samples\n",
                     samplesPath.c_str());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
