#include "analysis/running_session.h"

#include <algorithm>

#include "scales/scale_labels.h"

namespace wavora {

RunningOutcome DriveRunningSpectrum(const WaveRecord& record, RunningSession session,
                                    RunningSpectrum& running, SpectrumMap& map,
                                    const RunningObserver& observer) {
    RunningOutcome out;
    RunningStartInput& input = session.Start;
    input.CheckedChannels = session.Analysis.SelectedChannelCount(record.ChannelCount);
    input.RatioMode = session.Analysis.RatioMode;
    input.Points = session.Analysis.Points();
    input.Step = std::max<int>(session.Analysis.Step, 1);
    input.SampleCount = record.SampleCount;
    input.SamplingInterval = record.SamplingInterval;
    input.Time = record.Time;
    RunningStepView& view = session.View;
    view.Multi = input.Multi;
    view.TwoD = input.TwoD;
    if (session.Scale) {
        view.Scale = *session.Scale;
        view.Axis = AxisFieldsOf(view.Scale);
        input.LogAxis = view.Scale.LogX || view.Scale.LogY;
    }

    out.Start = running.Start(input, map);
    out.View = view;
    if (out.Start.Status == RunningStartStatus::BeyondData) {
        out.Stop = running.Stop(std::max(input.InitPosition, 0), view.TwoD, view.Multi, map);
        return out;
    }
    if (out.Start.Status != RunningStartStatus::Started) return out;
    out.CountText = out.Start.CountText;

    const int sampleCount = record.SampleCount;
    bool scaled = session.Scale.has_value();
    int position = out.Start.Position;
    SpectrumResult& result = out.Result;
    auto stopAt = [&](int at) {
        out.Stop = running.Stop(at, view.TwoD, view.Multi, map);
        out.StopPosition = at;
    };

    for (;;) {
        const RunningTick tick = running.Tick(position, sampleCount);
        if (tick == RunningTick::Idle) break;
        if (tick == RunningTick::Finished) {
            stopAt(position);
            position = 0;
            break;
        }

        AnalysisSettings settings = session.Analysis;
        settings.RunningActive = running.Active();
        SpectrumRun run(record, settings, result);
        const RunStart begin = run.Begin(position);
        ++out.Steps;
        if (begin.Status != RunStartStatus::Ready) {
            // A step whose run fails ends the activity (the timer first, then the message).
            running.Halt();
            out.Error = begin.Error.value_or(Failure::Notice("The spectrum run stopped."));
            stopAt(position);
            break;
        }
        bool failed = false;
        for (int k : run.Channels()) {
            ChannelOutcome channel = run.AnalyseChannel(k);
            if (channel.Status == ChannelStatus::Failed) {
                running.Halt();
                out.Error = channel.Error.value_or(Failure::Notice("The spectrum run stopped."));
                stopAt(position);
                failed = true;
                break;
            }
            out.Listing = std::move(channel.Listing);
            if (channel.Status != ChannelStatus::Shown) continue;
            if (!scaled) {
                view.Scale = AutomaticRunningScale(result);
                if (session.FrequencyMax) {
                    const AxisScale x = AxisUnit(false, *session.FrequencyMax);
                    view.Scale.NGridX = x.NGrid, view.Scale.SValueX = x.Start, view.Scale.VValueX = x.Step;
                }
                if (session.ValueMax) {
                    const AxisScale y = AxisUnit(false, *session.ValueMax);
                    view.Scale.NGridY = y.NGrid, view.Scale.SValueY = y.Start, view.Scale.VValueY = y.Step;
                }
                view.Axis = AxisFieldsOf(view.Scale);
                out.View = view;
                scaled = true;
            }
            const RunningStep step = running.AddSpectrum(record, result, view, map);
            if (!step.Handled) continue;
            if (!step.CountText.empty()) out.CountText = step.CountText;
            if (observer.Step) observer.Step(step, result, view);
            if (step.Stop) {
                stopAt(position);
                if (step.CurveLimit) {
                    position = std::max(position - 2 * running.Skip(), 0);
                    result.SkipAllowed = false;
                }
            }
        }
        if (failed) break;

        // The run's own skip sees the running flag as the step left it: after a stop at "max" or
        // at the end of the map's time span it applies, after the 51-curve stop it does not.
        result.Settings.RunningActive = running.Active();
        position = PositionAfterSkip(result, position, sampleCount);
        position = running.PositionAfterStep(position, sampleCount);
        if (running.Active() && !running.TimerOn()) {
            // The waterfall left the picture: the timer has stopped and the run waits for Stop.
            stopAt(position);
            break;
        }
    }
    out.FinalPosition = position;
    return out;
}

}  // namespace wavora
