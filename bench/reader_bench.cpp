// The standard CSV reader on an 8-channel data file (bench/compare.py times numpy.loadtxt on the same file).
// Options besides Google Benchmark's own:
//   --csv=FILE   the data file to read; without it a 1,000,000-row file is written to the temporary folder
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "formats/data_readers.h"

namespace {

std::string g_path;

// Four header lines, then "%10.3e" values, as the program writes them.
bool WriteDataFile(const std::string& path, int rows) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fputs(
        "CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8\n1000,s\nFILTER,Unfiltered\nGal,Gal,Gal,Gal,Gal,Gal,Gal,Gal\n", f);
    uint32_t noise = 1;
    for (int i = 0; i < rows; ++i) {
        for (int c = 0; c < 8; ++c) {
            noise = noise * 1664525u + 1013904223u;
            double v =
                (c + 1) * 3.0 * std::sin(2 * M_PI * (c + 2) * i / 1000.0) + (noise >> 16) / 65536.0 - 0.5;
            std::fprintf(f, c ? ",%10.3e" : "%10.3e", v);
        }
        std::fputc('\n', f);
    }
    return std::fclose(f) == 0;
}

void BM_ReadStandardCsv(benchmark::State& state) {
    for (auto _ : state) {
        wavora::WaveRecord record;
        wavora::Outcome outcome = wavora::ReadStandardCsv(g_path, record);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            return;
        }
        benchmark::DoNotOptimize(record.Channels[0].Samples.data());
    }
}
BENCHMARK(BM_ReadStandardCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--csv=", 0) == 0) {
            g_path = arg.substr(6);
        } else {
            std::fprintf(stderr, "reader_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    bool temporary = g_path.empty();
    if (temporary) {
        g_path = (std::filesystem::temp_directory_path() / "wavora_reader_bench.csv").string();
        if (!WriteDataFile(g_path, 1'000'000)) {
            std::fprintf(stderr, "reader_bench: cannot write %s\n", g_path.c_str());
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (temporary) std::filesystem::remove(g_path);
    return 0;
}
