// wavora-batch peaks FILE [load options] [analysis options] (--position P | --auto-skip [--skip S])
//     [--division N] [--tops N] -o OUT.csv [--png OUT.png] [--force]
// The spectral peaks of one spectrum run at P, or of the whole automatic skipping analysis from P
// to the end of the data, written as the peaks window lists them: the peak table of the last
// spectrum, the averages, the division label, the Value listing and the Order listing.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "analysis/auto_skip.h"
#include "analysis/spectral_peaks.h"
#include "batch/analysis_options.h"
#include "batch/command.h"
#include "batch/load_options.h"
#include "batch/offscreen_gui.h"
#include "batch/text_output.h"
#include "draw/image_canvas.h"
#include "draw/peak_histogram.h"
#include "draw/png_writer.h"
#include "formats/data_writers.h"

namespace wavora::batch {

namespace {

struct PeaksArguments {
    std::string File;
    BatchLoadOptions Load;
    BatchAnalysisOptions Analysis;
    bool AutoSkip = false;
    std::string Skip = "1";
    int Division = 20;
    int Tops = 5;
    int ScaleUnit = 5;
    std::string Output;
    std::string Png;
    bool Force = false;
};

constexpr const char* kLineEnd = "\r\n";

std::string JoinRows(const std::vector<PeakTable::Row>& rows) {
    std::string text;
    for (const PeakTable::Row& row : rows) text += row[0] + "," + row[1] + "," + row[2] + kLineEnd;
    return text;
}

// The whole file (UTF-8): the peak table, the averages, Label8, the Value and the Order listing.
std::string PeaksText(SpectralPeaks& peaks) {
    std::string text = JoinRows(peaks.Table.Rows());
    text += peaks.CountText + "," + peaks.MeanFrequencyText + "," + peaks.MeanValueText + kLineEnd;
    text += peaks.DivisionText + kLineEnd;
    peaks.ListValues();
    text += JoinRows(peaks.Table.Rows());
    peaks.ListOrder();
    text += JoinRows(peaks.Table.Rows());
    return text;
}

Outcome WriteHistogram(const std::string& path, const PeakHistogram& histogram) {
    OffscreenGui gui;
    ImageCanvas canvas(kPeakHistogramSize, kPeakHistogramSize);
    GraphPlot chart(&canvas);
    DrawPeakHistogram(chart, canvas, histogram);
    return WritePng(path, canvas.ToImage());
}

int RunPeaks(const PeaksArguments& args) {
    std::string output, png;
    if (auto refused =
            PrepareOutputs({{args.Output, "csv", output}, {args.Png, "png", png, false}}, args.Force))
        return ReportFailure(*refused);

    LoadedRecord loaded;
    if (int status = LoadForCommand(args.File, args.Load, loaded); status != kExitOk) return status;
    const WaveRecord& record = loaded.Record;
    if (auto bad = CheckChannels(args.Analysis.Channels, record)) return ReportFailure(*bad);

    AnalysisSettings settings = ToAnalysisSettings(args.Analysis, loaded, AutomaticMemFmax(loaded));
    const PeakSpectrumKind kind = PeakSpectrumKindOf(settings);
    SpectralPeaks peaks;
    peaks.SetPeakTops(args.Tops);
    peaks.SetScaleUnit(args.ScaleUnit);
    peaks.SetPeakDivision(args.Division, kind, record.FrequencyText());
    peaks.Clear(kind, record.FrequencyText());

    if (args.AutoSkip) {
        settings.Skip = true;
        settings.SkipDivisor = args.Skip == "1/2" ? 2 : args.Skip == "1/4" ? 4 : 1;
        const AutoSkipSummary summary = RunAutoSkipToEnd(record, settings, args.Analysis.Position, &peaks);
        if (summary.Error) return ReportFailure(*summary.Error);
        if (summary.Runs == 0) {
            const int span = settings.Points() * std::max<int>(settings.Step, 1);
            return ReportFailure(Failure::Notice("Data size is not sufficient: no segment of " +
                                                 std::to_string(span) + " samples fits from position " +
                                                 std::to_string(args.Analysis.Position) + " (" +
                                                 std::to_string(record.SampleCount) + " samples)"));
        }
    } else {
        SpectrumResult result;
        const PeakRunOutcome out =
            RunSpectrumWithPeaks(record, settings, args.Analysis.Position, &peaks, args.Analysis.Pad, result);
        if (out.Error) {
            if (out.Error->Icon == MessageIcon::Question) {
                PrintFailure(*out.Error);
                return ReportFailure(Failure::Notice("use --pad to analyse the segment with trailing zeros"));
            }
            return ReportFailure(*out.Error);
        }
    }

    const PeakHistogram histogram = peaks.Histogram;
    const std::string text = PeaksText(peaks);
    if (auto refused = RefuseExisting(output, args.Force)) return ReportFailure(*refused);
    Outcome written = WriteResultText(output, text);
    if (!written.Ok()) return ReportFailure(*written.Error);
    if (!png.empty()) {
        if (auto refused = RefuseExisting(png, args.Force)) return ReportFailure(*refused);
        Outcome picture = WriteHistogram(png, histogram);
        if (!picture.Ok()) return ReportFailure(*picture.Error);
    }
    return kExitOk;
}

}  // namespace

void RegisterPeaksCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<PeaksArguments>();
    CLI::App* cmd = app.add_subcommand(
        "peaks", "Spectral peaks of one run, or of the automatic skipping analysis to the end of the data");
    cmd->add_option("FILE", args->File, "Data file")->required();
    AddLoadOptions(*cmd, args->Load);
    AddAnalysisOptions(*cmd, args->Analysis, kWithPosition | kWithPad,
                       "First sample of the segment (with --auto-skip: where the analysis starts)");

    const char* group = "Peaks options";
    CLI::Option* autoSkip =
        cmd->add_flag("--auto-skip", args->AutoSkip,
                      "Repeat the run, moving on by --skip, until the next segment would pass the end")
            ->group(group);
    cmd->add_option("--skip", args->Skip, "Advance after each run, as a part of the analysed span")
        ->check(CLI::IsMember({"1", "1/2", "1/4"}))
        ->capture_default_str()
        ->needs(autoSkip)
        ->group(group);
    if (args->Analysis.PadOption) args->Analysis.PadOption->excludes(autoSkip);
    cmd->add_option("--division", args->Division, "Classes of the peak histogram (the Division menu)")
        ->check(CLI::IsMember({10, 20, 25, 50}))
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--tops", args->Tops, "Peaks taken from each spectrum (the Tops menu)")
        ->check(CLI::IsMember({1, 3, 5, 10}))
        ->capture_default_str()
        ->group(group);
    cmd->add_option("--scale-unit", args->ScaleUnit,
                    "Counts per division of the histogram picture (Scale Unit)")
        ->check(CLI::IsMember({5, 10, 25}))
        ->capture_default_str()
        ->group(group);
    cmd->add_option("-o,--output", args->Output, "Output file (\".csv\" is added when it has no extension)")
        ->required();
    cmd->add_option(
        "--png", args->Png,
        "Also write the peak histogram as a PNG picture (\".png\" is added when it has no extension)");
    AddForceOption(*cmd, args->Force);
    cmd->footer(
        "OUT (code page 932, CR LF; each line the cells of the peaks window's table joined by \",\"):\n"
        "  the peak table of the last spectrum (11 lines), the averages (count, mean frequency, mean\n"
        "  value of the largest peaks), the division label, the Value listing and the Order listing\n"
        "  (--division + 1 lines each). The peaks of every channel analysed are counted; a spectral\n"
        "  ratio counts once. The axes are the automatic spectrum axes (0 to the Nyquist frequency).");
    cmd->callback([args, &exitStatus] { exitStatus = RunPeaks(*args); });
}

}  // namespace wavora::batch
