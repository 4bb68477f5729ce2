// Sample pictures to look at by eye: run with WAVORA_GRAPH_LOOK=<folder> to write them there.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "graph/my_graph.h"
#include "support/scripted_prompts.h"

using namespace wavora;

namespace {

using wavora::test::ScriptedPrompts;

const char* LookFolder() {
    return std::getenv("WAVORA_GRAPH_LOOK");
}

void Save(TMyGraph& g, const std::string& name) {
    std::filesystem::create_directories(LookFolder());
    Outcome out = g.Save_PNG(std::string(LookFolder()) + "/" + name);
    ASSERT_TRUE(out.Ok()) << out.Error->Text;
}

}  // namespace

TEST(TMyGraphLook, SamplePictures) {
    if (!LookFolder()) GTEST_SKIP() << "set WAVORA_GRAPH_LOOK to a folder to write the pictures";
    std::vector<float> x, y;
    for (int i = 0; i <= 40; ++i) x.push_back(i * 0.5f), y.push_back(20 + 15 * std::sin(i * 0.3f));

    ScriptedPrompts prompts;
    TMyGraph linear(prompts);
    linear.GraphCanvas().SetFont("ＭＳゴシック", 9);
    linear.TitleX = "Time [s]";
    linear.TitleY = "振幅 [Gal]";
    linear.DrawWaku();
    linear.GraphCanvas().SetPenColor(kBlue);
    linear.DrawGraph(x, y);
    linear.GraphCanvas().SetPenColor(kRed);
    linear.GraphCanvas().SetBrushColor(kYellow);
    for (int type = 0; type <= 5; ++type) {
        std::vector<float> mx = {2.0f + 3 * type}, my = {5.0f};
        linear.PlotGraph(mx, my, type, 4);
    }
    linear.GraphCanvas().SetPenColor(kGreen);
    linear.SkipGraph(x, y, 2, 2, 4);
    Save(linear, "linear.png");

    TMyGraph log(prompts);
    log.LinearX = false;
    log.LinearY = false;
    log.SValueX = 0.01f;
    log.VValueX = 10;
    log.SValueY = 0.1f;
    log.VValueY = 10;
    log.TitleX = "Frequency [Hz]";
    log.TitleY = "Amplitude";
    log.DrawWaku();
    std::vector<float> fx, fy;
    for (int i = 1; i <= 200; ++i) fx.push_back(i * 0.5f), fy.push_back(100.0f / (1 + i * 0.1f));
    log.GraphCanvas().SetPenColor(kRed);
    log.DrawGraph(fx, fy);
    Save(log, "logarithmic.png");

    TMyGraph n(prompts);
    n.SValueY = -1.0000001f;
    n.VValueY = 0.5f;
    n.VValueX = 2.5f;
    n.TitleX = "DrawWakuN";
    n.DrawWakuN();
    Save(n, "drawwakun.png");

    TMyGraph right(prompts);
    right.resize(340, 300);
    right.LeftScale = false;
    right.SubAxis = false;
    right.TitleY = "Count";
    right.DrawWaku();
    right.GraphCanvas().SetPenColor(kNavy);
    right.GraphCanvas().SetPenWidth(2);
    right.DrawGraph(x, y);
    Save(right, "rightscale.png");
}
