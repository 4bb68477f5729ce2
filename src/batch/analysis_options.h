#pragma once
// The analysis options of the commands that perform spectrum runs, as the window's controls set
// them: --channels, --points, --mem-min, --type, --abs-coeff, --smooth, --no-zero-average, --mem,
// --mem-fmax, --ratio and (where a single run may need it) --pad.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora::batch {

struct BatchAnalysisOptions {
    std::vector<int> Channels = {1};
    int Points = 1024;
    bool MemMin = false;
    std::string Type = "amp";
    bool AbsCoeff = false;
    int Smooth = 0;
    bool NoZeroAverage = false;
    bool Mem = false;
    float MemFmax = 0.0f;
    std::string Ratio = "none";
    bool Pad = false;

    CLI::Option* MemFmaxOption = nullptr;
    CLI::Option* PadOption = nullptr;
};

// Adds the options to a command in the group "Analysis options"; --pad only when `withPad`.
void AddAnalysisOptions(CLI::App& command, BatchAnalysisOptions& options, bool withPad);

// "Channel 5 is not in the record (3 channels)" for a channel the record does not have.
std::optional<Failure> CheckChannels(const std::vector<int>& oneBased, const WaveRecord& record);

// The settings of a run over `record` with the load's decimation step. Without --mem-fmax a MEM
// grid ends where the automatic spectrum axis of the first (Fourier) run ends, as in the window.
AnalysisSettings ToAnalysisSettings(const BatchAnalysisOptions& options, const WaveRecord& record, int step);

}  // namespace wavora::batch
