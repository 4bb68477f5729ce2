#pragma once
// The main window's commands that the secondary windows run. A secondary window writes the session
// state and emits its notification itself; when a change must redraw, list, analyse or re-read the
// file, it calls one of these. TForm1 implements them.

namespace wavora {

class MainCommands {
  public:
    virtual ~MainCommands() = default;

    // Redraws the waveforms from the state.
    virtual void DrawWave() = 0;
    // What moving the position slider does: the position, the display and the listing start take
    // the value, every window shows it, and the waveforms are redrawn when they are shown.
    virtual void MovePosition(int position) = 0;
    // Lists the page at the position in the value grid and shows the list-up dialog.
    virtual void BtnListClick() = 0;
    // Analyses the segment at the position (the "Run" button).
    virtual void BtnRunClick() = 0;
    // Starts the automatic skipping analysis, or stops it while it runs (the speed button SBPeaks).
    virtual void SBPeaksClick() = 0;
    // Shows the help window of the spectral peaks.
    virtual void ShowPeaksHelp() = 0;
    // The spectrum's X axis changed between frequency and period: the activities that need a
    // frequency axis (running spectrum, peaks, automatic skipping) are offered only on it.
    virtual void PeriodAxisChanged() = 0;

    // Commands of the "Wave" menu, with the new value of the item's check.
    virtual void TimeScaleClick(int item) = 0;  // ×1, ×2, ×4, ×8
    virtual void Title1Click(bool on) = 0;
    virtual void Filename1Click(bool on) = 0;
    virtual void ChannelComment1Click(bool on) = 0;
    virtual void Color1Click(bool on) = 0;
    virtual void Scaling1Click(bool on) = 0;
};

}  // namespace wavora
