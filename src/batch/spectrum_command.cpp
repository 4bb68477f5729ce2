// wavora-batch spectrum FILE [load options] [analysis options] -o OUT [--force]
// One spectrum run at a position, written as the spectrum result file exactly as the window's
// "File Save" writes it: FFT amplitude or power spectra (optionally smoothed), the MEM spectrum,
// and the spectral ratio of two channels.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "analysis/spectrum_result.h"

namespace wavora::batch {

namespace {

struct SpectrumArguments {
    std::string File;
    BatchLoadOptions Load;
    std::vector<int> Channels = {1};
    int Points = 1024;
    bool MemMin = false;
    int Position = 0;
    std::string Type = "amp";
    bool AbsCoeff = false;
    int Smooth = 0;
    bool NoZeroAverage = false;
    bool Mem = false;
    float MemFmax = 0.0f;
    bool MemFmaxGiven = false;
    std::string Ratio = "none";
    bool Pad = false;
    std::string Output;
    bool Force = false;
};

int RunSpectrum(const SpectrumArguments& args) {
    // As the save dialog with its first filter: a name without an extension gets ".csv".
    const std::string output = SpectrumResultFileName(args.Output, 1);
    // Checked before the load too, so that a long filter is not run for nothing.
    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;

    for (int channel : args.Channels) {
        if (channel > record.ChannelCount) {
            return ReportFailure(Failure::Notice("Channel " + std::to_string(channel) +
                                                 " is not in the record (" +
                                                 std::to_string(record.ChannelCount) + " channel" +
                                                 (record.ChannelCount == 1 ? "" : "s") + ")"));
        }
    }

    AnalysisSettings settings;
    settings.ChannelFlags.fill(false);
    for (int channel : args.Channels) settings.ChannelFlags[channel - 1] = true;
    settings.PointsChoice = args.Points;
    settings.MemMin = args.MemMin;
    settings.Step = static_cast<int16_t>(loaded.Options.Step);
    settings.Type = args.Type == "power" ? SpectrumType::Power : SpectrumType::Amp;
    settings.AbsCoeffMode = args.AbsCoeff;
    settings.SmoothPasses = args.Smooth;
    settings.ZeroAverageEnabled = !args.NoZeroAverage;
    settings.RatioMode = args.Ratio == "a-to-b" ? 1 : args.Ratio == "b-to-a" ? 2 : 0;
    settings.Mem = args.Mem;
    // The window's MEM grid follows the spectrum axis, which the automatic axis of the first
    // (Fourier) run has set from the Nyquist frequency.
    settings.MemFmax =
        args.MemFmaxGiven
            ? args.MemFmax
            : AutomaticFrequencyMaximum(static_cast<float>(settings.Step) * record.SamplingInterval);
    settings.FileSave = true;

    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    const RunStart start = run.Begin(args.Position);
    if (start.Status == RunStartStatus::Stopped) {
        if (start.Error) return ReportFailure(*start.Error);
        return kExitDataError;
    }
    if (start.Status == RunStartStatus::AskPadding) {
        if (!args.Pad) {
            PrintFailure(start.Question);
            return ReportFailure(Failure::Notice("use --pad to analyse the segment with trailing zeros"));
        }
        run.AnswerPadding(true);
    }
    for (int k : run.Channels()) {
        ChannelOutcome outcome = run.AnalyseChannel(k);
        if (outcome.Status == ChannelStatus::Failed)
            return ReportFailure(outcome.Error.value_or(Failure::Notice("The spectrum run stopped.")));
    }
    if (!run.WantsResultFile()) return kExitOk;

    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);
    Outcome written = WriteSpectrumResult(output, record, loaded.Filter, result.Position, result);
    PrintWarnings(written.Warnings);
    if (!written.Ok()) return ReportFailure(*written.Error);
    return kExitOk;
}

}  // namespace

void RegisterSpectrumCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<SpectrumArguments>();
    CLI::App* cmd = app.add_subcommand(
        "spectrum", "Analyse one segment and write the spectrum result file (as \"File Save\")");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);

    const char* group = "Analysis options";
    cmd->add_option("--channels", args->Channels, "Channels to analyse, as 1,2,... (the Ch check boxes)")
        ->delimiter(',')
        ->check(CLI::Range(1, kMaxChannels))
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--points", args->Points, "Points of the segment, taken every --step samples")
        ->check(CLI::IsMember({512, 1024, 2048, 4096, 8192}))
        ->capture_default_str()
        ->group(group);
    cmd->add_flag("--mem-min", args->MemMin, "Divide the points by 32 (16 to 256; the \"min\" box)")
        ->group(group);
    cmd->add_option("--position", args->Position, "First sample of the segment")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--type", args->Type, "Spectrum type")
        ->check(CLI::IsMember({"amp", "power"}))
        ->capture_default_str()
        ->group(group);
    cmd->add_flag("--abs-coeff", args->AbsCoeff, "Amp as absolute Fourier coefficients (\"Abs F Coeff\")")
        ->group(group);
    cmd->add_option("--smooth", args->Smooth, "Smoothing passes")
        ->check(CLI::IsMember({0, 1, 2, 5, 10}))
        ->capture_default_str()
        ->group(group);
    cmd->add_flag("--no-zero-average", args->NoZeroAverage, "Keep the segment mean (\"Zero Average\" off)")
        ->group(group);
    CLI::Option* mem = cmd->add_flag("--mem", args->Mem, "MEM spectrum instead of the FFT")->group(group);
    cmd->add_option("--mem-fmax", args->MemFmax,
                    "Upper end of the MEM frequency grid (default: the automatic spectrum axis's maximum)")
        ->check(CLI::PositiveNumber)
        ->needs(mem)
        ->group(group);
    cmd->add_option("--ratio", args->Ratio,
                    "Spectral ratio of two channels: none, a-to-b (A/B), b-to-a (B/A)")
        ->check(CLI::IsMember({"none", "a-to-b", "b-to-a"}))
        ->capture_default_str()
        ->group(group);
    cmd->add_flag("--pad", args->Pad, "Add trailing zeros when the segment runs past the data")->group(group);
    cmd->add_option("-o,--output", args->Output, "Output file (\".csv\" is added when it has no extension)")
        ->required();
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, cmd, &exitStatus] {
        args->MemFmaxGiven = cmd->count("--mem-fmax") > 0;
        exitStatus = RunSpectrum(*args);
    });
}

}  // namespace wavora::batch
