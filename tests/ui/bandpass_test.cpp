// The band-pass dialog: its fields and labels, Execute with its checks, Default, Unfiltered and
// Close, and what each leaves in the filter indicator, the status and the run counter.

#include <QFile>

#include "app/bandpass_dialog.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using BandPass = WindowTest;

// What the user's typing does: the text, and the signal only typing sends.
void Type(QLineEdit* e, const std::string& text) {
    e->setText(QString::fromStdString(text));
    emit e->textEdited(e->text());
}

TEST_F(BandPass, OpenShowsTheLimitsOfTheCornersAndTheDefaultBand) {
    OpenCsv(1500);
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Text(d.Edit1), "1");
    EXPECT_EQ(Text(d.Edit2), "25.00");  // a quarter of the first record's rate
    EXPECT_EQ(Text(d.Label12), "0.50Hz");
    EXPECT_EQ(Text(d.Label11), "37.50Hz");
    EXPECT_EQ(Text(d.Label8), "Default Band 1.00Hz-37.50Hz");
    EXPECT_EQ(Text(d.Label7), "Filtering");
    EXPECT_EQ(Text(d.Label3), "Hz");
    EXPECT_TRUE(d.Label6->isHidden());
    EXPECT_EQ(d.Edit1->toolTip().toStdString(), "下限振動数（０Hzも可）設定");

    // Filter ▸ Arbitrary shows it too, with the box checked and the indicator shown; nothing is
    // filtered until Execute.
    d.close();
    Type(d.Edit2, "abc");
    form.Arbitrary1Click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(Text(d.Label11), "") << "no limit for a field that is no number";
    EXPECT_TRUE(form.Ui().Arbitrary1->isChecked());
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_FALSE(form.Ui().ImgFilter->isHidden());
    EXPECT_FALSE(form.State().RecordFiltered);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(BandPass, ExecuteFiltersWithTheTypedBand) {
    OpenCsv(1500);
    const std::vector<int16_t> raw = form.Record().Channels[0].Samples;
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    Type(d.Edit1, "2");
    Type(d.Edit2, " 10 ");
    const size_t dialogs = prompts.OpenRequests.size();
    d.Button1Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(prompts.OpenRequests.size(), dialogs) << "the file is read again without the dialog";
    const FilterState& f = form.State().Filter;
    EXPECT_EQ(f.Mode, FilterMode::Arbitrary);
    EXPECT_TRUE(f.Active);
    EXPECT_FLOAT_EQ(f.EffectiveLower, 2.0f);
    EXPECT_FLOAT_EQ(f.EffectiveUpper, 10.0f);
    EXPECT_TRUE(form.State().RecordFiltered);
    EXPECT_NE(form.Record().Channels[0].Samples, raw);
    EXPECT_EQ(Text(d.Label12), "1.00Hz");
    EXPECT_EQ(Text(d.Label11), "15.00Hz");
    EXPECT_EQ(Text(d.Label7), "Executed");
    EXPECT_EQ(Text(d.Label6), "1");
    EXPECT_TRUE(form.Ui().Arbitrary1->isChecked());
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_FALSE(form.Ui().ImgFilter->isHidden());

    // A low-pass from 0 Hz is a band too; the counter starts again from the command.
    Type(d.Edit1, "0");
    d.Button1Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_FLOAT_EQ(form.State().Filter.EffectiveLower, 0.0f);
    EXPECT_EQ(Text(d.Label6), "1");
    EXPECT_EQ(Text(d.Label12), "0.00Hz");
}

// Corners that are not numbers, or not a band, are refused before anything changes: no pass,
// the filter, the record, the labels and the counter as they were.
TEST_F(BandPass, ExecuteRefusesCornersThatAreNotABand) {
    struct Case {
        const char *Lower, *Upper, *Message;
    };
    const Case cases[] = {
        {"abc", "10", "'abc' is not a valid floating point value"},
        {"1", "", "'' is not a valid floating point value"},
        {"10", "5", "Illegal Corner Frequency"},
        {"5", "5", "Illegal Corner Frequency"},
        {"-1", "10", "Illegal Corner Frequency"},
    };
    OpenCsv(1200);
    form.Default1Click();
    const std::vector<int16_t> samples = form.Record().Channels[1].Samples;
    const FilterState filter = form.State().Filter;
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    const std::string lower = Text(d.Label12), upper = Text(d.Label11), status = Text(d.Label7);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Lower) + " / " + c.Upper);
        Type(d.Edit1, c.Lower);
        Type(d.Edit2, c.Upper);
        prompts.AnswerMessage();
        const size_t before = prompts.Messages.size();
        d.Button1Click();
        ASSERT_EQ(prompts.Messages.size(), before + 1);
        EXPECT_EQ(prompts.Messages.back().Text, c.Message);
        EXPECT_EQ(prompts.Messages.back().Caption, "Frequency Error");
        EXPECT_EQ(prompts.Messages.back().Icon, MessageIcon::Warning);
        EXPECT_EQ(form.State().Filter.Mode, FilterMode::Default);
        EXPECT_FLOAT_EQ(form.State().Filter.ArbitraryLower, filter.ArbitraryLower);
        EXPECT_FLOAT_EQ(form.State().Filter.ArbitraryUpper, filter.ArbitraryUpper);
        EXPECT_EQ(form.Record().Channels[1].Samples, samples);
        EXPECT_EQ(Text(d.Label12), lower);
        EXPECT_EQ(Text(d.Label11), upper);
        EXPECT_EQ(Text(d.Label7), status);
        EXPECT_EQ(Text(d.Label6), "1");
        EXPECT_TRUE(form.Ui().Default1->isChecked());
    }
}

TEST_F(BandPass, DefaultAndUnfilteredFollowTheFilterMenu) {
    OpenCsv(1500);
    const std::vector<int16_t> raw = form.Record().Channels[0].Samples;
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    d.Button3Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_TRUE(form.Ui().Default1->isChecked());
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_FALSE(form.Ui().ImgFilter->isHidden());
    EXPECT_FLOAT_EQ(form.State().Filter.EffectiveUpper, 37.5f);
    EXPECT_TRUE(form.State().RecordFiltered);
    EXPECT_EQ(Text(d.Label7), "Executed");
    EXPECT_EQ(Text(d.Label6), "1");

    d.Button4Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_TRUE(form.Ui().None2->isChecked());
    EXPECT_FALSE(form.Ui().CBLowCut->isChecked());
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
    EXPECT_FALSE(form.State().RecordFiltered);
    EXPECT_EQ(form.Record().Channels[0].Samples, raw);
    EXPECT_EQ(Text(d.Label7), "Unfiltered");
    EXPECT_EQ(Text(d.Label6), "0");
}

TEST_F(BandPass, UnfilteredIsRefusedWhileIntegrating) {
    prompts.AnswerFile(
        dir.Write("v.csv", test::StandardCsvFile({"V"}, 100, "s", {"kine"}, test::SineRows(1, 1500))));
    form.IntegOnClick();
    form.Default1Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    EXPECT_EQ(Text(d.Label7), "Executed");
    d.Button4Click();
    EXPECT_TRUE(form.Ui().Default1->isChecked());
    EXPECT_TRUE(form.State().RecordFiltered);
    EXPECT_EQ(Text(d.Label7), "Executed") << "the status says what the samples still are";
    EXPECT_EQ(Text(d.Label6), "1");
}

TEST_F(BandPass, CloseHidesTheIndicatorAndKeepsTheFilter) {
    OpenCsv(1500);
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    Type(d.Edit2, "20");
    d.Button1Click();
    d.Button2Click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
    EXPECT_EQ(form.State().Filter.Mode, FilterMode::Arbitrary);
    EXPECT_TRUE(form.State().Filter.Active);
    // The next pass still filters with the band.
    ASSERT_TRUE(form.ReprocessRecord());
    EXPECT_TRUE(form.State().RecordFiltered);
    EXPECT_FLOAT_EQ(form.State().Filter.EffectiveUpper, 20.0f);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

// Filter ▸ Arbitrary without Execute leaves the corners a new session starts with (1, 0): the
// pass that follows says so and leaves the samples unfiltered.
TEST_F(BandPass, ThePassNeverFiltersWithCornersThatAreNotABand) {
    OpenCsv(1500);
    const std::vector<int16_t> raw = form.Record().Channels[2].Samples;
    form.Arbitrary1Click();
    windows->BandPass->Button2Click();
    form.CBLowCutClick(false);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    prompts.AnswerMessage();
    form.CBLowCutClick(true);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "Illegal Corner Frequency");
    EXPECT_EQ(prompts.Messages[0].Caption, "Frequency Error");
    EXPECT_FALSE(form.State().RecordFiltered);
    EXPECT_EQ(form.Record().Channels[2].Samples, raw);
    EXPECT_EQ(form.State().BandPass.RunCount, 0);
}

TEST_F(BandPass, AnExecuteWhoseFileIsGonePutsEverythingBack) {
    const std::string path = OpenCsv(1500);
    TBandPass& d = *windows->BandPass;
    form.SBFilterClick();
    Type(d.Edit1, "3");
    Type(d.Edit2, "12");
    QFile::remove(QString::fromStdString(path));
    prompts.AnswerMessage();
    d.Button1Click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(form.State().Filter.Mode, FilterMode::Unfiltered);
    EXPECT_FALSE(form.State().Filter.Active);
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
    EXPECT_EQ(Text(d.Label7), "Filtering");
    EXPECT_EQ(Text(d.Label12), "0.50Hz");
    EXPECT_EQ(form.Record().SampleCount, 1500);
    // The typed corners stay in the fields.
    EXPECT_EQ(Text(d.Edit1), "3");
}

}  // namespace
}  // namespace wavora::uitest
