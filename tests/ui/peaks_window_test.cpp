// The spectral peaks window and the automatic skipping analysis in the program: what a run
// gathers, the listings and menus, the analysis stepped tick by tick to the end of the data, Stop,
// failures inside the analysis, and the overlap with the other timed activities.

#include <QImage>
#include <QPlainTextEdit>

#include "display/radio_group.h"
#include "display/string_grid.h"
#include "graph/my_graph.h"
#include "running/peaks_help_window.h"
#include "running/peaks_window.h"
#include "support/run_program.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

class PeaksWindow : public WindowTest {
  protected:
    TPeaks& peaks = *windows->Peaks;
    SpectralPeaks& state() { return form.State().Peaks; }
    bool TimerOn() { return form.AutoSkip().Timer3->isActive(); }
    std::vector<std::string> Row(int row) {
        std::vector<std::string> cells;
        for (int c = 0; c < 3; ++c) cells.push_back(peaks.StringGrid1->Cell(c, row));
        return cells;
    }
};

TEST_F(PeaksWindow, OpenWindowGathersEveryChannelShownFromItsOwnSpectrum) {
    OpenCsv(4096);
    EXPECT_TRUE(form.Ui().SpectralPeaks1->isEnabled()) << "the menu item goes with SBHistogram";
    form.BtnRunClick();  // before the window is open: nothing gathered
    form.SBHistogramClick();
    EXPECT_TRUE(peaks.isVisible());
    EXPECT_TRUE(form.State().Analysis.PeaksWindowOpen);
    EXPECT_EQ(Text(peaks.Label4), "");
    EXPECT_EQ(Row(0), (std::vector<std::string>{" Order", " Fq[Hz]", " FFT Amp"}));

    // Channels 1 and 2 carry the same 2 Hz sine with amplitudes 1 and 2: the averages show that each
    // channel's own spectrum was gathered, not the last one twice.
    form.CBChClick(1, true);
    form.MovePosition(0);
    form.BtnRunClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(Text(peaks.Label2), "deck.csv");
    EXPECT_EQ(Text(peaks.Label3), "2 CH");
    EXPECT_EQ(Text(peaks.Label4), "2");
    EXPECT_EQ(Row(0)[2], "    FFT Amp");
    const float top1 = state().TopPeakValueSum;
    ASSERT_FALSE(state().LastPeaks.empty());
    const float top2 = state().LastPeaks[0].Value;
    EXPECT_NEAR(top1, top2 * 1.5f, top2 * 0.02f) << "channel 1's peak is half channel 2's";
    EXPECT_EQ(Row(1)[1], "   1.953");  // line 20 of 1024 at 100 Hz
    EXPECT_EQ(Text(peaks.Label5), "   1.953");
    EXPECT_EQ(Text(peaks.Label8), "20 Divisons    5 Top Peaks");
    EXPECT_FALSE(peaks.MyGraph1->Picture().isNull());

    // A logarithmic axis gathers nothing; Close stops the gathering.
    form.State().Spectrum.Axes.AutoScale = false;
    form.State().Spectrum.Axes.LogY = true;
    form.State().Spectrum.Axes.SValueY = 0.001f;
    form.MovePosition(0);
    form.BtnRunClick();
    EXPECT_EQ(Text(peaks.Label4), "2");
    form.State().Spectrum.Axes.LogY = false;
    form.State().Spectrum.Axes.AutoScale = true;
    peaks.Button1Click();
    EXPECT_FALSE(peaks.isVisible());
    EXPECT_FALSE(form.State().Analysis.PeaksWindowOpen);
    form.MovePosition(0);
    form.BtnRunClick();
    EXPECT_EQ(state().PeakRunCount, 2);

    // Closing the window by its frame is Close too.
    form.SBHistogramClick();
    peaks.close();
    EXPECT_FALSE(form.State().Analysis.PeaksWindowOpen);
}

TEST_F(PeaksWindow, ListingsMenusAndClear) {
    OpenCsv(4096);
    form.SBHistogramClick();
    form.BtnRunClick();
    EXPECT_FALSE(peaks.Button4->isEnabled());
    peaks.Button3Click();  // Value
    EXPECT_TRUE(peaks.Button4->isEnabled());
    EXPECT_EQ(peaks.StringGrid1->RowCount(), 21);
    EXPECT_EQ(peaks.StringGrid1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Row(0), (std::vector<std::string>{" Class", " Fq[Hz]", "Frequency"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"    0", "   1.953", "       1"}));
    peaks.Button4Click();  // Order
    EXPECT_EQ(Row(0)[2], "  Frequency");
    EXPECT_EQ(Row(1), (std::vector<std::string>{"    1", "   1.953", "       1"}));

    // Tops applies from the next spectrum and keeps the counts; Division clears.
    peaks.TopsClick(3);
    EXPECT_TRUE(peaks.N31->isChecked());
    EXPECT_FALSE(peaks.N52->isChecked());
    EXPECT_EQ(Text(peaks.Label8), "20 Divisons    3 Top Peaks");
    EXPECT_EQ(Text(peaks.Label4), "1");
    peaks.DivisionClick(10);
    EXPECT_TRUE(peaks.N103->isChecked());
    EXPECT_EQ(Text(peaks.Label8), "10 Divisons    3 Top Peaks");
    EXPECT_EQ(Text(peaks.Label4), "");
    EXPECT_EQ(peaks.StringGrid1->RowCount(), 11);

    // Scale Unit redraws the histogram on the new count axis at once.
    const QImage before = peaks.MyGraph1->Picture();
    peaks.ScaleUnitClick(25);
    EXPECT_EQ(peaks.MyGraph1->VValueY, 25.0f);
    EXPECT_TRUE(peaks.N201->isChecked());
    EXPECT_NE(peaks.MyGraph1->Picture(), before);

    // Clear empties the classes too: a Value listing afterwards shows no counts.
    form.MovePosition(0);
    form.BtnRunClick();
    peaks.Button2Click();
    peaks.Button3Click();
    for (int r = 1; r <= 10; ++r) EXPECT_EQ(Row(r)[2], "       0") << r;
    peaks.Clear1Click();
    EXPECT_EQ(peaks.StringGrid1->RowCount(), 11);

    // Time Interval sets the analysis timer's interval.
    peaks.TimeIntervalClick(500);
    EXPECT_EQ(form.AutoSkip().Timer3->interval(), 500);
    EXPECT_TRUE(peaks.N500ms->isChecked());

    // Help for Peaks shows its text.
    peaks.HelpforPeaks1Click();
    EXPECT_TRUE(windows->PkHelp->isVisible());
    EXPECT_TRUE(windows->PkHelp->Memo1->toPlainText().startsWith("SPECTRAL PEAKS"));
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

// 4096 samples, 1024 points, skip 1: runs at 0, 1024, 2048 and 3072; the next position is exactly
// the end of the data, which ends the analysis without a message.
TEST_F(PeaksWindow, AutomaticSkippingToTheEndStopsReturnsToZeroAndListsTheOrder) {
    const std::string path = OpenCsv(4096);
    form.SBHistogramClick();
    peaks.Button3Click();  // Order available before the analysis ...
    form.SBPeaksClick();
    // ... and not after it started.
    EXPECT_EQ(form.State().Running, Activity::AutoSkip);
    EXPECT_TRUE(form.State().Analysis.AutoSkipActive);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(form.State().Position, 1024) << "the first run at once";
    for (QPushButton* b : {peaks.Button1, peaks.Button2, peaks.Button3, peaks.Button4})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(peaks.Button5->isEnabled());
    EXPECT_TRUE(form.Ui().SBPeaks->isEnabled());
    EXPECT_TRUE(form.Ui().SBHistogram->isEnabled());
    EXPECT_FALSE(form.Ui().SBCorr->isEnabled());
    EXPECT_FALSE(form.Ui().SBFileSave->isEnabled());
    EXPECT_FALSE(form.Ui().RGPoints->isEnabled());

    form.Timer3Timer();
    form.Timer3Timer();
    EXPECT_EQ(form.State().Position, 3072);
    form.Timer3Timer();
    EXPECT_EQ(form.State().Position, 4096);
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Text(peaks.Label4), "4");
    form.Timer3Timer();  // nothing left
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_FALSE(form.State().Analysis.AutoSkipActive);
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    EXPECT_EQ(state().PeakRunCount, 4);
    EXPECT_EQ(Row(0)[2], "  Frequency");
    EXPECT_EQ(Row(1), (std::vector<std::string>{"    1", "   1.953", "       4"}));
    EXPECT_EQ(peaks.StringGrid1->RowCount(), 11);
    for (QPushButton* b : {peaks.Button1, peaks.Button2, peaks.Button3})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_FALSE(peaks.Button4->isEnabled());
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
    EXPECT_TRUE(form.Ui().RGPoints->isEnabled());
    EXPECT_TRUE(form.Ui().SBCorr->isEnabled());
    form.Timer3Timer();  // a tick still queued finds the analysis over
    EXPECT_EQ(state().PeakRunCount, 4);

    // The batch tool's analysis of the same record gives the same averages, Order listing and
    // histogram picture.
    const test::Ran ran =
        test::RunProgram(WAVORA_BATCH_EXE, dir,
                         {"peaks", path, "--auto-skip", "-o", dir.File("p.csv"), "--png", dir.File("p.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    const std::string csv = test::ReadAll(dir.File("p.csv"));
    const std::string averages =
        Text(peaks.Label4) + "," + Text(peaks.Label5) + "," + Text(peaks.Label6) + "\r\n";
    EXPECT_NE(csv.find(averages), std::string::npos) << averages;
    std::string order;
    for (int r = 0; r < 11; ++r) order += Row(r)[0] + "," + Row(r)[1] + "," + Row(r)[2] + "\r\n";
    const size_t at = csv.rfind(" Order,");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(csv.substr(at, order.size()), order);
    QImage batch(QString::fromStdString(dir.File("p.png")));
    QImage window = peaks.MyGraph1->Picture().convertToFormat(batch.format());
    EXPECT_TRUE(batch == window) << "the histogram differs from the batch tool's";
}

TEST_F(PeaksWindow, StopTurnsTheTimerOffAtOnce) {
    OpenCsv(8192);
    form.SBHistogramClick();
    peaks.Button5Click();  // Run/Stop: the main window's SBPeaks
    form.Timer3Timer();
    ASSERT_EQ(form.State().Position, 2048);
    peaks.Button5Click();
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_EQ(form.State().Running, Activity::None);
    form.Timer3Timer();  // a tick already queued runs nothing
    EXPECT_EQ(form.State().Position, 2048) << "the position stays where it stopped";
    EXPECT_EQ(state().PeakRunCount, 2);
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    EXPECT_TRUE(peaks.Button3->isEnabled());
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(PeaksWindow, SkipZeroWaitsAndTheRunButtonIsAStep) {
    OpenCsv(4096);
    form.SBHistogramClick();
    form.SkipClick(0);
    form.SBPeaksClick();
    EXPECT_EQ(form.State().Position, 0);
    form.Timer3Timer();
    EXPECT_EQ(state().PeakRunCount, 1) << "with Skip \"0\" a tick does nothing";
    EXPECT_TRUE(TimerOn());

    // Run while the analysis is active: at the end of the data it ends the analysis, silently.
    form.SkipClick(1);
    form.MovePosition(3072);
    form.BtnRunClick();
    EXPECT_TRUE(form.State().AutoSkip.Active());
    EXPECT_EQ(form.State().Position, 4096);
    form.BtnRunClick();
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_EQ(Row(0)[2], "  Frequency");
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(PeaksWindow, AFailingRunEndsTheAnalysisBeforeItsMessage) {
    OpenCsv(4096);
    form.CBChClick(0, false);
    prompts.AnswerMessage();
    form.SBPeaksClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.LastText(), "No Channel Selected!!");
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
    form.Timer3Timer();  // nothing more
    EXPECT_EQ(prompts.Messages.size(), 1u);
}

TEST_F(PeaksWindow, AnotherActivityRefusesTheStartAndALoadEndsTheAnalysis) {
    const std::string path = OpenCsv(8192);
    form.SBHistogramClick();
    form.SBCorrClick();
    ASSERT_TRUE(form.State().Correlation.Active());
    EXPECT_FALSE(peaks.Button5->isEnabled()) << "Run/Stop waits while the correlation holds the controls";
    prompts.AnswerMessage();
    form.SBPeaksClick();
    EXPECT_EQ(
        prompts.LastText(),
        "The correlation analysis is running. Stop it before starting the automatic skipping analysis.");
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_EQ(form.State().Running, Activity::Correlation);
    form.SBCorrClick();
    EXPECT_TRUE(peaks.Button5->isEnabled());

    // The File menu still works during the analysis: the new record ends it.
    form.SBPeaksClick();
    ASSERT_TRUE(form.State().AutoSkip.Active());
    Open(path);
    EXPECT_FALSE(form.State().AutoSkip.Active());
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_TRUE(peaks.Button1->isEnabled());
    EXPECT_TRUE(prompts.Messages.size() == 1u) << prompts.LastText();
}

}  // namespace
}  // namespace wavora::uitest
