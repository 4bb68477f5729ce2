#pragma once
// TAmpScale, "Wave Format / Magnification": per-channel magnification and display flags of the
// waveform display, the magnification and time-scale groups and the display options. Every change
// applies at once.

#include <QDialog>
#include <array>

#include "record/wave_record.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace wavora {

class MainCommands;
class RadioGroup;
struct Session;

class TAmpScale : public QDialog {
    Q_OBJECT
  public:
    TAmpScale(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    std::array<QLineEdit*, kMaxChannels> Edits{};         // Edit1 … Edit8
    std::array<QCheckBox*, kMaxChannels> DisplayBoxes{};  // CheckBox5 … CheckBox12
    RadioGroup* RadioGroup1;                              // "Magnification"
    RadioGroup* RadioGroup2;                              // "Time Scale"
    QCheckBox* CheckBox1;                                 // "Title"
    QCheckBox* CheckBox2;                                 // "Channel Comment"
    QCheckBox* CheckBox3;                                 // "Color Lines"
    QCheckBox* CheckBox4;                                 // "Scaling Factor"
    QCheckBox* CheckBox13;                                // "Filename"
    QPushButton* Button1;                                 // "All(&A)"
    QPushButton* Button2;                                 // "Close(&C)"
    QPushButton* Button3;                                 // "OK(&O)"

    // OK: magnifications and display flags from the controls, then redraw.
    void Button3Click();
    void Button1Click();
    void Button2Click();
    // The "Magnification" and "Time Scale" groups' handlers for the item clicked.
    void RadioGroup1Click(int item);
    void RadioGroup2Click(int item);

    // Shows the session's display options, channels and scales in the dialog's controls.
    void SyncFromState();

  private:
    // A new record: the magnification fields start again at "1" for its channels.
    void RecordChanged();

    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
