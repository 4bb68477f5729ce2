// wavora-batch info FILE [load options] [--json] [--samples]
// The record after loading and processing: header facts, and per channel its units, scales,
// peak value and display divisor; with --samples the stored 16-bit samples.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/record_report.h"

namespace wavora::batch {

namespace {

struct InfoArguments {
    std::string File;
    BatchLoadOptions Load;
    bool Json = false;
    bool Samples = false;
};

}  // namespace

void RegisterInfoCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<InfoArguments>();
    CLI::App* info = app.add_subcommand("info", "The record after loading and processing");
    info->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*info, args->Load);
    info->add_flag("--json", args->Json, "One JSON object instead of text");
    info->add_flag("--samples", args->Samples, "Also the stored 16-bit samples after all processing");
    info->callback([args, &exitStatus] {
        LoadedRecord loaded;
        exitStatus = LoadForCommand(args->File, args->Load, loaded);
        if (exitStatus != kExitOk) return;
        PrintRecordReport(loaded, args->Json, args->Samples);
    });
}

}  // namespace wavora::batch
