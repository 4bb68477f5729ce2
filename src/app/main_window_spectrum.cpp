// The spectrum run in the main window: the checks, the padding question, the listing of every
// channel in the value grid, the statistics, the drawing, the result file, the skip; and the
// mouse over the spectrum picture.

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <memory>

#include "analysis/spectrum_result.h"
#include "app/app_windows.h"
#include "app/auto_skip_controller.h"
#include "app/main_window.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/image_view.h"
#include "display/param1_dialog.h"
#include "display/string_grid.h"
#include "draw/spectrum_display.h"
#include "draw/spectrum_mouse.h"
#include "record/text_format.h"
#include "running/peaks_window.h"

namespace wavora {

namespace {

void SetText(QLabel* l, const std::string& utf8) {
    l->setText(QString::fromStdString(utf8));
}

}  // namespace

void TForm1::ShowListing(const GridListing& listing) {
    SetText(ui_.Data, listing.Title);
    QLabel* headings[] = {ui_.Data0, ui_.Data1, ui_.Data2, ui_.Data3, ui_.Data4};
    for (int i = 1; i < 5; ++i) SetText(headings[i], listing.Headings[static_cast<size_t>(i)]);
    // The grid shows the whole listing; its cells are written when they are painted.
    auto shown = std::make_shared<const GridListing>(listing);
    ui_.StringGrid1->SetFixedRows(0);
    ui_.StringGrid1->ShowListing(shown->Columns, shown->Rows,
                                 [shown](int col, int row) { return shown->Cell(row, col); });
}

RunReport TForm1::RunSpectrum(bool showMessages) {
    RunReport report;
    // A message ends up in the report; it is shown here unless the caller shows it itself.
    auto tell = [&](const Failure& f) {
        report.Error = f;
        if (showMessages) prompts_.Show(f);
    };
    SessionState& s = state_;
    if (!s.DataLoaded) return report;
    const WaveRecord& record = s.Record;
    const AnalysisSettings settings = s.RunSettings();

    if (settings.SkipDivisor == 0) ui_.BtnBack->setEnabled(false);
    SpectrumRun run(record, settings, s.Result);
    const RunStart start = run.Begin(s.Position);

    // The channel checks stop the run before anything changes.
    if (start.Error && !start.ReturnToStart) {
        tell(*start.Error);
        return report;
    }
    ui_.WriteDataFile1->menuAction()->setEnabled(true);
    ui_.AnalizedData1->setEnabled(true);
    s.RunIntervalText = start.IntervalText;
    SetText(ui_.Label16, s.RunIntervalText);
    if (start.ReturnToStart) {
        // The data are exhausted: back to the start of the record (the automatic skipping
        // analysis, which gets here at its end, says nothing).
        report.EndOfData = start.AutoSkipFinished;
        if (start.Error) tell(*start.Error);
        MovePosition(0);
        return report;
    }
    if (start.Status == RunStartStatus::AskPadding) {
        const Failure& q = start.Question;
        const bool pad =
            prompts_.Message(q.Text, q.Caption, q.Icon, PromptButtons::OkCancel) == PromptAnswer::Ok;
        if (!run.AnswerPadding(pad)) return report;
    } else if (start.Status != RunStartStatus::Ready) {
        return report;
    }

    s.Spectrum.Frame.NewSpectrumFrame = true;
    // The picture is about to change; only a frame this run draws itself is kept again.
    s.LastRunPicture.Clear();
    s.RunDurationText = start.DurationText;
    SetText(ui_.Label20, s.RunDurationText);

    SpectrumRunPicture picture;
    std::optional<Failure> stopped;
    for (int k : run.Channels()) {
        const ChannelOutcome outcome = run.AnalyseChannel(k);
        if (outcome.Status == ChannelStatus::Failed) {
            stopped = outcome.Error.value_or(Failure::Notice("The spectrum run stopped."));
            break;
        }
        ShowListing(outcome.Listing);
        if (outcome.Status == ChannelStatus::RatioHeld) continue;
        if (settings.StatisticsWindowOpen) {
            StatisticsSettings how;
            how.Position = s.Wave.DisplayPosition;
            how.Points = s.Result.Points;
            how.AnalysisInterval = s.Result.AnalysisInterval;
            how.TimeText = record.TimeText();
            how.Unit = record.Channels[k].DisplayUnit;
            s.Statistics = FormatStatistics(outcome.Statistics, how);
        }
        if (s.RunningSpectra.Active()) {
            // A running spectrum draws each step itself: its waterfall, single plot or map row.
            stopped = DrawRunningStep(k);
            if (stopped) break;
            continue;
        }
        picture.Add(record, s.Result, k, s.Wave.ChannelColors[k]);
    }

    // Every curve of the run on one frame, on axes chosen from all of them. A frame that cannot be
    // drawn says why; the run itself is complete.
    if (!picture.Empty()) {
        const SpectrumFrameInfo info = FrameInfoOf(record, s.Result, s.Wave.DisplayPosition, FilterNote());
        if (std::optional<Failure> drawing = picture.Draw(Picture(), s.Spectrum, s.Wave, info))
            tell(*drawing);
        else if (GatherRunPeaks(s, picture.Curves()))
            emit session_.Signals.peaksChanged();
        // Kept, so that new channel names can be shown without a new run.
        s.LastRunPicture = std::move(picture);
        s.LastRunFrame = info;
    }
    // A channel that could not be analysed ends the run after those already done.
    if (stopped) {
        tell(*stopped);
        emit session_.Signals.spectrumChanged();
        return report;
    }

    if (run.WantsResultFile()) SaveSpectrumResult();

    // The spectrum is what the picture shows now.
    s.Wave.WaveShown = false;
    s.SpectrumShown = true;
    ui_.Running1->setEnabled(true);
    ui_.SBRunSpec->setEnabled(!s.Spectrum.Options.PeriodAxis);
    for (QAction* a : {ui_.BroadLine1, ui_.RightSideComment1, ui_.ZeroAverage1, ui_.SubAxis1, ui_.Format1})
        a->setEnabled(true);
    ui_.SBFormat->setEnabled(true);
    Picture().SetPenWidth(1);

    // A running spectrum that stopped in this run (at "max" or at the end of the map's time span)
    // leaves its ordinary skip to this run; while it runs, its steps move the position.
    s.Result.Settings.RunningActive = s.RunningSpectra.Active();
    const int next = PositionAfterSkip(s.Result, s.Position, record.SampleCount);
    if (next != s.Position) MovePosition(next);

    ui_.Image1->setToolTip(QString::fromUtf8("左ｸﾘｯｸ:ﾃﾞｰﾀ，右ｸﾘｯｸ:ｸﾞﾗﾌ書式"));
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.CBMEM, ui_.CB2D, ui_.BtnNext, ui_.BtnPrev})
        w->setEnabled(true);
    report.Completed = true;
    emit session_.Signals.spectrumChanged();
    return report;
}

void TForm1::BtnRunClick() {
    // While the automatic skipping analysis runs, a run of the Run button is one of its steps: the
    // end of the data or a failure ends the analysis, which then tells.
    if (!autoSkip_->Active()) {
        RunSpectrum();
        return;
    }
    const RunReport run = RunSpectrum(false);
    PresentAutoSkip(autoSkip_->AfterRun({run.EndOfData, run.Error}));
}

// "File Save": the spectrum result file of the run just made. A cancelled dialog writes nothing
// and the run goes on.
void TForm1::SaveSpectrumResult() {
    FileDialogRequest request;  // SaveDialog4
    request.Filter = "解析結果CSV file (*.csv)|*.csv|解析結果Text File (*.txt)|*.txt|All (*.*)|*.*";
    request.FilterIndex = 1;
    request.DefaultExtension = "csv";
    const FileDialogAnswer answer = prompts_.SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    std::string path = answer.Path;
    if (ExtensionOf(path).empty()) {
        if (answer.FilterIndex == 1)
            path += ".csv";
        else if (answer.FilterIndex == 2)
            path += ".txt";
    }
    if (QFileInfo::exists(QString::fromStdString(path))) {
        const std::string question = StrPrintf("Same file %s is already exists. Overwrite?", path.c_str());
        if (prompts_.Message(question, "File Name Error", MessageIcon::Question, PromptButtons::OkCancel) !=
            PromptAnswer::Ok)
            return;
    }
    const Outcome written =
        WriteSpectrumResult(path, state_.Record, state_.Filter, state_.Result.Position, state_.Result);
    if (!written.Ok()) prompts_.Show(*written.Error);
}

// ---- the mouse over the picture ----

namespace {
PictureState PictureStateOf(const SessionState& s) {
    return {s.Wave.DisplayKind, s.Spectrum.Frame.MultiPlot, s.DataLoaded};
}
}  // namespace

void TForm1::Image1MouseMove(int x, int y) {
    const std::optional<PictureText> text =
        SpectrumReadout(state_.Spectrum.Axes, PictureStateOf(state_), state_.Record.FrequencyText(), x, y);
    if (text) Picture().TextOut(text->X, text->Y, text->Text);
}

void TForm1::Image1MouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    StringGrid& grid = *ui_.StringGrid1;
    const SpectrumClick click =
        SpectrumClickAt(state_.Spectrum.Axes, PictureStateOf(state_), x, y, grid.RowCount(),
                        [&grid](int row) { return grid.Cell(1, row); });
    if (click.Row) grid.SetRow(*click.Row);
    if (click.Erase) Picture().TextOut(click.Erase->X, click.Erase->Y, click.Erase->Text);
}

void TForm1::Image1MouseUp(Qt::MouseButton button, int, int) {
    if (button != Qt::RightButton) return;
    QWidget* dialog = nullptr;
    switch (DialogForRightClick(PictureStateOf(state_))) {
        case RightClickDialog::SpectrumFormat:
            dialog = Windows().Param1;
            break;
        case RightClickDialog::WaveFormat:
            dialog = Windows().AmpScale;
            break;
        case RightClickDialog::None:
            return;
    }
    dialog->show();
    dialog->raise();
}

}  // namespace wavora
