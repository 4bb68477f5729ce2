// The standard CSV reader on an 8-channel file of 1,000,000 rows (two passes over the file).
// Options besides Google Benchmark's own:
//   --csv=FILE   read this file instead of one written by the benchmark itself
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "formats/data_readers.h"
#include "record/wave_record.h"

namespace {

std::string g_path;

// A file as the program writes its analysed data: four header lines, then "%10.3e" values.
bool WriteFile(const std::string& path, int rows) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(
        f, "CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8\n1000,s\nFILTER,Unfiltered\nGal,Gal,Gal,Gal,Gal,Gal,Gal,Gal\n");
    uint32_t noise = 1;
    for (int i = 0; i < rows; ++i) {
        for (int c = 0; c < 8; ++c) {
            noise = noise * 1664525u + 1013904223u;
            double v = (c + 1) * 3.0 * std::sin(0.002 * (c + 2) * i) +
                       (static_cast<double>(noise >> 8) / 16777216.0 - 0.5);
            std::fprintf(f, c ? ",%10.3e" : "%10.3e", v);
        }
        std::fputc('\n', f);
    }
    return std::fclose(f) == 0;
}

void BM_ReadStandardCsv(benchmark::State& state) {
    struct stat st {};
    stat(g_path.c_str(), &st);
    for (auto _ : state) {
        wavora::WaveRecord record;
        wavora::Outcome outcome = wavora::ReadStandardCsv(g_path, record);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            break;
        }
        benchmark::DoNotOptimize(record.Channels[7].Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(st.st_size));
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
    bool own = g_path.empty();
    if (own) {
        g_path = "/tmp/wavora_reader_bench_" + std::to_string(getpid()) + ".csv";
        if (!WriteFile(g_path, 1'000'000)) {
            std::fprintf(stderr, "reader_bench: cannot write %s\n", g_path.c_str());
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (own) std::remove(g_path.c_str());
    return 0;
}
