#pragma once
// The timed correlation analysis as a state machine for the window's 100 ms timer: Start checks
// the channels and performs the first step, every tick computes the correlation function at the
// position and moves the position on by 10 × Step, the end of the data stops the timer, and Stop
// lists the last function and reports the period of its downward zero crossings. The window draws
// each frame (draw/correlation_display.h), moves the track bar and shows the messages.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/correlation.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

inline constexpr int kCorrelationTimerInterval = 100;  // ms

// What a step reads from the main window.
struct CorrelationInputs {
    std::array<bool, kMaxChannels> Checked{};  // the channel check boxes
    int Points = 0;                            // of the last spectrum run; 0 or less before any run
    int PointsItem = 1024;  // the size of the checked "Points" item ("min" does not divide it here)
    int Position = 0;       // DisplayPosition, as the hidden position label holds it
    int Step = 1;
    int TimeScale = 1;
};

// What the window does after a start, a tick or a stop, in this order.
struct CorrelationEvent {
    bool Started = false;  // lock the analysis controls (SBCorr stays enabled), stop the waveform
                           // scroll, disable the picture save button
    bool Refused = false;  // Start refused: nothing changed; show Error
    bool Drew = false;     // draw Frame on the picture (its frame; its curve when computed)
    CorrelationFrame Frame;
    int FirstChannel = -1;      // 0-based: its colour is the curve's for an auto-correlation
    bool MovePosition = false;  // the track bar, the position label and field go to NextPosition
    int NextPosition = 0;
    bool Stopped = false;          // the analysis ended: enable the save button, unlock the controls
    std::optional<Failure> Error;  // show it now; the timer is already off
};

// What Stop leaves: the listing for the value grid and the report line under the plot.
struct CorrelationStopResult {
    bool Stopped = false;      // false when the analysis was not running
    CorrelationReport Report;  // GridRows (352 rows of 5 cells) and Text
};

class CorrelationActivity {
  public:
    bool Active() const { return active_; }  // CorrelationActive
    // Timer2 runs exactly while this is set. The end of the data turns it off while the analysis
    // stays active until Stop.
    bool TimerEnabled() const { return timerEnabled_; }

    // SBCorrClick from idle: with one or two checked channels the analysis starts with one step;
    // otherwise it is refused with "Number of Channels is illegal". Does nothing while active.
    CorrelationEvent Start(const WaveRecord& record, const CorrelationInputs& inputs);
    // Timer2Timer: one step; nothing when the timer is off.
    CorrelationEvent Tick(const WaveRecord& record, const CorrelationInputs& inputs);
    // SBCorrClick while active: the timer off, the listing and the report of the last values.
    CorrelationStopResult Stop(const CorrelationReportSettings& settings);

    // R[0..349] of the last computed step (zeros before any).
    const std::vector<float>& Values() const { return values_; }
    int PointsUsed() const { return pointsUsed_; }

  private:
    CorrelationEvent Step(const WaveRecord& record, const CorrelationInputs& inputs);

    bool active_ = false;
    bool timerEnabled_ = false;
    bool setupPending_ = false;
    int first_ = -1, second_ = -1;
    int pointsUsed_ = 0;
    std::vector<float> values_ = std::vector<float>(kCorrelationLags, 0.0f);
};

}  // namespace wavora
