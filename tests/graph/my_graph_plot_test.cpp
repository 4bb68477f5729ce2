#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <filesystem>

#include "draw/image_canvas.h"
#include "graph/my_graph.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

using namespace wavora;

namespace {

using wavora::test::ScriptedPrompts;

// One pixel per unit on both axes: x → 50 + x, y → 250 − y; the plot area spans x 50 … 250.
void OnePixelPerUnit(TMyGraph& g) {
    g.OriginX = 50;
    g.OriginY = 250;
    g.WidthX = 200;
    g.HeightY = 200;
    g.NGridX = g.NGridY = 4;
    g.VValueX = g.VValueY = 50;
    g.SValueX = g.SValueY = 0;
}

struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

Extent Marked(const QImage& img) {
    Extent e;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                e.left = std::min(e.left, x), e.right = std::max(e.right, x);
                e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
                ++e.count;
            }
    return e;
}

bool Marked(const QImage& img, int x, int y) {
    return (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

}  // namespace

TEST(TMyGraphPlot, MarkerSizesAroundTheCentre) {
    const float x[] = {100}, y[] = {100};  // pixel (150, 150)
    struct Case {
        int type, left, top, right, bottom;
    } cases[] = {
        {0, 148, 148, 151, 151},  // circle in the box ±2, right and bottom edges excluded
        {1, 148, 148, 152, 151},  // triangle: apex 2 up, base h = 1 down
        {2, 149, 149, 151, 151},  // square ±h
        {3, 149, 149, 151, 151},  // diamond ±h
        {4, 148, 148, 152, 151},  // diagonal cross ±2 (each stroke leaves out its end pixel)
        {5, 149, 148, 152, 151},  // upright cross
    };
    ScriptedPrompts prompts;
    for (const auto& c : cases) {
        TMyGraph g(prompts);
        OnePixelPerUnit(g);
        g.GraphCanvas().SetBrushColor(kRed);
        g.PlotGraph(1, x, y, c.type, 2);
        Extent e = Marked(g.Picture());
        EXPECT_EQ(e.left, c.left) << "type " << c.type;
        EXPECT_EQ(e.top, c.top) << "type " << c.type;
        EXPECT_EQ(e.right, c.right) << "type " << c.type;
        EXPECT_EQ(e.bottom, c.bottom) << "type " << c.type;
    }
    // The square is filled with the brush inside its pen outline.
    TMyGraph g(prompts);
    OnePixelPerUnit(g);
    g.GraphCanvas().SetBrushColor(kRed);
    g.PlotGraph(1, x, y, 2, 4);
    EXPECT_EQ(g.GraphCanvas().Pixel(150, 150), kRed);
    EXPECT_EQ(g.GraphCanvas().Pixel(148, 150), kBlack);
    // Types outside 0–5 draw nothing.
    TMyGraph none(prompts);
    OnePixelPerUnit(none);
    none.PlotGraph(1, x, y, 6, 2);
    none.PlotGraph(1, x, y, -1, 2);
    EXPECT_EQ(Marked(none.Picture()).count, 0);
}

TEST(TMyGraphPlot, PlotGraphStopsRightOfTheFrameWhileDrawGraphGoesOn) {
    const float x[] = {10, 230, 20}, y[] = {100, 100, 50};
    ScriptedPrompts prompts;
    TMyGraph plot(prompts);
    OnePixelPerUnit(plot);
    plot.PlotGraph(3, x, y, 5, 2);
    QImage p = plot.Picture();
    EXPECT_TRUE(Marked(p, 60, 150));
    EXPECT_FALSE(Marked(p, 280, 150));  // right of 50 + 200
    EXPECT_FALSE(Marked(p, 70, 200));   // inside again, but the series was abandoned

    TMyGraph line(prompts);
    OnePixelPerUnit(line);
    line.DrawGraph(3, x, y);
    QImage l = line.Picture();
    EXPECT_TRUE(Marked(l, 100, 150));
    EXPECT_TRUE(Marked(l, 279, 150));
    EXPECT_FALSE(Marked(l, 70, 200));  // the end pixel of the last segment
    EXPECT_TRUE(Marked(l, 175, 175));
}

TEST(TMyGraphPlot, PointsThatCannotBePlacedOnLogarithmicAxesAreLeftOut) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    OnePixelPerUnit(g);
    g.LinearX = false;
    g.SValueX = 1;
    g.VValueX = 10;  // x = 1, 10, 100 → 50, 100, 150
    const float x[] = {-1, 0, 1, 10, 0, 100}, y[] = {5, 5, 100, 100, 100, 100};
    g.DrawGraph(6, x, y);
    QImage img = g.Picture();
    Extent e = Marked(img);
    EXPECT_EQ(e.left, 50);  // the series starts at the first point that can be placed
    EXPECT_EQ(e.right, 149);
    EXPECT_EQ(e.top, 150);
    EXPECT_EQ(e.bottom, 150);
    EXPECT_EQ(e.count, 100);  // the neighbours of the left-out point are joined

    TMyGraph m(prompts);
    OnePixelPerUnit(m);
    m.LinearY = false;
    m.SValueY = 1;
    m.VValueY = 10;
    const float mx[] = {10, 20, 30}, my[] = {-5, 0, 10};
    m.PlotGraph(3, mx, my, 5, 2);
    Extent me = Marked(m.Picture());
    EXPECT_EQ(me.left, 79);
    EXPECT_EQ(me.right, 82);
    EXPECT_EQ(me.top, 198);  // only y = 10 → 250 − 50
}

TEST(TMyGraphPlot, SkipGraphEveryNthPointWithASolidPen) {
    std::vector<float> x, y;
    for (int i = 0; i < 10; ++i) x.push_back(10.0f + 15 * i), y.push_back(100);
    auto centres = [&](int skip) {
        ScriptedPrompts prompts;
        TMyGraph g(prompts);
        OnePixelPerUnit(g);
        g.GraphCanvas().SetPenStyle(PenStyle::Dot);
        g.SkipGraph(x, y, 5, 3, skip);
        EXPECT_EQ(g.GraphCanvas().CurrentPenStyle(), PenStyle::Dot);  // put back after each marker
        QImage img = g.Picture();
        std::vector<int> drawn;
        for (int i = 0; i < 10; ++i)
            if (Marked(img, 60 + 15 * i, 150)) drawn.push_back(i);
        // Markers are solid: all seven pixels of the upright stroke are there.
        if (!drawn.empty()) {
            for (int d = -3; d < 3; ++d) EXPECT_TRUE(Marked(img, 60, 150 + d)) << d;
        }
        return drawn;
    };
    EXPECT_EQ(centres(0), std::vector<int>{});
    EXPECT_EQ(centres(1), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(centres(3), (std::vector<int>{0, 3, 6, 9}));
}

TEST(TMyGraphPlot, XorDrawnTwiceRestoresTheFrame) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.DrawWaku();
    const float x[] = {2, 18}, y[] = {5, 35};
    g.GraphCanvas().SetPenColor(kRed);
    g.DrawGraph(2, x, y);
    QImage before = g.Picture();
    Canvas& c = g.GraphCanvas();
    c.SetXorMode(true);
    auto cross = [&] {
        c.MoveTo(100, 20);
        c.LineTo(100, 270);
        c.MoveTo(35, 150);
        c.LineTo(285, 150);
    };
    cross();
    EXPECT_NE(g.Picture(), before);
    cross();
    EXPECT_EQ(g.Picture(), before);
}

TEST(TMyGraphOutput, ClearFillsAndKeepsTheBrush) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.DrawWaku();
    g.Clear(kYellow);
    QImage img = g.Picture();
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(img.pixel(299, 299) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(g.GraphCanvas().CurrentBrushColor(), kYellow);
}

TEST(TMyGraphOutput, SavePngWritesExactlyThePicture) {
    wavora::test::TempDir dir;
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.DrawWaku();
    g.GraphCanvas().SetPenColor(kBlue);
    const float x[] = {1, 5, 12, 19}, y[] = {3, 30, 8, 22};
    g.DrawGraph(4, x, y);
    g.PlotGraph(4, x, y, 0, 3);
    std::string name = dir.File("graph.dat");  // no extension is added
    Outcome out = g.Save_PNG(name);
    ASSERT_TRUE(out.Ok()) << out.Error->Text;
    QImage back(QString::fromStdString(name), "PNG");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), g.Picture());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    std::string bad = dir.File("missing/graph.png");
    out = g.Save_PNG(bad);
    ASSERT_FALSE(out.Ok());
    EXPECT_NE(out.Error->Text.find(bad), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(bad));
}

TEST(TMyGraphOutput, CopyPutsThePictureOnTheClipboard) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.DrawWaku();
    g.Copy();
    QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), g.Picture());
}

TEST(TMyGraphOutput, ThePictureFollowsTheControlSize) {
    ScriptedPrompts prompts;
    TMyGraph g(prompts);
    g.DrawWaku();
    g.resize(400, 320);
    QImage img = g.Picture();
    EXPECT_EQ(img.size(), QSize(400, 320));
    EXPECT_TRUE(Marked(img, 35, 150));  // the frame is kept
    g.Clear(kWhite);
    EXPECT_EQ(Marked(g.Picture()).count, 0);
}
