#pragma once
// The correlation analysis on its timer. Timer2 (100 ms) runs exactly while the analysis wants it:
// every tick computes the correlation function at the position, and the main window draws it and
// moves the position on. The controller reads the analysis's inputs from the session and keeps the
// session's side of the activity (the claim on the analysis controls); the main window presents
// what each call returns. A test steps it by calling Tick().

#include <QObject>
#include <string>

#include "analysis/correlation_activity.h"

class QTimer;

namespace wavora {

struct Session;

class CorrelationController : public QObject {
    Q_OBJECT
  public:
    explicit CorrelationController(Session& session, QObject* parent = nullptr);

    QTimer* Timer2 = nullptr;  // 100 ms

    bool Active() const;
    // What a step reads from the main window: the channel boxes, the Points of the last spectrum
    // run (the checked "Points" item before any), the position, Step and the time scale.
    CorrelationInputs Inputs() const;
    // What the listing and the report read. The delay of a lag is one sampling interval of the
    // record whatever Step says now: the interval is the last run's analysis interval taken back
    // to one sample (its Step × the record's sampling interval, over that Step), and 0 before
    // any run.
    CorrelationReportSettings ReportSettings() const;

    // SBCorrClick from idle: checks the channels and performs the first step; a refused start
    // changes nothing. The main window has made sure no other activity holds the controls.
    CorrelationEvent Start();
    // Timer2Timer: one step; the timer waits for it and runs on only while the analysis wants it.
    // A load in progress owns the record: the tick then does nothing.
    CorrelationEvent Tick();
    // SBCorrClick while active: the timer off, the listing and the report of the last values.
    CorrelationStopResult Stop();

    // "Auto Correlation" or "Cross Correlation", as the last frame was titled.
    const std::string& Title() const { return title_; }

  private:
    CorrelationEvent Track(CorrelationEvent event);
    // The timer and the claim follow the analysis.
    void Sync();

    Session& session_;
    bool announcedActive_ = false;
    std::string title_;
};

}  // namespace wavora
