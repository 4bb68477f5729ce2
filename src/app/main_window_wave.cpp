// The waveform display commands of the main window: drawing, scrolling, position, step, time
// scale and the "Wave" menu options.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "app/app_windows.h"
#include "app/main_window.h"
#include "app/scroll_activity.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/image_view.h"
#include "record/number_text.h"

namespace wavora {

namespace {
constexpr int kTimeScales[] = {1, 2, 4, 8};
}  // namespace

WaveFilterNote TForm1::FilterNote() const {
    return FilterNoteOf(state_.Filter, state_.RecordFiltered);
}

void TForm1::DrawWave() {
    // Nothing to draw before the first record.
    if (!state_.DataLoaded) return;
    wavora::DrawWave(Picture(), state_.Record, state_.Wave, FilterNote(), state_.Step());
}

void TForm1::RedrawPicture() {
    SessionState& s = state_;
    // A timed activity draws its own next picture.
    if (!s.DataLoaded || s.Running != Activity::None) return;
    if (s.Wave.WaveShown) {
        DrawWave();
        return;
    }
    if (s.Wave.DisplayKind != kShowSpectrum || s.LastRunPicture.Empty()) return;
    // The last run's curves on a new frame, with the record's names and file name as they are now.
    s.LastRunPicture.TakeNames(s.Record);
    s.LastRunFrame.FileName = s.Record.FileName;
    s.Spectrum.Frame.NewSpectrumFrame = true;
    if (std::optional<Failure> drawing = s.LastRunPicture.Draw(Picture(), s.Spectrum, s.Wave, s.LastRunFrame))
        prompts_.Show(*drawing);
    Picture().SetPenWidth(1);
}

void TForm1::MovePosition(int position) {
    SessionState& s = state_;
    s.Position = position;
    s.Wave.DisplayPosition = position;
    s.ListStart = position;
    s.ListFrom = position;
    emit session_.Signals.positionChanged();
    if (s.Wave.WaveShown && !scroll_->InTick()) DrawWave();
}

void TForm1::BtnStartClick() {
    if (!scroll_->Start()) return;
    DisableAnalysisControls();
    ui_.BtnStop->setEnabled(true);
    ui_.SBFileSave->setEnabled(false);
    ui_.Image1->setToolTip(QString::fromUtf8("右ｸﾘｯｸ:波形書式"));
}

void TForm1::BtnStopClick() {
    EnableAnalysisControls();
    scroll_->Stop();
    ui_.BtnStop->setEnabled(false);
    ui_.SBFileSave->setEnabled(true);
}

void TForm1::TrackBar1Change(int position) {
    MovePosition(position);
}

void TForm1::EdPositionChange(const std::string& text) {
    if (text.empty()) return;
    const long long v = std::clamp<long long>(LeadingInt(text), 0, std::max(state_.Record.SampleCount, 0));
    MovePosition(static_cast<int>(v));
}

void TForm1::BtnZeroClick() {
    MovePosition(0);
    // A position already at 0 may still have the display a scroll step ahead.
    DrawWave();
}

void TForm1::BtnNextClick() {
    const AnalysisSettings& a = state_.Analysis;
    if (a.SkipDivisor == 0) return;
    const long long p = state_.Position + static_cast<long long>(state_.Step()) * a.Points() / a.SkipDivisor;
    MovePosition(p < state_.Record.SampleCount ? static_cast<int>(p) : 0);
}

void TForm1::BtnPrevClick() {
    const AnalysisSettings& a = state_.Analysis;
    if (a.SkipDivisor == 0) return;
    const long long p = state_.Position - static_cast<long long>(state_.Step()) * a.Points() / a.SkipDivisor;
    MovePosition(p < 0 ? 0 : static_cast<int>(p));
}

void TForm1::RadioGroup1Click(int item) {
    state_.Analysis.Step = static_cast<int16_t>(kStepChoices[std::clamp(item, 0, 3)]);
    OptionsChanged();
    DrawWave();
}

void TForm1::TimeScaleClick(int item) {
    state_.Wave.TimeScale = kTimeScales[std::clamp(item, 0, 3)];
    OptionsChanged();
    DrawWave();
}

void TForm1::AmpScale1Click() {
    // The item keeps its mark; choosing it only shows the dialog.
    ui_.AmpScale1->setChecked(true);
    Windows().AmpScale->show();
    Windows().AmpScale->raise();
}

void TForm1::Color1Click(bool on) {
    state_.ColorLines = on;
    if (on)
        state_.Wave.ChannelColors = DefaultChannelColors();
    else
        state_.Wave.ChannelColors.fill(kBlack);
    OptionsChanged();
    if (state_.Wave.WaveShown)
        DrawWave();
    else
        BtnRunClick();
}

void TForm1::Title1Click(bool on) {
    state_.Wave.ShowTitle = on;
    OptionsChanged();
    // The amplitude dialog's "Title" box follows and applies the dialog.
    Windows().AmpScale->Button3Click();
    DrawWave();
}

void TForm1::Filename1Click(bool on) {
    state_.Wave.ShowFileName = on;
    OptionsChanged();
    DrawWave();
}

void TForm1::ChannelComment1Click(bool on) {
    state_.Wave.ShowChannelComment = on;
    OptionsChanged();
    if (state_.Wave.WaveShown)
        DrawWave();
    else
        BtnRunClick();
}

void TForm1::Scaling1Click(bool on) {
    state_.Wave.ShowScaling = on;
    OptionsChanged();
    DrawWave();
}

}  // namespace wavora
