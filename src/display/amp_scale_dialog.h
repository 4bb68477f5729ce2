#pragma once
// TAmpScale, "Wave Format / Magnification": per-channel magnification and display flags of the
// waveform display, the magnification and time-scale groups and the display options. Every change
// applies at once.

#include <QDialog>
#include <array>

#include "draw/wave_display.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace wavora {

class RadioGroup;

// What the dialog asks of the main window.
class AmpScaleHost {
  public:
    virtual ~AmpScaleHost() = default;
    virtual void DrawWave() = 0;
    // The "Time Scale" group: the menu command of the item, marked as coming from the dialog.
    virtual void TimeScaleFromDialog(int item) = 0;
    virtual void SetTitleOption(bool on) = 0;     // the "Title" menu item's check
    virtual void SetFilenameOption(bool on) = 0;  // the "Filename" menu item's check
    virtual void ToggleChannelComment() = 0;      // the "Channel Comment" menu command
    virtual void ToggleColor() = 0;               // the "Color" menu command
    virtual void ToggleScaling() = 0;             // the "Scaling Factor" menu command
};

class TAmpScale : public QDialog {
    Q_OBJECT
  public:
    TAmpScale(AmpScaleHost& host, const WaveRecord& record, WaveView& view, QWidget* parent = nullptr);

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
    // The "Magnification" group's handler for its current item.
    void RadioGroup1Click();
    void RadioGroup2Click();

    // Sets a check box without running its handler (the main window mirrors its menu this way).
    static void SetCheckQuietly(QCheckBox* box, bool on);

  private:
    AmpScaleHost& host_;
    const WaveRecord& record_;
    WaveView& view_;
};

}  // namespace wavora
