#pragma once
// The main window's commands that the secondary windows run. A secondary window writes the session
// state and emits its notification itself; when a change must redraw, list, analyse or re-read the
// file, it calls one of these. TForm1 implements them (the commands with a body do nothing
// without a main window, for a window tested on its own).

#include <string>

#include <optional>

#include "analysis/running_spectrum.h"
#include "record/failure.h"

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
    // Reads the open record's file again with the processing settings in force, without the file
    // dialog (and without the import dialog for an imported record). Returns whether a new record
    // was adopted; when not, the message has been shown and the record is as it was.
    virtual bool ReprocessRecord() { return false; }
    // The "Filter" menu's "Default" and "Unfiltered". Return whether the choice took effect: a
    // refused choice, or a pass that could not read the file, leaves every setting as it was.
    virtual bool Default1Click() { return false; }
    virtual bool None2Click() { return false; }
    // The record's texts were edited: the picture shows them again, the waveforms redrawn, a
    // spectrum drawn again from the last run's curves (no new run).
    virtual void RedrawPicture() {}
    // The processing notice (TProcess) over a long step that keeps the thread busy, and its end.
    virtual void ShowProcessing(const std::string& /*what*/) {}
    virtual void HideProcessing() {}
    // The same notice with how far the step is and a Cancel button; false once Cancel was pressed.
    virtual bool ShowProgress(const std::string& /*what*/, double /*fraction*/) { return true; }

    // Commands of the "Wave" menu, with the new value of the item's check.
    virtual void TimeScaleClick(int item) = 0;  // ×1, ×2, ×4, ×8
    virtual void Title1Click(bool on) = 0;
    virtual void Filename1Click(bool on) = 0;
    virtual void ChannelComment1Click(bool on) = 0;
    virtual void Color1Click(bool on) = 0;
    virtual void Scaling1Click(bool on) = 0;

    // Position 0 and the waveforms redrawn (the "0" button).
    virtual void BtnZeroClick() = 0;

    // The running spectrum (the dialog TRunning) and the main window.
    // One step: the main window's run at the position, drawing through the running spectrum. It
    // shows no message: a failure comes back, for the dialog to show once its timer has stopped.
    virtual std::optional<Failure> RunningStep() = 0;
    // A run has started: the analysis controls are locked and the 2-D window prepares its map.
    virtual void RunningStarted() = 0;
    // A run has stopped (or a start found no data): the average listed and, in single plot, drawn
    // in purple; the controls unlocked. Returns the failure of that drawing, for the dialog to show.
    virtual std::optional<Failure> RunningStopped(const RunningStop& stop) = 0;
    // The channel check refused a start: the running-spectrum button and "2D" are disabled.
    virtual void RunningRefused(bool disableStartControls) = 0;
    // The dialog was closed: the controls are unlocked unless another activity holds them.
    virtual void RunningClosed() = 0;
    // The dialog's Run and Stop, for the 2-D window's own buttons.
    virtual void RunningRunClick() = 0;
    virtual void RunningStopClick() = 0;
};

}  // namespace wavora
