// Analysis settings of the main window: channels, points, smoothing, type, MEM, skip, spectral
// ratio, "Back", and the option marks of the "Spectrum" and "Edit" menus. Each handler takes the
// new value into the session state; those the analysis reads at once run it again.

#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "app/main_window.h"

namespace wavora {

namespace {
constexpr std::array<int, 5> kSmoothChoices = {0, 1, 2, 5, 10};
}  // namespace

void TForm1::CBChClick(int channel, bool on) {
    if (channel < 0 || channel >= kMaxChannels) return;
    state_.Analysis.ChannelFlags[channel] = on;
    OptionsChanged();
}

void TForm1::RGPointsClick(int item) {
    state_.Analysis.PointsChoice = kPointsChoices[std::clamp(item, 0, 4)];
    OptionsChanged();
    BtnRunClick();
}

void TForm1::RGHanningClick(int item) {
    state_.Analysis.SmoothPasses = kSmoothChoices[std::clamp(item, 0, 4)];
    OptionsChanged();
    BtnRunClick();
}

void TForm1::RGAmpClick(int item) {
    state_.Analysis.Type = item == 1 ? SpectrumType::Power : SpectrumType::Amp;
    OptionsChanged();
    BtnRunClick();
}

void TForm1::CBMEMClick(bool on) {
    state_.Analysis.Mem = on;
    OptionsChanged();
}

void TForm1::CBMEMminClick(bool on) {
    // "min" relabels the "Points" items with the sizes divided by 32.
    state_.Analysis.MemMin = on;
    OptionsChanged();
}

void TForm1::CheckBox1Click(bool on) {
    state_.Analysis.AbsCoeffMode = on;
    OptionsChanged();
}

void TForm1::AbsFourierClick(bool on) {
    state_.Analysis.AbsCoeffMode = on;
    OptionsChanged();
}

void TForm1::CBFFTSaveClick(bool on) {
    state_.Analysis.FileSave = on;
    OptionsChanged();
}

void TForm1::CBSkipClick(bool on) {
    state_.Analysis.Skip = on;
    OptionsChanged();
}

void TForm1::SkipClick(int divisor) {
    AnalysisSettings& a = state_.Analysis;
    a.SkipDivisor = divisor == 4 || divisor == 2 || divisor == 1 ? divisor : 0;
    a.Skip = a.SkipDivisor != 0;
    ui_.BtnBack->setEnabled(a.Skip);
    OptionsChanged();
}

void TForm1::RatioClick(int mode) {
    state_.Analysis.RatioMode = std::clamp(mode, 0, 2);
    // The running spectrum needs one channel, or two for a ratio: a run checks them first and
    // offers the running spectrum and "2D" again.
    ui_.SBRunSpec->setEnabled(false);
    ui_.CB2D->setEnabled(false);
    OptionsChanged();
}

void TForm1::BtnBackClick() {
    MovePosition(PositionAfterBack(state_.Analysis, state_.Position));
}

void TForm1::DataComment1Click(bool on) {
    state_.Spectrum.Options.DataComment = on;
    OptionsChanged();
}

void TForm1::ZeroAverage1Click(bool on) {
    state_.Spectrum.Options.ZeroAverage = on;
    state_.Spectrum.Format.CBZero = on;
    OptionsChanged();
    BtnRunClick();
}

void TForm1::SubAxis1Click(bool on) {
    state_.Spectrum.Options.SubAxis = on;
    state_.Spectrum.Format.CBSubAxis = on;
    OptionsChanged();
    BtnRunClick();
}

void TForm1::BroadLine1Click(bool on) {
    state_.Spectrum.Options.BroadLine = on;
    state_.Spectrum.Format.CBBroad = on;
    OptionsChanged();
    BtnRunClick();
}

void TForm1::RightSideComment1Click(bool on) {
    state_.Spectrum.Options.RightSideComment = on;
    state_.Spectrum.Format.CBRight = on;
    OptionsChanged();
    BtnRunClick();
}

}  // namespace wavora
