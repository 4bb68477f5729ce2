// The amplitude dialog: magnification fields, display boxes, the magnification group.

#include <QCheckBox>

#include "display/amp_scale_dialog.h"
#include "display/radio_group.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using AmpScale = WindowTest;

TEST_F(AmpScale, OkTakesTheTypedMagnifications) {
    OpenCsv(500);
    TAmpScale& amp = *windows->AmpScale;
    amp.Edits[0]->setText("0.5");
    amp.Edits[1]->setText(" 3 ");
    amp.Button3Click();
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[0], 0.5f);
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[1], 3.0f);
    EXPECT_TRUE(prompts.Messages.empty());

    // A text that is no number stops at that field.
    amp.Edits[0]->setText("2");
    amp.Edits[1]->setText("abc");
    amp.Edits[2]->setText("4");
    prompts.AnswerMessage();
    amp.Button3Click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "'abc' is not a valid floating point value");
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[0], 2.0f);
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[1], 3.0f);
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[2], 1.0f);
}

TEST_F(AmpScale, AtLeastOneChannelMustBeShown) {
    OpenCsv(500, "two.csv", 2);
    TAmpScale& amp = *windows->AmpScale;
    amp.DisplayBoxes[0]->setChecked(false);
    EXPECT_EQ(form.State().Wave.DisplayedCount, 1);
    EXPECT_TRUE(prompts.Messages.empty());
    prompts.AnswerMessage();
    amp.DisplayBoxes[1]->setChecked(false);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "No Display Channel !! ");
    EXPECT_EQ(prompts.Messages[0].Caption, "Display Channnel");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Warning);
    // Refused: the last channel stays shown, in the box and in later drawings.
    EXPECT_TRUE(amp.DisplayBoxes[1]->isChecked());
    EXPECT_TRUE(form.State().Wave.DisplayChannels[1]);
    EXPECT_EQ(form.State().Wave.DisplayedCount, 1);

    // "All" shows every channel again.
    amp.Button1Click();
    EXPECT_EQ(form.State().Wave.DisplayedCount, 2);
    for (QCheckBox* b : amp.DisplayBoxes) EXPECT_TRUE(b->isChecked());
}

TEST_F(AmpScale, MagnificationGroupSetsTheRecordsChannels) {
    OpenCsv(500, "three.csv", 3);
    TAmpScale& amp = *windows->AmpScale;
    amp.RadioGroup1Click(4);
    EXPECT_FLOAT_EQ(form.State().Wave.WaveMagnification, 0.2f);
    EXPECT_EQ(amp.Edits[0]->text().toStdString(), "0.2");
    EXPECT_EQ(amp.Edits[2]->text().toStdString(), "0.2");
    EXPECT_EQ(amp.Edits[3]->text().toStdString(), "1");
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[2], 0.2f);

    // A new load brings every channel back to ×1.
    OpenCsv(500, "again.csv", 3);
    EXPECT_EQ(amp.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(amp.Edits[2]->text().toStdString(), "1");
    EXPECT_FLOAT_EQ(form.State().Wave.ChannelMagnification[2], 1.0f);
    EXPECT_FLOAT_EQ(form.State().Wave.WaveMagnification, 1.0f);
}

TEST_F(AmpScale, LoadingShowsEveryChannelWithoutComplaining) {
    OpenCsv(500, "one.csv", 1);
    prompts.AnswerMessage();
    windows->AmpScale->DisplayBoxes[0]->setChecked(false);  // refused: the only channel
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_TRUE(windows->AmpScale->DisplayBoxes[0]->isChecked());
    OpenCsv(500, "next.csv", 1);
    EXPECT_EQ(prompts.Messages.size(), 1u) << prompts.LastText();
    EXPECT_EQ(form.State().Wave.DisplayedCount, 1);
}

}  // namespace
}  // namespace wavora::uitest
