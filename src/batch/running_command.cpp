// wavora-batch running FILE [load options] [analysis options] --init P [--skip S] [--max N]
//     [--multi [--no-hidden]] [--fmax F] [--ymax V] -o OUT.csv [--png OUT.png] [--force]
// The running spectrum as the dialog's Run … Stop runs it: spectra at P, P + S, … until the "max"
// rule (single plot), the 51-curve stop (multi plot) or the end of the data. OUT holds the "Count"
// and "Skip Time" labels and the value grid after Stop (number, frequency, average); --png writes
// the main window's picture as it shows the waterfall at the end.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "analysis/running_session.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/picture_support.h"
#include "batch/text_output.h"
#include "draw/png_writer.h"
#include "draw/image_canvas.h"
#include "draw/running_display.h"
#include "draw/wave_display.h"
#include "formats/data_writers.h"
#include "record/text_format.h"

namespace wavora::batch {

namespace {

struct RunningArguments {
    std::string File;
    BatchLoadOptions Load;
    BatchAnalysisOptions Analysis;
    int Init = 0;
    int Skip = 200;
    int Max = 100;
    bool Multi = false;
    bool NoHidden = false;
    float FrequencyMax = 0.0f, ValueMax = 0.0f;
    CLI::Option* FrequencyMaxOption = nullptr;
    CLI::Option* ValueMaxOption = nullptr;
    std::string Output;
    std::string Png;
    bool Force = false;
};

// The main window's picture.
constexpr int kImageWidth = 433, kImageHeight = 417;

// Where the dialog takes a Skip from: one of its list, or typed in the edit box.
void SetSkip(RunningStartInput& start, int skip) {
    const auto& list = kRunningSkipChoices;
    const auto at = std::find(list.begin(), list.end(), skip);
    start.EditBoxSkip = at == list.end();
    start.SkipItem = at == list.end() ? kRunningDefaultSkipItem : static_cast<int>(at - list.begin());
    start.SkipText = std::to_string(skip);
}

// The grid after Stop: row number, frequency and the average, one line per row.
std::string ListingText(const RunningOutcome& outcome, const std::string& skipTime) {
    std::string text = outcome.CountText + "\r\n" + skipTime + "\r\n";
    const GridListing& grid = outcome.Listing;
    const std::optional<RunningAverage>& average = outcome.Stop.Average;
    for (int row = 0; row < grid.Rows; ++row) {
        text += grid.Cell(row, 0) + "," + grid.Cell(row, 1) + "," +
                (average ? average->Cell(row) : grid.Cell(row, 4)) + "\r\n";
    }
    return text;
}

int Written(const Outcome& written) {
    PrintWarnings(written.Warnings);
    return written.Ok() ? kExitOk : ReportFailure(*written.Error);
}

int RunRunning(const RunningArguments& args) {
    const std::string output = AppendExtensionIfMissing(args.Output, "csv");
    const std::string png = args.Png.empty() ? std::string() : AppendExtensionIfMissing(args.Png, "png");
    // Checked before the load too, so that a long filter is not run for nothing.
    for (const std::string& path : {output, png})
        if (!path.empty())
            if (auto refused = RefuseExisting(path, args.Force)) return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;

    if (auto refused = CheckChannels(args.Analysis.Channels, record)) return ReportFailure(*refused);
    RunningSession session;
    session.Analysis = ToAnalysisSettings(args.Analysis, record, loaded.Options.Step);
    session.Start.InitPosition = args.Init;
    SetSkip(session.Start, args.Skip);
    session.Start.Multi = args.Multi;
    session.Start.Hidden = !args.NoHidden;
    session.View.Max = args.Max;
    session.View.ImageWidth = kImageWidth;
    session.View.ImageHeight = kImageHeight;
    session.View.Filter = {loaded.Filter.Active, loaded.Filter.EffectiveLower, loaded.Filter.EffectiveUpper};
    if (args.FrequencyMaxOption->count() > 0) session.FrequencyMax = args.FrequencyMax;
    if (args.ValueMaxOption->count() > 0) session.ValueMax = args.ValueMax;

    std::unique_ptr<ImageCanvas> image;
    RunningObserver observer;
    if (!png.empty()) {
        EnsurePictureSupport();
        image = std::make_unique<ImageCanvas>(kImageWidth, kImageHeight);
        const auto colors = DefaultChannelColors();
        observer.Step = [&image, colors](const RunningStep& step, const SpectrumResult& result,
                                         const RunningStepView&) {
            const int k = std::clamp(result.CurrentChannel - 1, 0, kMaxChannels - 1);
            DrawRunningSpectrum(*image, step, colors[static_cast<size_t>(k)]);
        };
    }

    RunningSpectrum running;
    SpectrumMap map;
    const RunningOutcome outcome = DriveRunningSpectrum(record, session, running, map, observer);
    const RunningStart& start = outcome.Start;
    if (start.Status == RunningStartStatus::BeyondData) {
        const int points = session.Analysis.Points(), step = std::max<int>(session.Analysis.Step, 1);
        return ReportFailure(Failure::Notice(StrPrintf(
            "The first segment (Init %d, %d points every %d samples) runs past the end of the data (%d "
            "samples)",
            args.Init, points, step, record.SampleCount)));
    }
    if (start.Status != RunningStartStatus::Started)
        return ReportFailure(start.Error.value_or(Failure::Notice("The running spectrum did not start.")));
    if (outcome.Error) return ReportFailure(*outcome.Error);

    for (const std::string& path : {output, png})
        if (!path.empty())
            if (auto refused = RefuseExisting(path, args.Force)) return ReportFailure(*refused);
    if (int status = Written(WriteResultText(output, ListingText(outcome, start.SkipTimeText)));
        status != kExitOk)
        return status;
    if (image) return Written(WritePng(png, image->ToImage()));
    return kExitOk;
}

}  // namespace

void RegisterRunningCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<RunningArguments>();
    CLI::App* cmd = app.add_subcommand(
        "running",
        "Run the running spectrum (Run … Stop of the \"Running Spectrum\" dialog) and write its average");
    cmd->footer(
        "OUT lists the \"Count\" and \"Skip Time\" labels, then one line per value-grid row after Stop: the "
        "row number, the frequency and the average (CR LF, code page 932). The single plot stops after "
        "max + 1 spectra, the multi plot after 51 curves; both stop at the end of the data.");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    AddAnalysisOptions(*cmd, args->Analysis, false);

    const char* group = "Running options";
    cmd->add_option("--init", args->Init, "First sample of the run (\"Init\")")
        ->required()
        ->check(CLI::NonNegativeNumber)
        ->group(group);
    cmd->add_option("--skip", args->Skip, "Samples of the record between two spectra (\"Skip\")")
        ->check(CLI::PositiveNumber)
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--max", args->Max, "Single plot: stop after this many spectra and one more (\"max\")")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str()
        ->group(group);
    CLI::Option* multi =
        cmd->add_flag("--multi", args->Multi, "Multi plot: the spectra one behind the other (\"Multi Plot\")")
            ->group(group);
    cmd->add_flag("--no-hidden", args->NoHidden,
                  "Multi plot without hidden-line removal (\"Hidden Line\" off)")
        ->needs(multi)
        ->group(group);
    args->FrequencyMaxOption =
        cmd->add_option("--fmax", args->FrequencyMax,
                        "Top of the frequency axis (default: the automatic axis of the first spectrum)")
            ->check(CLI::PositiveNumber)
            ->group(group);
    args->ValueMaxOption =
        cmd->add_option("--ymax", args->ValueMax,
                        "Top of the value axis (default: the automatic axis of the first spectrum)")
            ->check(CLI::PositiveNumber)
            ->group(group);
    cmd->add_option("-o,--output", args->Output, "Output file (\".csv\" is added when it has no extension)")
        ->required();
    cmd->add_option(
           "--png", args->Png,
           "Also write the main window's picture at the end as PNG (\".png\" is added when it has no "
           "extension); needs --multi")
        ->needs(multi);
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, &exitStatus] { exitStatus = RunRunning(*args); });
}

}  // namespace wavora::batch
