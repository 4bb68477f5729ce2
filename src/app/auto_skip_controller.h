#pragma once
// The automatic skipping analysis on its timer. Timer3 runs exactly while the analysis wants it, at
// the "Time Interval" of the peaks window; each tick performs one spectrum run through the callback
// the main window gives. The controller keeps the session's side of the activity (the claim on the
// analysis controls, AutoSkipActive in the runs' settings); the main window presents what each call
// returns (its controls, the Order listing, a message). A test steps it by calling Tick().

#include <QObject>

#include "analysis/auto_skip.h"

class QTimer;

namespace wavora {

struct Session;

class AutoSkipController : public QObject {
    Q_OBJECT
  public:
    // `run` performs one spectrum run at the position and reports how it ended, showing no message
    // itself; the controller sets AutoSkipActive in the settings before each run.
    AutoSkipController(Session& session, AutoSkipActivity::RunOnce run, QObject* parent = nullptr);

    QTimer* Timer3 = nullptr;  // 200 ms, or 100/500/1000 ms from the "Time Interval" menu

    bool Active() const;
    // Claims the analysis controls and performs the first run at once; the timer follows. The main
    // window has made sure no other activity holds the controls.
    AutoSkipEvent Start();
    // Ends the analysis: the timer is off at once, so no run follows.
    AutoSkipEvent Stop();
    // One step (Timer3Timer). The timer waits while the run goes on (a File Save dialog may be
    // open meanwhile) and starts again only when the analysis goes on. A load in progress owns the
    // record: the tick then does nothing.
    AutoSkipEvent Tick();
    // A run that another command performed while the analysis is active (the Run button).
    AutoSkipEvent AfterRun(const AutoSkipRunReport& report);

  private:
    // The timer, its interval, the runs' flag and the claim follow the analysis.
    void Sync();
    void SyncInterval();

    Session& session_;
    bool announcedActive_ = false;
};

}  // namespace wavora
