#include "batch/analysis_options.h"

#include <string>

#include "batch/command.h"

namespace wavora::batch {

void AddAnalysisOptions(CLI::App& cmd, BatchAnalysisOptions& o, unsigned parts, const char* positionHelp) {
    const char* group = "Analysis options";
    cmd.add_option("--channels", o.Channels, "Channels to analyse, as 1,2,... (the Ch check boxes)")
        ->delimiter(',')
        ->check(CLI::Range(1, kMaxChannels))
        ->capture_default_str()
        ->group(group);
    cmd.add_option("--points", o.Points, "Points of the segment, taken every --step samples")
        ->check(CLI::IsMember({512, 1024, 2048, 4096, 8192}))
        ->capture_default_str()
        ->group(group);
    cmd.add_flag("--mem-min", o.MemMin, "Divide the points by 32 (16 to 256; the \"min\" box)")->group(group);
    if (parts & kWithPosition)
        o.PositionOption = cmd.add_option("--position", o.Position, positionHelp)
                               ->check(CLI::NonNegativeNumber)
                               ->capture_default_str()
                               ->group(group);
    cmd.add_option("--type", o.Type, "Spectrum type")
        ->check(CLI::IsMember({"amp", "power"}))
        ->capture_default_str()
        ->group(group);
    cmd.add_flag("--abs-coeff", o.AbsCoeff, "Amp as absolute Fourier coefficients (\"Abs F Coeff\")")
        ->group(group);
    cmd.add_option("--smooth", o.Smooth, "Smoothing passes")
        ->check(CLI::IsMember({0, 1, 2, 5, 10}))
        ->capture_default_str()
        ->group(group);
    cmd.add_flag("--no-zero-average", o.NoZeroAverage, "Keep the segment mean (\"Zero Average\" off)")
        ->group(group);
    CLI::Option* mem = cmd.add_flag("--mem", o.Mem, "MEM spectrum instead of the FFT")->group(group);
    o.MemFmaxOption =
        cmd.add_option("--mem-fmax", o.MemFmax,
                       "Upper end of the MEM frequency grid (default: the spectrum graph's X max)")
            ->check(CLI::PositiveNumber)
            ->needs(mem)
            ->group(group);
    cmd.add_option("--ratio", o.Ratio, "Spectral ratio of two channels: none, a-to-b (A/B), b-to-a (B/A)")
        ->check(CLI::IsMember({"none", "a-to-b", "b-to-a"}))
        ->capture_default_str()
        ->group(group);
    if (parts & kWithPad)
        o.PadOption = cmd.add_flag("--pad", o.Pad, "Add trailing zeros when the segment runs past the data")
                          ->group(group);
}

std::optional<Failure> CheckChannels(const std::vector<int>& oneBased, const WaveRecord& record) {
    for (int channel : oneBased) {
        if (channel > record.ChannelCount) {
            return Failure::Notice("Channel " + std::to_string(channel) + " is not in the record (" +
                                   std::to_string(record.ChannelCount) + " channel" +
                                   (record.ChannelCount == 1 ? "" : "s") + ")");
        }
    }
    return std::nullopt;
}

AnalysisSettings ToAnalysisSettings(const BatchAnalysisOptions& o, const LoadedRecord& loaded,
                                    float memFmax) {
    AnalysisSettings settings;
    settings.ChannelFlags.fill(false);
    for (int channel : o.Channels)
        if (channel >= 1 && channel <= kMaxChannels) settings.ChannelFlags[channel - 1] = true;
    settings.PointsChoice = o.Points;
    settings.MemMin = o.MemMin;
    settings.Step = static_cast<int16_t>(loaded.Options.Step);
    settings.Type = o.Type == "power" ? SpectrumType::Power : SpectrumType::Amp;
    settings.AbsCoeffMode = o.AbsCoeff;
    settings.SmoothPasses = o.Smooth;
    settings.ZeroAverageEnabled = !o.NoZeroAverage;
    settings.RatioMode = o.Ratio == "a-to-b" ? 1 : o.Ratio == "b-to-a" ? 2 : 0;
    settings.Mem = o.Mem;
    settings.MemFmax = o.MemFmaxGiven() ? o.MemFmax : memFmax;
    return settings;
}

float AutomaticMemFmax(const LoadedRecord& loaded) {
    const int step = loaded.Options.Step >= 1 ? loaded.Options.Step : 1;
    return AutomaticFrequencyMaximum(static_cast<float>(step) * loaded.Record.SamplingInterval);
}

int RunAnalysis(const LoadedRecord& loaded, const BatchAnalysisOptions& o, const AnalysisSettings& settings,
                SpectrumResult& result,
                const std::function<void(int channel, const ChannelOutcome&)>& analysed) {
    const WaveRecord& record = loaded.Record;
    if (auto bad = CheckChannels(o.Channels, record)) return ReportFailure(*bad);
    SpectrumRun run(record, settings, result);
    const RunStart start = run.Begin(o.Position);
    if (start.Status == RunStartStatus::Stopped) {
        if (start.Error) return ReportFailure(*start.Error);
        return kExitDataError;
    }
    if (start.Status == RunStartStatus::AskPadding) {
        if (!o.Pad) {
            PrintFailure(start.Question);
            return ReportFailure(Failure::Notice("use --pad to analyse the segment with trailing zeros"));
        }
        run.AnswerPadding(true);
    }
    for (int k : run.Channels()) {
        const ChannelOutcome outcome = run.AnalyseChannel(k);
        if (outcome.Status == ChannelStatus::Failed)
            return ReportFailure(outcome.Error.value_or(Failure::Notice("The spectrum run stopped.")));
        analysed(k, outcome);
    }
    return kExitOk;
}

}  // namespace wavora::batch
