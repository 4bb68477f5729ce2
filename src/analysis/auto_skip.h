#pragma once
// The automatic skipping analysis: spectrum run after spectrum run while the position moves on by
// the run's skip, until the next segment would run past the end of the data; the peaks of every
// spectrum go into the peak statistics. `AutoSkipActivity` is its start/tick/stop state machine for
// the window's timer (the run itself is the window's, handed in as a callback); `RunAutoSkipToEnd`
// is the same analysis as one loop, for the batch tool and the benchmark.

#include <array>
#include <functional>
#include <optional>

#include "analysis/spectral_peaks.h"
#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// The "Time Interval" menu items: milliseconds between two steps.
inline constexpr std::array<int, 4> kAutoSkipIntervals = {100, 200, 500, 1000};
inline constexpr int kDefaultAutoSkipInterval = 200;

// What one spectrum run tells the automatic skipping analysis.
struct AutoSkipRunReport {
    // The run found no segment left (RunStart::AutoSkipFinished): nothing was analysed.
    bool EndOfData = false;
    // The run stopped with this message, which it has not shown.
    std::optional<Failure> Error;
};

// What the window does after a call, in this order.
struct AutoSkipEvent {
    bool Ran = false;              // a spectrum run was performed
    bool Stopped = false;          // the analysis ended here: unlock the controls, enable the peaks
                                   // window's buttons (Order stays disabled) and the picture save button
    bool EndOfData = false;        // ... at the end of the data: position 0, then the Order listing
    std::optional<Failure> Error;  // show it now; the timer is already off
};

class AutoSkipActivity {
  public:
    // Performs one spectrum run at the current position with AutoSkipActive set (the run moves the
    // position on by its skip) and reports; it shows no message itself.
    using RunOnce = std::function<AutoSkipRunReport()>;

    explicit AutoSkipActivity(RunOnce run);

    bool Active() const { return active_; }  // AutoSkipActive
    // Timer3 runs exactly while this is set.
    bool TimerEnabled() const { return timerEnabled_; }
    int IntervalMs() const { return intervalMs_; }
    // The "Time Interval" menu: 100, 200, 500 or 1000 ms; other values are ignored.
    void SetIntervalMs(int ms);

    // Start: active, the first run at once, then the timer. Before calling it the window locks the
    // analysis controls, shows the peaks window and clears it. Does nothing while active.
    AutoSkipEvent Start();
    // Stop: the timer is off at once, so no run follows. Does nothing while idle.
    AutoSkipEvent Stop();
    // SBPeaksClick: Start when idle, Stop when active.
    AutoSkipEvent Toggle();
    // Timer3Timer: one run, unless the timer is off or the Skip menu stands on "0" (divisor 0).
    AutoSkipEvent Tick(int skipDivisor);
    // A run performed by another command while the analysis is active (the Run button) reports
    // here, so the end of the data or a failure ends the analysis whoever started the run.
    AutoSkipEvent AfterRun(const AutoSkipRunReport& report);

  private:
    AutoSkipEvent End(AutoSkipEvent event);

    RunOnce run_;
    bool active_ = false;
    bool timerEnabled_ = false;
    int intervalMs_ = kDefaultAutoSkipInterval;
};

// One spectrum run at `position` as the window performs it, with the peaks of every shown spectrum
// gathered into `peaks` (none when it is null) on the automatic frequency axis.
struct PeakRunOutcome {
    bool Analysed = false;   // the channels were analysed
    bool EndOfData = false;  // with AutoSkipActive: no segment left, nothing analysed
    std::optional<Failure> Error;
    int NextPosition = 0;  // the track-bar position after the run's skip
    int Gathered = 0;      // spectra whose peaks were gathered
};

// A segment that runs past the data is padded with zeros when `pad` (the OK answer), otherwise
// the run's question comes back as the failure. `result` is the run's result, kept for the caller.
PeakRunOutcome RunSpectrumWithPeaks(const WaveRecord& record, const AnalysisSettings& settings, int position,
                                    SpectralPeaks* peaks, bool pad, SpectrumResult& result);

struct AutoSkipSummary {
    int Runs = 0;                  // runs that analysed a segment
    int Gathered = 0;              // spectra whose peaks were gathered
    int LastPosition = -1;         // start of the last analysed segment (-1: none)
    int FinalPosition = 0;         // the track bar afterwards: 0 at the end of the data
    bool ReachedEnd = false;       // the analysis ended at the end of the data
    std::optional<Failure> Error;  // a run failed, or the skip cannot move the position
};

// The automatic skipping analysis from `position` to the end of the data in one loop: runs with
// AutoSkipActive set, the peaks gathered into `peaks` (none when null) exactly as the timer's runs
// would gather them. The statistics are not cleared here. The skip must move the position (Skip
// on, SkipDivisor 1, 2 or 4), or the loop stops after the first run with a failure.
AutoSkipSummary RunAutoSkipToEnd(const WaveRecord& record, const AnalysisSettings& settings, int position,
                                 SpectralPeaks* peaks);

}  // namespace wavora
