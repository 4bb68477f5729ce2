// The running spectrum in the program: the dialog's start checks and their messages, the steps
// of its timer stepped by hand, the 51-curve stop, the single plot with its purple average, Stop
// and Close from idle, the main window's button and "2D" box, a failing step, a load during a run,
// and other activities. The pictures and listings are held against wavora-batch running.

#include <QImage>
#include <QTimer>
#include <sstream>

#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "running/running_activity.h"
#include "support/run_program.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

class RunningWindow : public WindowTest {
  protected:
    TRunning& dialog = *windows->Running;

    // A record analysed once at position 0 (the spectrum graph's axes come from that run), and the
    // position back at 0.
    std::string Prepare(int samples = 2500, int channels = 3) {
        const std::string path = OpenCsv(samples, "deck.csv", channels);
        form.BtnRunClick();
        form.MovePosition(0);
        return path;
    }
    // Steps the timer by hand while it runs.
    int Step(int limit = 2000) {
        int steps = 0;
        while (dialog.Activity().TimerRunning() && steps < limit) {
            dialog.Timer1Timer();
            ++steps;
        }
        return steps;
    }
    bool Running() const { return form.State().RunningSpectra.Active(); }
    // The lock, the flag and the buttons of an idle running spectrum.
    void ExpectIdle() {
        const SessionState& s = form.State();
        EXPECT_FALSE(s.RunningSpectra.Active());
        EXPECT_FALSE(s.Analysis.RunningActive);
        EXPECT_NE(s.Running, Activity::Running);
        EXPECT_FALSE(dialog.Activity().TimerRunning());
        EXPECT_TRUE(dialog.BtnRunRun->isEnabled());
        EXPECT_FALSE(dialog.BtnRunStop->isEnabled());
        EXPECT_TRUE(dialog.BtnRunClose->isEnabled());
    }
    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        std::istringstream in(test::ReadAll(path));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    // The value grid as the batch tool lists it after Stop: number, frequency, average (in column
    // 4, columns 2 and 3 emptied; a MEM listing has it in its column 2).
    void ExpectGridListsTheBatchAverage(const std::string& csv, int column = 4) {
        const std::vector<std::string> lines = Lines(csv);
        const StringGrid& grid = *form.Ui().StringGrid1;
        ASSERT_EQ(static_cast<int>(lines.size()), grid.RowCount() + 2);
        EXPECT_EQ(lines[0], Text(dialog.Label3));
        EXPECT_EQ(lines[1], Text(dialog.Label4));
        for (int row = 0; row < grid.RowCount(); ++row) {
            ASSERT_EQ(lines[static_cast<size_t>(row) + 2],
                      grid.Cell(0, row) + "," + grid.Cell(1, row) + "," + grid.Cell(column, row))
                << "row " << row;
            if (column != 4) continue;
            ASSERT_EQ(grid.Cell(2, row), "");
            ASSERT_EQ(grid.Cell(3, row), "");
        }
    }
    void ExpectPictureIsTheBatchPicture(const std::string& png) {
        QImage batch(QString::fromStdString(png));
        QImage window = form.Ui().Image1->Image().convertToFormat(batch.format());
        ASSERT_EQ(batch.size(), window.size());
        EXPECT_TRUE(batch == window) << "the window's picture and the batch picture differ";
    }
};

TEST_F(RunningWindow, StartsWithTheLayoutsCaptionsAndDefaults) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Running Spectrum");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Text(dialog.Edit1), "0");
    EXPECT_EQ(Text(dialog.EdMax), "100");
    EXPECT_FALSE(dialog.EdMax->isEnabled()) << "Multi Plot is on";
    EXPECT_TRUE(dialog.CBMulti->isChecked());
    EXPECT_TRUE(dialog.CBHidden->isChecked());
    EXPECT_EQ(dialog.RGSkip->title().toStdString(), "Skip ");
    EXPECT_EQ(dialog.RGSkip->ItemIndex(), 4);
    EXPECT_EQ(dialog.RGSkip->ItemText(8).toStdString(), "5000");
    EXPECT_EQ(dialog.RGSkipType->ItemIndex(), 0);
    EXPECT_EQ(Text(dialog.Edit2), "250");
    EXPECT_FALSE(dialog.Edit2->isEnabled());
    EXPECT_EQ(Text(dialog.Label4), "Skip Time");
    EXPECT_EQ(Text(dialog.Label3), "Count  0");
    EXPECT_EQ(dialog.BtnRunStop->text().toStdString(), "Stop (&S)");
    EXPECT_EQ(dialog.BtnRunClose->text().toStdString(), "Close (&C)");
    EXPECT_EQ(dialog.Activity().Timer1->interval(), 1);
    ExpectIdle();
}

TEST_F(RunningWindow, TheSkipControlsShowTheirSkipTimeAndKeepTheLastValidNumber) {
    Prepare();  // 100 per second, step 1
    dialog.RGSkipClick(3);
    EXPECT_EQ(Text(dialog.Label4), "Skip Time 1 [s]");
    dialog.RGSkipTypeClick(1);
    EXPECT_EQ(Text(dialog.Label4), "Skip Time 2.5 [s]") << "Edit2's 250";
    EXPECT_TRUE(dialog.Edit2->isEnabled());
    EXPECT_FALSE(dialog.RGSkip->isEnabled());
    dialog.Edit2Change("abc");
    EXPECT_EQ(Text(dialog.Label4), "Skip Time 2.5 [s]");
    dialog.Edit2Change("50");
    EXPECT_EQ(Text(dialog.Label4), "Skip Time 0.5 [s]");

    // "Init" moves the position; text that is no whole number changes nothing.
    dialog.Edit1Change("300");
    EXPECT_EQ(form.State().Position, 300);
    dialog.Edit1Change("3x");
    dialog.Edit1Change("");
    EXPECT_EQ(form.State().Position, 300);
    form.MovePosition(40);
    EXPECT_EQ(Text(dialog.Edit1), "40") << "Init follows the position";
    dialog.EdMaxChange("many");
    EXPECT_EQ(form.State().RunningDialog.Max, 100);
    dialog.EdMaxChange("7");
    EXPECT_EQ(form.State().RunningDialog.Max, 7);
    dialog.CBMultiClick(false);
    EXPECT_TRUE(dialog.EdMax->isEnabled());
}

TEST_F(RunningWindow, RefusedStartsSayWhyAndLeaveNothingRunning) {
    Prepare();
    struct Case {
        const char* Name;
        std::function<void()> Set, Undo;
        const char* Text;
        const char* Caption;
    } cases[] = {
        {"two channels without a ratio", [&] { form.CBChClick(1, true); }, [&] { form.CBChClick(1, false); },
         "Sufficient Channel(s) not Selected or Extra Channel(s) selected !!    ", "Channel Select Error"},
        {"a logarithmic axis", [&] { form.State().Spectrum.Axes.LogY = true; },
         [&] { form.State().Spectrum.Axes.LogY = false; },
         "Axis type must be linear for Multi Plot Running Spectrum", "Axis Type Error"},
        {"a typed Skip of 0",
         [&] {
             dialog.RGSkipTypeClick(1);
             dialog.Edit2Change("0");
         },
         [&] { dialog.RGSkipTypeClick(0); }, "Skip must be a whole number of samples, 1 or more.",
         "Skip Error"},
        {"a typed Skip that is no number",
         [&] {
             dialog.RGSkipTypeClick(1);
             dialog.Edit2Change("ten");
         },
         [&] { dialog.RGSkipTypeClick(0); }, "Skip must be a whole number of samples, 1 or more.",
         "Skip Error"},
        {"30 map rows (Skip 200 at 0.01 s, 60 s)",
         [&] {
             form.CB2DClick(true);
             form.State().Map.FirstSet = false;  // no proposal: the dialog's Skip 200 holds
         },
         [&] { form.CB2DClick(false); }, "Skip time interval for 2D Spectrum plot is too large!!   ",
         "Skip time error"},
        {"600 map rows (Skip 10)",
         [&] {
             form.CB2DClick(true);
             form.State().Map.FirstSet = false;
             dialog.RGSkipClick(0);
         },
         [&] {
             form.CB2DClick(false);
             dialog.RGSkipClick(4);
         },
         "Skip time interval for 2D Spectrum plot is too small!!   ", "Skip time error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Set();
        const size_t before = prompts.Messages.size();
        prompts.AnswerMessage();
        dialog.BtnRunRunClick();
        ASSERT_EQ(prompts.Messages.size(), before + 1);
        EXPECT_EQ(prompts.LastText(), c.Text);
        EXPECT_EQ(prompts.Messages.back().Caption, c.Caption);
        EXPECT_EQ(prompts.Messages.back().Icon, MessageIcon::Warning);
        ExpectIdle();
        EXPECT_TRUE(form.Ui().BtnRun->isEnabled()) << "the controls are not locked";
        c.Undo();
    }

    // The channel check also took the running spectrum's button and "2D" away; an ordinary run
    // afterwards is an ordinary run, which offers them again.
    form.CBChClick(1, true);
    prompts.AnswerMessage();
    dialog.BtnRunRunClick();
    EXPECT_FALSE(form.Ui().SBRunSpec->isEnabled());
    EXPECT_FALSE(form.Ui().CB2D->isEnabled());
    form.BtnRunClick();
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    EXPECT_EQ(form.State().RunningSpectra.Count(), 0);
    EXPECT_EQ(form.State().Position, 1024) << "the ordinary skip";
    EXPECT_TRUE(form.Ui().SBRunSpec->isEnabled());
    EXPECT_TRUE(form.Ui().CB2D->isEnabled());
}

TEST_F(RunningWindow, AFirstSegmentBeyondTheDataStopsAtOnceWithoutAWord) {
    Prepare(2500);
    dialog.Edit1Change("2000");  // 2000 + 1024 > 2500
    form.SBRunSpecClick();
    EXPECT_TRUE(prompts.Messages.empty());
    ExpectIdle();
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_EQ(Text(dialog.Edit1), "0");
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
}

TEST_F(RunningWindow, TheMultiPlotStopsAfter51CurvesAsTheBatchToolDoes) {
    const std::string path = Prepare(2500);
    dialog.RGSkipClick(0);  // Skip 10: 52 steps fit in the record
    form.SBRunSpecClick();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(form.Ui().SBFileSave->isEnabled());
    EXPECT_FALSE(form.Ui().BtnRun->isEnabled()) << "the analysis controls are locked";
    EXPECT_FALSE(dialog.BtnRunRun->isEnabled());
    EXPECT_TRUE(dialog.BtnRunStop->isEnabled());
    EXPECT_FALSE(dialog.BtnRunClose->isEnabled());
    EXPECT_EQ(form.State().Running, Activity::Running);
    EXPECT_TRUE(form.State().Analysis.RunningActive);
    EXPECT_EQ(Text(dialog.Label4), "Skip Time 0.1 [s]");

    dialog.Timer1Timer();
    EXPECT_EQ(Text(dialog.Label3), "Count  1");
    EXPECT_EQ(form.State().Position, 10);
    EXPECT_EQ(Text(dialog.Edit1), "10");
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowRunningPlot);
    EXPECT_TRUE(form.Ui().SBRunSpec->isEnabled()) << "each run offers the button, which stops";

    Step();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ExpectIdle();
    EXPECT_EQ(form.State().RunningSpectra.Count(), 51);
    EXPECT_EQ(Text(dialog.Label3), "Count  51");
    // The 52nd step at 510 is not drawn: the position ends one Skip before it, without the run's
    // own skip.
    EXPECT_EQ(form.State().Position, 500);
    EXPECT_EQ(Text(dialog.Edit1), "500");
    EXPECT_TRUE(form.Ui().BtnRun->isEnabled());
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowRunningPlot) << "no average drawn over the waterfall";

    const test::Ran ran = test::RunProgram(WAVORA_BATCH_EXE, dir,
                                           {"running", path, "--init", "0", "--skip", "10", "--multi", "-o",
                                            dir.File("b.csv"), "--png", dir.File("b.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    ExpectGridListsTheBatchAverage(dir.File("b.csv"));
    ExpectPictureIsTheBatchPicture(dir.File("b.png"));
}

TEST_F(RunningWindow, TheSinglePlotStopsAtMaxWithThePurpleAverageListedAndDrawn) {
    const std::string path = Prepare(4096);
    dialog.CBMultiClick(false);
    dialog.EdMaxChange("3");
    dialog.BtnRunRunClick();
    ASSERT_TRUE(Running());
    EXPECT_EQ(Step(), 4) << "max 3: four spectra";
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ExpectIdle();
    EXPECT_EQ(Text(dialog.Label3), "Count  4");
    // The steps at 0, 200, 400, 600; the last run still applies its own skip (1024), then Skip.
    EXPECT_EQ(form.State().Position, 600 + 1024 + 200);
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    const QImage picture = form.Ui().Image1->Image();
    bool purple = false;
    for (int y = 0; y < picture.height() && !purple; ++y)
        for (int x = 0; x < picture.width() && !purple; ++x)
            purple = picture.pixel(x, y) == qRgb(0x80, 0, 0x80);
    EXPECT_TRUE(purple) << "the average is drawn in purple";

    const test::Ran ran = test::RunProgram(
        WAVORA_BATCH_EXE, dir,
        {"running", path, "--init", "0", "--max", "3", "-o", dir.File("b.csv"), "--png", dir.File("b.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    ExpectGridListsTheBatchAverage(dir.File("b.csv"));
    ExpectPictureIsTheBatchPicture(dir.File("b.png"));

    // A second Stop, and Stop after Close, list and draw nothing again.
    const std::string listed = form.Ui().StringGrid1->Cell(4, 20);
    form.BtnRunClick();  // the grid shows a spectrum again
    const std::string spectrum = form.Ui().StringGrid1->Cell(4, 20);
    ASSERT_NE(spectrum, listed);
    dialog.BtnRunStopClick();
    EXPECT_EQ(form.Ui().StringGrid1->Cell(4, 20), spectrum);
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    dialog.BtnRunCloseClick();
    EXPECT_FALSE(dialog.isVisible());
    dialog.BtnRunStopClick();
    EXPECT_EQ(form.Ui().StringGrid1->Cell(4, 20), spectrum);
    EXPECT_TRUE(prompts.Messages.empty());
    ExpectIdle();
}

TEST_F(RunningWindow, AMemAverageIsListedInTheMemColumnAndARatioRunsOnTwoChannels) {
    const std::string path = OpenCsv(4096, "deck.csv", 3);
    form.CBMEMClick(true);
    form.BtnRunClick();
    form.MovePosition(0);
    dialog.CBMultiClick(false);
    dialog.EdMaxChange("1");
    dialog.BtnRunRunClick();
    EXPECT_EQ(Step(), 2);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.Ui().StringGrid1->ColCount(), 3);
    const test::Ran ran =
        test::RunProgram(WAVORA_BATCH_EXE, dir,
                         {"running", path, "--mem", "--init", "0", "--max", "1", "-o", dir.File("b.csv")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    ExpectGridListsTheBatchAverage(dir.File("b.csv"), 2);

    // A spectral ratio needs two channels, counted when Run is pressed.
    form.CBMEMClick(false);
    form.CBChClick(1, true);
    form.RatioClick(1);
    form.MovePosition(0);
    dialog.BtnRunRunClick();
    ASSERT_TRUE(Running());
    dialog.Timer1Timer();
    EXPECT_EQ(Text(form.Ui().Data), "Spectral Ratio 1 ch to 2 ch");
    EXPECT_EQ(form.State().RunningSpectra.Count(), 1) << "one curve per step: the ratio";
    dialog.BtnRunStopClick();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(RunningWindow, ThePeaksWindowGathersEverySpectrumDrawn) {
    Prepare(4096);
    form.SBHistogramClick();  // the peaks window, cleared
    ASSERT_EQ(form.State().Peaks.PeakRunCount, 0);
    dialog.BtnRunRunClick();
    dialog.Timer1Timer();
    dialog.Timer1Timer();
    dialog.Timer1Timer();
    EXPECT_EQ(form.State().Peaks.PeakRunCount, 3);
    dialog.BtnRunStopClick();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(RunningWindow, AWaterfallLeavingThePictureHaltsUntilStop) {
    Prepare(2500);
    form.TimeScaleClick(3);  // ×8: each Skip of 10 moves a curve about 28 pixels to the right
    dialog.RGSkipClick(0);
    dialog.BtnRunRunClick();
    const int steps = Step();
    EXPECT_LT(steps, 20);
    EXPECT_FALSE(dialog.Activity().TimerRunning());
    EXPECT_TRUE(Running()) << "halted, still running";
    EXPECT_TRUE(dialog.BtnRunStop->isEnabled());
    EXPECT_FALSE(form.Ui().BtnRun->isEnabled());
    const int count = form.State().RunningSpectra.Count();
    dialog.Timer1Timer();
    EXPECT_EQ(form.State().RunningSpectra.Count(), count);
    dialog.BtnRunStopClick();
    ExpectIdle();
    EXPECT_TRUE(form.Ui().BtnRun->isEnabled());
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(RunningWindow, TheSpeedButtonStartsAndStopsAndTwoDSwitchesThePlot) {
    Prepare(4096);
    form.CB2DClick(true);
    EXPECT_FALSE(dialog.CBMulti->isChecked());
    EXPECT_FALSE(dialog.CBHidden->isChecked());
    EXPECT_TRUE(dialog.EdMax->isEnabled());
    form.CB2DClick(false);
    EXPECT_TRUE(dialog.CBMulti->isChecked());
    EXPECT_FALSE(dialog.CBHidden->isChecked()) << "unchecking \"2D\" checks Multi Plot only";

    form.MovePosition(100);
    form.SBRunSpecClick();
    ASSERT_TRUE(Running());
    EXPECT_FALSE(form.State().Wave.WaveShown);
    dialog.Timer1Timer();
    dialog.Timer1Timer();
    EXPECT_EQ(form.State().RunningSpectra.StartPosition(), 100);
    form.SBRunSpecClick();
    ExpectIdle();
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());
    EXPECT_EQ(Text(dialog.Edit1), "500");
    EXPECT_EQ(form.State().Position, 500);
    EXPECT_TRUE(prompts.Messages.empty());
}

// Prompts that note whether the running spectrum's timer still ran when a message came.
class WatchingPrompts : public test::ScriptedPrompts {
  public:
    std::function<bool()> TimerRunning;
    std::vector<bool> TimerAtMessage;
    PromptAnswer Message(const std::string& text, const std::string& caption, MessageIcon icon,
                         PromptButtons buttons) override {
        TimerAtMessage.push_back(TimerRunning && TimerRunning());
        return ScriptedPrompts::Message(text, caption, icon, buttons);
    }
};

class RunningFailure : public ::testing::Test {
  protected:
    WatchingPrompts prompts;
    test::TempDir dir;
    std::unique_ptr<AppWindows> windows =
        CreateAppWindows(prompts, QCoreApplication::applicationFilePath().toStdString());
    TForm1& form = *windows->Form1;
    TRunning& dialog = *windows->Running;
};

TEST_F(RunningFailure, AStepWhoseRunFailsStopsTheTimerThenTellsOnce) {
    const std::string path =
        dir.Write("deck.csv", test::StandardCsvFile({"A"}, 100, "s", {"Gal"}, test::SineRows(1, 4096)));
    prompts.AnswerFile(path);
    form.BtnFileClick();
    form.BtnRunClick();
    form.MovePosition(0);
    prompts.TimerRunning = [&] { return dialog.Activity().TimerRunning(); };

    // A logarithmic value axis from 0 cannot be drawn: the single plot's first step fails.
    SpectrumAxes& axes = form.State().Spectrum.Axes;
    axes.AutoScale = false;
    axes.LogY = true;
    axes.SValueY = 0.0f;
    dialog.CBMultiClick(false);
    dialog.BtnRunRunClick();
    ASSERT_TRUE(dialog.Activity().TimerRunning());
    prompts.AnswerMessage();
    dialog.Timer1Timer();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.LastText(), "Illegal lower value for axis");
    EXPECT_EQ(prompts.TimerAtMessage, std::vector<bool>{false});
    EXPECT_FALSE(form.State().RunningSpectra.Active());
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_TRUE(form.Ui().BtnRun->isEnabled());
    dialog.Timer1Timer();  // a late tick does nothing
    EXPECT_EQ(prompts.Messages.size(), 1u);
}

TEST_F(RunningWindow, ALoadDuringARunEndsItWithoutAWord) {
    Prepare(4096);
    dialog.BtnRunRunClick();
    dialog.Timer1Timer();
    dialog.Timer1Timer();
    ASSERT_TRUE(Running());

    // The File menu works while the analysis runs.
    OpenCsv(3000, "next.csv", 2);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ExpectIdle();
    EXPECT_EQ(form.State().Running, Activity::None);
    EXPECT_EQ(form.State().Position, 0);
    // The new record's listing, no average over it.
    EXPECT_EQ(form.Ui().StringGrid1->ColCount(), 3);
    EXPECT_EQ(form.Ui().StringGrid1->Cell(1, 0), "Pier1");
    EXPECT_TRUE(form.State().Map.FirstSet);
    dialog.Timer1Timer();
    EXPECT_EQ(form.State().RunningSpectra.Count(), 2);
}

TEST_F(RunningWindow, AnotherActivityAndTheRunningSpectrumRefuseEachOther) {
    Prepare(4096);
    form.BtnStartClick();  // the waveform scroll
    ASSERT_EQ(form.State().Running, Activity::Scroll);
    prompts.AnswerMessage();
    dialog.BtnRunRunClick();
    EXPECT_EQ(prompts.LastText(),
              "The waveform scroll is running. Stop it before starting the running spectrum.");
    EXPECT_FALSE(Running());
    EXPECT_EQ(form.State().Running, Activity::Scroll);
    // Closing the idle dialog leaves the scroll's lock alone.
    dialog.BtnRunCloseClick();
    EXPECT_FALSE(form.Ui().BtnRun->isEnabled());
    form.BtnStopClick();

    dialog.BtnRunRunClick();
    ASSERT_TRUE(Running());
    EXPECT_FALSE(form.Scroll().Start()) << "the scroll waits for the running spectrum";
    EXPECT_EQ(form.State().Running, Activity::Running);
    dialog.BtnRunRunClick();  // a second Run changes nothing
    EXPECT_TRUE(Running());
    dialog.BtnRunStopClick();
    ExpectIdle();
}

}  // namespace
}  // namespace wavora::uitest
