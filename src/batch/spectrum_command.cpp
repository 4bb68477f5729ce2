// wavora-batch spectrum FILE [load options] [analysis options] [display options]
//                            [-o OUT] [--png PICTURE] [--force]
// One spectrum run at a position, written as the spectrum result file exactly as the window's
// "File Save" writes it (FFT amplitude or power spectra, optionally smoothed, the MEM spectrum,
// the spectral ratio of two channels), and/or as the picture the window draws of it.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <string>

#include "analysis/spectrum_result.h"
#include "analysis/spectrum_run.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/spectrum_picture.h"
#include "draw/spectrum_display.h"
#include "draw/wave_display.h"
#include "formats/data_writers.h"

namespace wavora::batch {

namespace {

struct SpectrumArguments {
    std::string File;
    BatchLoadOptions Load;
    BatchAnalysisOptions Analysis;
    BatchDisplayOptions Display;
    std::string Output;
    std::string Picture;
    bool OutputGiven = false, PictureGiven = false;  // also when given as an empty name
    bool Force = false;
};

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

int RunSpectrum(const SpectrumArguments& args) {
    // An empty name (or a folder) would otherwise become a hidden ".csv" or ".png" file.
    if (args.OutputGiven)
        if (auto refused = EmptyFileNameFailure(args.Output)) return ReportFailure(*refused);
    if (args.PictureGiven)
        if (auto refused = EmptyFileNameFailure(args.Picture)) return ReportFailure(*refused);
    if (args.Output.empty() && args.Picture.empty())
        throw UsageError("give -o OUT for the result file, --png PICTURE for the picture, or both");
    // As the save dialogs do: a name without an extension gets ".csv" (the first filter) or ".png".
    const std::string output = args.Output.empty() ? "" : SpectrumResultFileName(args.Output, 1);
    const std::string picturePath = args.Picture.empty() ? "" : AppendExtensionIfMissing(args.Picture, "png");
    if (!output.empty() && !picturePath.empty() && SamePath(output, picturePath))
        throw UsageError("-o and --png name the same file: " + output);
    // Checked before the load too, so that a long filter is not run for nothing.
    for (const std::string& path : {output, picturePath})
        if (!path.empty())
            if (auto refused = RefuseExisting(path, args.Force)) return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;

    // The MEM grid follows the spectrum graph's X max: --x-axis sets it as the format dialog would,
    // else it is the automatic axis of the Fourier run that made MEM available.
    const float memFmax = XAxisMemFmax(args.Display).value_or(AutomaticMemFmax(loaded));
    AnalysisSettings settings = ToAnalysisSettings(args.Analysis, loaded, memFmax);
    settings.FileSave = true;

    SpectrumResult result;
    SpectrumRunPicture picture;
    const auto colors = DefaultChannelColors();
    const int status =
        RunAnalysis(loaded, args.Analysis, settings, result, [&](int k, const ChannelOutcome& outcome) {
            if (outcome.Status == ChannelStatus::Shown) picture.Add(record, result, k, colors[k]);
        });
    if (status != kExitOk) return status;

    // The display options are checked before anything is written.
    SpectrumDisplay display;
    const std::vector<SpectrumCurve> curves = picture.Curves();
    if (auto refused = PrepareDisplay(args.Display, settings.ZeroAverageEnabled, curves, display))
        return ReportFailure(*refused);

    if (!output.empty()) {
        if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);
        Outcome written = WriteSpectrumResult(output, record, loaded.Filter, result.Position, result);
        PrintWarnings(written.Warnings);
        if (!written.Ok()) return ReportFailure(*written.Error);
    }
    if (!picturePath.empty()) {
        if (auto refused = RefuseExisting(picturePath, args.Force)) return ReportFailure(*refused);
        const SpectrumFrameInfo info =
            FrameInfoOf(record, result, result.Position, FilterNoteOf(loaded.Filter, loaded.Filtered));
        Outcome written = WriteSpectrumPicture(picturePath, picture, display, info);
        PrintWarnings(written.Warnings);
        if (!written.Ok()) return ReportFailure(*written.Error);
    }
    return kExitOk;
}

}  // namespace

void RegisterSpectrumCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<SpectrumArguments>();
    CLI::App* cmd = app.add_subcommand(
        "spectrum",
        "Analyse one segment; write the spectrum result file (as \"File Save\") and/or the picture the "
        "window draws");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    AddAnalysisOptions(*cmd, args->Analysis);
    AddDisplayOptions(*cmd, args->Display);
    cmd->add_option("-o,--output", args->Output,
                    "Result file (\".csv\" is added when it has no extension; an empty name or a folder is "
                    "refused)");
    cmd->add_option("--png", args->Picture,
                    "Picture file: the 433 x 417 spectrum picture of the main window (\".png\" is added when "
                    "it has no extension)");
    AddForceOption(*cmd, args->Force);
    cmd->callback([args, cmd, &exitStatus] {
        args->OutputGiven = cmd->count("--output") > 0;
        args->PictureGiven = cmd->count("--png") > 0;
        exitStatus = RunSpectrum(*args);
    });
}

}  // namespace wavora::batch
