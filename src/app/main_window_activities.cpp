// The spectral peaks window, the automatic skipping analysis and the correlation analysis in the
// main window: their speed buttons, their timers' ticks, and what each step tells the window.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/app_windows.h"
#include "app/auto_skip_controller.h"
#include "app/correlation_controller.h"
#include "app/main_window.h"
#include "app/scroll_activity.h"
#include "display/image_view.h"
#include "display/string_grid.h"
#include "draw/correlation_display.h"
#include "record/text_format.h"
#include "running/peaks_help_window.h"
#include "running/running_activity.h"
#include "running/peaks_window.h"

namespace wavora {

namespace {

void ShowAndRaise(QWidget* w) {
    if (!w) return;
    w->show();
    w->raise();
}

}  // namespace

bool TForm1::RefuseWhileBusy(Activity wanted) {
    const Activity holder = state_.Running;
    if (holder == Activity::None || holder == wanted) return false;
    prompts_.Show(BusyFailure(holder, wanted));
    return true;
}

void TForm1::EndTimedAnalyses() {
    if (autoSkip_->Active()) autoSkip_->Stop();
    if (correlation_->Active()) correlation_->Stop();
    EndRunningSpectrum();
}

// ---- spectral peaks and the automatic skipping analysis ----

void TForm1::SBHistogramClick() {
    state_.Peaks.Clear(PeakSpectrumKindOf(state_.Analysis), Record().FrequencyText());
    state_.Analysis.PeaksWindowOpen = true;
    ShowAndRaise(Windows().Peaks);
    emit session_.Signals.peaksChanged();
}

void TForm1::ShowPeaksHelp() {
    ShowAndRaise(Windows().PkHelp);
}

void TForm1::SBPeaksClick() {
    if (autoSkip_->Active()) {
        PresentAutoSkip(autoSkip_->Stop());
        return;
    }
    if (!state_.DataLoaded || RefuseWhileBusy(Activity::AutoSkip)) return;
    // The window first: the controls locked but Run, the peaks window shown and cleared; the
    // first run follows at once.
    DisableAnalysisControls();
    ui_.BtnRun->setEnabled(true);
    ShowAndRaise(Windows().Peaks);
    state_.Peaks.Clear(PeakSpectrumKindOf(state_.Analysis), Record().FrequencyText());
    emit session_.Signals.peaksChanged();
    EnableHistogram(true);
    ui_.SBPeaks->setEnabled(true);
    ui_.SBFileSave->setEnabled(false);
    PresentAutoSkip(autoSkip_->Start());
}

void TForm1::Timer3Timer() {
    PresentAutoSkip(autoSkip_->Tick());
}

void TForm1::PresentAutoSkip(const AutoSkipEvent& event) {
    if (event.Stopped) {
        EnableAnalysisControls();
        ui_.SBFileSave->setEnabled(true);
    }
    if (event.EndOfData) {
        MovePosition(0);
        state_.Peaks.ListOrder();
        emit session_.Signals.peaksChanged();
    }
    if (event.Error) prompts_.Show(*event.Error);
}

// ---- the correlation analysis ----

void TForm1::SBCorrClick() {
    if (correlation_->Active()) {
        const CorrelationStopResult stop = correlation_->Stop();
        ui_.SBFileSave->setEnabled(true);
        EnableAnalysisControls();
        // The listing of the last function in the value grid, headed by its first two rows (the
        // column names, the time unit and R[0]).
        auto rows = std::make_shared<const std::vector<std::array<std::string, 5>>>(stop.Report.GridRows);
        ui_.Data->setText(QString::fromStdString(correlation_->Title()));
        for (QLabel* heading : {ui_.Data1, ui_.Data2, ui_.Data3, ui_.Data4}) heading->clear();
        ui_.StringGrid1->SetFixedRows(2);
        ui_.StringGrid1->ShowListing(5, static_cast<int>(rows->size()), [rows](int col, int row) {
            return (*rows)[static_cast<size_t>(row)][static_cast<size_t>(col)];
        });
        DrawCorrelationReport(Picture(), stop.Report.Text);
        return;
    }
    if (!state_.DataLoaded || RefuseWhileBusy(Activity::Correlation)) return;
    const CorrelationEvent start = correlation_->Start();
    if (start.Refused) {
        if (start.Error) prompts_.Show(*start.Error);
        return;
    }
    DisableAnalysisControls();
    ui_.SBCorr->setEnabled(true);
    scroll_->Stop();
    // From now on the moving position must not redraw the waveform over the plot.
    state_.Wave.WaveShown = false;
    ui_.SBFileSave->setEnabled(false);
    PresentCorrelation(start);
}

void TForm1::Timer2Timer() {
    PresentCorrelation(correlation_->Tick());
}

void TForm1::PresentCorrelation(const CorrelationEvent& event) {
    const WaveRecord& record = state_.Record;
    if (event.Drew) {
        CorrelationPicture picture;
        picture.TimeScale = state_.Wave.TimeScale;  // as the step just read it
        picture.TimeText = record.TimeText();
        picture.FileName = record.FileName;
        const int first =
            event.FirstChannel >= 0 && event.FirstChannel < kMaxChannels ? event.FirstChannel : 0;
        picture.CurveColor = CorrelationCurveColor(event.Frame.Cross, state_.Wave.ChannelColors[first]);
        DrawCorrelationFrame(Picture(), event.Frame, picture);
        // The picture shows a correlation frame now, with its curve or (at the end of the data)
        // without: the mouse handlers and the redraws go by that.
        state_.Wave.DisplayKind = kShowCorrelation;
    }
    if (event.MovePosition) MovePosition(event.NextPosition);
    if (event.Stopped) {
        EnableAnalysisControls();
        ui_.SBFileSave->setEnabled(true);
    }
    if (event.Error) prompts_.Show(*event.Error);
}

}  // namespace wavora
