#pragma once
// The spectrum display of the main window's picture: one spectrum curve per call on a frame of
// grid lines, scale labels, titles and notes, with the channel legends beside it. The spectrum run
// draws all its curves on one frame; the running spectrum draws its average the same way. After
// every curve the axes are written back into the format dialog's fields.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/fft.h"
#include "analysis/spectrum_run.h"
#include "draw/canvas.h"
#include "draw/spectrum_state.h"
#include "draw/wave_display.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The main window's picture Image1, on which the spectra are drawn.
inline constexpr int kMainPictureWidth = 433, kMainPictureHeight = 417;

// One curve: N/2 values, value i belonging to frequency i / (N·dt), or with MEM to Frequencies[i].
struct SpectrumCurve {
    int Channel = 0;  // 0-based channel index
    Color Colour = kBlack;
    int Points = 0;                      // N
    float AnalysisInterval = 0.0f;       // dt
    std::span<const float> Values;       // at least N/2 values
    std::span<const float> Frequencies;  // MEM: the frequency of each value (at least N/2); empty: FFT bins
    std::string Unit;                    // DisplayUnit of the channel, for the title
    std::string Legend;                  // Name of the run's current channel, for the legend
};

// What the frame writes above and beside the graph, from the run that made the curves.
struct SpectrumFrameInfo {
    bool Mem = false;
    SpectrumType Type = SpectrumType::Amp;
    bool AbsCoeffMode = false;
    int SmoothPasses = 0;
    int DisplayPosition = 0;  // first sample of the data line
    int Step = 1;
    // A spectral ratio of exactly two channels: the ratio line names them, A first with "A to B".
    bool Ratio = false;
    int RatioFirst = 0, RatioSecond = 0;
    WaveFilterNote Filter;  // the "Filter" check box and the corners of the data comment
    std::string TimeText = "s", FrequencyText = "Hz";
    std::string FileName;
};

// The frame texts of a run: its settings, the ratio channels it found, the record's units and
// file name, the waveform display's position (the run's position) and the filter note.
SpectrumFrameInfo FrameInfoOf(const WaveRecord& record, const SpectrumResult& result, int displayPosition,
                              const WaveFilterNote& filter);

// The texts the frame writes: title, data line, ratio line ("" without a ratio) and the data
// comment ("Bandpass … " or "Unfiltered").
struct SpectrumFrameTexts {
    std::string Title, DataLine, RatioLine, DataComment;
};
SpectrumFrameTexts FrameTextsOf(const SpectrumFrameInfo& info, const std::string& unit, int points);

// The frequency range of a curve on the automatic axis, [0, Nyquist] (or up to the last MEM
// frequency), and the largest value the automatic Y axis must reach: the largest finite value in
// that range, at least 0.
float AutomaticFrequencyEnd(const SpectrumCurve& curve);
float AutomaticMaximum(const SpectrumCurve& curve);

// The automatic axes for these curves (the largest maximum of them all): 320 × 320, linear, the X
// axis from AxisUnit of the top frequency and the Y axis from AxisUnit of the maximum.
void ChooseAutomaticAxes(SpectrumAxes& axes, std::span<const SpectrumCurve> curves);

// One curve. A new frame (NewSpectrumFrame) first paints the picture white and draws grid, labels,
// titles and notes; with automatic axes the scales are chosen there, from Frame.AutoMaximum when
// it is set, and kept for every later curve of the frame. The curve follows with the channel's
// colour and pen, the file name and the legend; then CurveCount, LegendY and DisplayKind (2)
// move on and the axes are written back into Format.
// A logarithmic axis whose start is not positive gives "Illegal lower value for axis" ("Data
// Error") and nothing is drawn or changed. Points that cannot be placed (outside the frequency
// range, a value ≤ 0 on a logarithmic axis, a value that is not a number) are left out and the
// line joins the next placed point; values above the range are drawn above the frame.
std::optional<Failure> DrawSpectrum(Canvas& canvas, SpectrumDisplay& display, WaveView& view,
                                    const SpectrumFrameInfo& info, const SpectrumCurve& curve);

// A new frame with all these curves on it: the automatic axes are chosen once from all of them.
// Stops at the first failure (nothing is drawn then).
std::optional<Failure> DrawSpectrumFrame(Canvas& canvas, SpectrumDisplay& display, WaveView& view,
                                         const SpectrumFrameInfo& info,
                                         std::span<const SpectrumCurve> curves);

// The curves of one spectrum run, kept as the run leaves each channel, and drawn together when
// the run has analysed them all (the run overwrites its arrays with every channel).
class SpectrumRunPicture {
  public:
    // After AnalyseChannel(k) has shown channel k (its spectrum, or the ratio, in RealPart).
    void Add(const WaveRecord& record, const SpectrumResult& result, int channel, Color colour);
    bool Empty() const { return kept_.empty(); }
    size_t Size() const { return kept_.size(); }
    std::vector<SpectrumCurve> Curves() const;
    // A new frame with every kept curve (DrawSpectrumFrame).
    std::optional<Failure> Draw(Canvas& canvas, SpectrumDisplay& display, WaveView& view,
                                const SpectrumFrameInfo& info) const;
    void Clear() { kept_.clear(); }
    // The legends take the record's channel names as they are now (after a comment edit).
    void TakeNames(const WaveRecord& record);

  private:
    struct Kept {
        int Channel = 0;
        Color Colour = kBlack;
        int Points = 0;
        float AnalysisInterval = 0.0f;
        std::vector<float> Values, Frequencies;
        std::string Unit, Legend;
    };
    std::vector<Kept> kept_;
};

}  // namespace wavora
