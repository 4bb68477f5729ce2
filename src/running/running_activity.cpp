#include "running/running_activity.h"

#include <QTimer>
#include <algorithm>

#include "app/main_commands.h"
#include "app/session.h"
#include "draw/running_display.h"
#include "draw/spectrum_display.h"
#include "record/text_format.h"

namespace wavora {

namespace {

const char* ActivityName(Activity activity) {
    switch (activity) {
        case Activity::Scroll:
            return "the waveform scroll";
        case Activity::Running:
            return "the running spectrum";
        case Activity::AutoSkip:
            return "the automatic skipping analysis";
        case Activity::Correlation:
            return "the correlation analysis";
        case Activity::None:
            break;
    }
    return "another analysis";
}

}  // namespace

RunningStartInput RunningStartInputOf(const SessionState& s) {
    const RunningDialogFields& d = s.RunningDialog;
    const WaveRecord& r = s.Record;
    RunningStartInput in;
    in.InitPosition = d.Init;
    in.EditBoxSkip = d.EditBoxSkip;
    in.SkipItem = d.SkipItem;
    in.SkipText = d.SkipText;
    in.Multi = d.Multi;
    in.Hidden = d.Hidden;
    in.TwoD = s.TwoD;
    // Counted now, as the first step's run will count them (not the last run's count).
    in.CheckedChannels = s.Analysis.SelectedChannelCount(r.ChannelCount);
    in.RatioMode = s.Analysis.RatioMode;
    in.Points = s.Points();
    in.Step = s.Step();
    in.SampleCount = r.SampleCount;
    in.SamplingInterval = r.SamplingInterval;
    in.Time = r.Time;
    in.LogAxis = s.Spectrum.Axes.LogX || s.Spectrum.Axes.LogY;
    return in;
}

RunningStepView RunningStepViewOf(const SessionState& s, const WaveFilterNote& filter) {
    RunningStepView view;
    view.Multi = s.RunningDialog.Multi;
    view.TwoD = s.TwoD;
    view.Max = s.RunningDialog.Max;
    view.TimeScale = s.Wave.TimeScale;
    view.WaveMagnification = s.Wave.WaveMagnification;
    view.Scale = RunningScaleOf(s.Spectrum.Axes);
    view.Geometry = {s.RunningPlot.OriginX, s.RunningPlot.OriginY, s.RunningPlot.Width, s.RunningPlot.Height};
    view.ImageWidth = kMainPictureWidth;
    view.ImageHeight = kMainPictureHeight;
    view.Filter = {filter.FilterChecked, filter.Lower, filter.Upper};
    view.Axis = MapAxisFieldsOf(s.Spectrum.Format);
    return view;
}

Failure BusyFailure(Activity holder, Activity wanted) {
    std::string text =
        StrPrintf("%s is running. Stop it before starting %s.", ActivityName(holder), ActivityName(wanted));
    text[0] = 'T';  // the names begin with "the"
    return Failure::Notice(text);
}

RunningActivity::RunningActivity(Session& session, MainCommands& commands, QObject* parent)
    : QObject(parent), session_(session), commands_(commands) {
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
}

bool RunningActivity::Active() const {
    return session_.State.RunningSpectra.Active();
}

bool RunningActivity::TimerRunning() const {
    return Timer1->isActive();
}

void RunningActivity::Follow() {
    SessionState& s = session_.State;
    const bool active = s.RunningSpectra.Active();
    s.Analysis.RunningActive = active;
    if (active)
        s.Running = Activity::Running;
    else if (s.Running == Activity::Running)
        s.Running = Activity::None;
    if (!s.RunningSpectra.TimerOn()) Timer1->stop();
}

RunningStart RunningActivity::Start() {
    SessionState& s = session_.State;
    RunningStart refused;
    if (!s.DataLoaded || s.Loading || s.RunningSpectra.Active()) return refused;
    if (s.Running != Activity::None && s.Running != Activity::Running) {
        refused.Error = BusyFailure(s.Running, Activity::Running);
        return refused;
    }
    RunningStart start = s.RunningSpectra.Start(RunningStartInputOf(s), s.Map);
    Follow();
    if (start.Status == RunningStartStatus::Started) Timer1->start();
    return start;
}

RunningTickEvent RunningActivity::Tick() {
    SessionState& s = session_.State;
    RunningTickEvent event;
    // A file being read owns the record; the step waits for it.
    if (s.Loading) return event;
    RunningSpectrum& running = s.RunningSpectra;
    event.Tick = running.Tick(s.Position, s.Record.SampleCount);
    switch (event.Tick) {
        case RunningTick::Idle:
            break;
        case RunningTick::Run:
            if (std::optional<Failure> failed = commands_.RunningStep()) {
                // A step whose run fails ends the activity: the timer first, then the message.
                running.Halt();
                event.Error = failed;
                break;
            }
            // The run has applied its own skip (or not); the step moves on by Skip from there.
            commands_.MovePosition(running.PositionAfterStep(s.Position, s.Record.SampleCount));
            break;
        case RunningTick::Finished:
            break;
    }
    Follow();
    return event;
}

RunningStop RunningActivity::Stop() {
    SessionState& s = session_.State;
    Timer1->stop();
    RunningStop stop = s.RunningSpectra.Stop(s.Position, s.TwoD, s.RunningDialog.Multi, s.Map);
    Follow();
    return stop;
}

void RunningActivity::Halt() {
    session_.State.RunningSpectra.Halt();
    Follow();
}

void RunningActivity::Close() {
    Timer1->stop();
    session_.State.RunningSpectra.Close();
    Follow();
}

}  // namespace wavora
