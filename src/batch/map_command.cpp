// wavora-batch map FILE [load options] [analysis options] --init P [--skip S] [--time-span T]
//     [--fmin F] [--fmax F] [--colour-max auto|V] --png OUT.png [--levels OUT.csv] [--force]
// The two-dimensional spectrum: a running spectrum with "2D" checked, one row of the time ×
// frequency colour map per step until the time span is full or the data end. --png writes the
// 2-D window's chart; --levels one line per row: its first sample, then the colour level (0-255)
// of every frequency line inside the limits.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <string>

#include "analysis/running_session.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/offscreen_gui.h"
#include "batch/text_output.h"
#include "draw/png_writer.h"
#include "draw/graph_plot.h"
#include "draw/image_canvas.h"
#include "draw/spectrum_format.h"
#include "draw/spectrum_map_display.h"
#include "formats/data_writers.h"
#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora::batch {

namespace {

struct MapArguments {
    std::string File;
    BatchLoadOptions Load;
    BatchAnalysisOptions Analysis;
    int Init = 0;
    int Skip = 0;
    CLI::Option* SkipOption = nullptr;
    float TimeSpan = 60.0f;
    float FrequencyMin = 0.0f, FrequencyMax = 0.0f;
    CLI::Option* FrequencyMinOption = nullptr;
    CLI::Option* FrequencyMaxOption = nullptr;
    std::string ColourMax = "auto";
    std::string Png;
    std::string Levels;
    bool Force = false;
};

// The 2-D window's chart.
constexpr int kGraphWidth = 433, kGraphHeight = 417;

std::string ColourMaxCheck(const std::string& text) {
    if (text == "auto") return {};
    const std::optional<float> value = FieldNumber(text);
    if (value && *value >= 0.0f) return {};
    return "expected auto or a number of 0 or more, not \"" + text + "\"";
}

// The frequency axis the spectrum graph has after an automatic drawing of this run's spectra:
// up to the Nyquist frequency, or to the last line of the MEM grid.
AxisScale AutomaticFrequencyAxis(const AnalysisSettings& settings, float analysisInterval) {
    if (!settings.Mem) return AxisUnit(false, 0.5f / analysisInterval);
    const int points = settings.Points();
    const float lastLine =
        static_cast<float>(points / 2 - 1) * 2.0f * settings.MemFmax / static_cast<float>(points);
    return AxisUnit(false, lastLine);
}

int Written(const Outcome& written) {
    PrintWarnings(written.Warnings);
    return written.Ok() ? kExitOk : ReportFailure(*written.Error);
}

int RunMap(const MapArguments& args) {
    std::string png, levels;
    if (auto refused =
            PrepareOutputs({{args.Png, "png", png}, {args.Levels, "csv", levels, false}}, args.Force))
        return ReportFailure(*refused);
    if (!levels.empty() && levels == png) throw UsageError("--levels and --png name the same file");

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;

    if (auto refused = CheckChannels(args.Analysis.Channels, record)) return ReportFailure(*refused);
    RunningSession session;
    session.Analysis = ToAnalysisSettings(args.Analysis, loaded, AutomaticMemFmax(loaded));
    const float analysisInterval =
        static_cast<float>(std::max<int>(session.Analysis.Step, 1)) * record.SamplingInterval;

    // The map's limits: as given, else the frequency axis the spectrum graph would show.
    SpectrumMap map;
    const AxisScale axis = AutomaticFrequencyAxis(session.Analysis, analysisInterval);
    const bool minGiven = args.FrequencyMinOption->count() > 0,
               maxGiven = args.FrequencyMaxOption->count() > 0;
    map.FirstSet = false;
    map.Fields.LowerFrequency = minGiven ? args.FrequencyMin : axis.Start;
    map.Fields.UpperFrequency =
        maxGiven ? args.FrequencyMax
                 : FieldNumber(StrPrintf("%.2f", static_cast<double>(axis.Start + axis.NGrid * axis.Step)))
                       .value_or(0);
    map.Fields.FrequencyGrid = minGiven || maxGiven ? 4 : axis.NGrid;
    if (!(map.Fields.UpperFrequency > map.Fields.LowerFrequency))
        throw UsageError(StrPrintf("the upper frequency limit (%g) must be above the lower (%g)",
                                   static_cast<double>(map.Fields.UpperFrequency),
                                   static_cast<double>(map.Fields.LowerFrequency)));
    map.Fields.TimeSpan = args.TimeSpan;
    map.Fields.Auto = args.ColourMax == "auto";
    if (!map.Fields.Auto) map.Fields.ColourMax = FieldNumber(args.ColourMax).value_or(0.0f);

    // The Skip: as given, else the one the window proposes for a new map.
    const int skip = args.SkipOption->count() > 0 ? args.Skip : ProposedSkip(analysisInterval).Skip;
    RunningStartInput& start = session.Start;
    const auto& list = kRunningSkipChoices;
    const auto at = std::find(list.begin(), list.end(), skip);
    start.EditBoxSkip = at == list.end();
    start.SkipItem = at == list.end() ? kRunningDefaultSkipItem : static_cast<int>(at - list.begin());
    start.SkipText = std::to_string(skip);
    start.InitPosition = args.Init;
    start.TwoD = true;  // "2D" checked: no multi plot, no hidden lines
    start.Multi = false;
    start.Hidden = false;
    session.View.Filter = {loaded.Filter.Active, loaded.Filter.EffectiveLower, loaded.Filter.EffectiveUpper};

    OffscreenGui gui;  // kept while the picture is drawn
    ImageCanvas graph(kGraphWidth, kGraphHeight);
    GraphPlot plot(&graph);
    map.GraphWidth = kGraphWidth;
    map.GraphHeight = kGraphHeight;
    std::string levelText;
    RunningObserver observer;
    observer.Step = [&](const RunningStep& step, const SpectrumResult&, const RunningStepView&) {
        if (step.MapStart) DrawMapStart(plot, graph, *step.MapStart);
        if (!step.Row) return;
        DrawMapRow(graph, *step.Row);
        levelText += std::to_string(step.Row->Position);
        for (const MapBand& band : step.Row->Bands) levelText += "," + std::to_string(band.Level);
        levelText += "\r\n";
    };

    RunningSpectrum running;
    const RunningOutcome outcome = DriveRunningSpectrum(record, session, running, map, observer);
    if (outcome.Start.Status == RunningStartStatus::BeyondData) {
        return ReportFailure(
            Failure::Notice(StrPrintf("The first segment (Init %d, %d points every %d samples) runs past the "
                                      "end of the data (%d samples)",
                                      args.Init, session.Analysis.Points(),
                                      std::max<int>(session.Analysis.Step, 1), record.SampleCount)));
    }
    if (outcome.Start.Status != RunningStartStatus::Started)
        return ReportFailure(outcome.Start.Error.value_or(Failure::Notice("The map run did not start.")));
    if (outcome.Error) return ReportFailure(*outcome.Error);

    for (const std::string& path : {png, levels})
        if (!path.empty())
            if (auto refused = RefuseExisting(path, args.Force)) return ReportFailure(*refused);
    if (int status = Written(WritePng(png, graph.ToImage())); status != kExitOk) return status;
    if (!levels.empty()) return Written(WriteResultText(levels, levelText));
    return kExitOk;
}

}  // namespace

void RegisterMapCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<MapArguments>();
    CLI::App* cmd = app.add_subcommand(
        "map", "Draw the two-dimensional spectrum (time × frequency colour map of the \"2D Spectrum Plot\")");
    cmd->footer(
        "Each step of a running spectrum becomes one row of the map, until the time span is full or the data "
        "end. Without --skip the window's proposal is used: one row per time unit (1 / analysis interval "
        "samples, rounded up to the Skip list from 10 on); the rows (time span / (Skip x analysis interval)) "
        "must number 50 to 500.");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    AddAnalysisOptions(*cmd, args->Analysis, 0);

    const char* group = "Map options";
    cmd->add_option("--init", args->Init, "First sample of the run (\"Init\")")
        ->required()
        ->check(CLI::NonNegativeNumber)
        ->group(group);
    args->SkipOption =
        cmd->add_option("--skip", args->Skip, "Samples of the record between two rows (\"Skip\")")
            ->check(CLI::PositiveNumber)
            ->group(group);
    cmd->add_option("--time-span", args->TimeSpan,
                    "Height of the map in time units (\"Elapsed Time\" \"Max\")")
        ->check(CLI::PositiveNumber)
        ->capture_default_str()
        ->group(group);
    args->FrequencyMinOption =
        cmd->add_option("--fmin", args->FrequencyMin, "Left edge of the map (\"Lower Limit\"; default: 0)")
            ->check(CLI::NonNegativeNumber)
            ->group(group);
    args->FrequencyMaxOption =
        cmd->add_option("--fmax", args->FrequencyMax,
                        "Right edge of the map (\"Upper Limit\"; default: the automatic spectrum axis's top)")
            ->check(CLI::PositiveNumber)
            ->group(group);
    cmd->add_option("--colour-max", args->ColourMax,
                    "Value of the top colour: auto (the largest value of the first spectrum) or a number")
        ->check(CLI::Validator(ColourMaxCheck, "auto|V", "colour maximum"))
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--png", args->Png,
                    "The chart as a PNG file (\".png\" is added when it has no extension)")
        ->required();
    cmd->add_option(
        "--levels", args->Levels,
        "Also write the colour levels, one line per row (\".csv\" is added when it has no extension)");
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, &exitStatus] { exitStatus = RunMap(*args); });
}

}  // namespace wavora::batch
