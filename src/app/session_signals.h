#pragma once
// The one way windows tell each other that the session state changed. A handler writes the
// state, then emits; every window that shows part of that state refreshes its own controls.
// No window writes another window's widgets.

#include <QObject>

namespace wavora {

class SessionSignals : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  signals:
    // A new record was adopted (a load or a re-processing pass completed).
    void recordChanged();
    // The record's title, comment or channel names were edited; its samples are as they were.
    void recordTextsChanged();
    // A processing, analysis or display setting changed.
    void optionsChanged();
    // The position (TrackBar1), the display position or the listing start moved.
    void positionChanged();
    // A spectrum run completed: its result and listing are new.
    void spectrumChanged();
    // A timed activity started or stopped, or the analysis controls were locked or unlocked.
    void activityChanged();
    // The spectral peaks changed: gathered, cleared, listed, or their Division, Tops or Scale Unit.
    void peaksChanged();
    // The spectrum format dialog applied its axes (OK): the 2-D window takes its frequency limits.
    void formatApplied();
};

}  // namespace wavora
