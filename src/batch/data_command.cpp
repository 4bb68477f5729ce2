// wavora-batch data FILE [load options] (--all | --position P --points N) -o OUT [--force]
// Writes the processed samples of every channel in physical units as an analysed-data file, the
// same file as the window's "Write Data File" ("All Data" or "Analized Data").

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "batch/command.h"
#include "batch/load_options.h"
#include "formats/data_writers.h"

namespace wavora::batch {

namespace {

struct DataArguments {
    std::string File;
    BatchLoadOptions Load;
    bool All = false;
    int64_t Position = -1;
    int64_t Points = 0;
    std::string Output;
    bool Force = false;
};

int RunData(const DataArguments& args) {
    // An empty name (or a folder) would otherwise become a hidden ".csv" file.
    if (auto refused = EmptyFileNameFailure(args.Output)) return ReportFailure(*refused);
    // As the save dialog does: a name without an extension gets ".csv".
    const std::string output = AppendExtensionIfMissing(args.Output, "csv");
    // Checked before the load too, so that a long filter is not run for nothing.
    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);

    LoadedRecord loaded;
    int status = LoadForCommand(args.File, args.Load, loaded);
    if (status != kExitOk) return status;
    const WaveRecord& r = loaded.Record;

    int position = 0, points = 0;
    if (!args.All) {
        if (args.Position >= r.SampleCount) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "Position %lld is beyond the last sample of the record (%d samples)",
                          static_cast<long long>(args.Position), r.SampleCount);
            return ReportFailure(Failure::Notice(text));
        }
        position = static_cast<int>(args.Position);
        points = static_cast<int>(std::min<int64_t>(args.Points, r.SampleCount));
    }
    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);
    Outcome written = WriteAnalysedData(output, r, loaded.Filter, position, points, args.All);
    PrintWarnings(written.Warnings);
    if (!written.Ok()) return ReportFailure(*written.Error);
    return kExitOk;
}

}  // namespace

void RegisterDataCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<DataArguments>();
    CLI::App* data = app.add_subcommand("data", "Write the processed samples as an analysed-data CSV file");
    data->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*data, args->Load);
    CLI::Option* all = data->add_flag("--all", args->All, "Every sample (\"All Data\")");
    CLI::Option* position =
        data->add_option("--position", args->Position, "First sample of the analysed range")
            ->check(CLI::NonNegativeNumber);
    CLI::Option* points = data->add_option("--points", args->Points, "Number of samples from --position")
                              ->check(CLI::PositiveNumber);
    all->excludes(position)->excludes(points);
    position->needs(points);
    points->needs(position);
    data->add_option(
            "-o,--output", args->Output,
            "Output file (\".csv\" is added when it has no extension; an empty name or a folder is refused)")
        ->required();
    AddForceOption(*data, args->Force);
    data->callback([args, &exitStatus, all, position] {
        if (all->count() == 0 && position->count() == 0)
            throw UsageError("data needs --all or --position P --points N");
        exitStatus = RunData(*args);
    });
}

}  // namespace wavora::batch
