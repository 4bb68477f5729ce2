#include "app/auto_skip_controller.h"

#include <QTimer>
#include <utility>

#include "app/session.h"

namespace wavora {

AutoSkipController::AutoSkipController(Session& session, AutoSkipActivity::RunOnce run, QObject* parent)
    : QObject(parent), session_(session) {
    Timer3 = new QTimer(this);
    Timer3->setObjectName("Timer3");
    Timer3->setInterval(session.State.AutoSkip.IntervalMs());
    // Every run of the analysis, whoever starts it, reads AutoSkipActive from the settings.
    session.State.AutoSkip = AutoSkipActivity([this, run = std::move(run)]() -> AutoSkipRunReport {
        session_.State.Analysis.AutoSkipActive = true;
        return run ? run() : AutoSkipRunReport{};
    });
    // The "Time Interval" menu applies to a running analysis from its next tick on.
    connect(&session.Signals, &SessionSignals::optionsChanged, this, [this] { SyncInterval(); });
}

bool AutoSkipController::Active() const {
    return session_.State.AutoSkip.Active();
}

void AutoSkipController::SyncInterval() {
    const int ms = session_.State.AutoSkip.IntervalMs();
    if (Timer3->interval() != ms) Timer3->setInterval(ms);
}

void AutoSkipController::Sync() {
    SessionState& s = session_.State;
    SyncInterval();
    if (!s.AutoSkip.TimerEnabled())
        Timer3->stop();
    else if (!Timer3->isActive())
        Timer3->start();
    const bool active = s.AutoSkip.Active();
    s.Analysis.AutoSkipActive = active;
    if (active)
        s.Running = Activity::AutoSkip;
    else if (s.Running == Activity::AutoSkip)
        s.Running = Activity::None;
    if (active != announcedActive_) {
        announcedActive_ = active;
        emit session_.Signals.activityChanged();
    }
}

AutoSkipEvent AutoSkipController::Start() {
    SessionState& s = session_.State;
    if (s.AutoSkip.Active()) return {};
    // The claim comes before the first run, so the windows lock their controls for it.
    s.Running = Activity::AutoSkip;
    s.Analysis.AutoSkipActive = true;
    announcedActive_ = true;
    emit session_.Signals.activityChanged();
    AutoSkipEvent event = s.AutoSkip.Start();
    Sync();
    return event;
}

AutoSkipEvent AutoSkipController::Stop() {
    AutoSkipEvent event = session_.State.AutoSkip.Stop();
    Sync();
    return event;
}

AutoSkipEvent AutoSkipController::Tick() {
    SessionState& s = session_.State;
    if (s.Loading) return {};
    Timer3->stop();
    AutoSkipEvent event = s.AutoSkip.Tick(s.Analysis.SkipDivisor);
    Sync();
    return event;
}

AutoSkipEvent AutoSkipController::AfterRun(const AutoSkipRunReport& report) {
    AutoSkipEvent event = session_.State.AutoSkip.AfterRun(report);
    Sync();
    return event;
}

}  // namespace wavora
