// The arbitrary CSV import on the reader benchmark's 8-channel file with a time column in front
// (1,000,000 rows): the line index the preview needs, the import of columns 2 to 9, and the memory
// the preview holds; beside them the standard CSV reader on the same values without the time
// column, so that one run gives both sides of every comparison.
// Options besides Google Benchmark's own:
//   --csv=FILE     the standard CSV data file (8 channels) instead of one written by the benchmark
//   --timed=FILE   the same values with a time column in front instead of one written by the benchmark
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "formats/csv_import.h"
#include "formats/data_readers.h"
#include "formats/data_writers.h"
#include "record/wave_record.h"

namespace {

constexpr int kRows = 1'000'000;
std::string g_standard, g_timed;

int64_t FileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

// Both files as the program writes its analysed data: four header lines, then "%10.3e" values;
// the second one has the sample time in seconds in front of every row.
bool WriteFiles(const std::string& standard, const std::string& timed) {
    std::FILE* a = std::fopen(standard.c_str(), "w");
    std::FILE* b = std::fopen(timed.c_str(), "w");
    if (!a || !b) {
        if (a) std::fclose(a);
        if (b) std::fclose(b);
        return false;
    }
    std::fputs(
        "CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8\n1000,s\nFILTER,Unfiltered\nGal,Gal,Gal,Gal,Gal,Gal,Gal,Gal\n", a);
    std::fputs(
        "TIME,CH1,CH2,CH3,CH4,CH5,CH6,CH7,CH8\nrecorded 1000 per "
        "second\nmemo\ns,Gal,Gal,Gal,Gal,Gal,Gal,Gal,Gal\n",
        b);
    uint32_t noise = 1;
    std::string row;
    for (int i = 0; i < kRows; ++i) {
        row.clear();
        for (int c = 0; c < 8; ++c) {
            noise = noise * 1664525u + 1013904223u;
            double v = (c + 1) * 3.0 * std::sin(0.002 * (c + 2) * i) +
                       (static_cast<double>(noise >> 8) / 16777216.0 - 0.5);
            if (c) row += ',';
            wavora::AppendScientific10_3(row, v);
        }
        row += '\n';
        std::fputs(row.c_str(), a);
        std::fprintf(b, "%.3f,", i / 1000.0);
        std::fputs(row.c_str(), b);
    }
    bool ok = std::fclose(a) == 0;
    return std::fclose(b) == 0 && ok;
}

wavora::CsvImportSelection Selection(const wavora::CsvLineIndex& index) {
    wavora::CsvImportSelection s = wavora::StartSelection(index);
    s.FromColumn = 2;
    s.ToColumn = 9;
    s.SamplingRate = 1000;
    return s;
}

void BM_ReadStandardCsv(benchmark::State& state) {
    for (auto _ : state) {
        wavora::WaveRecord record;
        wavora::Outcome outcome = wavora::ReadStandardCsv(g_standard, record);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            break;
        }
        benchmark::DoNotOptimize(record.Channels[7].Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize(g_standard));
}
BENCHMARK(BM_ReadStandardCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IndexCsv(benchmark::State& state) {
    int64_t lines = 0;
    for (auto _ : state) {
        wavora::CsvLineIndex index;
        wavora::Outcome outcome = wavora::CsvLineIndex::Build(g_timed, index);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            break;
        }
        lines = index.LineCount();
    }
    state.SetBytesProcessed(state.iterations() * FileSize(g_timed));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_IndexCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// The dialog's OK: the index is already there from the preview.
void BM_ImportCsv(benchmark::State& state) {
    wavora::CsvLineIndex index;
    if (!wavora::CsvLineIndex::Build(g_timed, index).Ok()) {
        state.SkipWithError("cannot index the file");
        return;
    }
    const wavora::CsvImportSelection selection = Selection(index);
    for (auto _ : state) {
        wavora::WaveRecord record;
        wavora::Outcome outcome = wavora::ImportCsv(index, selection, record);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            break;
        }
        benchmark::DoNotOptimize(record.Channels[7].Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize(g_timed));
}
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the file name to the record: index, then import.
void BM_IndexAndImportCsv(benchmark::State& state) {
    for (auto _ : state) {
        wavora::CsvLineIndex index;
        wavora::WaveRecord record;
        wavora::Outcome outcome = wavora::CsvLineIndex::Build(g_timed, index);
        if (outcome.Ok()) outcome = wavora::ImportCsv(index, Selection(index), record);
        if (!outcome.Ok()) {
            state.SkipWithError(outcome.Error->Text.c_str());
            break;
        }
        benchmark::DoNotOptimize(record.Channels[7].Samples.data());
    }
    state.SetBytesProcessed(state.iterations() * FileSize(g_timed));
}
BENCHMARK(BM_IndexAndImportCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
double StatusBytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string key;
    double kb = 0;
    while (in >> key) {
        if (key == std::string(field) + ":") {
            in >> kb;
            return kb * 1024.0;
        }
        std::getline(in, key);
    }
    return 0;
}

// What the preview holds: the index and a screen of the grid. The peak is measured from a reset
// of the process's high-water mark, so the files written above do not count.
void BM_PreviewMemory(benchmark::State& state) {
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";
        const double before = StatusBytes("VmRSS");
        wavora::CsvLineIndex index;
        if (!wavora::CsvLineIndex::Build(g_timed, index).Ok()) {
            state.SkipWithError("cannot index the file");
            return;
        }
        wavora::CsvPreview preview(index);
        size_t shown = 0;
        for (int64_t row = 0; row < 40; ++row)
            for (int64_t column = 0; column < preview.ColumnCount(); ++column)
                shown += preview.CellText(row, column).size();
        benchmark::DoNotOptimize(shown);
        const double peak = StatusBytes("VmHWM") - before;
        const double lines = static_cast<double>(index.LineCount());
        state.counters["lines"] = lines;
        state.counters["index_bytes"] = static_cast<double>(index.MemoryBytes());
        state.counters["peak_bytes"] = peak;
        state.counters["limit_bytes"] = 16.0 * lines + 64.0 * 1024 * 1024;
    }
}
BENCHMARK(BM_PreviewMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--csv=", 0) == 0) {
            g_standard = arg.substr(6);
        } else if (arg.rfind("--timed=", 0) == 0) {
            g_timed = arg.substr(8);
        } else {
            std::fprintf(stderr, "import_bench: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    const bool own = g_standard.empty() || g_timed.empty();
    if (own) {
        const std::string stem = "/tmp/wavora_import_bench_" + std::to_string(getpid());
        g_standard = stem + ".csv";
        g_timed = stem + "_timed.csv";
        if (!WriteFiles(g_standard, g_timed)) {
            std::fprintf(stderr, "import_bench: cannot write %s\n", g_standard.c_str());
            return 1;
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (own) {
        std::remove(g_standard.c_str());
        std::remove(g_timed.c_str());
    }
    return 0;
}
