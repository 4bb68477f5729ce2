#include "batch/analysis_options.h"

namespace wavora::batch {

void AddAnalysisOptions(CLI::App& cmd, BatchAnalysisOptions& o, bool withPad) {
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
                       "Upper end of the MEM frequency grid (default: the automatic spectrum axis's maximum)")
            ->check(CLI::PositiveNumber)
            ->needs(mem)
            ->group(group);
    cmd.add_option("--ratio", o.Ratio, "Spectral ratio of two channels: none, a-to-b (A/B), b-to-a (B/A)")
        ->check(CLI::IsMember({"none", "a-to-b", "b-to-a"}))
        ->capture_default_str()
        ->group(group);
    if (withPad) {
        o.PadOption = cmd.add_flag("--pad", o.Pad, "Add trailing zeros when the segment runs past the data")
                          ->group(group);
    }
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

AnalysisSettings ToAnalysisSettings(const BatchAnalysisOptions& o, const WaveRecord& record, int step) {
    AnalysisSettings s;
    s.ChannelFlags.fill(false);
    for (int channel : o.Channels)
        if (channel >= 1 && channel <= kMaxChannels) s.ChannelFlags[static_cast<size_t>(channel - 1)] = true;
    s.PointsChoice = o.Points;
    s.MemMin = o.MemMin;
    s.Step = static_cast<int16_t>(step);
    s.Type = o.Type == "power" ? SpectrumType::Power : SpectrumType::Amp;
    s.AbsCoeffMode = o.AbsCoeff;
    s.SmoothPasses = o.Smooth;
    s.ZeroAverageEnabled = !o.NoZeroAverage;
    s.RatioMode = o.Ratio == "a-to-b" ? 1 : o.Ratio == "b-to-a" ? 2 : 0;
    s.Mem = o.Mem;
    const bool fmaxGiven = o.MemFmaxOption != nullptr && o.MemFmaxOption->count() > 0;
    s.MemFmax =
        fmaxGiven ? o.MemFmax : AutomaticFrequencyMaximum(static_cast<float>(step) * record.SamplingInterval);
    return s;
}

}  // namespace wavora::batch
