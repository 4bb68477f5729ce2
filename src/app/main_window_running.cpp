// The running spectrum and the 2-D map in the main window: the speed button SBRunSpec, the menu
// item Running1, the "2D" box, and the main window's part of each step (the waterfall, the single
// plot and the map rows drawn, the average listed and drawn at Stop, the controls locked).

#include <QAction>
#include <QCheckBox>
#include <QToolButton>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/app_windows.h"
#include "app/main_window.h"
#include "display/image_view.h"
#include "display/string_grid.h"
#include "draw/running_display.h"
#include "draw/spectrum_display.h"
#include "running/running_activity.h"
#include "running/peaks_window.h"
#include "running/running_dialog.h"
#include "running/twod_plot.h"

namespace wavora {

void TForm1::SBRunSpecClick() {
    if (state_.RunningSpectra.Active()) {
        ui_.SBFileSave->setEnabled(true);
        Windows().Running->BtnRunStopClick();
        return;
    }
    if (!state_.DataLoaded) return;
    ui_.SBFileSave->setEnabled(false);
    state_.Wave.WaveShown = false;
    TRunning* dialog = Windows().Running;
    dialog->show();
    dialog->raise();
    dialog->BtnRunRunClick();
    // A start that did not happen leaves the picture to be saved as before.
    if (!state_.RunningSpectra.Active()) ui_.SBFileSave->setEnabled(true);
}

void TForm1::Running1Click() {
    TRunning* dialog = Windows().Running;
    dialog->show();
    dialog->raise();
}

void TForm1::CB2DClick(bool on) {
    // The map takes the place of the waterfall: no multi plot, no hidden lines.
    SessionState& s = state_;
    s.TwoD = on;
    if (on) {
        s.RunningDialog.Multi = false;
        s.RunningDialog.Hidden = false;
    } else {
        s.RunningDialog.Multi = true;
    }
    OptionsChanged();
}

void TForm1::RunningRunClick() {
    Windows().Running->BtnRunRunClick();
}

void TForm1::RunningStopClick() {
    Windows().Running->BtnRunStopClick();
}

std::optional<Failure> TForm1::RunningStep() {
    return RunSpectrum(false).Error;
}

void TForm1::RunningStarted() {
    DisableAnalysisControls();
    ui_.SBRunSpec->setEnabled(false);
    ui_.SBCorr->setEnabled(false);
    Windows().TWODPlot->PrepareMapRun();
}

std::optional<Failure> TForm1::DrawRunningStep(int k) {
    SessionState& s = state_;
    RunningSpectrum& running = s.RunningSpectra;
    const RunningStepView view = RunningStepViewOf(s, FilterNote());
    const wavora::RunningStep step = running.AddSpectrum(s.Record, s.Result, view, s.Map);
    if (!step.Handled) return std::nullopt;

    const Color colour = s.Wave.ChannelColors[static_cast<size_t>(k)];
    DrawRunningSpectrum(Picture(), step, colour);
    if (step.Curve) {
        // The picture shows the waterfall: the mouse read-out over it stays silent.
        s.Wave.DisplayKind = kShowRunningPlot;
        s.Spectrum.Frame.MultiPlot = true;
    }
    std::optional<Failure> failed;
    if (step.DrawSingle) {
        // Single plot: the step as the spectrum display draws a run's spectrum.
        SpectrumRunPicture single;
        single.Add(s.Record, s.Result, k, colour);
        failed = single.Draw(Picture(), s.Spectrum, s.Wave,
                             FrameInfoOf(s.Record, s.Result, s.Wave.DisplayPosition, FilterNote()));
        // The run ends with the message; Stop follows it.
        if (failed) return failed;
    }
    // The spectral peaks window gathers every spectrum the running spectrum draws.
    if (step.Curve || step.DrawSingle || step.Row) {
        SpectrumRunPicture drawn;
        drawn.Add(s.Record, s.Result, k, colour);
        if (GatherRunPeaks(s, drawn.Curves())) emit session_.Signals.peaksChanged();
    }
    if (step.MapStart) Windows().TWODPlot->StartMap(*step.MapStart);
    if (step.Row) Windows().TWODPlot->DrawMapRow(*step.Row);
    if (!step.CountText.empty()) s.RunningDialog.CountText = step.CountText;
    if (step.Halt) Windows().Running->Activity().Halt();
    if (step.Stop) Windows().Running->BtnRunStopClick();
    if (step.CurveLimit) {
        // The 51st curve is not drawn: the position goes back so that the step's advance leaves it
        // one Skip before this step, and the run's own skip is left out.
        MovePosition(std::max(s.Position - 2 * running.Skip(), 0));
        s.Result.SkipAllowed = false;
    }
    return std::nullopt;
}

std::optional<Failure> TForm1::RunningStopped(const RunningStop& stop) {
    SessionState& s = state_;
    s.Spectrum.Frame.NewSpectrumFrame = true;
    if (stop.WasActive) EnableAnalysisControls();
    ui_.SBFileSave->setEnabled(true);
    std::optional<Failure> failed;
    if (stop.Average) {
        // The average in the value grid: its column replaces the last step's spectrum.
        StringGrid& grid = *ui_.StringGrid1;
        const int columns = grid.ColCount();
        const int rows = std::min(grid.RowCount(), static_cast<int>(stop.Average->Values.size()));
        auto cells = std::make_shared<std::vector<std::string>>(static_cast<size_t>(columns) * rows);
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < columns; ++col) {
                std::string text;
                if (col == stop.Average->Column)
                    text = stop.Average->Cell(row);
                else if (!(stop.Average->EmptyColumns23 && (col == 2 || col == 3)))
                    text = grid.Cell(col, row);
                (*cells)[static_cast<size_t>(row) * columns + col] = std::move(text);
            }
        grid.ShowListing(columns, rows, [cells, columns](int col, int row) {
            return (*cells)[static_cast<size_t>(row) * columns + col];
        });
        if (stop.DrawAverage) {
            // Single plot: the average in purple on a frame of its own, as channel 0.
            const SpectrumResult& r = s.Result;
            const int analysed = std::clamp(r.CurrentChannel - 1, 0, kMaxChannels - 1);
            const ChannelInfo& channel = s.Record.Channels[static_cast<size_t>(analysed)];
            SpectrumCurve curve;
            curve.Channel = 0;
            curve.Colour = kPurple;
            curve.Points = stop.Points;
            curve.AnalysisInterval = stop.AnalysisInterval;
            curve.Values = stop.Average->Values;
            if (r.Settings.Mem) curve.Frequencies = r.MemFrequency;
            curve.Unit = channel.DisplayUnit;
            curve.Legend = channel.Name;
            failed = DrawSpectrum(Picture(), s.Spectrum, s.Wave,
                                  FrameInfoOf(s.Record, r, s.Wave.DisplayPosition, FilterNote()), curve);
        }
        emit session_.Signals.spectrumChanged();
    }
    return failed;
}

void TForm1::RunningRefused(bool disableStartControls) {
    if (!disableStartControls) return;
    ui_.SBRunSpec->setEnabled(false);
    ui_.CB2D->setEnabled(false);
}

void TForm1::RunningClosed() {
    // The controls are the running spectrum's to give back only while no other activity holds them.
    if (!state_.DataLoaded || state_.Running != Activity::None) return;
    EnableAnalysisControls();
}

void TForm1::EndRunningSpectrum() {
    if (windows_ && windows_->Running) windows_->Running->EndRun();
}

}  // namespace wavora
