// The waveform display commands of the main window: drawing, scrolling, position, step, time
// scale, the "Wave" menu options and the amplitude dialog.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/app_windows.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "display/amp_scale_dialog.h"
#include "display/image_view.h"
#include "record/number_text.h"
#include "display/radio_group.h"

namespace wavora {

namespace {
constexpr int kSteps[] = {1, 2, 5, 10};
constexpr int kTimeScales[] = {1, 2, 4, 8};

// Once the scroll ends, the display position goes back to the slider's, the last one drawn: a
// later redraw then shows the same samples, not an empty picture past the end, and the spectrum
// run and the data writer start where the picture does.
void StopScrollAtSlider(TForm1& form) {
    form.Timer1->stop();
    form.State().Wave.DisplayPosition = form.TrackBar1->value();
}
}  // namespace

WaveFilterNote TForm1::FilterNote() const {
    WaveFilterNote note;
    note.FilterChecked = CBLowCut->isChecked();
    note.Lower = state_.Filter.EffectiveLower;
    note.Upper = state_.Filter.EffectiveUpper;
    return note;
}

void TForm1::DrawWave() {
    // Nothing to draw before the first record.
    if (!state_.DataLoaded) return;
    wavora::DrawWave(Picture(), state_.Record, state_.Wave, FilterNote());
}

int TForm1::Points() const {
    static const int kPoints[] = {512, 1024, 2048, 4096, 8192};
    int item = std::clamp(RGPoints->ItemIndex(), 0, 4);
    return CBMEMmin->isChecked() ? kPoints[item] / 32 : kPoints[item];
}

void TForm1::BtnStartClick() {
    state_.Wave.DisplayPosition = TrackBar1->value();
    state_.Wave.Step = kSteps[std::clamp(RadioGroup1->ItemIndex(), 0, 3)];
    DisableAnalysisControls();
    BtnStop->setEnabled(true);
    Timer1->start();
    SBFileSave->setEnabled(false);
    Image1->setToolTip(QString::fromUtf8("右ｸﾘｯｸ:波形書式"));
}

void TForm1::BtnStopClick() {
    EnableAnalysisControls();
    StopScrollAtSlider(*this);
    BtnStop->setEnabled(false);
    SBFileSave->setEnabled(true);
}

void TForm1::Timer1Timer() {
    // A load in progress owns the record.
    if (loading_) return;
    WaveView& v = state_.Wave;
    if (v.DisplayPosition >= state_.Record.SampleCount) {
        StopScrollAtSlider(*this);
        return;
    }
    // The slider follows; its own redraw is left to the drawing below.
    timerTick_ = true;
    TrackBar1->setValue(v.DisplayPosition);
    timerTick_ = false;
    const QString text = QString::number(v.DisplayPosition);
    Label21->setText(text);
    EdPosition->setText(text);
    DrawWave();
    v.DisplayPosition += std::max(v.Step, 1);
    if (v.DisplayPosition >= state_.Record.SampleCount) StopScrollAtSlider(*this);
}

void TForm1::TrackBar1Change() {
    const int position = TrackBar1->value();
    const QString text = QString::number(position);
    Label21->setText(text);
    EdPosition->setText(text);
    if (windows_ && windows_->Listup) windows_->Listup->Edit1->setText(text);
    state_.Wave.DisplayPosition = position;
    state_.ListStart = position;
    if (state_.Wave.WaveShown && !timerTick_) DrawWave();
}

void TForm1::EdPositionChange() {
    const std::string text = EdPosition->text().toStdString();
    if (text.empty()) return;
    long long v = std::clamp<long long>(LeadingInt(text), 0, std::max(state_.Record.SampleCount, 0));
    Label21->setText(QString::number(v));
    TrackBar1->setValue(static_cast<int>(v));
}

void TForm1::BtnZeroClick() {
    TrackBar1->setValue(0);
    // A slider already at 0 sends no change, and the display may still be a scroll step ahead.
    state_.Wave.DisplayPosition = 0;
    Label21->setText("0");
    state_.ListStart = 0;
    DrawWave();
}

void TForm1::BtnNextClick() {
    if (state_.SkipDivisor == 0) return;
    const long long p = TrackBar1->value() +
                        static_cast<long long>(std::max(state_.Wave.Step, 1)) * Points() / state_.SkipDivisor;
    TrackBar1->setValue(p < state_.Record.SampleCount ? static_cast<int>(p) : 0);
}

void TForm1::BtnPrevClick() {
    if (state_.SkipDivisor == 0) return;
    const long long p = TrackBar1->value() -
                        static_cast<long long>(std::max(state_.Wave.Step, 1)) * Points() / state_.SkipDivisor;
    TrackBar1->setValue(p < 0 ? 0 : static_cast<int>(p));
}

void TForm1::RadioGroup1Click() {
    const int item = std::clamp(RadioGroup1->ItemIndex(), 0, 3);
    state_.Wave.Step = kSteps[item];
    const double interval = state_.Wave.Step * static_cast<double>(state_.Record.SamplingInterval);
    RadioGroup1->setTitle(
        QString::fromStdString(StrPrintf("Step %.4f [%s]", interval, state_.Record.TimeText())));
    DrawWave();
}

void TForm1::TimeScaleClick(int item) {
    item = std::clamp(item, 0, 3);
    state_.Wave.TimeScale = kTimeScales[item];
    QAction* items[] = {N11, N21, N41, N82};
    for (int i = 0; i < 4; ++i) items[i]->setChecked(i == item);
    if (!timeScaleFromDialog_) AmpScale().RadioGroup2->SetItemIndex(item);
    DrawWave();
}

void TForm1::TimeScaleFromDialog(int item) {
    for (QAction* a : {N11, N21, N41, N82}) a->setChecked(false);
    timeScaleFromDialog_ = true;
    try {
        TimeScaleClick(item);
    } catch (...) {
        timeScaleFromDialog_ = false;
        throw;
    }
    timeScaleFromDialog_ = false;
}

void TForm1::AmpScale1Click() {
    AmpScale().show();
    AmpScale().raise();
}

void TForm1::Color1Click() {
    Color1->setChecked(!Color1->isChecked());
    if (Color1->isChecked())
        state_.Wave.ChannelColors = DefaultChannelColors();
    else
        state_.Wave.ChannelColors.fill(kBlack);
    TAmpScale::SetCheckQuietly(AmpScale().CheckBox3, Color1->isChecked());
    if (state_.Wave.WaveShown)
        DrawWave();
    else
        BtnRunClick();
}

void TForm1::Title1Click() {
    Title1->setChecked(!Title1->isChecked());
    state_.Wave.ShowTitle = Title1->isChecked();
    // The dialog's box follows; when it changes, its handler applies the dialog.
    AmpScale().CheckBox1->setChecked(Title1->isChecked());
    DrawWave();
}

void TForm1::SetTitleOption(bool on) {
    Title1->setChecked(on);
    state_.Wave.ShowTitle = on;
}

void TForm1::Filename1Click() {
    Filename1->setChecked(!Filename1->isChecked());
    state_.Wave.ShowFileName = Filename1->isChecked();
    AmpScale().CheckBox13->setChecked(Filename1->isChecked());
    DrawWave();
}

void TForm1::SetFilenameOption(bool on) {
    Filename1->setChecked(on);
    state_.Wave.ShowFileName = on;
}

void TForm1::ChannelComment1Click() {
    ChannelComment1->setChecked(!ChannelComment1->isChecked());
    state_.Wave.ShowChannelComment = ChannelComment1->isChecked();
    TAmpScale::SetCheckQuietly(AmpScale().CheckBox2, ChannelComment1->isChecked());
    if (state_.Wave.WaveShown)
        DrawWave();
    else
        BtnRunClick();
}

void TForm1::Scaling1Click() {
    Scaling1->setChecked(!Scaling1->isChecked());
    state_.Wave.ShowScaling = Scaling1->isChecked();
    TAmpScale::SetCheckQuietly(AmpScale().CheckBox4, Scaling1->isChecked());
    DrawWave();
}

void TForm1::Image1MouseUp(Qt::MouseButton button, int, int) {
    if (button != Qt::RightButton || !state_.DataLoaded) return;
    const int kind = state_.Wave.DisplayKind;
    QWidget* dialog = (kind == kShowSpectrum || kind == kShowRunningPlot)
                          ? static_cast<QWidget*>(Windows().Param1)
                          : static_cast<QWidget*>(&AmpScale());
    dialog->show();
    dialog->raise();
}

}  // namespace wavora
