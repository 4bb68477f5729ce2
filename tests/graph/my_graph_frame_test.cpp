#include <gtest/gtest.h>

#include <QMetaProperty>
#include <algorithm>

#include "graph/my_graph.h"
#include "support/recording_canvas.h"
#include "support/scripted_prompts.h"

using namespace wavora;
using wavora::test::RecordedLine;
using wavora::test::RecordingCanvas;
using wavora::test::ScriptedPrompts;
using V = std::vector<std::string>;

namespace {

constexpr int W = RecordingCanvas::kCharWidth, H = RecordingCanvas::kCharHeight;

struct Frame {
    ScriptedPrompts prompts;
    TMyGraph graph{prompts};
    RecordingCanvas* canvas;
    Frame() {
        auto c = std::make_unique<RecordingCanvas>();
        canvas = c.get();
        graph.SetCanvas(std::move(c));
    }
    // Labels under the X axis and beside the Y axis, in drawing order.
    V XLabels() const {
        V out;
        for (auto& t : canvas->Texts)
            if (t.Y == graph.OriginY + 5) out.push_back(t.Text);
        return out;
    }
    std::vector<RecordedLine> Dotted(bool vertical) const {
        std::vector<RecordedLine> out;
        for (auto& l : canvas->LinesWithStyle(PenStyle::Dot))
            if ((l.From.X == l.To.X) == vertical) out.push_back(l);
        return out;
    }
};

int Width(const std::string& s) {
    return static_cast<int>(s.size()) * W;
}

}  // namespace

TEST(TMyGraphProperties, PublishedInOrderWithTheirInitialValues) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    const QMetaObject* mo = g.metaObject();
    V names;
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) names.push_back(mo->property(i).name());
    EXPECT_EQ(names, (V{"NGridX", "NGridY", "WidthX", "HeightY", "OriginX", "OriginY", "LinearX", "LinearY",
                        "SValueX", "SValueY", "VValueX", "VValueY", "SubAxis", "OverWrite", "LeftScale",
                        "SubX", "SubY", "TitleX", "TitleY"}));
    EXPECT_EQ(g.property("WidthX").toInt(), 250);
    EXPECT_EQ(g.property("OriginX").toInt(), 35);
    EXPECT_EQ(g.property("OriginY").toInt(), 270);
    EXPECT_EQ(g.property("VValueY").toFloat(), 10.0f);
    EXPECT_EQ(g.property("TitleY").toString().toStdString(), "TitleY [unit]");
    EXPECT_EQ(g.width(), 300);
    EXPECT_EQ(g.height(), 300);
    EXPECT_EQ(g.Picture().size(), QSize(300, 300));
    g.setProperty("NGridX", 6);
    g.setProperty("TitleX", QString::fromUtf8("周波数 [Hz]"));
    EXPECT_EQ(g.NGridX, 6);
    EXPECT_EQ(g.TitleX, "周波数 [Hz]");
}

TEST(TMyGraphFrame, LinearLabelsGridAndSubLines) {
    Frame f;
    f.graph.DrawWaku();
    RecordingCanvas& c = *f.canvas;
    // White background over the whole control first.
    ASSERT_FALSE(c.Shapes.empty());
    EXPECT_EQ(c.Shapes[0].Points, (std::vector<CanvasPoint>{{0, 0}, {300, 300}}));
    EXPECT_EQ(c.Shapes[0].Brush, kWhite);

    EXPECT_EQ(f.XLabels(), (V{"0", "5", "10", "15", "20"}));
    const int gx = 62, gy = 62;
    for (int r = 0; r <= 4; ++r) {
        std::string s = std::to_string(5 * r);
        const auto* t = c.FindText(s);
        ASSERT_TRUE(t) << s;
        EXPECT_EQ(t->X, 35 + r * gx - Width(s) / 2) << s;
        EXPECT_EQ(t->Background, kWhite);
        std::string ys = std::to_string(10 * r);
        const auto* yt = &c.Texts[5 + r];
        EXPECT_EQ(yt->Text, ys);
        EXPECT_EQ(yt->X, 35 - Width(ys) - 10);
        EXPECT_EQ(yt->Y, 270 - r * gy - H / 2);
    }
    // Grid lines: the outer ones 2 pixels wide, black and solid.
    std::vector<RecordedLine> solid = c.LinesWithStyle(PenStyle::Solid);
    ASSERT_EQ(solid.size(), 10u);
    EXPECT_EQ(solid[0].From, (CanvasPoint{35, 270}));
    EXPECT_EQ(solid[0].To, (CanvasPoint{35, 270 - 4 * gy}));
    EXPECT_EQ(solid[0].Width, 2);
    EXPECT_EQ(solid[1].Width, 1);
    EXPECT_EQ(solid[4].Width, 2);
    EXPECT_EQ(solid[5].To, (CanvasPoint{35 + 4 * gx, 270}));
    // Four sub-lines in each interval at (k·gx) div SubX, none after the last grid line.
    std::vector<RecordedLine> vertical = f.Dotted(true);
    ASSERT_EQ(vertical.size(), 16u);
    EXPECT_EQ(vertical[0].From.X, 35 + 12);
    EXPECT_EQ(vertical[1].From.X, 35 + 24);
    EXPECT_EQ(vertical[2].From.X, 35 + 37);
    EXPECT_EQ(vertical[3].From.X, 35 + 49);
    EXPECT_EQ(vertical[15].From.X, 35 + 3 * gx + 49);
    EXPECT_EQ(f.Dotted(false).size(), 16u);
    EXPECT_EQ(f.Dotted(false)[0].From.Y, 270 - 12);
    EXPECT_EQ(c.CurrentPenStyle(), PenStyle::Solid);
}

TEST(TMyGraphFrame, LogarithmicDecadesWithTwoFourSixEightSubLines) {
    Frame f;
    f.graph.LinearX = false;
    f.graph.SValueX = 0.01f;
    f.graph.VValueX = 10;
    f.graph.SubX = 5;
    f.graph.DrawWaku();
    EXPECT_EQ(f.XLabels(), (V{"0.01", "0.1", "1", "10", "100"}));
    std::vector<RecordedLine> vertical = f.Dotted(true);
    ASSERT_EQ(vertical.size(), 16u);
    const int expected[] = {53, 72, 83, 90};  // trunc(35 + log10(2k)·62)
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k) EXPECT_EQ(vertical[r * 4 + k].From.X, expected[k] + r * 62);
    for (auto& l : vertical) EXPECT_LT(l.From.X, 35 + 4 * 62);

    // The same on Y.
    Frame g;
    g.graph.LinearY = false;
    g.graph.SValueY = 1;
    g.graph.VValueY = 10;
    g.graph.NGridY = 2;
    g.graph.DrawWaku();
    std::vector<RecordedLine> horizontal = g.Dotted(false);
    ASSERT_EQ(horizontal.size(), 8u);
    EXPECT_EQ(horizontal[0].From.Y, static_cast<int>(270 - 0.30103 * 125));
    EXPECT_EQ(g.canvas->FindText("100")->Y, 270 - 250 - H / 2);
}

TEST(TMyGraphFrame, DrawWakuNWritesOneFormatPerAxisAndZeroForMinusZero) {
    Frame f;
    f.graph.VValueX = 2.5f;
    f.graph.SValueY = -1.0000001f;  // the middle line lands just below zero
    f.graph.VValueY = 0.5f;
    f.graph.SubY = 2;
    f.graph.DrawWakuN();
    EXPECT_EQ(f.XLabels(), (V{"0", "2.5", "5.0", "7.5", "10.0"}));
    V y;
    for (size_t i = 5; i < 10; ++i) y.push_back(f.canvas->Texts[i].Text);
    EXPECT_EQ(y, (V{"-1.0", "-0.5", "0", "0.5", "1.0"}));
    EXPECT_EQ(f.graph.SubX, 5);
    EXPECT_EQ(f.graph.SubY, 5);
    EXPECT_EQ(f.Dotted(false).size(), 16u);

    // A step of 1.5 is cut in three; a step of 20 in four with whole numbers.
    Frame g;
    g.graph.VValueX = 1.5f;
    g.graph.VValueY = 20;
    g.graph.DrawWakuN();
    EXPECT_EQ(g.graph.SubX, 3);
    EXPECT_EQ(g.graph.SubY, 4);
    EXPECT_EQ(g.XLabels(), (V{"0", "1.5", "3.0", "4.5", "6.0"}));
    EXPECT_EQ(g.Dotted(true).size(), 8u);

    // A logarithmic axis takes the ratio's format: whole numbers, small values reading 0.
    Frame l;
    l.graph.LinearX = false;
    l.graph.SValueX = 0.01f;
    l.graph.VValueX = 10;
    l.graph.DrawWakuN();
    EXPECT_EQ(l.XLabels(), (V{"0", "0", "1", "10", "100"}));
    EXPECT_EQ(l.Dotted(true).size(), 16u);
}

TEST(TMyGraphFrame, DrawWakuNWithoutAPositiveStepFallsBackToCompactLabels) {
    Frame f;
    f.graph.SValueX = 1.25f;
    f.graph.VValueX = 0;
    f.graph.DrawWakuN();
    EXPECT_EQ(f.XLabels(), (V{"1.25", "1.25", "1.25", "1.25", "1.25"}));
    EXPECT_EQ(f.graph.SubX, 0);
    EXPECT_TRUE(f.Dotted(true).empty());
}

TEST(TMyGraphFrame, TitlesPlacedAboveAndBelow) {
    Frame f;
    f.graph.TitleX = "Frequency [Hz]";
    f.graph.TitleY = "Count";
    f.graph.DrawWaku();
    const auto* tx = f.canvas->FindText("Frequency [Hz]");
    const auto* ty = f.canvas->FindText("Count");
    ASSERT_TRUE(tx && ty);
    EXPECT_EQ(tx->X, 35 + 125 - Width("Frequency [Hz]") / 2);
    EXPECT_EQ(tx->Y, 286);  // trunc(270 + 1.4·12)
    EXPECT_EQ(ty->X, 45);
    EXPECT_EQ(ty->Y, 4);  // trunc(270 − 250 − 1.3·12)
}

TEST(TMyGraphFrame, RightHandScaleAndTicks) {
    Frame f;
    f.graph.LeftScale = false;
    f.graph.SubAxis = false;
    f.graph.TitleY = "Count";
    f.graph.DrawWaku();
    for (size_t i = 5; i < 10; ++i) EXPECT_EQ(f.canvas->Texts[i].X, 35 + 250 + 5) << f.canvas->Texts[i].Text;
    EXPECT_EQ(f.canvas->FindText("Count")->X, 35 + 250 - Width("Count") - 5);
    EXPECT_TRUE(f.canvas->LinesWithStyle(PenStyle::Dot).empty());
    // Solid 7-pixel ticks: upwards from the X axis, rightwards from the left axis.
    int xTicks = 0, yTicks = 0;
    for (auto& l : f.canvas->LinesWithStyle(PenStyle::Solid)) {
        if (l.From.Y == 270 && l.To.Y == 263) ++xTicks;
        if (l.From.X == 35 && l.To.X == 42) ++yTicks;
    }
    EXPECT_EQ(xTicks, 16);
    EXPECT_EQ(yTicks, 16);
}

TEST(TMyGraphFrame, OverWriteKeepsThePicture) {
    Frame f;
    f.graph.OverWrite = true;
    f.graph.DrawWaku();
    for (auto& s : f.canvas->Shapes) EXPECT_NE(s.What, wavora::test::RecordedShape::Fill);
    EXPECT_EQ(f.canvas->CurrentBrushColor(), kWhite);
}

TEST(TMyGraphFrame, LogarithmicAxisFromZeroIsReportedAndTheProgramGoesOn) {
    Frame f;
    ScriptedPrompts& prompts = f.prompts;
    f.graph.LinearX = false;
    f.graph.LinearY = false;
    f.graph.SValueX = 0;
    f.graph.SValueY = 0;
    prompts.AnswerMessages(2);
    f.graph.DrawWaku();
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(prompts.Messages[0].Text, "X Logarithmic Scale can not be determind.");
    EXPECT_EQ(prompts.Messages[0].Caption, "X Scale Error");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::None);
    EXPECT_EQ(prompts.Messages[0].Buttons, PromptButtons::Ok);
    EXPECT_EQ(prompts.Messages[1].Text, "Y Logarithmic Scale can not be determind.");
    EXPECT_EQ(prompts.Messages[1].Caption, "Y Scale Error");
    // The frame is complete, every label reading 0.
    EXPECT_EQ(f.XLabels(), (V{"0", "0", "0", "0", "0"}));
    EXPECT_EQ(f.canvas->Texts.size(), 12u);
    // And the graph keeps working.
    f.graph.LinearX = f.graph.LinearY = true;
    f.graph.DrawWaku();
    EXPECT_EQ(prompts.Messages.size(), 2u);
}

TEST(TMyGraphScale, NegativeDataOnALogarithmicAxisIsReportedAndScaled) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.LinearY = false;
    std::vector<float> v = {-1, 5, 350};
    prompts.AnswerMessage();
    g.YScaleUnit1(3, v.data());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "負のデータを対数目盛りでは表せません");
    EXPECT_EQ(prompts.Messages[0].Caption, "目盛り設定エラー");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_FLOAT_EQ(g.SValueY, 0.1f);
    EXPECT_FLOAT_EQ(g.VValueY, 10);
    // Linear axes take the symmetric scale; X and Y are independent.
    g.NGridX = 5;
    std::vector<float> x = {-3, 7};
    g.XScaleUnit1(2, x.data());
    EXPECT_EQ(g.NGridX, 6);
    EXPECT_FLOAT_EQ(g.VValueX, 2.5f);
    EXPECT_FLOAT_EQ(g.SValueX, -7.5f);
    g.XScaleUnit(2, x.data());
    EXPECT_FLOAT_EQ(g.SValueX, 0);
    EXPECT_FLOAT_EQ(g.VValueX, 2);  // 6 intervals of 2 reach 7
    EXPECT_EQ(prompts.Messages.size(), 1u);
}

TEST(TMyGraphFrame, NoGridIntervalsDrawsNoFrameAndDoesNotFail) {
    Frame f;
    f.graph.NGridX = 0;
    f.graph.DrawWaku();
    f.graph.DrawWakuN();
    EXPECT_TRUE(f.canvas->Lines.empty());
    EXPECT_TRUE(f.canvas->Texts.empty());
    const float x[] = {1}, y[] = {1};
    f.graph.DrawGraph(1, x, y);
    f.graph.PlotGraph(1, x, y, 0, 3);
    EXPECT_TRUE(f.canvas->Lines.empty());
}
