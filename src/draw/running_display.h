#pragma once
// The running spectrum's waterfall on the main window's picture: the frame drawn at the first
// step (frequency axis, headings, title lines, notes) and each step's curve, black every fifth
// curve with its base line and time label. What is drawn comes from the running spectrum's plan;
// this painter only puts it on the canvas, so the window and wavora-batch draw the same pixels.

#include "analysis/running_spectrum.h"
#include "draw/canvas.h"
#include "draw/spectrum_state.h"

namespace wavora {

// The spectrum graph's scale as the waterfall reads it, and the format dialog's fields as the 2-D
// map's first Set reads them (x start, x maximum, x grid, width and height; a field that holds no
// number keeps the default).
RunningScale RunningScaleOf(const SpectrumAxes& axes);
SpectrumAxisFields MapAxisFieldsOf(const SpectrumFormatFields& fields);

// Clears the picture and draws the waterfall's frame.
void DrawRunningFrame(Canvas& canvas, const RunningFrame& frame);

// Draws one curve: in the channel colour, or black with its base line, ticks and time label.
void DrawRunningCurve(Canvas& canvas, const RunningCurve& curve, Color channelColor);

// DrawRunningSpectrum: what one step of the running spectrum draws on the main window's picture
// (the frame at the first step, then the waterfall's curve). A single-plot step draws nothing
// here: the spectrum display draws it.
void DrawRunningSpectrum(Canvas& canvas, const RunningStep& step, Color channelColor);

}  // namespace wavora
