#include "app/scroll_activity.h"

#include <QTimer>
#include <algorithm>

#include "app/main_commands.h"
#include "app/session.h"

namespace wavora {

ScrollActivity::ScrollActivity(Session& session, MainCommands& commands, QObject* parent)
    : QObject(parent), session_(session), commands_(commands) {
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Tick(); });
}

bool ScrollActivity::IsRunning() const {
    return Timer1->isActive();
}

bool ScrollActivity::Start() {
    SessionState& s = session_.State;
    if (s.Running != Activity::None && s.Running != Activity::Scroll) return false;
    s.Wave.DisplayPosition = s.Position;
    s.Running = Activity::Scroll;
    Timer1->start();
    emit session_.Signals.activityChanged();
    return true;
}

// Once the scroll ends, the display position goes back to the slider's, the last one drawn: a
// later redraw then shows the same samples, not an empty picture past the end, and the spectrum
// run and the data writer start where the picture does.
void ScrollActivity::StopTimerAtSlider() {
    Timer1->stop();
    session_.State.Wave.DisplayPosition = session_.State.Position;
}

void ScrollActivity::Stop() {
    StopTimerAtSlider();
    if (session_.State.Running == Activity::Scroll) session_.State.Running = Activity::None;
    emit session_.Signals.activityChanged();
}

void ScrollActivity::Tick() {
    SessionState& s = session_.State;
    // A load in progress owns the record.
    if (s.Loading) return;
    WaveView& v = s.Wave;
    if (v.DisplayPosition >= s.Record.SampleCount) {
        StopTimerAtSlider();
        return;
    }
    // The slider and the read-outs follow; the slider's own redraw is left to the drawing below.
    inTick_ = true;
    try {
        commands_.MovePosition(v.DisplayPosition);
    } catch (...) {
        inTick_ = false;
        throw;
    }
    inTick_ = false;
    commands_.DrawWave();
    v.DisplayPosition += s.Step();
    if (v.DisplayPosition >= s.Record.SampleCount) StopTimerAtSlider();
}

}  // namespace wavora
