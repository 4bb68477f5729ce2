// The spectrum format dialog: what it shows after a drawing, OK, Default, "Max Freq to Nyquist",
// refused input, the period axis, and the "Spectrum" menu options it mirrors.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <functional>

#include "display/param1_dialog.h"
#include "display/radio_group.h"
#include "draw/spectrum_format.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

// The main window's commands, counted.
class CountingCommands : public MainCommands {
  public:
    int Runs = 0, PeriodChanges = 0;
    void DrawWave() override {}
    void MovePosition(int) override {}
    void BtnListClick() override {}
    void BtnRunClick() override { ++Runs; }
    void SBPeaksClick() override {}
    void ShowPeaksHelp() override {}
    void PeriodAxisChanged() override { ++PeriodChanges; }
    void TimeScaleClick(int) override {}
    void Title1Click(bool) override {}
    void Filename1Click(bool) override {}
    void ChannelComment1Click(bool) override {}
    void Color1Click(bool) override {}
    void Scaling1Click(bool) override {}
    void BtnZeroClick() override {}
    std::optional<Failure> RunningStep() override { return std::nullopt; }
    void RunningStarted() override {}
    std::optional<Failure> RunningStopped(const RunningStop&) override { return std::nullopt; }
    void RunningRefused(bool) override {}
    void RunningClosed() override {}
    void RunningRunClick() override {}
    void RunningStopClick() override {}
};

// The dialog on its own session, as a drawing with automatic axes (0 … 50 Hz, 0 … 2) left it.
class Param1 : public ::testing::Test {
  protected:
    test::ScriptedPrompts prompts;
    Session session{prompts};
    CountingCommands commands;
    TParam1 dialog{session, commands};
    SpectrumDisplay& display = session.State.Spectrum;

    void SetUp() override {
        SpectrumAxes& a = display.Axes;
        a.NGridX = 5, a.SValueX = 0, a.VValueX = 10;
        a.NGridY = 4, a.SValueY = 0, a.VValueY = 0.5f;
        a.Drawn = true;
        WriteBackAxes(a, display.Format);
        emit session.Signals.spectrumChanged();
    }
    void Type(QLineEdit* e, const char* text) { e->setText(text); }
};

TEST_F(Param1, ShowsTheAxesOfTheLastDrawingAndKeepsWhatIsTyped) {
    EXPECT_EQ(Text(dialog.EdSX0), "0.000");
    EXPECT_EQ(Text(dialog.EdSXM), "50.00");
    EXPECT_EQ(Text(dialog.EdSYM), "2.000");
    EXPECT_EQ(dialog.UpDown2->value(), 5);
    EXPECT_EQ(dialog.UpDown1->value(), 4);
    EXPECT_EQ(Text(dialog.Edlx), "320");

    // A change made elsewhere refreshes the dialog without losing an edit not yet applied.
    Type(dialog.EdSXM, "25");
    dialog.RadioGroup2->Button(1)->click();
    emit session.Signals.optionsChanged();
    EXPECT_EQ(Text(dialog.EdSXM), "25");
    EXPECT_EQ(dialog.RadioGroup2->ItemIndex(), 1);
    EXPECT_FALSE(display.Axes.LogX);
    EXPECT_EQ(commands.Runs, 0);

    // The next drawing shows its own axes again.
    WriteBackAxes(display.Axes, display.Format);
    emit session.Signals.spectrumChanged();
    EXPECT_EQ(Text(dialog.EdSXM), "50.00");
    EXPECT_EQ(dialog.RadioGroup2->ItemIndex(), 0);
}

TEST_F(Param1, RefusedInputAppliesNothing) {
    struct Case {
        const char* What;
        std::function<void(TParam1&)> Edit;
        const char* Text;
        const char* Caption;
    };
    const Case cases[] = {
        {"logarithmic X from 0", [](TParam1& d) { d.RadioGroup2->Button(1)->click(); },
         "Illegal Lower value for axis", "Data Error"},
        // A valid X part is not stored when the Y part is refused.
        {"Y start above its end",
         [](TParam1& d) {
             d.EdSXM->setText("20");
             d.EdSY0->setText("5");
         },
         "Illegal Lower value for axis", "Data Error"},
        {"X min not a number", [](TParam1& d) { d.EdSX0->setText("abc"); },
         "'abc' is not a valid floating point value", kApplicationTitle},
        {"Y max empty", [](TParam1& d) { d.EdSYM->setText(""); }, "'' is not a valid floating point value",
         kApplicationTitle},
        {"width with decimals", [](TParam1& d) { d.Edlx->setText("320.5"); },
         "'320.5' is not a valid integer value", kApplicationTitle},
        {"height below the grid count", [](TParam1& d) { d.Edly->setText("3"); },
         "Height must be between 4 and 32767 pixels", "Data Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        dialog.Button1Click();  // back to the drawing's fields
        WriteBackAxes(display.Axes, display.Format);
        dialog.SyncFromState();
        commands.Runs = 0;
        const SpectrumAxes axesBefore = display.Axes;
        const SpectrumDisplayOptions optionsBefore = display.Options;
        dialog.CBBroad->setChecked(true);
        c.Edit(dialog);
        prompts.AnswerMessage();
        dialog.OKBtnClick();
        ASSERT_EQ(prompts.Messages.size(), 1u);
        EXPECT_EQ(prompts.Messages[0].Text, c.Text);
        EXPECT_EQ(prompts.Messages[0].Caption, c.Caption);
        prompts.Messages.clear();
        EXPECT_EQ(commands.Runs, 0);
        EXPECT_EQ(commands.PeriodChanges, 0);
        EXPECT_EQ(display.Axes.SValueX, axesBefore.SValueX);
        EXPECT_EQ(display.Axes.VValueX, axesBefore.VValueX);
        EXPECT_EQ(display.Axes.LogX, axesBefore.LogX);
        EXPECT_EQ(display.Axes.VValueY, axesBefore.VValueY);
        EXPECT_EQ(display.Axes.WidthX, axesBefore.WidthX);
        EXPECT_EQ(display.Axes.HeightY, axesBefore.HeightY);
        EXPECT_TRUE(display.Axes.AutoScale);
        EXPECT_EQ(display.Options.BroadLine, optionsBefore.BroadLine);
        // What was typed stays in the dialog to be put right.
        EXPECT_TRUE(dialog.CBBroad->isChecked());
        dialog.CBBroad->setChecked(false);
    }
}

TEST_F(Param1, MaxFreqToNyquistOfTheDecimatedData) {
    session.State.DataLoaded = true;
    session.State.Record.SamplingInterval = 0.01f;
    session.State.Analysis.Step = 2;
    // Item ×1/2: half of 25 Hz into "X max", then applied as OK.
    dialog.RGMaxFreq->Button(1)->click();
    EXPECT_EQ(Text(dialog.EdSXM), "12.5");
    EXPECT_EQ(display.Format.RGMaxFreq, 1);
    EXPECT_FLOAT_EQ(display.Axes.SValueX + display.Axes.NGridX * display.Axes.VValueX, 12.5f);
    EXPECT_FALSE(display.Axes.AutoScale);
    EXPECT_EQ(commands.Runs, 1);
    // "×10" gives one tenth.
    dialog.RGMaxFreqClick(4);
    EXPECT_EQ(Text(dialog.EdSXM), "2.5");
    EXPECT_EQ(commands.Runs, 2);
}

TEST_F(Param1, CloseAppliesNothingButSolidLinesCountAtOnce) {
    dialog.show();
    Type(dialog.EdSXM, "30");
    dialog.RadioGroup3->Button(1)->click();
    // The drawing reads CBSolid on every curve, so the box counts before OK.
    dialog.CBSolid->setChecked(false);
    dialog.CancelBtn->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(display.Axes.AutoScale);
    EXPECT_FLOAT_EQ(display.Axes.VValueX, 10.0f);
    EXPECT_FALSE(display.Options.PeriodAxis);
    EXPECT_FALSE(display.Format.CBSolid);
    EXPECT_EQ(commands.Runs, 0);
    EXPECT_EQ(commands.PeriodChanges, 0);
}

// With the program's windows: a real run draws, writes its axes back and is run again by the
// dialog; the speed buttons and the menu options follow.
class Param1Window : public WindowTest {
  protected:
    TParam1& dialog = *windows->Param1;
    // A 100 Hz record long enough for every run of a test, and one run drawn.
    void OpenAndRun() {
        OpenCsv(16384);
        form.BtnRunClick();
        ASSERT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    }
};

TEST_F(Param1Window, OkRedrawsWithTheNewAxesAndDefaultReturnsToAutomatic) {
    OpenAndRun();
    // The run's automatic axes are in the dialog.
    EXPECT_EQ(Text(dialog.EdSX0), "0.000");
    EXPECT_EQ(Text(dialog.EdSXM), "50.00");
    EXPECT_EQ(Text(dialog.Edlx), "320");
    const int position = form.State().Position;

    dialog.EdSXM->setText("25");
    dialog.Edlx->setText("300");
    dialog.Edly->setText("250");
    dialog.OKBtn->click();
    const SpectrumAxes& a = form.State().Spectrum.Axes;
    EXPECT_FALSE(a.AutoScale);
    EXPECT_FLOAT_EQ(a.VValueX, 5.0f);
    EXPECT_EQ(a.GridX, 300 / 5);
    EXPECT_EQ(a.HeightY, 250);
    // Drawn again (the run moved on) and written back as drawn.
    EXPECT_GT(form.State().Position, position);
    EXPECT_EQ(Text(dialog.EdSXM), "25.00");
    EXPECT_EQ(Text(dialog.Edly), "250");

    dialog.Button1->click();
    EXPECT_TRUE(a.AutoScale);
    EXPECT_EQ(Text(dialog.EdSXM), "50.00");
    EXPECT_EQ(Text(dialog.Edlx), "320");
    EXPECT_EQ(a.GridX, 320 / a.NGridX);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(Param1Window, PeriodAxisDisablesTheFrequencyActivitiesUntilFrequencyIsBack) {
    OpenAndRun();
    dialog.EdSX0->setText("0.02");
    dialog.EdSXM->setText("1");
    dialog.RadioGroup3->Button(1)->click();
    dialog.OKBtnClick();
    EXPECT_TRUE(form.State().Spectrum.Options.PeriodAxis);
    for (QToolButton* b : {form.Ui().SBRunSpec, form.Ui().SBHistogram, form.Ui().SBPeaks})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    // The lock and unlock of an activity keep them off; correlation does not need frequencies.
    form.DisableAnalysisControls();
    form.EnableAnalysisControls();
    EXPECT_FALSE(form.Ui().SBRunSpec->isEnabled());
    EXPECT_TRUE(form.Ui().SBCorr->isEnabled());
    // Another run keeps them off too.
    form.BtnRunClick();
    EXPECT_FALSE(form.Ui().SBRunSpec->isEnabled());

    dialog.EdSX0->setText("0");
    dialog.EdSXM->setText("50");
    dialog.RadioGroup3->Button(0)->click();
    dialog.OKBtnClick();
    EXPECT_FALSE(form.State().Spectrum.Options.PeriodAxis);
    for (QToolButton* b : {form.Ui().SBRunSpec, form.Ui().SBHistogram, form.Ui().SBPeaks})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(Param1Window, MenuOptionsAndTheDialogMirrorEachOther) {
    OpenAndRun();
    // The menu items set the boxes.
    form.Ui().SubAxis1->trigger();
    form.Ui().BroadLine1->trigger();
    EXPECT_FALSE(dialog.CBSubAxis->isChecked());
    EXPECT_TRUE(dialog.CBBroad->isChecked());

    // The dialog's OK sets the menu marks.
    dialog.CBSubAxis->setChecked(true);
    dialog.CBBroad->setChecked(false);
    dialog.CBRight->setChecked(false);
    dialog.CBZero->setChecked(false);
    dialog.OKBtnClick();
    EXPECT_TRUE(form.Ui().SubAxis1->isChecked());
    EXPECT_FALSE(form.Ui().BroadLine1->isChecked());
    EXPECT_FALSE(form.Ui().RightSideComment1->isChecked());
    EXPECT_FALSE(form.Ui().ZeroAverage1->isChecked());
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(Param1Window, OpenedByTheMenuTheFormatButtonAndARightClickOnTheSpectrum) {
    OpenCsv(2500);
    form.Image1MouseUp(Qt::RightButton, 200, 200);  // the waveform: its own dialog
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(windows->AmpScale->isVisible());
    windows->AmpScale->close();

    form.BtnRunClick();
    ASSERT_TRUE(form.Ui().SBFormat->isEnabled());
    form.Ui().SBFormat->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    dialog.CancelBtnClick();
    form.Ui().Format1->trigger();
    EXPECT_TRUE(dialog.isVisible());
    dialog.CancelBtnClick();
    form.Image1MouseUp(Qt::RightButton, 200, 200);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(windows->AmpScale->isVisible());
}

}  // namespace
}  // namespace wavora::uitest
