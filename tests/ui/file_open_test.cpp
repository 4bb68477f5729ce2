// The file-open pass through the main window: read-outs, max table, channel boxes, slider, and what a
// failed or cancelled load leaves.

#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/listup_dialog.h"
#include "app/small_windows.h"
#include "display/amp_scale_dialog.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "support/record_files.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using FileOpen = WindowTest;

TEST_F(FileOpen, StandardCsvFillsReadOutsGridBoxesAndSlider) {
    OpenCsv(2500, "deck.csv", 3);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ASSERT_EQ(prompts.OpenRequests.size(), 1u);
    EXPECT_EQ(prompts.OpenRequests[0].Filter, TForm1::kOpenFilter);
    EXPECT_EQ(prompts.OpenRequests[0].FilterIndex, 1);

    EXPECT_EQ(Text(form.Ui().Label1), "deck.csv");
    EXPECT_EQ(Text(form.Ui().Label2), "3");
    EXPECT_EQ(Text(form.Ui().Label3), "2500");
    EXPECT_EQ(Text(form.Ui().Label4), "100/s");
    EXPECT_EQ(Text(form.Ui().Label24), "25.00 (s)");
    EXPECT_EQ(Text(form.Ui().Label25), "0.0100 (s)");
    EXPECT_EQ(Text(form.Ui().Label30), "s");
    EXPECT_EQ(Text(form.Ui().Label12).size(), 19u);  // the file's date and time
    EXPECT_EQ(Text(form.Ui().Data), "Data");
    EXPECT_EQ(Text(form.Ui().Data1), "Data1");

    // The grid heads the channels with name, unit and maximum, then lists from sample 0.
    StringGrid& g = *form.Ui().StringGrid1;
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Cell(0, 1), "  Unit");
    EXPECT_EQ(g.Cell(0, 2), "  Max");
    EXPECT_EQ(g.Cell(1, 0), "Pier1");
    EXPECT_EQ(g.Cell(3, 1), "   Gal");
    const float peak3 = form.Record().Channels[2].PeakValue;
    EXPECT_NEAR(peak3, 3.0f, 0.01f);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%8.3f", peak3);
    EXPECT_EQ(g.Cell(3, 2), buf);
    EXPECT_EQ(g.Cell(0, 3), "     0");

    // Channel boxes: 1 checked, those of the record enabled.
    EXPECT_TRUE(form.Ui().CBCh[0]->isChecked());
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(form.Ui().CBCh[k]->isEnabled());
    for (int k = 3; k < 8; ++k) {
        EXPECT_FALSE(form.Ui().CBCh[k]->isEnabled());
        EXPECT_FALSE(form.Ui().CBCh[k]->isChecked());
    }

    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 2500);
    EXPECT_EQ(form.Ui().TrackBar1->tickInterval(), 125);
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
    EXPECT_EQ(Text(form.Ui().Label21), "0");
    EXPECT_EQ(Text(form.Ui().EdPosition), "0");
    EXPECT_EQ(form.Ui().RadioGroup1->title().toStdString(), "Step 0.0100 [s]");

    // Controls of a loaded record; the running spectrum waits for a first run.
    for (QWidget* w : std::initializer_list<QWidget*>{
             form.Ui().BtnList, form.Ui().BtnStart, form.Ui().BtnRun, form.Ui().TrackBar1,
             form.Ui().EdPosition, form.Ui().BtnZero, form.Ui().RadioGroup1, form.Ui().SBFilter,
             form.Ui().SBFileSave, form.Ui().SBCorr})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(form.Ui().SBRunSpec->isEnabled());
    for (QMenu* m :
         {form.Ui().Filter1, form.Ui().Wave1, form.Ui().Spectrum1, form.Ui().Edit1, form.Ui().WriteDataFile1})
        EXPECT_TRUE(m->menuAction()->isEnabled()) << m->objectName().toStdString();
    EXPECT_FALSE(form.Ui().AnalizedData1->isEnabled());
    EXPECT_TRUE(form.Ui().Copy1->isEnabled());
    EXPECT_TRUE(form.Ui().FileComment1->isEnabled());
    EXPECT_FALSE(form.Ui().FConvert->isEnabled());

    // The amplitude dialog shows the record's channels at ×1.
    TAmpScale& amp = *windows->AmpScale;
    EXPECT_TRUE(amp.Edits[2]->isEnabled());
    EXPECT_FALSE(amp.Edits[3]->isEnabled());
    EXPECT_EQ(amp.Edits[0]->text().toStdString(), "1");
    EXPECT_EQ(form.State().Wave.DisplayedCount, 3);

    // Drawn and listed; the list-up dialog is closed again.
    EXPECT_TRUE(form.State().Wave.WaveShown);
    EXPECT_EQ(form.State().Wave.DisplayKind, 1);
    EXPECT_FALSE(windows->Listup->isVisible());
    EXPECT_EQ(form.State().BandPass.UpperText, "25.00");
    EXPECT_TRUE(form.State().DataLoaded);
}

TEST_F(FileOpen, DspCsvThroughItsFormatItem) {
    std::vector<std::vector<int>> rows;
    for (int i = 0; i < 400; ++i) rows.push_back({i * 1024, -i * 2048});
    prompts.AnswerFile(dir.Write("gpl.csv", test::DspCsvFile({"NS", "EW"}, 10, rows)));
    form.FormatTypeClick(FormatType::CsvGpl);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(prompts.OpenRequests[0].FilterIndex, 2);
    EXPECT_EQ(Text(form.Ui().Label28), "CSV(GPL)");
    EXPECT_EQ(Text(form.Ui().Label1), "gpl.csv");
    EXPECT_EQ(Text(form.Ui().Label2), "2");
    EXPECT_EQ(Text(form.Ui().Label3), "400");
    EXPECT_EQ(Text(form.Ui().Label4), "100/s");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(1, 0), "NS");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(2, 1), "   Gal");
    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 400);
    EXPECT_EQ(form.Ui().TrackBar1->tickInterval(), 20);
    EXPECT_EQ(form.Record().Channels[0].DisplayDivisor, 1024);

    // A file one line short loads after its notice.
    rows.pop_back();
    prompts.AnswerFile(dir.Write("short.csv", test::DspCsvFile({"NS", "EW"}, 10, rows, 800)));
    prompts.AnswerMessage();
    form.BtnFileClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "  Data Number incorrect !  ");
    EXPECT_EQ(Text(form.Ui().Label1), "short.csv");
}

TEST_F(FileOpen, Spc51HeadsChannelsByNumberAndConvertsUnits) {
    test::Spc51Image image;
    image.Title = "Pier 3 north";
    image.Date = "2024/05/06 07:08:09";
    image.SamplingRate = 200;
    for (int k = 0; k < 3; ++k) {
        test::Spc51Channel ch;
        ch.Name = "Site " + std::to_string(k + 1);
        ch.Unit = k == 0 ? "mm" : k == 1 ? "kine" : "gal";
        ch.Scale = 0.01f;
        ch.MaxRaw = 300;
        ch.MinRaw = -700;
        for (int i = 0; i < 1000; ++i) ch.Samples.push_back(static_cast<int16_t>((i % 40 - 20) * 30));
        image.Channels.push_back(ch);
    }
    prompts.AnswerFile(dir.Write("meter.dbl", test::BuildSpc51(image)));
    form.FormatTypeClick(FormatType::Spc51);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(prompts.OpenRequests[0].FilterIndex, 3);
    EXPECT_EQ(Text(form.Ui().Label28), "SPC-51");
    EXPECT_EQ(Text(form.Ui().Label2), "3");
    EXPECT_EQ(Text(form.Ui().Label3), "1000");
    EXPECT_EQ(Text(form.Ui().Label4), "200/s");
    EXPECT_EQ(Text(form.Ui().Label11), "Pier 3 north");
    EXPECT_EQ(Text(form.Ui().Label12), "2024/05/06 07:08:09");
    StringGrid& g = *form.Ui().StringGrid1;
    // After the pass the grid shows the first listing page with the meter's headings.
    EXPECT_EQ(g.Cell(1, 0), "    CH 1");
    EXPECT_EQ(g.Cell(1, 1), "   micron");
    EXPECT_EQ(g.Cell(2, 1), "   mkine");
    EXPECT_EQ(g.Cell(3, 1), "   Gal");
    EXPECT_EQ(form.Record().Channels[0].Unit, "micron");  // relabelled by the listing
    EXPECT_EQ(form.Record().Channels[0].DisplayDivisor, 16);
    EXPECT_FLOAT_EQ(form.Record().Channels[0].ScaleFactor, 10.0f);
    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 1000);
    EXPECT_TRUE(form.Ui().CBCh[2]->isEnabled());
    EXPECT_FALSE(form.Ui().CBCh[3]->isEnabled());
}

TEST_F(FileOpen, Spc35ReadsOffsetBinaryWithItsUnitCode) {
    test::Spc35Image image;
    image.SamplingRate = 50;
    image.UnitCode = 1;
    image.Channels = {std::vector<uint16_t>(600, 32768 + 1000), std::vector<uint16_t>(600, 32768 - 2000)};
    prompts.AnswerFile(dir.Write("small.DBL", test::BuildSpc35(image)));
    form.FormatTypeClick(FormatType::Spc35);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(prompts.OpenRequests[0].FilterIndex, 4);
    EXPECT_EQ(Text(form.Ui().Label28), "SPC-35");
    EXPECT_EQ(Text(form.Ui().Label2), "2");
    EXPECT_EQ(Text(form.Ui().Label3), "600");
    EXPECT_EQ(Text(form.Ui().Label4), "50/s");
    EXPECT_EQ(Text(form.Ui().Label12), "2024/05/07 09:03:01");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(2, 0), "    CH 2");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(1, 1), "   mkine");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(2, 2), "   2.000");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(1, 3), "   1.000");
    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 600);

    // One frame short of the header: refused, the record stays.
    image.FramesWritten = 599;
    prompts.AnswerFile(dir.Write("short.dbl", test::BuildSpc35(image)));
    prompts.AnswerMessage();
    form.BtnFileClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "  Data Number incorrect!!  ");
    EXPECT_EQ(Text(form.Ui().Label1), "small.DBL");
    EXPECT_EQ(form.Record().SampleCount, 600);
}

TEST_F(FileOpen, MillisecondRecordSwitchesTheUnitTexts) {
    std::string path =
        dir.Write("fast.csv", test::StandardCsvFile({"A"}, 1000, "ms", {"mm"}, test::SineRows(1, 200)));
    Open(path);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(Text(form.Ui().Label30), "ms");
    EXPECT_EQ(Text(form.Ui().Label4), "1000/ms");
    EXPECT_EQ(Text(form.Ui().Label25), "0.0010 (ms)");
    EXPECT_TRUE(form.Ui().milisecond->isChecked());
    EXPECT_FALSE(form.Ui().second->isChecked());
    EXPECT_STREQ(form.State().Record.FrequencyText(), "kHz");
}

TEST_F(FileOpen, CancelledDialogChangesNothing) {
    prompts.CancelFile();
    form.BtnFileClick();
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_FALSE(form.State().DataLoaded);
    EXPECT_FALSE(form.Ui().BtnList->isEnabled());
    EXPECT_FALSE(form.Ui().WriteDataFile1->menuAction()->isEnabled());
}

TEST_F(FileOpen, TooLongPathIsRefused) {
    const std::string path = "/" + std::string(260, 'a') + ".csv";
    prompts.AnswerMessage();
    Open(path);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "File path to data file is too long!\n\n" + path + "     ");
    EXPECT_EQ(prompts.Messages[0].Caption, "File Path Error");
    EXPECT_FALSE(form.State().DataLoaded);
}

TEST_F(FileOpen, AFailedLoadKeepsThePreviousRecordUsable) {
    OpenCsv(2500, "good.csv");
    form.Ui().TrackBar1->setValue(700);

    // A CSV file without a sampling rate.
    std::string bad = dir.Write("bad.csv", "A,B\n0,s\nmemo\nGal,Gal\n1,2\n3,4\n");
    prompts.AnswerMessage();
    Open(bad);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "File Error");
    EXPECT_EQ(Text(form.Ui().Label1), "good.csv");
    EXPECT_EQ(form.Record().FileName, "good.csv");
    EXPECT_EQ(form.Record().SampleCount, 2500);
    EXPECT_EQ(form.Record().ChannelCount, 3);
    EXPECT_EQ(form.Ui().TrackBar1->value(), 700);
    EXPECT_EQ(form.Ui().TrackBar1->maximum(), 2500);
    EXPECT_TRUE(form.Ui().BtnRun->isEnabled());

    // A binary format refuses a file that is not a .dbl; the chosen format stays chosen.
    prompts.AnswerFile(dir.Write("plain.csv", "x"));
    prompts.AnswerMessage();
    form.FormatTypeClick(FormatType::Spc51);
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(prompts.Messages[1].Text, "  Not SPC51/35 Data File!  ");
    EXPECT_EQ(prompts.Messages[1].Caption, "WAVORA 4.8");
    EXPECT_EQ(prompts.OpenRequests.back().FilterIndex, 3);
    EXPECT_TRUE(form.Ui().SPC51->isChecked());
    EXPECT_FALSE(form.Ui().CSVDef->isChecked());
    EXPECT_EQ(Text(form.Ui().Label28), "SPC-51");
    EXPECT_EQ(form.Record().Format, FormatType::CsvDefault);
    EXPECT_EQ(form.Record().SampleCount, 2500);

    // The kept record still draws, lists and re-processes its own file in its own format.
    form.DrawWave();
    form.BtnZeroClick();
    EXPECT_EQ(form.State().Wave.DisplayPosition, 0);
    form.Default1Click();
    EXPECT_EQ(prompts.Messages.size(), 2u) << prompts.LastText();
    EXPECT_EQ(form.Record().FileName, "good.csv");
    EXPECT_TRUE(form.Ui().Default1->isChecked());
    EXPECT_EQ(form.State().BandPass.RunCount, 1);
}

TEST_F(FileOpen, DefaultFilterReprocessesWithoutTheDialog) {
    OpenCsv(3000);
    const size_t dialogs = prompts.OpenRequests.size();
    form.Default1Click();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(prompts.OpenRequests.size(), dialogs);
    EXPECT_TRUE(form.Ui().Default1->isChecked());
    EXPECT_FALSE(form.Ui().None2->isChecked());
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_FALSE(form.Ui().ImgFilter->isHidden());
    EXPECT_FLOAT_EQ(form.State().Filter.EffectiveLower, 1.0f);
    EXPECT_FLOAT_EQ(form.State().Filter.EffectiveUpper, 37.5f);
    EXPECT_EQ(form.State().BandPass.RunCount, 1);
    EXPECT_EQ(form.State().BandPass.Status, "Executed");
    EXPECT_FALSE(windows->Process->isVisible());

    form.None2Click();
    EXPECT_TRUE(form.Ui().None2->isChecked());
    EXPECT_FALSE(form.Ui().CBLowCut->isChecked());
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
}

TEST_F(FileOpen, AFailedReprocessPutsTheFilterSettingsBack) {
    std::string path = OpenCsv(1000);
    QFile::remove(QString::fromStdString(path));
    prompts.AnswerMessage();
    form.Default1Click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_TRUE(form.Ui().None2->isChecked());
    EXPECT_FALSE(form.Ui().Default1->isChecked());
    EXPECT_FALSE(form.Ui().CBLowCut->isChecked());
    EXPECT_TRUE(form.Ui().ImgFilter->isHidden());
    EXPECT_EQ(form.State().Filter.Mode, FilterMode::Unfiltered);
    EXPECT_EQ(form.Record().SampleCount, 1000);
    // The next File press shows the dialog again.
    prompts.CancelFile();
    const size_t dialogs = prompts.OpenRequests.size();
    form.BtnFileClick();
    EXPECT_EQ(prompts.OpenRequests.size(), dialogs + 1);
}

TEST_F(FileOpen, CancelledIntegrationLeavesTheOptionOff) {
    OpenCsv(1000);
    prompts.CancelFile();
    form.IntegOnClick();
    // The dialog offers the open record again.
    EXPECT_EQ(prompts.OpenRequests.back().InitialPath, form.Record().FilePath);
    EXPECT_FALSE(form.Ui().IntegOn->isChecked());
    EXPECT_TRUE(form.Ui().IntegOff->isChecked());
    EXPECT_TRUE(form.Ui().ImgInteg->isHidden());
    EXPECT_FALSE(form.State().Load.IntegrationOn);

    // Clipping at 95 % with the file picked again.
    prompts.AnswerFile(form.Record().FilePath);
    form.ClippingClick(1);
    EXPECT_TRUE(form.Ui().PCNT75->isChecked());
    EXPECT_FALSE(form.Ui().PCNT100->isChecked());
    EXPECT_FALSE(form.Ui().ImgClip->isHidden());
    EXPECT_TRUE(form.State().Load.ClipOn);
    EXPECT_NEAR(form.Record().Channels[0].PeakValue, 0.95f, 0.01f);
}

TEST_F(FileOpen, IntegrationChecksTheFilterBox) {
    prompts.AnswerFile(
        dir.Write("v.csv", test::StandardCsvFile({"V"}, 100, "s", {"kine"}, test::SineRows(1, 1500))));
    form.IntegOnClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_FALSE(form.Ui().ImgFilter->isHidden());
    EXPECT_FALSE(form.Ui().ImgInteg->isHidden());
    EXPECT_EQ(form.Record().Channels[0].DisplayUnit, "μ");
    EXPECT_EQ(form.Record().Channels[0].DisplayDivisor, 4);
    // "Unfiltered" is refused while integrating.
    const size_t dialogs = prompts.OpenRequests.size();
    form.None2Click();
    EXPECT_TRUE(form.Ui().CBLowCut->isChecked());
    EXPECT_TRUE(form.State().Filter.Active);
    EXPECT_TRUE(form.State().Load.IntegrationOn);
    EXPECT_EQ(prompts.OpenRequests.size(), dialogs);
}

// The data note says what was done to the samples: "Filter" checked while the menu says
// "Unfiltered" filters nothing, and integration switched on and off again leaves them unfiltered.
TEST_F(FileOpen, TheFilterNoteFollowsWhatWasDoneToTheSamples) {
    OpenCsv(1000);
    form.CBLowCutClick(true);
    EXPECT_TRUE(form.State().Filter.Active);
    EXPECT_FALSE(form.State().RecordFiltered);
    form.Default1Click();
    EXPECT_TRUE(form.State().RecordFiltered);
    form.None2Click();
    EXPECT_FALSE(form.State().RecordFiltered);

    // Integration checks "Filter", but with the mode "Unfiltered" nothing is filtered.
    prompts.AnswerFile(form.Record().FilePath);
    form.IntegOnClick();
    EXPECT_TRUE(form.State().Filter.Active);
    EXPECT_FALSE(form.State().RecordFiltered);
    prompts.AnswerFile(form.Record().FilePath);
    form.IntegOffClick();
    EXPECT_TRUE(form.State().Filter.Active) << "the Filter box stays as integration left it";
    EXPECT_FALSE(form.State().RecordFiltered);
}

// A read that takes long shows how far it is; Cancel stops it and keeps the open record, without a
// message. Shown from the first report here (the program waits a moment before showing it).
TEST_F(FileOpen, ALongLoadShowsItsProgressAndCanBeCancelled) {
    OpenCsv(1000, "open.csv", 2);
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    form.ProgressDelayMs = 0;
    TProcess& notice = *windows->Process;
    const std::string big =
        dir.Write("big.csv", test::StandardCsvFile({"A"}, 100, "s", {"Gal"}, test::SineRows(1, 200000)));

    // Cancel pressed while the notice shows: the load stops at the next report.
    bool pressed = false;
    QTimer::singleShot(0, &notice, [&] {
        pressed = notice.isVisible() && notice.BtnCancel->isVisible() && notice.ProgressBar->isVisible();
        notice.BtnCancel->click();
    });
    Open(big);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(form.Record().FileName, "open.csv");
    EXPECT_EQ(form.Record().SampleCount, 1000);
    EXPECT_EQ(Text(form.Ui().Label1), "open.csv");

    // The next load starts afresh and runs to its end, the bar full, the notice gone.
    int lastValue = -1;
    QTimer::singleShot(0, &notice, [&] { lastValue = notice.ProgressBar->value(); });
    Open(big);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_GE(lastValue, 0);
    EXPECT_FALSE(notice.isVisible());
    EXPECT_FALSE(notice.CancelPressed());
    EXPECT_EQ(form.Record().SampleCount, 200000);
}

}  // namespace
}  // namespace wavora::uitest
