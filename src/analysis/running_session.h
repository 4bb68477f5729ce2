#pragma once
// A running spectrum from Start to Stop as the window runs it, without a window: the timer's
// steps, each an ordinary spectrum run whose drawn curve goes to the running spectrum, then the
// run's own skip and the step's advance by Skip. The batch tool, the benchmarks and the tests use
// it; whoever draws gets every step through the observer.

#include <functional>
#include <optional>
#include <string>

#include "analysis/running_spectrum.h"
#include "analysis/spectrum_map.h"
#include "analysis/spectrum_run.h"
#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

struct RunningSession {
    AnalysisSettings Analysis;  // the main window's settings; RunningActive follows the activity
    // The dialog; CheckedChannels, Points, Step, SampleCount, SamplingInterval and Time are
    // filled from Analysis and the record.
    RunningStartInput Start;
    RunningStepView View;  // Multi and TwoD follow Start's
    // The spectrum graph's scale; without it, the automatic axes of the first step's spectrum
    // (what the spectrum display would have left after a run at the first position).
    std::optional<RunningScale> Scale;
    // With the automatic axes: the tops to reach instead of the spectrum's (the axis then as the
    // spectrum display would choose it for that maximum).
    std::optional<float> FrequencyMax, ValueMax;
};

struct RunningObserver {
    // Called for every step the running spectrum handled, after AddSpectrum.
    std::function<void(const RunningStep&, const SpectrumResult&, const RunningStepView&)> Step;
};

struct RunningOutcome {
    RunningStart Start;
    std::optional<Failure> Error;        // a step's run failed; the activity ended there
    RunningStop Stop;                    // what the final Stop did
    int StopPosition = 0;                // the position (DisplayPosition) when Stop was performed
    SpectrumResult Result;               // the last step's run
    GridListing Listing;                 // the value grid as the last step's run left it
    RunningStepView View;                // with the scale the steps drew with
    std::string CountText = "Count  0";  // Label3 at the end
    int Steps = 0;                       // spectrum runs performed
    int FinalPosition = 0;               // TrackBar1 at the end
};

RunningOutcome DriveRunningSpectrum(const WaveRecord& record, RunningSession session,
                                    RunningSpectrum& running, SpectrumMap& map,
                                    const RunningObserver& observer = {});

}  // namespace wavora
