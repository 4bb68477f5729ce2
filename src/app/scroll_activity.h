#pragma once
// The waveform scroll: Start, a tick every millisecond that shows the next stride of the record,
// and Stop. It owns its timer (Timer1) and claims the analysis controls through the session state
// while it runs; a test steps it by calling Tick().

#include <QObject>

class QTimer;

namespace wavora {

class MainCommands;
struct Session;

class ScrollActivity : public QObject {
    Q_OBJECT
  public:
    // The main window locks its controls around Start and Stop; the activity keeps the state.
    ScrollActivity(Session& session, MainCommands& commands, QObject* parent = nullptr);

    QTimer* Timer1 = nullptr;  // 1 ms

    // From the slider's position on, every Step samples. Refused (false) while another timed
    // activity holds the analysis controls.
    bool Start();
    // Ends the scroll; the display goes back to the slider's position.
    void Stop();
    // One step: the slider, the read-outs and the picture follow the display position, which then
    // moves on by Step. At the end of the record the timer stops (the controls stay locked until
    // Stop).
    void Tick();
    bool IsRunning() const;
    // True while a tick moves the slider, so that the slider's own redraw is left out.
    bool InTick() const { return inTick_; }

  private:
    void StopTimerAtSlider();

    Session& session_;
    MainCommands& commands_;
    bool inTick_ = false;
};

}  // namespace wavora
