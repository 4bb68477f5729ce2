// wavora-batch correlation FILE --channels A[,B] [--points N] [--position P] [--time-scale T]
//     [load options] -o OUT.csv [--png OUT.png] [--force]
// One step of the correlation analysis at P, stopped at once: the 352 rows of the listing as the
// value grid shows them after Stop, then the zero-crossing report; the picture with the plot and
// the report.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "analysis/correlation_activity.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/offscreen_gui.h"
#include "batch/text_output.h"
#include "draw/correlation_display.h"
#include "draw/image_canvas.h"
#include "draw/png_writer.h"
#include "draw/startup_picture.h"
#include "draw/wave_display.h"
#include "formats/data_writers.h"

namespace wavora::batch {

namespace {

struct CorrelationArguments {
    std::string File;
    BatchLoadOptions Load;
    std::vector<int> Channels;
    int Points = 1024;
    int Position = 0;
    int TimeScale = 1;
    std::string Output;
    std::string Png;
    bool Force = false;
};

int RunCorrelation(const CorrelationArguments& args) {
    std::string output, png;
    if (auto refused =
            PrepareOutputs({{args.Output, "csv", output}, {args.Png, "png", png, false}}, args.Force))
        return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;
    if (auto bad = CheckChannels(args.Channels, record)) return ReportFailure(*bad);

    CorrelationInputs inputs;
    for (int channel : args.Channels) inputs.Checked[static_cast<size_t>(channel - 1)] = true;
    inputs.Points = args.Points;
    inputs.PointsItem = args.Points;
    inputs.Position = args.Position;
    inputs.Step = loaded.Options.Step;
    inputs.TimeScale = args.TimeScale;

    CorrelationActivity activity;
    const CorrelationEvent step = activity.Start(record, inputs);
    if (step.Error) return ReportFailure(*step.Error);
    if (step.Frame.Status != CorrelationStatus::Computed) {
        return ReportFailure(Failure::Notice(
            "The correlation needs Points + 350 samples from the position: " + std::to_string(args.Position) +
            " + " + std::to_string(args.Points) + " + 350 reaches the end of the data (" +
            std::to_string(record.SampleCount) + " samples)"));
    }

    // As after a spectrum run at the position: the analysis interval of its Step.
    CorrelationReportSettings report;
    report.AnalysisInterval = static_cast<float>(inputs.Step) * record.SamplingInterval;
    report.Step = inputs.Step;
    report.TimeText = record.TimeText();
    report.FrequencyText = record.FrequencyText();
    const CorrelationStopResult stop = activity.Stop(report);

    std::string text;
    for (const auto& row : stop.Report.GridRows) {
        for (size_t c = 0; c < row.size(); ++c) text += (c ? "," : "") + row[c];
        text += "\r\n";
    }
    text += stop.Report.Text + "\r\n";

    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);
    Outcome written = WriteResultText(output, text);
    if (!written.Ok()) return ReportFailure(*written.Error);

    if (!png.empty()) {
        OffscreenGui gui;
        ImageCanvas canvas(kCorrelationPictureWidth, kCorrelationPictureHeight);
        canvas.SetFont(kPictureFont, 12);
        CorrelationPicture picture;
        picture.TimeScale = inputs.TimeScale;
        picture.TimeText = record.TimeText();
        picture.FileName = record.FileName;
        picture.CurveColor = CorrelationCurveColor(
            step.Frame.Cross, DefaultChannelColors()[static_cast<size_t>(std::max(step.FirstChannel, 0))]);
        DrawCorrelationFrame(canvas, step.Frame, picture);
        DrawCorrelationReport(canvas, stop.Report.Text);
        if (auto refused = RefuseExisting(png, args.Force)) return ReportFailure(*refused);
        Outcome picked = WritePng(png, canvas.ToImage());
        if (!picked.Ok()) return ReportFailure(*picked.Error);
    }
    return kExitOk;
}

}  // namespace

void RegisterCorrelationCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<CorrelationArguments>();
    CLI::App* cmd = app.add_subcommand(
        "correlation",
        "Auto- or cross-correlation at one position, with its listing and zero-crossing report");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    cmd->add_option("--channels", args->Channels,
                    "One channel (auto-correlation) or two (the second against the first), as A or A,B")
        ->delimiter(',')
        ->check(CLI::Range(1, kMaxChannels))
        ->required();
    cmd->add_option("--points", args->Points, "Products summed per lag (the Points of the last run)")
        ->check(CLI::IsMember({512, 1024, 2048, 4096, 8192}))
        ->capture_default_str();
    cmd->add_option("--position", args->Position, "First sample of the segment")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    cmd->add_option("--time-scale", args->TimeScale, "Pixels per lag (350 / T lags; the Time Scale menu)")
        ->check(CLI::IsMember({1, 2, 4, 8}))
        ->capture_default_str();
    cmd->add_option("-o,--output", args->Output, "Output file (\".csv\" is added when it has no extension)")
        ->required();
    cmd->add_option("--png", args->Png,
                    "Also write the picture with the plot (\".png\" is added when it has no extension)");
    AddForceOption(*cmd, args->Force);
    cmd->footer(
        "OUT (code page 932, CR LF): the 352 rows of the listing after Stop (i, delay, R[i] / R[0];\n"
        "  five cells joined by \",\"), then the zero-crossing report. The delay and the period use the\n"
        "  analysis interval of a spectrum run at the position (--step × sampling interval). The segment\n"
        "  and the 350 samples after it must lie inside the data.");
    cmd->callback([args, &exitStatus] { exitStatus = RunCorrelation(*args); });
}

}  // namespace wavora::batch
