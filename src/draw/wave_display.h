#pragma once
// The waveform display of the main window's picture: the displayed channels of the record one
// above the other as traces 400 pixels wide from DisplayPosition on, with the time ruler, the zero
// lines, the amplitude bars and the notes (filter, file name, channel names, title).

#include <array>
#include <cstdint>

#include "draw/canvas.h"
#include "record/filter_state.h"
#include "record/wave_record.h"

namespace wavora {

// What the main window's picture shows; the mouse handlers act by it.
enum DisplayKindValue : int {
    kShowStartup = 0,
    kShowWave = 1,
    kShowSpectrum = 2,
    kShowRunningPlot = 3,
    kShowCorrelation = 4,
};

// Red, blue, green, black, olive, fuchsia, maroon, teal.
std::array<Color, kMaxChannels> DefaultChannelColors();

// Display state of the main window's picture.
struct WaveView {
    int32_t DisplayPosition = 0;  // first sample shown; follows TrackBar1
    int WaveWidth = 400;          // trace area width in pixels
    int TimeScale = 1;            // horizontal pixels per displayed sample: 1, 2, 4, 8
    std::array<float, kMaxChannels> ChannelMagnification{1, 1, 1, 1, 1, 1, 1, 1};
    float WaveMagnification = 1.0f;  // last "Magnification" choice; the running plot reads it
    std::array<bool, kMaxChannels> DisplayChannels{true, true, true, true, true, true, true, true};
    int DisplayedCount = 0;  // displayed channels among the record's; recounted by the dialog's OK
    bool WaveShown = false;  // the waveform is what the picture shows
    std::array<Color, kMaxChannels> ChannelColors = DefaultChannelColors();
    std::array<PenStyle, kMaxChannels> ChannelPenStyles{PenStyle::Solid,   PenStyle::Dot,   PenStyle::DashDot,
                                                        PenStyle::Dash,    PenStyle::Solid, PenStyle::Dot,
                                                        PenStyle::DashDot, PenStyle::Dash};
    int DisplayKind = kShowStartup;
    // Options of the "Wave" menu and the amplitude dialog.
    bool ShowTitle = true;
    bool ShowFileName = true;
    bool ShowChannelComment = true;
    bool ShowScaling = true;
};

// The filter note under the traces and above the spectrum: the band when the samples shown were
// band-pass filtered, else "Unfiltered".
struct WaveFilterNote {
    bool FilterChecked = false;  // the samples were filtered (by the last processing pass)
    float Lower = 1.0f, Upper = 0.0f;
};

// The note for a record the processing pass filtered (`filtered`) with these corners. A "Filter"
// box checked without a filter that ran (the mode "Unfiltered") says "Unfiltered": the note tells
// what was done to the samples.
WaveFilterNote FilterNoteOf(const FilterState& filter, bool filtered);

// Number of channels among the record's first ChannelCount whose display flag is on.
int CountDisplayedChannels(const WaveRecord& record, const WaveView& view);

// Draws the waveforms every `step` samples (the "Step" of the display and the analysis: 1, 2, 5,
// 10); sets WaveWidth, WaveShown and DisplayKind.
void DrawWave(Canvas& canvas, const WaveRecord& record, WaveView& view, const WaveFilterNote& note,
              int step = 1);

// The amplitude bar of one channel in a strip of pitch h: the bar length in pixels and its label.
struct AmplitudeBar {
    bool Drawn = false;
    int Length = 0;
    float Step = 0.0f;
    std::string Label;  // the step as text followed by the unit
};
AmplitudeBar AmplitudeBarOf(const ChannelInfo& channel, float magnification, int stripPitch);

// The scaling text beside a trace: "1/1024", "0.50/1024".
std::string ScalingText(float magnification, int divisor);

}  // namespace wavora
