#pragma once
// The analysis options the spectrum commands share, as the window's spectrum controls set them:
//   --channels, --points, --mem-min, --position, --type, --abs-coeff, --smooth, --no-zero-average,
//   --mem, --mem-fmax, --ratio, --pad
// and one spectrum run over a loaded record with them.

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/spectrum_run.h"
#include "batch/load_options.h"
#include "record/failure.h"

namespace wavora::batch {

struct BatchAnalysisOptions {
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
    std::string Ratio = "none";
    bool Pad = false;
    CLI::Option* MemFmaxOption = nullptr;  // given on the command line when counted
    CLI::Option* PositionOption = nullptr;
    CLI::Option* PadOption = nullptr;

    bool MemFmaxGiven() const { return MemFmaxOption != nullptr && MemFmaxOption->count() > 0; }
};

// Which of the options a command takes besides the spectrum settings.
enum AnalysisOptionParts : unsigned { kWithPosition = 1, kWithPad = 2 };

// Adds the options to a command (malformed values are usage errors); `positionHelp` describes
// --position for this command.
void AddAnalysisOptions(CLI::App& command, BatchAnalysisOptions& options,
                        unsigned parts = kWithPosition | kWithPad,
                        const char* positionHelp = "First sample of the segment");

// "Channel 5 is not in the record (3 channels)" for a channel the record does not have.
std::optional<Failure> CheckChannels(const std::vector<int>& oneBased, const WaveRecord& record);

// The window's settings for these options. `memFmax` is the upper end of the MEM grid when
// --mem-fmax is not given (the X max the spectrum graph shows).
AnalysisSettings ToAnalysisSettings(const BatchAnalysisOptions& options, const LoadedRecord& loaded,
                                    float memFmax);

// The MEM grid's end as a freshly opened record gives it: the automatic axis of the Fourier run
// that made MEM available.
float AutomaticMemFmax(const LoadedRecord& loaded);

// One spectrum run at --position: the checks, the padding question (answered by --pad), then
// every channel, each handed to `analysed` with its outcome (Shown for the channels the window
// lists and draws). Failures are printed; returns the exit status.
int RunAnalysis(const LoadedRecord& loaded, const BatchAnalysisOptions& options,
                const AnalysisSettings& settings, SpectrumResult& result,
                const std::function<void(int channel, const ChannelOutcome&)>& analysed);

}  // namespace wavora::batch
