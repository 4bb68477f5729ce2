#include "analysis/auto_skip.h"

#include <algorithm>
#include <utility>

namespace wavora {

AutoSkipActivity::AutoSkipActivity(RunOnce run) : run_(std::move(run)) {}

void AutoSkipActivity::SetIntervalMs(int ms) {
    if (std::find(kAutoSkipIntervals.begin(), kAutoSkipIntervals.end(), ms) != kAutoSkipIntervals.end())
        intervalMs_ = ms;
}

AutoSkipEvent AutoSkipActivity::Start() {
    if (active_) return {};
    active_ = true;
    timerEnabled_ = true;
    AutoSkipEvent event = AfterRun(run_ ? run_() : AutoSkipRunReport{});
    event.Ran = true;
    return event;
}

AutoSkipEvent AutoSkipActivity::Stop() {
    if (!active_) return {};
    AutoSkipEvent event;
    return End(event);
}

AutoSkipEvent AutoSkipActivity::Toggle() {
    return active_ ? Stop() : Start();
}

AutoSkipEvent AutoSkipActivity::Tick(int skipDivisor) {
    // A tick that was already queued when the analysis stopped finds the timer off.
    if (!active_ || !timerEnabled_ || skipDivisor == 0) return {};
    AutoSkipEvent event = AfterRun(run_ ? run_() : AutoSkipRunReport{});
    event.Ran = true;
    return event;
}

AutoSkipEvent AutoSkipActivity::AfterRun(const AutoSkipRunReport& report) {
    if (!active_) return {};
    AutoSkipEvent event;
    if (report.EndOfData) {
        event.EndOfData = true;
        return End(event);
    }
    if (report.Error) {
        // The failed step ends the analysis before its message is shown, so no tick can stack
        // another message under it.
        event.Error = report.Error;
        return End(event);
    }
    return event;
}

AutoSkipEvent AutoSkipActivity::End(AutoSkipEvent event) {
    timerEnabled_ = false;
    active_ = false;
    event.Stopped = true;
    return event;
}

// ---------------------------------------------------------------------------------------------

PeakRunOutcome RunSpectrumWithPeaks(const WaveRecord& record, const AnalysisSettings& settings, int position,
                                    SpectralPeaks* peaks, bool pad, SpectrumResult& result) {
    PeakRunOutcome out;
    out.NextPosition = position;
    SpectrumRun run(record, settings, result);
    const RunStart start = run.Begin(position);
    if (start.AutoSkipFinished) {
        out.EndOfData = true;
        out.NextPosition = 0;
        return out;
    }
    if (start.Status == RunStartStatus::Stopped) {
        out.Error = start.Error.value_or(Failure::Notice("The spectrum run stopped."));
        if (start.ReturnToStart) out.NextPosition = 0;
        return out;
    }
    if (start.Status == RunStartStatus::AskPadding) {
        if (!pad) {
            out.Error = start.Question;
            return out;
        }
        run.AnswerPadding(true);
    }
    for (int k : run.Channels()) {
        ChannelOutcome channel = run.AnalyseChannel(k);
        if (channel.Status == ChannelStatus::Failed) {
            out.Error = channel.Error.value_or(Failure::Notice("The spectrum run stopped."));
            return out;
        }
        if (channel.Status == ChannelStatus::Shown && peaks != nullptr &&
            peaks->Gather(result, k, AutomaticPeakAxes(result), record.FileName))
            ++out.Gathered;
    }
    out.Analysed = true;
    out.NextPosition = PositionAfterSkip(result, position, record.SampleCount);
    return out;
}

AutoSkipSummary RunAutoSkipToEnd(const WaveRecord& record, const AnalysisSettings& settings, int position,
                                 SpectralPeaks* peaks) {
    AutoSkipSummary summary;
    AnalysisSettings running = settings;
    running.AutoSkipActive = true;
    SpectrumResult result;
    int at = std::max(position, 0);
    for (;;) {
        const PeakRunOutcome out = RunSpectrumWithPeaks(record, running, at, peaks, false, result);
        if (out.EndOfData) {
            summary.ReachedEnd = true;
            summary.FinalPosition = 0;
            break;
        }
        if (out.Error) {
            summary.Error = out.Error;
            summary.FinalPosition = out.NextPosition;
            break;
        }
        summary.Runs += 1;
        summary.Gathered += out.Gathered;
        summary.LastPosition = at;
        if (out.NextPosition <= at) {
            // Skip off or "0": the window's timer would analyse the same segment for ever.
            summary.Error = Failure::Notice(
                "The automatic skipping analysis needs Skip checked and a skip of 1, 1/2 or 1/4.");
            summary.FinalPosition = out.NextPosition;
            break;
        }
        at = out.NextPosition;
    }
    return summary;
}

}  // namespace wavora
