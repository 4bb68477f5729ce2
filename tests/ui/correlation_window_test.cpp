// The correlation analysis in the main window: start, the steps of Timer2 stepped by hand, the end
// of the data, Stop with its listing and report, the channel check, and the picture against the
// batch tool's.

#include <QImage>

#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "draw/correlation_display.h"
#include "draw/image_canvas.h"
#include "draw/startup_picture.h"
#include "support/run_program.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

// The records are sines of 50 samples per period at 100 samples per second: the auto-correlation
// crosses zero downwards every 50 lags, a period of 0.5 s.
class CorrelationWindow : public WindowTest {
  protected:
    bool TimerOn() { return form.Correlation().Timer2->isActive(); }
    QColor PixelAt(int x, int y) { return form.Ui().Image1->Image().pixelColor(x, y); }
    std::string Cell(int col, int row) { return form.Ui().StringGrid1->Cell(col, row); }
    // The picture as it is, with `report` written where Stop writes it.
    QImage WithReport(const QImage& before, const std::string& report) {
        ImageCanvas expected(before);
        expected.SetFont(kPictureFont, 12);
        DrawCorrelationReport(expected, report);
        return expected.ToImage();
    }
};

TEST_F(CorrelationWindow, OneChannelStartsAtTheTopAndMovesOnEveryTick) {
    OpenCsv(4096);
    form.MovePosition(40);
    form.SBCorrClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_TRUE(form.State().Correlation.Active());
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(form.State().Running, Activity::Correlation);
    EXPECT_EQ(form.Correlation().Title(), "Auto Correlation");
    EXPECT_EQ(PixelAt(40, 100), QColor(Qt::red)) << "R[0] / R[0] = 1 at the top, in channel 1's colour";
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowCorrelation);
    EXPECT_FALSE(form.State().Wave.WaveShown);
    EXPECT_EQ(form.State().Position, 50);
    EXPECT_EQ(Text(form.Ui().EdPosition), "50");
    EXPECT_TRUE(form.Ui().SBCorr->isEnabled());
    for (QWidget* w :
         std::initializer_list<QWidget*>{form.Ui().BtnFile, form.Ui().SBPeaks, form.Ui().SBHistogram,
                                         form.Ui().SBFileSave, form.Ui().GBChannel})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    // Each tick draws the next frame; a drawn waveform never comes back over it.
    const QImage first = form.Ui().Image1->Image();
    form.Timer2Timer();
    EXPECT_EQ(form.State().Position, 60);
    EXPECT_NE(form.Ui().Image1->Image(), first);
    EXPECT_EQ(PixelAt(40, 100), QColor(Qt::red));

    // Stop before any spectrum run: the listing, and no period without an analysis interval.
    const QImage before = form.Ui().Image1->Image();
    form.SBCorrClick();
    EXPECT_FALSE(TimerOn());
    EXPECT_FALSE(form.State().Correlation.Active());
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    EXPECT_EQ(form.Ui().Image1->Image(), WithReport(before, "fftdt not defined.  Press 'Run' Button"));
    const StringGrid& grid = *form.Ui().StringGrid1;
    EXPECT_EQ(grid.RowCount(), 352);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(Cell(0, 0), "   i");
    EXPECT_EQ(Cell(1, 0), "  Delay");
    EXPECT_EQ(Cell(1, 1), " s");
    EXPECT_EQ(Cell(0, 2), "    0");
    EXPECT_EQ(Cell(2, 2), "   1.000");
    EXPECT_EQ(Cell(1, 12), "   0.000");
    EXPECT_NE(Cell(2, 202), "   0.000") << "350 lags with time scale 1";
    EXPECT_EQ(Text(form.Ui().Data), "Auto Correlation");
    form.Timer2Timer();  // a tick already queued changes nothing
    EXPECT_EQ(form.State().Position, 60);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(CorrelationWindow, TwoChannelsAreCrossCorrelatedInPurple) {
    OpenCsv(4096);
    form.CBChClick(1, true);
    form.SBCorrClick();
    EXPECT_EQ(form.Correlation().Title(), "Cross Correlation");
    EXPECT_EQ(PixelAt(40, 100), QColor(128, 0, 128));
    form.SBCorrClick();
    EXPECT_EQ(Text(form.Ui().Data), "Cross Correlation");
}

TEST_F(CorrelationWindow, TimeScaleTwoComputesHalfTheLags) {
    OpenCsv(4096);
    form.TimeScaleClick(1);  // ×2
    form.SBCorrClick();
    form.SBCorrClick();
    EXPECT_NE(Cell(2, 2 + 174), "   0.000");
    EXPECT_EQ(Cell(2, 2 + 175), "   0.000");
    EXPECT_EQ(Cell(2, 2 + 349), "   0.000");
}

// The delay of a lag is one sampling interval, whatever Step was at the last run: with a run at
// Step 1 and the correlation at Step 2, lag 10 is 0.1 s and the period stays 0.5 s.
TEST_F(CorrelationWindow, StepTwoMovesByTwentyAndLagsStaySamples) {
    OpenCsv(4096);
    form.BtnRunClick();
    form.MovePosition(0);
    form.RadioGroup1Click(1);  // Step 2
    form.SBCorrClick();
    EXPECT_EQ(form.State().Position, 20);
    form.Timer2Timer();
    EXPECT_EQ(form.State().Position, 40);
    const QImage before = form.Ui().Image1->Image();
    form.SBCorrClick();
    EXPECT_EQ(Cell(1, 2 + 10), "   0.100");
    EXPECT_EQ(form.Ui().Image1->Image(), WithReport(before, "Zero Crossing  0.500 (s)   2.000 (Hz)"));
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(CorrelationWindow, TheEndOfTheDataStopsTheTimerButNotTheAnalysis) {
    OpenCsv(2000);
    // 625 + 1024 + 350 is one short of the end: one step, then the end.
    form.MovePosition(625);
    form.SBCorrClick();
    EXPECT_EQ(form.State().Position, 635);
    EXPECT_TRUE(TimerOn());
    form.Timer2Timer();
    EXPECT_FALSE(TimerOn());
    EXPECT_TRUE(form.State().Correlation.Active());
    EXPECT_EQ(form.State().Position, 635);
    EXPECT_NE(PixelAt(40, 100), QColor(Qt::red)) << "only the frame";
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowCorrelation);
    EXPECT_FALSE(form.Ui().BtnFile->isEnabled()) << "the controls stay locked until Stop";
    form.Timer2Timer();
    EXPECT_EQ(form.State().Position, 635);
    form.SBCorrClick();
    EXPECT_FALSE(form.State().Correlation.Active());
    EXPECT_EQ(Cell(2, 2), "   1.000") << "the listing of the last computed step";
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());

    // Started at the end already: the frame only, the timer never runs.
    form.SBCorrClick();
    EXPECT_TRUE(form.State().Correlation.Active());
    EXPECT_FALSE(TimerOn());
    form.SBCorrClick();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(CorrelationWindow, OnlyOneOrTwoChannelsAndNoOtherActivity) {
    OpenCsv(4096);
    for (int checked : {0, 3}) {
        for (int k = 0; k < 3; ++k) form.CBChClick(k, k < checked);
        prompts.AnswerMessage();
        form.SBCorrClick();
        EXPECT_EQ(prompts.LastText(), "Number of Channels is illegal");
        EXPECT_EQ(prompts.Messages.back().Caption, "Channel Error");
        EXPECT_FALSE(form.State().Correlation.Active());
        EXPECT_FALSE(TimerOn());
        EXPECT_EQ(form.State().Running, Activity::None);
        EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    }

    form.CBChClick(0, true);
    form.CBChClick(1, false);
    form.CBChClick(2, false);
    form.BtnStartClick();
    prompts.AnswerMessage();
    form.SBCorrClick();
    EXPECT_EQ(prompts.LastText(),
              "The waveform scroll is running. Stop it before starting the correlation analysis.");
    EXPECT_FALSE(form.State().Correlation.Active());
    EXPECT_TRUE(form.Scroll().IsRunning());
    form.BtnStopClick();
}

TEST_F(CorrelationWindow, ThePictureAndTheListingAreTheBatchTools) {
    const std::string path = OpenCsv(4096);
    form.BtnRunClick();  // the analysis interval
    form.MovePosition(100);
    form.SBCorrClick();
    form.SBCorrClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();

    const test::Ran ran = test::RunProgram(WAVORA_BATCH_EXE, dir,
                                           {"correlation", path, "--channels", "1", "--position", "100", "-o",
                                            dir.File("c.csv"), "--png", dir.File("c.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    QImage batch(QString::fromStdString(dir.File("c.png")));
    QImage window = form.Ui().Image1->Image().convertToFormat(batch.format());
    EXPECT_TRUE(batch == window) << "the window's picture and the batch picture differ";
    std::string listing;
    for (int r = 0; r < 352; ++r)
        listing +=
            Cell(0, r) + "," + Cell(1, r) + "," + Cell(2, r) + "," + Cell(3, r) + "," + Cell(4, r) + "\r\n";
    EXPECT_EQ(test::ReadAll(dir.File("c.csv")).substr(0, listing.size()), listing);
}

}  // namespace
}  // namespace wavora::uitest
