#pragma once
// The running spectrum's timer: Start, a tick every millisecond that runs the main window's
// spectrum run at the position and moves the position on by Skip, and Stop. It owns its timer
// (the dialog's Timer1), keeps RunningActive and the activity lock of the session in step with the
// running spectrum, and never shows a message: a failed step stops the timer and comes back, for
// the dialog to show. A test steps it by calling Tick().

#include <QObject>
#include <optional>

#include "analysis/running_spectrum.h"
#include "app/session_state.h"
#include "draw/wave_display.h"
#include "record/failure.h"

class QTimer;

namespace wavora {

class MainCommands;
struct Session;

// What the dialog holds when Start is pressed, with the main window's part as the first step's
// run will see it: the channel boxes counted now, Points, Step, the record and the axes.
RunningStartInput RunningStartInputOf(const SessionState& state);

// What a step reads of the dialog and the main window while it is drawn.
RunningStepView RunningStepViewOf(const SessionState& state, const WaveFilterNote& filter);

// The message that refuses an activity while another one holds the analysis controls.
Failure BusyFailure(Activity holder, Activity wanted);

struct RunningTickEvent {
    RunningTick Tick = RunningTick::Idle;
    // The step's run failed: the timer has stopped; the run is to be stopped, then this shown.
    std::optional<Failure> Error;
};

class RunningActivity : public QObject {
    Q_OBJECT
  public:
    RunningActivity(Session& session, MainCommands& commands, QObject* parent = nullptr);

    QTimer* Timer1 = nullptr;  // 1 ms

    // The running spectrum's Start with the session's settings. Refused with a message while
    // another activity holds the analysis controls or a file is being read; refused without one
    // before a record is loaded and while the running spectrum is active already. Started: the
    // timer runs and the session's lock is claimed.
    RunningStart Start();
    // One step of the timer (Timer1Timer): the run at the position, then the position moved on;
    // at the end of the data the timer stops (Finished: Stop, then the position to 0).
    RunningTickEvent Tick();
    // Stop with the position and the boxes as they are now: the timer stops and the lock goes.
    RunningStop Stop();
    // The timer stops; the run stays active until Stop.
    void Halt();
    // Close: the activity ends and its average is released.
    void Close();

    bool Active() const;
    bool TimerRunning() const;

  private:
    // RunningActive and the activity lock follow the running spectrum; the timer follows its own.
    void Follow();

    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
