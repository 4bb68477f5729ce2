// wavora-batch stats FILE [load options] [analysis options] [--json]
// The statistics window's value texts for every channel one spectrum run analyses: position,
// data, duration, mean, max and min with where they lie, mean square, exactly as the window
// writes them. With --json, an array of objects holding the same texts.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"
#include "analysis/statistics.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"

namespace wavora::batch {

namespace {

struct StatsArguments {
    std::string File;
    BatchLoadOptions Load;
    BatchAnalysisOptions Analysis;
    bool Json = false;
};

struct ChannelLabels {
    int Channel = 0;  // 1-based
    std::string Name;
    StatisticsLabels Labels;
};

void PrintText(const std::vector<ChannelLabels>& channels) {
    bool first = true;
    for (const ChannelLabels& c : channels) {
        if (!first) std::printf("\n");
        first = false;
        const StatisticsLabels& l = c.Labels;
        std::printf("CH%d  %s\n", c.Channel, c.Name.c_str());
        // The captions of the statistics window.
        std::printf("  %-12s %s\n", "Position", l.Position.c_str());
        std::printf("  %-12s %s\n", "Data", l.Data.c_str());
        std::printf("  %-12s %s\n", "Duration", l.Duration.c_str());
        std::printf("  %-12s %s\n", "Mean", l.Mean.c_str());
        std::printf("  %-12s %s\n", "Max", l.Max.c_str());
        std::printf("  %-12s %s\n", "Min", l.Min.c_str());
        std::printf("  %-12s %s\n", "Mean Square", l.MeanSquare.c_str());
    }
}

nlohmann::ordered_json JsonOf(const std::vector<ChannelLabels>& channels) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const ChannelLabels& c : channels) {
        const StatisticsLabels& l = c.Labels;
        out.push_back({{"channel", c.Channel},
                       {"name", c.Name},
                       {"position", l.Position},
                       {"data", l.Data},
                       {"duration", l.Duration},
                       {"mean", l.Mean},
                       {"max", l.Max},
                       {"min", l.Min},
                       {"mean_square", l.MeanSquare}});
    }
    return out;
}

int RunStats(const StatsArguments& args) {
    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;
    const AnalysisSettings settings = ToAnalysisSettings(args.Analysis, loaded, AutomaticMemFmax(loaded));

    SpectrumResult result;
    std::vector<ChannelLabels> channels;
    const int status =
        RunAnalysis(loaded, args.Analysis, settings, result, [&](int k, const ChannelOutcome& outcome) {
            StatisticsSettings s;
            s.Position = result.Position;
            s.Points = result.Points;
            s.AnalysisInterval = result.AnalysisInterval;
            s.TimeText = record.TimeText();
            s.Unit = record.Channels[k].DisplayUnit;
            channels.push_back({k + 1, record.Channels[k].Name, FormatStatistics(outcome.Statistics, s)});
        });
    if (status != kExitOk) return status;

    if (args.Json) {
        std::cout << JsonOf(channels).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                  << "\n";
    } else {
        PrintText(channels);
    }
    return kExitOk;
}

}  // namespace

void RegisterStatsCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<StatsArguments>();
    CLI::App* cmd = app.add_subcommand(
        "stats", "Statistics of the analysed segment of every analysed channel (as the Statistics window)");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    AddAnalysisOptions(*cmd, args->Analysis);
    cmd->add_flag("--json", args->Json, "A JSON array of objects instead of text");
    cmd->callback([args, &exitStatus] { exitStatus = RunStats(*args); });
}

}  // namespace wavora::batch
