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
    form.RadioGroup1->SetItemIndex(1);
    form.RadioGroup1Click();
    EXPECT_EQ(form.State().Wave.Step, 2);
    EXPECT_EQ(form.RadioGroup1->title().toStdString(), "Step 0.0200 [s]");
    form.RadioGroup1->SetItemIndex(3);
    form.RadioGroup1Click();
    EXPECT_EQ(form.State().Wave.Step, 10);
    EXPECT_EQ(form.RadioGroup1->title().toStdString(), "Step 0.1000 [s]");
}

TEST_F(WaveCommands, TimeScaleMenuAndDialogFollowEachOther) {
    OpenCsv(2500);
    TAmpScale& amp = *windows->AmpScale;
    form.N41->trigger();
    EXPECT_EQ(form.State().Wave.TimeScale, 4);
    EXPECT_TRUE(form.N41->isChecked());
    EXPECT_FALSE(form.N11->isChecked());
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 2);
    form.N82->trigger();
    EXPECT_EQ(form.State().Wave.TimeScale, 8);
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 3);

    // From the dialog: the menu follows, the dialog keeps its own choice.
    amp.RadioGroup2->SetItemIndex(1);
    amp.RadioGroup2Click();
    EXPECT_EQ(form.State().Wave.TimeScale, 2);
    EXPECT_TRUE(form.N21->isChecked());
    EXPECT_FALSE(form.N82->isChecked());
    EXPECT_EQ(amp.RadioGroup2->ItemIndex(), 1);
}

TEST_F(WaveCommands, NextAndPrevMoveBySpanOverSkipAndWrap) {
    OpenCsv(2500);
    form.RadioGroup1->SetItemIndex(1);  // step 2
    form.RadioGroup1Click();
    form.SkipClick(form.Nquoto);  // a quarter: 2 × 1024 / 4
    EXPECT_TRUE(form.BtnBack->isEnabled());
    EXPECT_TRUE(form.CBSkip->isChecked());
    form.BtnNextClick();
    EXPECT_EQ(form.TrackBar1->value(), 512);
    EXPECT_EQ(Text(form.Label21), "512");
    EXPECT_EQ(Text(form.EdPosition), "512");
    EXPECT_EQ(form.State().Wave.DisplayPosition, 512);
    form.TrackBar1->setValue(2000);
    form.BtnNextClick();  // 2512 is past the end
    EXPECT_EQ(form.TrackBar1->value(), 0);
    form.TrackBar1->setValue(300);
    form.BtnPrevClick();  // below 0 stops at 0
    EXPECT_EQ(form.TrackBar1->value(), 0);
    form.TrackBar1->setValue(1500);
    form.BtnPrevClick();
    EXPECT_EQ(form.TrackBar1->value(), 988);

    // Skip "0": the arrows do nothing and Back is locked.
    form.SkipClick(form.Nnone);
    EXPECT_FALSE(form.BtnBack->isEnabled());
    EXPECT_FALSE(form.CBSkip->isChecked());
    form.BtnNextClick();
    EXPECT_EQ(form.TrackBar1->value(), 988);
}

TEST_F(WaveCommands, PositionFieldTakesTheLeadingNumberWithinTheRecord) {
    OpenCsv(2500);
    form.EdPosition->setText("1234abc");
    EXPECT_EQ(form.TrackBar1->value(), 1234);
    EXPECT_EQ(Text(form.Label21), "1234");
    form.EdPosition->setText("99999");
    EXPECT_EQ(form.TrackBar1->value(), 2500);
    form.EdPosition->setText("xyz");
    EXPECT_EQ(form.TrackBar1->value(), 0);
    form.EdPosition->setText("");  // ignored
    EXPECT_EQ(form.TrackBar1->value(), 0);
    form.TrackBar1->setValue(800);
    form.BtnZeroClick();
    EXPECT_EQ(form.TrackBar1->value(), 0);
    EXPECT_EQ(form.State().ListStart, 0);
}

TEST_F(WaveCommands, ScrollTimerStepsToTheEndAndStopRestoresTheControls) {
    OpenCsv(30);
    form.RadioGroup1->SetItemIndex(2);  // step 5
    form.TrackBar1->setValue(10);
    form.BtnStartClick();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_FALSE(form.BtnFile->isEnabled());
    EXPECT_FALSE(form.BtnRun->isEnabled());
    EXPECT_TRUE(form.BtnStop->isEnabled());
    EXPECT_FALSE(form.SBFileSave->isEnabled());
    EXPECT_EQ(form.State().Wave.Step, 5);
    form.Timer1Timer();
    EXPECT_EQ(form.TrackBar1->value(), 10);
    EXPECT_EQ(form.State().Wave.DisplayPosition, 15);
    form.Timer1Timer();
    form.Timer1Timer();
    form.Timer1Timer();  // shows 25, then reaches 30
    EXPECT_EQ(Text(form.EdPosition), "25");
    EXPECT_FALSE(form.Timer1->isActive());
    // The display stays on the last picture drawn, so a redraw does not empty it.
    EXPECT_EQ(form.State().Wave.DisplayPosition, 25);
    EXPECT_FALSE(form.BtnFile->isEnabled());  // locked until Stop
    form.BtnStopClick();
    EXPECT_TRUE(form.BtnFile->isEnabled());
    EXPECT_FALSE(form.BtnStop->isEnabled());
    EXPECT_TRUE(form.SBFileSave->isEnabled());

    // Stopped after one tick at 0: the display and "0" agree with the slider.
    form.TrackBar1->setValue(0);
    form.BtnStartClick();
    form.Timer1Timer();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 5);
    form.BtnStopClick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 0);
    form.BtnStartClick();
    form.Timer1Timer();
    form.Timer1->stop();
    form.BtnZeroClick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 0);
    form.BtnStopClick();
}

TEST_F(WaveCommands, WaveMenuOptionsToggleAndMirrorTheDialog) {
    OpenCsv(500);
    TAmpScale& amp = *windows->AmpScale;
    form.Color1->trigger();
    EXPECT_FALSE(form.Color1->isChecked());
    for (Color c : form.State().Wave.ChannelColors) EXPECT_EQ(c, kBlack);
    EXPECT_FALSE(amp.CheckBox3->isChecked());
    form.Color1->trigger();
    EXPECT_EQ(form.State().Wave.ChannelColors[1], kBlue);

    form.Title1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowTitle);
    EXPECT_FALSE(amp.CheckBox1->isChecked());
    form.Filename1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowFileName);
    EXPECT_FALSE(amp.CheckBox13->isChecked());
    form.Scaling1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowScaling);
    form.ChannelComment1->trigger();
    EXPECT_FALSE(form.State().Wave.ShowChannelComment);
    EXPECT_FALSE(amp.CheckBox2->isChecked());

    // The dialog's boxes run the same commands.
    amp.CheckBox2->setChecked(true);
    EXPECT_TRUE(form.ChannelComment1->isChecked());
    amp.CheckBox1->setChecked(true);
    EXPECT_TRUE(form.Title1->isChecked());
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
