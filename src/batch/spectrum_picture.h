#pragma once
// The picture of wavora-batch spectrum --png: what the main window's picture shows after the same
// run in a freshly started program with the record just opened (automatic axes, sub-axis lines,
// file name and legends at the right, channel and data comments, solid curves in the channel
// colours, frequency axis), drawn by the window's own spectrum display and written as PNG. The
// display options stand in for the "Spectrum" menu options and the format dialog's OK:
//   --x-axis MIN:MAX:GRID[:log|linear], --y-axis MIN:MAX:GRID[:log|linear], --size W:H, --period
//   (these four through the dialog's OK, the other axis keeping the run's automatic one),
//   --broad-line, --no-sub-axis, --styled-lines (the "CBSolid" box off).

#include <CLI/CLI.hpp>

#include <optional>
#include <span>
#include <string>

#include "draw/spectrum_display.h"
#include "record/failure.h"

namespace wavora::batch {

struct BatchDisplayOptions {
    std::string XAxis, YAxis, Size;
    bool Period = false;
    bool BroadLine = false;
    bool NoSubAxis = false;
    bool StyledLines = false;

    // Whether the format dialog's OK is needed.
    bool ThroughFormatDialog() const { return !XAxis.empty() || !YAxis.empty() || !Size.empty() || Period; }
};

// Adds the options to a command (a malformed MIN:MAX:GRID or W:H is a usage error).
void AddDisplayOptions(CLI::App& command, BatchDisplayOptions& options);

// The MEM grid's end that --x-axis sets (its MAX as "X max" holds it); empty without --x-axis.
std::optional<float> XAxisMemFmax(const BatchDisplayOptions& options);

// The display for the run's curves: start-up defaults with the menu options, then, when axes,
// size or the period axis are asked for, the format dialog's OK on the fields the run's automatic
// drawing wrote, changed by the options. A refusal comes back with the dialog's message.
std::optional<Failure> PrepareDisplay(const BatchDisplayOptions& options, bool zeroAverage,
                                      std::span<const SpectrumCurve> curves, SpectrumDisplay& display);

// Draws the curves on a new 433 × 417 picture and writes it as PNG (replacing `path` only when
// complete).
Outcome WriteSpectrumPicture(const std::string& path, const SpectrumRunPicture& picture,
                             SpectrumDisplay& display, const SpectrumFrameInfo& info);

}  // namespace wavora::batch
