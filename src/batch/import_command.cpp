// wavora-batch import FILE [--names-line N] [--memo-line N] [--unit-line N] [--from-line N]
//     [--to-line N] [--from-column N] [--to-column N] [--rate N] [--unit s|ms|us|ns] [load options]
//     [--json] [--samples] [-o OUT.csv [--force]]
// The import of any CSV file as the "CSV(Arbitrary)" dialog's OK does it, with the dialog's start
// values for what is not given, printed as `info` prints a record; -o also writes the selection as
// a standard CSV data file, the dialog's "Yes" to "Save File as Standard CSV file for WAVORA?".

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "analysis/load_pipeline.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/record_report.h"
#include "formats/csv_import.h"
#include "formats/data_writers.h"

namespace wavora::batch {

namespace {

struct ImportArguments {
    std::string File;
    int64_t NamesLine = 0, MemoLine = 0, UnitLine = 0, FromLine = 0, ToLine = 0, FromColumn = 0, ToColumn = 0;
    int64_t Rate = 0;
    std::string Unit = "s";
    BatchLoadOptions Load;
    bool Json = false;
    bool Samples = false;
    std::string Output;
    bool Force = false;
    // The options given on the command line; the others keep the dialog's start values.
    CLI::Option *NamesLineOption = nullptr, *MemoLineOption = nullptr, *UnitLineOption = nullptr,
                *FromLineOption = nullptr, *ToLineOption = nullptr, *FromColumnOption = nullptr,
                *ToColumnOption = nullptr, *RateOption = nullptr;
};

TimeUnit UnitOfWord(const std::string& word) {
    if (word == "ms") return TimeUnit::Milliseconds;
    if (word == "us") return TimeUnit::Microseconds;
    if (word == "ns") return TimeUnit::Nanoseconds;
    return TimeUnit::Seconds;
}

CsvImportSelection SelectionOf(const ImportArguments& a, const CsvLineIndex& index) {
    CsvImportSelection s = StartSelection(index);
    auto take = [](CLI::Option* option, int64_t value, int64_t& field) {
        if (option->count() > 0) field = value;
    };
    take(a.NamesLineOption, a.NamesLine, s.NamesLine);
    take(a.MemoLineOption, a.MemoLine, s.MemoLine);
    take(a.UnitLineOption, a.UnitLine, s.UnitLine);
    take(a.FromLineOption, a.FromLine, s.FromLine);
    take(a.ToLineOption, a.ToLine, s.ToLine);
    take(a.FromColumnOption, a.FromColumn, s.FromColumn);
    take(a.ToColumnOption, a.ToColumn, s.ToColumn);
    take(a.RateOption, a.Rate, s.SamplingRate);
    s.Unit = UnitOfWord(a.Unit);
    return s;
}

int RunImport(const ImportArguments& a) {
    // As the save dialog does: a name without an extension gets ".csv".
    const std::string output = a.Output.empty() ? std::string() : AppendExtensionIfMissing(a.Output, "csv");
    if (!output.empty())
        if (auto refused = RefuseExisting(output, a.Force)) return ReportFailure(*refused);

    LoadedRecord loaded;
    Outcome prepared = ToLoadOptions(a.Load, a.File, loaded.Options, loaded.Filter);
    if (!prepared.Ok()) return ReportFailure(*prepared.Error);

    CsvLineIndex index;
    ProgressLine line;
    Outcome indexed = CsvLineIndex::Build(a.File, index, line.Callback());
    line.Finish();
    if (!indexed.Ok()) return ReportFailure(*indexed.Error);

    const CsvImportSelection selection = SelectionOf(a, index);
    loaded.Options.Format = FormatType::CsvArbitrary;
    loaded.Options.Import = selection;
    LoadResult result = LoadImport(index, loaded.Options, loaded.Filter, loaded.Record, line.Callback());
    line.Finish();
    PrintWarnings(result.Result.Warnings);
    if (!result.Result.Ok()) return ReportFailure(*result.Result.Error);
    loaded.Filtered = result.Filtered;

    if (!output.empty()) {
        if (auto refused = RefuseExisting(output, a.Force)) return ReportFailure(*refused);
        Outcome saved = SaveAsStandardCsv(index, selection, output, line.Callback());
        line.Finish();
        if (!saved.Ok()) return ReportFailure(*saved.Error);
    }
    PrintRecordReport(loaded, a.Json, a.Samples);
    return kExitOk;
}

}  // namespace

void RegisterImportCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<ImportArguments>();
    CLI::App* cmd = app.add_subcommand(
        "import",
        "Import any CSV file as the \"CSV(Arbitrary)\" dialog does, and print the record as info does");
    cmd->footer(
        "Lines and columns count from 1. Not given: names line 1, memo line 3, unit line 4, data lines 5 to\n"
        "the last line, columns 1 to the last line's cell count, rate 100 per second. At most 8 columns are\n"
        "taken. Every selected data cell must hold a number; a refusal names its line and column.");
    cmd->add_option("FILE", args->File, "CSV file")->required();
    auto line = [&](const char* name, int64_t& value, const char* text) {
        return cmd->add_option(name, value, text)->group("Selection");
    };
    args->NamesLineOption =
        line("--names-line", args->NamesLine, "Line of the channel names (\"SiteName Line\")");
    args->MemoLineOption = line("--memo-line", args->MemoLine, "Line of the memo, written to line 3 of -o");
    args->UnitLineOption = line("--unit-line", args->UnitLine, "Line of the units");
    args->FromLineOption = line("--from-line", args->FromLine, "First data line");
    args->ToLineOption = line("--to-line", args->ToLine, "Last data line");
    args->FromColumnOption = line("--from-column", args->FromColumn, "First data column");
    args->ToColumnOption = line("--to-column", args->ToColumn, "Last data column");
    args->RateOption = line("--rate", args->Rate, "Sampling rate, samples per --unit");
    cmd->add_option("--unit", args->Unit, "Time unit of the rate")
        ->check(CLI::IsMember({"s", "ms", "us", "ns"}))
        ->capture_default_str()
        ->group("Selection");
    AddLoadOptions(*cmd, args->Load, false);
    cmd->add_flag("--json", args->Json, "One JSON object instead of text");
    cmd->add_flag("--samples", args->Samples, "Also the stored 16-bit samples after all processing");
    cmd->add_option("-o,--output", args->Output,
                    "Also write the selection as a standard CSV data file (\".csv\" is added when it has no "
                    "extension)");
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, &exitStatus] { exitStatus = RunImport(*args); });
}

}  // namespace wavora::batch
