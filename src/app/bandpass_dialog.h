#pragma once
// TBandPass, "Bandpass Filter" (kept on top): the corners of the arbitrary band, their outer
// "Limit" corners, the default band, what the filter did last, and the commands Execute, Default,
// Unfiltered and Close. The fields and labels are the session's BandPassFields; the commands set
// the filter state and have the main window read the file again.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace wavora {

class MainCommands;
struct Session;

class TBandPass : public QDialog {
    Q_OBJECT
  public:
    TBandPass(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QLineEdit* Edit1;      // lower corner
    QLineEdit* Edit2;      // upper corner
    QLabel* Label3;        // frequency unit beside Edit1
    QLabel* Label4;        // frequency unit beside Edit2
    QLabel* Label12;       // outer lower corner: half the lower corner
    QLabel* Label11;       // outer upper corner: one and a half times the upper corner
    QLabel* Label8;        // "Default Band …"
    QLabel* Label7;        // what the filter did last
    QLabel* Label6;        // filter passes since the last command (hidden)
    QPushButton* Button1;  // "Execute"
    QPushButton* Button3;  // "Default"
    QPushButton* Button4;  // "Unfiltered"
    QPushButton* Button2;  // "Close"

    // The speed button SBFilter and Filter ▸ Arbitrary: the limits of the corners as typed and
    // the default band of the record, then the dialog is shown.
    void Open();
    // Execute: the typed corners become the arbitrary band and the record is filtered with it.
    // Corners that are not numbers or not a band are refused before anything changes.
    void Button1Click();
    // Default: the default band, as Filter ▸ Default.
    void Button3Click();
    // Unfiltered: as Filter ▸ Unfiltered.
    void Button4Click();
    // Close: the filter indicator goes; the filter stays as it is.
    void Button2Click();

    // Shows the session's band-pass fields.
    void SyncFromState();

  private:
    // The default band of the record and the limits of the corners as typed.
    void FillLabels();
    // Shows the status at once: the pass that follows keeps the thread busy.
    void ShowStatusNow();
    // Shows `status` while the main window's `command` filters anew; when the command is refused
    // or the file cannot be read again, the fields show what the samples still are.
    void RunWithStatus(const char* status, bool (MainCommands::*command)());

    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
