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
#include "batch/offscreen_gui.h"
#include "batch/text_output.h"
#include "draw/png_writer.h"
#include "draw/image_canvas.h"
#include "draw/running_display.h"
#include "draw/spectrum_display.h"
#include "draw/startup_picture.h"
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
constexpr int kImageWidth = kMainPictureWidth, kImageHeight = kMainPictureHeight;

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

// The main window's picture through the run: the waterfall, or each step's spectrum drawn by the
// spectrum display and, at Stop, the average in purple.
class RunningPicture {
  public:
    RunningPicture(const WaveRecord& record, const FilterState& filter) : record_(record) {
        note_.FilterChecked = filter.Active;
        note_.Lower = filter.EffectiveLower;
        note_.Upper = filter.EffectiveUpper;
        // The picture's font as the window sets it at start-up.
        canvas_.SetFont(kPictureFont, 12);
        canvas_.SetFontColor(kBlack);
    }

    void Step(const RunningStep& step, const SpectrumResult& result) {
        const int k = std::clamp(result.CurrentChannel - 1, 0, kMaxChannels - 1);
        const Color colour = view_.ChannelColors[static_cast<size_t>(k)];
        DrawRunningSpectrum(canvas_, step, colour);
        if (!step.DrawSingle) return;
        display_.Frame.NewSpectrumFrame = true;  // every run starts a frame
        const std::span<const float> values(result.RealPart.data(), static_cast<size_t>(result.Points / 2));
        Draw(result, result.Position, Curve(result, k, colour, values));
    }

    // The average, when Stop draws it.
    void Average(const RunningOutcome& outcome) {
        const RunningStop& stop = outcome.Stop;
        if (!stop.Average || !stop.DrawAverage) return;
        display_.Frame.NewSpectrumFrame = true;
        SpectrumCurve curve = Curve(outcome.Result, 0, kPurple, stop.Average->Values);
        curve.Points = stop.Points;
        curve.AnalysisInterval = stop.AnalysisInterval;
        Draw(outcome.Result, outcome.StopPosition, curve);
    }

    const ImageCanvas& Canvas() const { return canvas_; }
    const std::optional<Failure>& Error() const { return error_; }

  private:
    SpectrumCurve Curve(const SpectrumResult& result, int channel, Color colour,
                        std::span<const float> values) const {
        // The unit and name of the channel the run analysed (the average is drawn as channel 0).
        const ChannelInfo& analysed =
            record_.Channels[static_cast<size_t>(std::clamp(result.CurrentChannel - 1, 0, kMaxChannels - 1))];
        SpectrumCurve curve;
        curve.Channel = channel;
        curve.Colour = colour;
        curve.Points = result.Points;
        curve.AnalysisInterval = result.AnalysisInterval;
        curve.Values = values;
        if (result.Settings.Mem) curve.Frequencies = result.MemFrequency;
        curve.Unit = analysed.DisplayUnit;
        curve.Legend = analysed.Name;
        return curve;
    }

    void Draw(const SpectrumResult& result, int position, const SpectrumCurve& curve) {
        const SpectrumFrameInfo info = FrameInfoOf(record_, result, position, note_);
        if (auto failure = DrawSpectrum(canvas_, display_, view_, info, curve); failure && !error_)
            error_ = failure;
    }

    const WaveRecord& record_;
    WaveFilterNote note_;
    ImageCanvas canvas_{kMainPictureWidth, kMainPictureHeight};
    SpectrumDisplay display_;
    WaveView view_;
    std::optional<Failure> error_;
};

int Written(const Outcome& written) {
    PrintWarnings(written.Warnings);
    return written.Ok() ? kExitOk : ReportFailure(*written.Error);
}

int RunRunning(const RunningArguments& args) {
    std::string output, png;
    if (auto refused =
            PrepareOutputs({{args.Output, "csv", output}, {args.Png, "png", png, false}}, args.Force))
        return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;

    if (auto refused = CheckChannels(args.Analysis.Channels, record)) return ReportFailure(*refused);
    RunningSession session;
    session.Analysis = ToAnalysisSettings(args.Analysis, loaded, AutomaticMemFmax(loaded));
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

    std::optional<OffscreenGui> gui;  // kept while the picture is drawn
    std::unique_ptr<RunningPicture> picture;
    RunningObserver observer;
    if (!png.empty()) {
        gui.emplace();
        picture = std::make_unique<RunningPicture>(record, loaded.Filter);
        observer.Step = [&picture](const RunningStep& step, const SpectrumResult& result,
                                   const RunningStepView&) { picture->Step(step, result); };
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
    if (picture) {
        picture->Average(outcome);
        if (picture->Error()) return ReportFailure(*picture->Error());
        return Written(WritePng(png, picture->Canvas().ToImage()));
    }
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
    AddAnalysisOptions(*cmd, args->Analysis, 0);

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
        "extension): the waterfall, or the last spectrum with the average in purple");
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, &exitStatus] { exitStatus = RunRunning(*args); });
}

}  // namespace wavora::batch
