#pragma once
// TParam1, "Spectrum Format Parameters": the axes, size and look of the main window's spectrum
// graph. The dialog shows the session's format fields, which every drawing writes back, so it
// always shows what is on screen; OK applies them and runs the spectrum again.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace wavora {

class MainCommands;
class RadioGroup;
struct Session;

class TParam1 : public QDialog {
    Q_OBJECT
  public:
    TParam1(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QLineEdit* EdSX0;         // "X min"
    QLineEdit* EdSXM;         // "X max"
    QSpinBox* UpDown2;        // X "Grid": the field Ednx with its up-down, 1–10
    QLineEdit* EdSY0;         // "Y min"
    QLineEdit* EdSYM;         // "Y max"
    QSpinBox* UpDown1;        // Y "Grid": the field Edny with its up-down, 1–10
    QLineEdit* Edlx;          // "Width"
    QLineEdit* Edly;          // "Height"
    RadioGroup* RadioGroup2;  // "X Scale": linear, logarithm
    RadioGroup* RadioGroup1;  // "Y Scale": linear, logarithm
    RadioGroup* RadioGroup3;  // "X Value": Frequency, Period
    QCheckBox* CBSubAxis;     // "Sub Axis"
    QCheckBox* CBBroad;       // "Broad Line"
    QCheckBox* CBRight;       // "Right Side"
    QCheckBox* CBZero;        // "Zero Average"
    QCheckBox* CBSolid;       // all curves solid, else the channel line styles in turn
    RadioGroup* RGMaxFreq;    // "Max Freq to Nyquist"
    QPushButton* OKBtn;       // "OK"
    QPushButton* Button1;     // "Default"
    QPushButton* CancelBtn;   // "Close"

    // OK: the fields are applied to the graph's axes and options, the 2-D window takes the X
    // limits (formatApplied) and the spectrum is run again; a refused field is named in a message
    // and nothing changes.
    void OKBtnClick();
    // Default: automatic axes again, and the spectrum is run again.
    void Button1Click();
    // "Max Freq to Nyquist" item 0 … 4: X max becomes that part of the Nyquist frequency, then OK.
    void RGMaxFreqClick(int item);
    void CancelBtnClick();

    // Shows the session's format fields in the controls.
    void SyncFromState();

  private:
    // The controls into the session's format fields, as they are edited: the fields are what the
    // dialog shows, so a refresh from elsewhere keeps what the user typed, and the next drawing
    // takes CBSolid at once, as it reads the box on every curve.
    void FieldsFromControls();

    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
