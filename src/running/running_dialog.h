#pragma once
// TRunning, "Running Spectrum" (kept on top): the running spectrum's settings and its Run, Stop and
// Close. Run starts the analysis stepping through the record by Skip; each step is the main
// window's spectrum run, drawn as a waterfall ("Multi Plot"), one spectrum at a time with the
// average at the end, or as a row of the 2-D map ("2D" in the main window). The dialog's controls
// show the session's running-spectrum settings; its timer is the RunningActivity.

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "record/failure.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace wavora {

class MainCommands;
class RadioGroup;
class RunningActivity;
struct Session;

class TRunning : public QDialog {
    Q_OBJECT
  public:
    TRunning(Session& session, MainCommands& commands, QWidget* parent = nullptr);
    ~TRunning() override;

    QLineEdit* Edit1;          // "Init": the first sample of the run; follows the position
    QLabel* Label5;            // "max"
    QLineEdit* EdMax;          // spectra averaged in single plot
    QCheckBox* CBMulti;        // "Multi Plot"
    QCheckBox* CBHidden;       // "Hidden Line"
    RadioGroup* RGSkip;        // "Skip ": 10 … 5000 samples
    RadioGroup* RGSkipType;    // "SkipType": "Radio Btn", "Edit Box"
    QLineEdit* Edit2;          // the Skip typed with "Edit Box"
    QLabel* Label4;            // "Skip Time %s [%s]"
    QLabel* Label3;            // "Count  %d"
    QPushButton* BtnRunRun;    // "Run"
    QPushButton* BtnRunStop;   // "Stop (&S)"
    QPushButton* BtnRunClose;  // "Close (&C)"

    RunningActivity& Activity() { return *activity_; }

    // Run: the checks, then the timer steps from "Init" on. A refusal is shown (the channel check
    // also disables the main window's running-spectrum button and "2D"); a first segment beyond
    // the data stops at once and puts the position back to 0 without a word.
    void BtnRunRunClick();
    // One step of the 1 ms timer.
    void Timer1Timer();
    // Stop: the average listed in the main window's grid and, in single plot, drawn in purple.
    void BtnRunStopClick();
    // Close: the activity ends, its average is released and the dialog closes.
    void BtnRunCloseClick();
    // A new record: a run in progress ends without listing or drawing anything.
    void EndRun();

    // The controls' handlers, with the new text or choice.
    void Edit1Change(const std::string& text);
    void EdMaxChange(const std::string& text);
    void CBMultiClick(bool on);
    void CBHiddenClick(bool on);
    void RGSkipClick(int item);
    void RGSkipTypeClick(int item);
    void Edit2Change(const std::string& text);

    // Shows the session's running-spectrum settings, the count and the activity.
    void SyncFromState();

  protected:
    // The dialog opens at the main window's position.
    void showEvent(QShowEvent* event) override;

  private:
    // The Skip Time of the Skip the dialog shows ("Edit Box": Edit2 while it holds a number).
    void ShowSkipTime();
    // Stops the activity and presents it; returns the failure of the average's drawing.
    std::optional<Failure> StopRun();
    void ShowPosition();

    Session& session_;
    MainCommands& commands_;
    std::unique_ptr<RunningActivity> activity_;
};

}  // namespace wavora
