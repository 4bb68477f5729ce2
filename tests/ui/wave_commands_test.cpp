// Scrolling and position commands, step, time scale and the "Wave" menu options.

#include "display/amp_scale_dialog.h"
#include "display/image_view.h"
#include "display/radio_group.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using WaveCommands = WindowTest;

TEST_F(WaveCommands, StepChangesStrideAndCaption) {
    OpenCsv(2500);
    form.RadioGroup1Click(1);
    EXPECT_EQ(form.State().Analysis.Step, 2);
    EXPECT_EQ(form.Ui().RadioGroup1->title().toStdString(), "Step 0.0200 [s]");
    form.RadioGroup1Click(3);
    EXPECT_EQ(form.State().Analysis.Step, 10);
    EXPECT_EQ(form.Ui().RadioGroup1->title().toStdString(), "Step 0.1000 [s]");
}

TEST_F(WaveCommands, TimeScaleMenuAndDialogFollowEachOther) {
    OpenCsv(2500);
    TAmpScale& amp = *windows->AmpScale;
    form.Ui().N41->trigger();
    EXPECT_EQ(form.State().Wave.TimeScale, 4);
    EXPECT_TRUE(form.Ui().N41->isChecked());
    EXPECT_FALSE(form.Ui().N11->isChecked());
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 2);
    form.Ui().N82->trigger();
    EXPECT_EQ(form.State().Wave.TimeScale, 8);
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 3);

    // From the dialog: the menu follows, the dialog keeps its own choice.
    amp.RadioGroup2Click(1);
    EXPECT_EQ(form.State().Wave.TimeScale, 2);
    EXPECT_TRUE(form.Ui().N21->isChecked());
    EXPECT_FALSE(form.Ui().N82->isChecked());
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 1);
}

TEST_F(WaveCommands, NextAndPrevMoveBySpanOverSkipAndWrap) {
    OpenCsv(2500);
    form.RadioGroup1Click(1);  // step 2
    form.SkipClick(4);         // a quarter: 2 × 1024 / 4
    EXPECT_TRUE(form.Ui().BtnBack->isEnabled());
    EXPECT_TRUE(form.Ui().CBSkip->isChecked());
    form.BtnNextClick();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 512);
    EXPECT_EQ(Text(form.Ui().Label21), "512");
    EXPECT_EQ(Text(form.Ui().EdPosition), "512");
    EXPECT_EQ(form.State().Wave.DisplayPosition, 512);
    form.Ui().TrackBar1->setValue(2000);
    form.BtnNextClick();  // 2512 is past the end
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    form.Ui().TrackBar1->setValue(300);
    form.BtnPrevClick();  // below 0 stops at 0
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    form.Ui().TrackBar1->setValue(1500);
    form.BtnPrevClick();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 988);

    // Skip "0": the arrows do nothing and Back is locked.
    form.SkipClick(0);
    EXPECT_FALSE(form.Ui().BtnBack->isEnabled());
    EXPECT_FALSE(form.Ui().CBSkip->isChecked());
    form.BtnNextClick();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 988);
}

TEST_F(WaveCommands, PositionFieldTakesTheLeadingNumberWithinTheRecord) {
    OpenCsv(2500);
    // After each edit the field shows the position it gave, not what was typed.
    form.EdPositionChange("1234abc");
    EXPECT_EQ(form.Ui().TrackBar1->value(), 1234);
    EXPECT_EQ(Text(form.Ui().Label21), "1234");
    EXPECT_EQ(Text(form.Ui().EdPosition), "1234");
    form.EdPositionChange("99999");
    EXPECT_EQ(form.Ui().TrackBar1->value(), 2500);
    EXPECT_EQ(Text(form.Ui().EdPosition), "2500");
    form.EdPositionChange("xyz");
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    EXPECT_EQ(Text(form.Ui().EdPosition), "0");
    // A click in the slider's groove moves a tick: a twentieth of the record.
    EXPECT_EQ(form.Ui().TrackBar1->pageStep(), 125);
    form.EdPositionChange("");  // ignored
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    form.Ui().TrackBar1->setValue(800);
    form.BtnZeroClick();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    EXPECT_EQ(form.State().ListStart, 0);
}

TEST_F(WaveCommands, ScrollTimerStepsToTheEndAndStopRestoresTheControls) {
    OpenCsv(30);
    form.RadioGroup1Click(2);  // step 5
    form.Ui().TrackBar1->setValue(10);
    form.BtnStartClick();
    EXPECT_TRUE(form.Scroll().Timer1->isActive());
    EXPECT_FALSE(form.Ui().BtnFile->isEnabled());
    EXPECT_FALSE(form.Ui().BtnRun->isEnabled());
    EXPECT_TRUE(form.Ui().BtnStop->isEnabled());
    EXPECT_FALSE(form.Ui().SBFileSave->isEnabled());
    EXPECT_EQ(form.State().Analysis.Step, 5);
    form.Scroll().Tick();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 10);
    EXPECT_EQ(form.State().Wave.DisplayPosition, 15);
    form.Scroll().Tick();
    form.Scroll().Tick();
    form.Scroll().Tick();  // shows 25, then reaches 30
    EXPECT_EQ(Text(form.Ui().EdPosition), "25");
    EXPECT_FALSE(form.Scroll().Timer1->isActive());
    // The display stays on the last picture drawn, so a redraw does not empty it.
    EXPECT_EQ(form.State().Wave.DisplayPosition, 25);
    EXPECT_FALSE(form.Ui().BtnFile->isEnabled());  // locked until Stop
    form.BtnStopClick();
    EXPECT_TRUE(form.Ui().BtnFile->isEnabled());
    EXPECT_FALSE(form.Ui().BtnStop->isEnabled());
    EXPECT_TRUE(form.Ui().SBFileSave->isEnabled());

    // Stopped after one tick at 0: the display and "0" agree with the slider.
    form.Ui().TrackBar1->setValue(0);
    form.BtnStartClick();
    form.Scroll().Tick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 5);
    form.BtnStopClick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 0);
    form.BtnStartClick();
    form.Scroll().Tick();
    form.Scroll().Timer1->stop();
    form.BtnZeroClick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 0);
    form.BtnStopClick();
}

TEST_F(WaveCommands, WaveMenuOptionsToggleAndMirrorTheDialog) {
    OpenCsv(500);
    TAmpScale& amp = *windows->AmpScale;
    form.Ui().Color1->trigger();
    EXPECT_FALSE(form.Ui().Color1->isChecked());
    for (Color c : form.State().Wave.ChannelColors) EXPECT_EQ(c, kBlack);
    EXPECT_FALSE(amp.CheckBox3->isChecked());
    form.Ui().Color1->trigger();
    EXPECT_EQ(form.State().Wave.ChannelColors[1], kBlue);

    form.Ui().Title1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowTitle);
    EXPECT_FALSE(amp.CheckBox1->isChecked());
    form.Ui().Filename1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowFileName);
    EXPECT_FALSE(amp.CheckBox13->isChecked());
    form.Ui().Scaling1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowScaling);
    form.Ui().ChannelComment1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowChannelComment);
    EXPECT_FALSE(amp.CheckBox2->isChecked());

    // The dialog's boxes run the same commands.
    amp.CheckBox2->setChecked(true);
    EXPECT_TRUE(form.Ui().ChannelComment1->isChecked());
    amp.CheckBox1->setChecked(true);
    EXPECT_TRUE(form.Ui().Title1->isChecked());
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(WaveCommands, RightButtonReleaseOnTheWaveOpensTheAmplitudeDialog) {
    form.Image1MouseUp(Qt::RightButton, 100, 100);  // nothing before a record
    EXPECT_FALSE(windows->AmpScale->isVisible());
    OpenCsv(500);
    form.Image1MouseUp(Qt::LeftButton, 100, 100);
    EXPECT_FALSE(windows->AmpScale->isVisible());
    form.Image1MouseUp(Qt::RightButton, 100, 100);
    EXPECT_TRUE(windows->AmpScale->isVisible());
}

}  // namespace
}  // namespace wavora::uitest
