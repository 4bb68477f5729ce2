// The spectrum run in the main window: its messages, the padding question, the listing, the
// skip, the ratio, MEM, File Save, the statistics, the mouse over the picture, and the picture
// itself against the batch tool's.

#include <QImage>

#include "display/image_view.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "support/run_program.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using SpectrumRunWindow = WindowTest;

TEST_F(SpectrumRunWindow, ChecksStopTheRunWithTheirMessages) {
    OpenCsv(4096);
    struct Case {
        std::function<void()> Set;
        const char* Text;
        const char* Caption;
    } cases[] = {
        {[&] { form.CBChClick(0, false); }, "No Channel Selected!!", "Channel Error"},
        {[&] {
             form.CBChClick(0, true);
             form.CBChClick(1, true);
             form.CBChClick(2, true);
             form.RatioClick(1);
         },
         "Two Channels not Selected for Spectral Ratio !!  ", "Channel Error"},
    };
    for (const Case& c : cases) {
        c.Set();
        prompts.AnswerMessage();
        form.BtnRunClick();
        EXPECT_EQ(prompts.LastText(), c.Text);
        EXPECT_EQ(prompts.Messages.back().Caption, c.Caption);
        EXPECT_EQ(form.State().Wave.DisplayKind, kShowWave) << "nothing drawn";
        EXPECT_EQ(form.State().Position, 0);
    }

    // At the end of the data: the message, and back to the start.
    form.RatioClick(0);
    form.MovePosition(4096);
    prompts.AnswerMessage();
    form.BtnRunClick();
    EXPECT_EQ(prompts.LastText(), "Data exhasuted. Return to initial point.");
    EXPECT_EQ(prompts.Messages.back().Caption, "Data Exhasuted");
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_EQ(form.Ui().TrackBar1->value(), 0);
}

TEST_F(SpectrumRunWindow, ARunListsDrawsAndMovesOn) {
    OpenCsv(4096);
    EXPECT_FALSE(form.Ui().CBMEM->isEnabled());
    EXPECT_FALSE(form.Ui().AnalizedData1->isEnabled());
    form.RadioGroup1Click(1);  // step 2
    form.SkipClick(2);         // half a span
    form.BtnRunClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();

    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    EXPECT_FALSE(form.State().Wave.WaveShown);
    EXPECT_EQ(Text(form.Ui().Data), "Fourier Amplitude Spectrum for 1 ch");
    EXPECT_EQ(Text(form.Ui().Data1), "Freq(Hz)");
    EXPECT_EQ(Text(form.Ui().Data4), "Fourier Spectrum");
    EXPECT_EQ(Text(form.Ui().Label16), "0.0200 (s)");
    EXPECT_EQ(Text(form.Ui().Label20), "20.4800 (s)");
    const StringGrid& grid = *form.Ui().StringGrid1;
    EXPECT_EQ(grid.RowCount(), 512);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.Cell(0, 10), "    10");
    EXPECT_EQ(grid.Cell(1, 10), "     0.49");  // 10 / 20.48 s
    // Step 2 × 1024 points over 2: the slider moves on by 1024, Back brings it back.
    EXPECT_EQ(form.State().Position, 1024);
    EXPECT_EQ(Text(form.Ui().EdPosition), "1024");
    form.BtnBackClick();
    EXPECT_EQ(form.State().Position, 0);
    // What the first run enables.
    for (QWidget* w :
         std::initializer_list<QWidget*>{form.Ui().CBMEM, form.Ui().CB2D, form.Ui().BtnNext,
                                         form.Ui().BtnPrev, form.Ui().SBFormat, form.Ui().SBRunSpec})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QAction* a :
         {form.Ui().Running1, form.Ui().BroadLine1, form.Ui().RightSideComment1, form.Ui().ZeroAverage1,
          form.Ui().SubAxis1, form.Ui().Format1, form.Ui().AnalizedData1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(form.Ui().Image1->toolTip().toStdString(), "左ｸﾘｯｸ:ﾃﾞｰﾀ，右ｸﾘｯｸ:ｸﾞﾗﾌ書式");

    // Skip "0": the same segment again, Back locked.
    form.SkipClick(0);
    form.BtnRunClick();
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_FALSE(form.Ui().BtnBack->isEnabled());
}

TEST_F(SpectrumRunWindow, PaddingQuestionDecidesTheShortSegment) {
    OpenCsv(1500);
    form.MovePosition(1000);
    prompts.AnswerMessage(PromptAnswer::Cancel);
    form.BtnRunClick();
    EXPECT_EQ(prompts.LastText(), "Data size is not sufficient. Add Trailing 0?");
    EXPECT_EQ(prompts.Messages.back().Buttons, PromptButtons::OkCancel);
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowWave);
    EXPECT_EQ(form.State().Position, 1000);

    prompts.AnswerMessage(PromptAnswer::Ok);
    form.BtnRunClick();
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    EXPECT_EQ(form.State().Position, 1500) << "skipped to the end of the data";
}

TEST_F(SpectrumRunWindow, RatioListsBothSpectraAndDrawsOneCurve) {
    OpenCsv(4096);
    form.CBChClick(1, true);
    form.RatioClick(2);
    form.BtnRunClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(Text(form.Ui().Data), "Spectral Ratio 2 ch to 1 ch");
    EXPECT_EQ(Text(form.Ui().Data2), "AmpSP[1]");
    EXPECT_EQ(Text(form.Ui().Data3), "AmpSP[2]");
    EXPECT_EQ(Text(form.Ui().Data4), "Ratio [2]/[1]");
    EXPECT_EQ(form.State().Spectrum.Frame.CurveCount, 1);
}

TEST_F(SpectrumRunWindow, MemAndMinChangeWhatIsAnalysed) {
    OpenCsv(4096);
    form.CBMEMminClick(true);
    form.RGPointsClick(3);  // "128"
    EXPECT_EQ(form.Ui().RGPoints->ItemText(3).toStdString(), "128");
    EXPECT_EQ(form.Ui().StringGrid1->RowCount(), 64);
    form.CBMEMClick(true);
    form.BtnRunClick();
    EXPECT_EQ(Text(form.Ui().Data), "MEM Spectrum for 1 ch");
    EXPECT_EQ(form.Ui().StringGrid1->ColCount(), 3);
    form.CBMEMminClick(false);
    EXPECT_EQ(form.Ui().RGPoints->ItemText(3).toStdString(), "4096");
}

TEST_F(SpectrumRunWindow, FileSaveAsksForTheNameAndNeverOverwritesUnasked) {
    OpenCsv(4096);
    form.CBFFTSaveClick(true);

    // No extension with the text filter: ".txt".
    prompts.AnswerFile(dir.File("first"), 2);
    form.BtnRunClick();
    ASSERT_TRUE(test::Exists(dir.File("first.txt")));
    EXPECT_EQ(prompts.SaveRequests.back().FilterIndex, 1);
    const std::string written = test::ReadAll(dir.File("first.txt"));
    EXPECT_EQ(written.rfind("FILE NAME,deck.csv\r\n", 0), 0u);
    EXPECT_NE(written.find("POSITION,0\r\n"), std::string::npos);

    // An existing file: Cancel keeps it; the run still moves on.
    prompts.AnswerFile(dir.File("first.txt"));
    prompts.AnswerMessage(PromptAnswer::Cancel);
    form.BtnRunClick();
    EXPECT_EQ(prompts.LastText(), "Same file " + dir.File("first.txt") + " is already exists. Overwrite?");
    EXPECT_EQ(test::ReadAll(dir.File("first.txt")), written);
    EXPECT_EQ(form.State().Position, 2048);

    // A cancelled dialog writes nothing and the run finishes.
    prompts.CancelFile();
    form.BtnRunClick();
    EXPECT_EQ(form.State().Position, 3072);
}

TEST_F(SpectrumRunWindow, StatisticsFollowTheLastChannelShown) {
    OpenCsv(4096);
    form.State().Analysis.StatisticsWindowOpen = true;
    form.CBChClick(1, true);
    form.MovePosition(1000);
    form.BtnRunClick();
    const StatisticsLabels& l = form.State().Statistics;
    EXPECT_EQ(l.Position, "1000");
    EXPECT_EQ(l.Data, "1024");
    EXPECT_EQ(l.Duration, "10.24 s");
    EXPECT_NE(l.Max.find(" Gal at "), std::string::npos) << l.Max;
}

TEST_F(SpectrumRunWindow, MouseReadsTheSpectrumAndClickSelectsItsRow) {
    OpenCsv(4096);
    QImage before = form.Ui().Image1->Image();
    form.Image1MouseMove(200, 200);
    EXPECT_EQ(form.Ui().Image1->Image(), before) << "the waveform has no read-out";

    form.BtnRunClick();
    before = form.Ui().Image1->Image();
    form.Image1MouseMove(200, 200);
    const QImage after = form.Ui().Image1->Image();
    EXPECT_NE(after, before);
    // Only the read-out's line changes.
    EXPECT_EQ(after.copy(0, 40, 433, 377), before.copy(0, 40, 433, 377));

    // A click on the plot area selects the listing row of the frequency under it.
    const SpectrumAxes& a = form.State().Spectrum.Axes;
    const int x = a.OriginX + a.GridX;  // the first vertical grid line: one division of frequency
    form.Image1MouseDown(Qt::LeftButton, x, a.OriginY - 10);
    const int row = form.Ui().StringGrid1->Row();
    ASSERT_GE(row, 0);
    const double f = std::stod(form.Ui().StringGrid1->Cell(1, row));
    EXPECT_NEAR(f, a.SValueX + a.VValueX, 0.05 * (a.SValueX + a.VValueX));
}

TEST_F(SpectrumRunWindow, ThePictureIsTheBatchToolsPicture) {
    const std::string path = OpenCsv(4096, "deck.csv", 3);
    form.CBChClick(1, true);
    form.CBChClick(2, true);
    form.MovePosition(512);
    form.BtnRunClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();

    const test::Ran ran = test::RunProgram(
        WAVORA_BATCH_EXE, dir,
        {"spectrum", path, "--channels", "1,2,3", "--position", "512", "--png", dir.File("b.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    QImage batch(QString::fromStdString(dir.File("b.png")));
    QImage window = form.Ui().Image1->Image().convertToFormat(batch.format());
    ASSERT_EQ(batch.size(), window.size());
    EXPECT_TRUE(batch == window) << "the window's picture and the batch picture differ";
}

}  // namespace
}  // namespace wavora::uitest
