// Commands that show the secondary windows: the band-pass dialog, the spectrum format dialog,
// the statistics window, the comment editor and the file conversion window.

#include <QDialog>
#include <QToolButton>

#include "app/app_windows.h"
#include "app/bandpass_dialog.h"
#include "app/comment_dialog.h"
#include "app/main_window.h"
#include "app/small_windows.h"
#include "display/param1_dialog.h"
#include "display/statistics_window.h"
#include "record/text_format.h"
#include "record/number_text.h"

namespace wavora {

namespace {
void ShowWindow(QWidget* w) {
    if (!w) return;
    w->show();
    w->raise();
}
}  // namespace

void TForm1::PeriodAxisChanged() {
    const bool frequencyAxis = !state_.Spectrum.Options.PeriodAxis;
    ui_.SBRunSpec->setEnabled(frequencyAxis);
    EnableHistogram(frequencyAxis);
    ui_.SBPeaks->setEnabled(frequencyAxis);
}
void TForm1::SBFilterClick() {
    Windows().BandPass->Open();
}
void TForm1::SBFormatClick() {
    ShowWindow(Windows().Param1);
}
void TForm1::Statistics1Click(bool on) {
    // The window is fed by every run while the item is checked; closing the window itself leaves
    // the mark and the feeding as they are.
    state_.Analysis.StatisticsWindowOpen = on;
    OptionsChanged();
    if (on)
        ShowWindow(Windows().Statistics);
    else
        Windows().Statistics->close();
}
void TForm1::FileComment1Click() {
    Windows().Comment->Open();
}
void TForm1::FConvertClick() {
    ShowWindow(Windows().FileConvert);
}
void TForm1::Saveas1Click() {}

}  // namespace wavora
