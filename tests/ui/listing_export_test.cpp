// The data listing page by page, and the picture saved as PNG.

#include <algorithm>
#include <QFile>

#include "app/listup_dialog.h"
#include "display/string_grid.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

using Listing = WindowTest;
using Export = WindowTest;

TEST_F(Listing, PagesOfAThousandThenTheEnd) {
    OpenCsv(2500);
    StringGrid& g = *form.Ui().StringGrid1;
    TListup& listup = *windows->Listup;
    form.BtnListClick();
    EXPECT_TRUE(listup.isVisible());
    EXPECT_EQ(g.RowCount(), 1003);
    EXPECT_EQ(g.FixedRows(), 3);
    // The names, units and maxima head the columns and the sample numbers the rows, so they stay
    // in view while the values scroll.
    EXPECT_EQ(g.model()->rowCount(), 1000);
    EXPECT_EQ(g.model()->headerData(1, Qt::Horizontal).toString().toStdString(),
              "Pier2\n   Gal\n" + g.Cell(2, 2));
    EXPECT_EQ(g.model()->headerData(0, Qt::Vertical).toString().toStdString(), "     0");
    EXPECT_EQ(g.Cell(0, 3), "     0");
    EXPECT_EQ(g.Cell(0, 1002), "   999");
    EXPECT_EQ(Text(listup.Edit1), "1000");
    // The values are samples times scale.
    const ChannelInfo& ch = form.Record().Channels[1];
    char buf[32];
    std::snprintf(buf, sizeof buf, "%8.3f", ch.Samples[7] * ch.ScaleFactor);
    EXPECT_EQ(g.Cell(2, 10), buf);

    listup.Button1Click();
    EXPECT_EQ(form.Ui().TrackBar1->value(), 1000);
    EXPECT_EQ(g.Cell(0, 3), "  1000");
    EXPECT_EQ(g.RowCount(), 1003);
    listup.Button1Click();
    EXPECT_EQ(g.RowCount(), 503);
    EXPECT_EQ(g.Cell(0, 502), "  2499");
    EXPECT_EQ(Text(listup.Edit1), "2500");
    EXPECT_TRUE(prompts.Messages.empty());
    prompts.AnswerMessage();
    listup.Button1Click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "Data exhausted. No List up Data");
    EXPECT_EQ(prompts.Messages[0].Caption, "Data Ended");
    EXPECT_EQ(g.RowCount(), 503);

    listup.Button2Click();
    EXPECT_EQ(form.State().ListStart, 0);
    EXPECT_FALSE(listup.isVisible());
}

TEST_F(Listing, ZeroPageLengthAndTheEndOfTheRecordSayNoData) {
    OpenCsv(2500);
    TListup& listup = *windows->Listup;
    listup.Edit2->setText("0");
    prompts.AnswerMessage();
    form.BtnListClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "No List up data !! Return to Postion 0      ");
    EXPECT_EQ(prompts.Messages[0].Caption, "Data Error");

    listup.Edit2->setText("1000");
    form.Ui().TrackBar1->setValue(2500);
    prompts.AnswerMessage();
    form.BtnListClick();
    EXPECT_EQ(prompts.Messages.size(), 2u);

    listup.Edit2->setText("ten");
    form.Ui().TrackBar1->setValue(0);
    prompts.AnswerMessage();
    form.BtnListClick();
    ASSERT_EQ(prompts.Messages.size(), 3u);
    EXPECT_EQ(prompts.Messages[2].Text, "'ten' is not a valid integer value");
}

TEST_F(Listing, AStartBeforeTheRecordListsFromTheFirstSample) {
    OpenCsv(1200);
    TListup& listup = *windows->Listup;
    listup.Edit1->setText("-40");
    listup.Button1Click();
    EXPECT_EQ(form.Ui().StringGrid1->Cell(0, 3), "     0");
}

bool IsPng(const std::string& path) {
    return test::ReadAll(path).rfind("\x89PNG\r\n\x1a\n", 0) == 0;
}

TEST_F(Export, PngGetsItsExtensionAndAnExistingFileIsNotReplacedUnasked) {
    OpenCsv(800);
    prompts.AnswerFile(dir.File("wave"));
    form.SBFileSaveClick();
    ASSERT_EQ(prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(prompts.SaveRequests[0].Filter, "PNGﾌｧｲﾙ(*.png)|*.png|すべて(*.*)|*.*");
    EXPECT_TRUE(IsPng(dir.File("wave.png")));
    EXPECT_FALSE(test::Exists(dir.File("wave")));

    // Another extension is kept and still gets PNG data.
    prompts.AnswerFile(dir.File("wave.dat"));
    form.SBFileSaveClick();
    EXPECT_TRUE(IsPng(dir.File("wave.dat")));
    EXPECT_TRUE(prompts.Messages.empty());

    // An existing file: No keeps it as it was, Yes replaces it.
    dir.Write("keep.png", "precious");
    prompts.AnswerFile(dir.File("keep.png"));
    prompts.Answers.push_back(PromptAnswer::No);
    form.SBFileSaveClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Buttons, PromptButtons::YesNo);
    EXPECT_EQ(test::ReadAll(dir.File("keep.png")), "precious");
    prompts.AnswerFile(dir.File("keep.png"));
    prompts.Answers.push_back(PromptAnswer::Yes);
    form.SBFileSaveClick();
    EXPECT_TRUE(IsPng(dir.File("keep.png")));

    // A folder that does not exist: the writer's message, nothing else.
    prompts.AnswerFile(dir.File("missing/wave.png"));
    prompts.AnswerMessage();
    form.SBFileSaveClick();
    ASSERT_EQ(prompts.Messages.size(), 3u);
    EXPECT_NE(prompts.Messages[2].Text.find("missing/wave.png"), std::string::npos);

    // Cancel writes nothing.
    prompts.CancelFile();
    form.SBFileSaveClick();
    EXPECT_EQ(prompts.Messages.size(), 3u);
}

TEST_F(Export, CopyPutsThePictureOnTheClipboard) {
    form.SpeedButton1Click();  // the start-up text
    // Offscreen clipboards may not keep images; the command must simply not fail.
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(Export, WriteDataFileAsksBeforeOverwritingAndReadsBackAsARecord) {
    OpenCsv(2500);
    form.Ui().TrackBar1->setValue(2000);
    form.State().Wave.DisplayPosition = 2000;

    // "Analized Data" from the display position: 1024 points, cut at the end of the record.
    prompts.AnswerFile(dir.File("part"));
    form.AnalizedData1Click();
    ASSERT_EQ(prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(prompts.SaveRequests[0].Filter, "解析ﾃﾞｰﾀ CSV 出力ﾌｧｲﾙ (*.csv)|*.csv|All  (*.*)|*.*");
    std::string part = test::ReadAll(dir.File("part.csv"));
    EXPECT_EQ(part.rfind("Pier1,Pier2,Pier3\r\n100,s\r\nFILTER,Unfiltered\r\nGal,Gal,Gal\r\n", 0), 0u);
    EXPECT_EQ(std::count(part.begin(), part.end(), '\n'), 4 + 500);

    // An existing name is only replaced after OK.
    prompts.AnswerFile(dir.File("part.csv"));
    prompts.Answers.push_back(PromptAnswer::Cancel);
    form.AllData1Click();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text,
              "Same file " + dir.File("part.csv") + " is already exists. Overwrite?");
    EXPECT_EQ(prompts.Messages[0].Caption, "File Name Error");
    EXPECT_EQ(test::ReadAll(dir.File("part.csv")), part);

    prompts.AnswerFile(dir.File("part.csv"));
    prompts.Answers.push_back(PromptAnswer::Ok);
    form.AllData1Click();
    std::string all = test::ReadAll(dir.File("part.csv"));
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 4 + 2500);

    // The written file opens again as the same record.
    const int32_t before = form.State().Record.Channels[1].Samples[1234];
    const float scale = form.State().Record.Channels[1].ScaleFactor;
    Open(dir.File("part.csv"));
    EXPECT_EQ(form.State().Record.SampleCount, 2500);
    EXPECT_NEAR(form.State().Record.Channels[1].Samples[1234] * form.State().Record.Channels[1].ScaleFactor,
                before * scale, 0.01);
}

TEST_F(Listing, TheListUpDialogOpensOverTheMainWindow) {
    form.show();
    OpenCsv(2500);
    form.BtnListClick();
    const QRect main = form.frameGeometry(), listup = windows->Listup->frameGeometry();
    EXPECT_TRUE(main.contains(listup.center())) << listup.x() << "," << listup.y();
}

}  // namespace
}  // namespace wavora::uitest
