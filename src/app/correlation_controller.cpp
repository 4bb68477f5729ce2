#include "app/correlation_controller.h"

#include <QTimer>

#include "app/session.h"

namespace wavora {

CorrelationController::CorrelationController(Session& session, QObject* parent)
    : QObject(parent), session_(session) {
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(kCorrelationTimerInterval);
}

bool CorrelationController::Active() const {
    return session_.State.Correlation.Active();
}

CorrelationInputs CorrelationController::Inputs() const {
    const SessionState& s = session_.State;
    CorrelationInputs in;
    in.Checked = s.Analysis.ChannelFlags;
    in.Points = s.Result.Points;
    in.PointsItem = s.Analysis.PointsChoice;
    in.Position = s.Position;
    in.Step = s.Step();
    in.TimeScale = s.Wave.TimeScale;
    return in;
}

CorrelationReportSettings CorrelationController::ReportSettings() const {
    const SessionState& s = session_.State;
    CorrelationReportSettings settings;
    settings.Step = s.Result.Step < 1 ? 1 : s.Result.Step;
    if (s.Result.AnalysisInterval != 0.0f)
        settings.AnalysisInterval = static_cast<float>(settings.Step) * s.Record.SamplingInterval;
    settings.TimeText = s.Record.TimeText();
    settings.FrequencyText = s.Record.FrequencyText();
    return settings;
}

void CorrelationController::Sync() {
    SessionState& s = session_.State;
    if (s.Correlation.TimerEnabled()) {
        if (!Timer2->isActive()) Timer2->start();
    } else {
        Timer2->stop();
    }
    const bool active = s.Correlation.Active();
    if (active)
        s.Running = Activity::Correlation;
    else if (s.Running == Activity::Correlation)
        s.Running = Activity::None;
    if (active != announcedActive_) {
        announcedActive_ = active;
        emit session_.Signals.activityChanged();
    }
}

CorrelationEvent CorrelationController::Track(CorrelationEvent event) {
    if (event.Drew) title_ = event.Frame.Title;
    Sync();
    return event;
}

CorrelationEvent CorrelationController::Start() {
    SessionState& s = session_.State;
    if (s.Correlation.Active()) return {};
    return Track(s.Correlation.Start(s.Record, Inputs()));
}

CorrelationEvent CorrelationController::Tick() {
    SessionState& s = session_.State;
    if (s.Loading) return {};
    // The timer waits for the step: whatever the step ends with is told before another comes.
    Timer2->stop();
    return Track(s.Correlation.Tick(s.Record, Inputs()));
}

CorrelationStopResult CorrelationController::Stop() {
    CorrelationStopResult result = session_.State.Correlation.Stop(ReportSettings());
    Sync();
    return result;
}

}  // namespace wavora
