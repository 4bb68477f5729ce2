#include "analysis/correlation_activity.h"

namespace wavora {

CorrelationEvent CorrelationActivity::Start(const WaveRecord& record, const CorrelationInputs& inputs) {
    if (active_) return {};
    const CorrelationChannels channels = SelectCorrelationChannels(inputs.Checked, record.ChannelCount);
    if (channels.Error) {
        CorrelationEvent refused;
        refused.Refused = true;
        refused.Error = channels.Error;
        timerEnabled_ = false;
        return refused;
    }
    active_ = true;
    setupPending_ = true;
    CorrelationEvent event = Step(record, inputs);
    event.Started = !event.Stopped;
    return event;
}

CorrelationEvent CorrelationActivity::Tick(const WaveRecord& record, const CorrelationInputs& inputs) {
    // A tick already queued when the analysis stopped, or after the end of the data, finds the
    // timer off.
    if (!active_ || !timerEnabled_) return {};
    return Step(record, inputs);
}

CorrelationEvent CorrelationActivity::Step(const WaveRecord& record, const CorrelationInputs& inputs) {
    CorrelationEvent event;
    auto fail = [&](const std::optional<Failure>& error) {
        // The timer goes off before the message, and the analysis ends with it.
        timerEnabled_ = false;
        active_ = false;
        event.Stopped = true;
        event.Error = error.value_or(Failure::Captioned("Number of Channels is illegal", "Channel Error"));
        return event;
    };

    if (setupPending_) {
        const CorrelationChannels channels = SelectCorrelationChannels(inputs.Checked, record.ChannelCount);
        if (channels.Error) return fail(channels.Error);
        first_ = channels.First;
        second_ = channels.Second;
        values_.assign(kCorrelationLags, 0.0f);
        setupPending_ = false;
    }

    pointsUsed_ = inputs.Points > 0 ? inputs.Points : inputs.PointsItem;
    CorrelationSettings settings;
    settings.FirstChannel = first_;
    settings.SecondChannel = second_;
    settings.Points = pointsUsed_;
    settings.Position = inputs.Position;
    settings.Step = inputs.Step;
    settings.TimeScale = inputs.TimeScale;
    event.Frame = CorrelationStep(record, settings);
    event.FirstChannel = first_;

    switch (event.Frame.Status) {
        case CorrelationStatus::ChannelError:
            return fail(event.Frame.Error);
        case CorrelationStatus::EndOfData:
            // Only the frame is drawn; the analysis stays on until the user stops it.
            timerEnabled_ = false;
            event.Drew = true;
            return event;
        case CorrelationStatus::Computed:
            break;
    }
    values_ = event.Frame.Values;
    event.Drew = true;
    event.MovePosition = true;
    event.NextPosition = event.Frame.NextPosition;
    timerEnabled_ = true;
    return event;
}

CorrelationStopResult CorrelationActivity::Stop(const CorrelationReportSettings& settings) {
    CorrelationStopResult result;
    if (!active_) return result;
    timerEnabled_ = false;
    active_ = false;
    setupPending_ = false;
    result.Stopped = true;
    result.Report = MakeCorrelationReport(values_, settings);
    return result;
}

}  // namespace wavora
