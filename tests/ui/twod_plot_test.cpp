// The 2-D spectrum window: its defaults, a map run from its own Run button stepped by hand until
// the time span is full (held against wavora-batch map), the cross-hair and its read-out in XOR,
// Set and the fields, the format dialog's limits, Save, and a new record.

#include <QFileInfo>
#include <QImage>
#include <QSpinBox>

#include "display/param1_dialog.h"
#include "display/radio_group.h"
#include "record/text_format.h"
#include "graph/my_graph.h"
#include "running/running_activity.h"
#include "support/run_program.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

class TwoDPlot : public WindowTest {
  protected:
    TTWODPlot& plot = *windows->TWODPlot;
    TRunning& running = *windows->Running;

    // A 100 per second record of 72 s, analysed once at 0 (the spectrum graph's axes: 0 … 50 Hz
    // in 5 divisions), "2D" checked.
    std::string Prepare() {
        const std::string path = OpenCsv(7200, "deck.csv", 1);
        form.BtnRunClick();
        form.MovePosition(0);
        form.CB2DClick(true);
        return path;
    }
    int Step(int limit = 2000) {
        int steps = 0;
        while (running.Activity().TimerRunning() && steps < limit) {
            running.Timer1Timer();
            ++steps;
        }
        return steps;
    }
    QImage Chart() { return plot.MyGraph1->Picture(); }
};

TEST_F(TwoDPlot, StartsWithTheLayoutsCaptionsAndDefaults) {
    EXPECT_EQ(plot.windowTitle().toStdString(), "2D Spectrum Plot");
    EXPECT_EQ(plot.MyGraph1->width(), 433);
    EXPECT_EQ(plot.MyGraph1->height(), 417);
    EXPECT_EQ(Text(plot.Edit1), "20");
    EXPECT_EQ(Text(plot.Edit5), "0");
    EXPECT_EQ(Text(plot.Edit3), "60");
    EXPECT_EQ(Text(plot.Edit8), "20");
    for (QSpinBox* s : {plot.UpDown1, plot.UpDown2}) {
        EXPECT_EQ(s->value(), 4);
        EXPECT_EQ(s->maximum(), 10);
    }
    EXPECT_EQ(plot.UpDown3->maximum(), 5);
    EXPECT_TRUE(plot.CBAuto->isChecked());
    EXPECT_EQ(plot.Button7->text().toStdString(), "０");
    EXPECT_TRUE(plot.Button5->isEnabled());
    EXPECT_FALSE(plot.Button6->isEnabled());
    EXPECT_FALSE(plot.Button4->isEnabled()) << "nothing to save before a map";
    EXPECT_EQ(std::string(TTWODPlot::kSaveFilter), "PNGﾌｧｲﾙ(*.png)|*.png|すべて (*.*)|*.*");
}

TEST_F(TwoDPlot, AMapRunFillsItsRowsUntilTheTimeSpanAsTheBatchToolDraws) {
    const std::string path = Prepare();
    plot.Button5Click();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ASSERT_TRUE(form.State().RunningSpectra.Active());
    // One row per second proposed: Skip 100 from the list, 60 rows in 60 s.
    EXPECT_EQ(running.RGSkip->ItemIndex(), 3);
    EXPECT_EQ(form.State().RunningSpectra.Skip(), 100);
    EXPECT_EQ(Text(plot.Label19), "60");
    EXPECT_FALSE(plot.Button5->isEnabled());
    EXPECT_TRUE(plot.Button6->isEnabled());
    EXPECT_TRUE(plot.Button4->isEnabled());

    running.Timer1Timer();
    EXPECT_TRUE(form.State().Map.MapRunning);
    EXPECT_TRUE(plot.isVisible()) << "the first row shows the window";
    EXPECT_EQ(Text(plot.Edit1), "50.00") << "the spectrum graph's limits, as its dialog writes them";
    EXPECT_EQ(Text(plot.Edit5), "0.000");
    EXPECT_EQ(plot.UpDown1->value(), 5);
    EXPECT_EQ(Text(plot.Label17), "1");

    Step();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_FALSE(form.State().RunningSpectra.Active());
    EXPECT_FALSE(form.State().Map.MapRunning);
    EXPECT_EQ(Text(plot.Label17), "60");
    EXPECT_TRUE(plot.Button5->isEnabled());
    EXPECT_FALSE(plot.Button6->isEnabled());
    // The stop at 60 s (position 6000) still applies the run's skip (1024), then Skip.
    EXPECT_EQ(form.State().Position, 6000 + 1024 + 100);
    // The automatic colour maximum: the first spectrum's largest value inside the limits.
    const float colourMax = form.State().Map.MapColourMax;
    EXPECT_GT(colourMax, 0.0f);
    EXPECT_EQ(Text(plot.Edit8), StrPrintf("%.4f", static_cast<double>(colourMax)));

    const test::Ran ran =
        test::RunProgram(WAVORA_BATCH_EXE, dir, {"map", path, "--init", "0", "--png", dir.File("b.png")});
    ASSERT_EQ(ran.Status, 0) << ran.Err;
    QImage batch(QString::fromStdString(dir.File("b.png")));
    QImage window = Chart().convertToFormat(batch.format());
    ASSERT_EQ(batch.size(), window.size());
    EXPECT_TRUE(batch == window) << "the window's map and the batch map differ";
}

TEST_F(TwoDPlot, TheCrossHairReadsFAndTOffTheIdleMapAndErasesExactly) {
    Prepare();
    plot.Button5Click();
    running.Timer1Timer();
    // While the map is drawn the cross-hair is off.
    const QImage drawing = Chart();
    plot.MyGraph1MouseDown(Qt::LeftButton, 230, 220);
    EXPECT_EQ(Text(plot.Label10), "(f, t)");
    EXPECT_TRUE(Chart() == drawing);
    Step();

    const QImage map = Chart();
    plot.MyGraph1MouseDown(Qt::LeftButton, 10, 10);  // outside the axes
    EXPECT_FALSE(plot.CrossHair().Active());
    plot.MyGraph1MouseDown(Qt::LeftButton, 230, 220);
    ASSERT_TRUE(plot.CrossHair().Active());
    EXPECT_EQ(Text(plot.Label10), "( f, t )=( 25.000Hz, 30.000s )");
    // The cross inverts every pixel it crosses, whatever the map's colour there.
    const QImage crossed = Chart();
    for (QPoint p : {QPoint(230, 300), QPoint(230, 100), QPoint(100, 220), QPoint(380, 220)})
        EXPECT_EQ(crossed.pixel(p) & 0xFFFFFF, (map.pixel(p) ^ 0xFFFFFF) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_EQ(crossed.pixel(230, 220), map.pixel(230, 220)) << "the crossing is inverted twice";

    plot.MyGraph1MouseMove(150, 300);
    EXPECT_EQ(Text(plot.Label10), "( f, t )=( 12.500Hz, 15.000s )");
    EXPECT_EQ(Chart().pixel(230, 100), map.pixel(230, 100)) << "the old cross is erased";
    plot.MyGraph1MouseMove(500, 300);  // beyond the axes: the cross stays
    EXPECT_EQ(Text(plot.Label10), "( f, t )=( 12.500Hz, 15.000s )");
    plot.MyGraph1MouseUp(Qt::LeftButton, 150, 300);
    EXPECT_FALSE(plot.CrossHair().Active());
    EXPECT_TRUE(Chart() == map) << "the map is as it was";
    EXPECT_TRUE(plot.MyGraph1->toolTip().isEmpty());
}

TEST_F(TwoDPlot, SetTakesTheFieldsAndTheFormatDialogsLimits) {
    Prepare();
    SpectrumMap& map = form.State().Map;
    ASSERT_TRUE(map.FirstSet);
    plot.Button3Click();
    EXPECT_FALSE(map.FirstSet);
    EXPECT_EQ(Text(plot.Edit1), "50.00");
    EXPECT_EQ(Text(plot.Edit5), "0.000");
    EXPECT_EQ(map.Frame.VValueX, 10.0f);
    EXPECT_EQ(map.Frame.VValueY, 15.0f);

    const QImage set = Chart();
    plot.Edit1Change("");
    plot.Edit1Change("3O");
    plot.Edit3Change("0");
    EXPECT_TRUE(Chart() == set) << "no Set for a text that is no number";
    EXPECT_EQ(map.Fields.TimeSpan, 60.0f);
    plot.Edit1Change("30");
    EXPECT_EQ(map.Frame.VValueX, 6.0f);
    plot.Edit3Change("120");
    EXPECT_EQ(map.Frame.VValueY, 30.0f);
    plot.UpDown2Click(6);
    EXPECT_EQ(map.Frame.NGridY, 6);
    EXPECT_EQ(map.Frame.VValueY, 20.0f);

    // The format dialog's OK gives the window its X limits, without redrawing the map.
    TParam1& format = *windows->Param1;
    format.EdSX0->setText("5");
    format.EdSXM->setText("45");
    const QImage before = Chart();
    format.OKBtnClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(Text(plot.Edit5), "5");
    EXPECT_EQ(Text(plot.Edit1), "45");
    EXPECT_EQ(map.Fields.UpperFrequency, 45.0f);
    EXPECT_TRUE(Chart() == before);

    // While a map is drawn, Set leaves it alone; the fields wait for the next Set or map.
    plot.Button5Click();
    running.Timer1Timer();
    const QImage drawing = Chart();
    plot.Edit1Change("40");
    plot.Button3Click();
    EXPECT_TRUE(Chart() == drawing);
    EXPECT_EQ(map.Fields.UpperFrequency, 40.0f);
    plot.Button6Click();
    EXPECT_FALSE(form.State().RunningSpectra.Active());
    EXPECT_FALSE(map.MapRunning);
}

TEST_F(TwoDPlot, SaveAddsPngAndAsksBeforeReplacing) {
    Prepare();
    plot.Button3Click();
    prompts.AnswerFile(dir.File("map"));
    plot.Button4Click();
    ASSERT_EQ(prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(prompts.SaveRequests[0].Filter, TTWODPlot::kSaveFilter);
    const std::string file = dir.File("map.png");
    ASSERT_TRUE(test::Exists(file));
    const QImage saved(QString::fromStdString(file));
    EXPECT_TRUE(saved == Chart().convertToFormat(saved.format())) << "the chart as it shows";

    dir.Write("map.png", std::string("keep"));
    prompts.AnswerFile(dir.File("map"));
    prompts.AnswerMessage(PromptAnswer::No);
    plot.Button4Click();
    EXPECT_EQ(prompts.LastText(), "map.png already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompts.Messages.back().Buttons, PromptButtons::YesNo);
    EXPECT_EQ(test::ReadAll(file), "keep");

    prompts.AnswerFile(dir.File("map.png"));
    prompts.AnswerMessage(PromptAnswer::Yes);
    plot.Button4Click();
    EXPECT_EQ(QImage(QString::fromStdString(file)).size(), QSize(433, 417));

    prompts.CancelFile();
    plot.Button4Click();
    EXPECT_EQ(prompts.SaveRequests.size(), 4u);
}

TEST_F(TwoDPlot, ANewRecordDropsTheMap) {
    Prepare();
    plot.Button5Click();
    Step();
    ASSERT_FALSE(form.State().Map.FirstSet);
    OpenCsv(3000, "next.csv", 2);
    EXPECT_TRUE(form.State().Map.FirstSet) << "the next map takes the new spectrum graph's axis";
    const QImage chart = Chart();
    bool white = true;
    for (int y = 0; y < chart.height() && white; ++y)
        for (int x = 0; x < chart.width() && white; ++x) white = (chart.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_TRUE(white);
    EXPECT_FALSE(plot.Button4->isEnabled());
    EXPECT_EQ(Text(plot.Label10), "(f, t)");
}

TEST_F(TwoDPlot, TheZeroButtonPutsThePositionBack) {
    Prepare();
    form.MovePosition(700);
    plot.Button7Click();
    EXPECT_EQ(form.State().Position, 0);
    EXPECT_EQ(Text(running.Edit1), "0");
}

}  // namespace
}  // namespace wavora::uitest
