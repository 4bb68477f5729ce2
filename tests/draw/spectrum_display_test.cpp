// The spectrum display: automatic axes, labels, titles, curves, legends, log and period axes, the
// frame shared by a run's curves and the write-back into the format dialog's fields.

#include "draw/spectrum_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/spectrum_run.h"
#include "draw/spectrum_format.h"
#include "support/record_builder.h"
#include "support/recording_canvas.h"

namespace wavora {
namespace {

using test::RecordedLine;
using test::RecordingCanvas;

// A curve of n/2 values, all 0 but `peak` at bin `at`.
struct OwnedCurve {
    std::vector<float> Values;
    SpectrumCurve Curve;
};

OwnedCurve Peak(int points, float dt, float peak, int at = 5, Color colour = kRed,
                const std::string& legend = "CH1") {
    OwnedCurve c;
    c.Values.assign(points / 2, 0.0f);
    c.Values[at] = peak;
    c.Curve.Colour = colour;
    c.Curve.Points = points;
    c.Curve.AnalysisInterval = dt;
    c.Curve.Unit = "Gal";
    c.Curve.Legend = legend;
    return c;
}

SpectrumCurve Bind(OwnedCurve& c) {
    c.Curve.Values = c.Values;
    return c.Curve;
}

SpectrumFrameInfo Info() {
    SpectrumFrameInfo info;
    info.FileName = "floors.csv";
    return info;
}

std::vector<std::string> TextsBetween(const RecordingCanvas& c, int y0, int y1) {
    std::vector<std::string> out;
    for (const auto& t : c.Texts)
        if (t.Y >= y0 && t.Y <= y1) out.push_back(t.Text);
    return out;
}

// The X labels sit with their top 5 pixels under the axis, the Y labels left of it.
std::vector<std::string> XLabels(const RecordingCanvas& c) {
    return TextsBetween(c, 395, 395);
}
std::vector<std::string> YLabels(const RecordingCanvas& c, const SpectrumAxes& a) {
    std::vector<std::string> out;
    for (const auto& t : c.Texts)
        if (t.X + static_cast<int>(t.Text.size()) * 6 == a.OriginX - 10) out.push_back(t.Text);
    return out;
}

TEST(SpectrumDisplay, AutomaticFrequencyAxisFollowsTheNyquistFrequency) {
    struct Case {
        float Dt;
        int NGrid;
        float Step;
        std::vector<std::string> Labels;
    };
    const Case cases[] = {
        {0.01f, 5, 10.0f, {"0", "10", "20", "30", "40", "50"}},
        {0.005f, 2, 50.0f, {"0", "50", "100"}},
        {0.002f, 5, 50.0f, {"0", "50", "100", "150", "200", "250"}},
        {0.025f, 2, 10.0f, {"0", "10", "20"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Dt);
        OwnedCurve curve = Peak(1024, k.Dt, 1.0f);
        SpectrumDisplay d;
        d.Frame.NewSpectrumFrame = true;
        WaveView view;
        RecordingCanvas c(433, 417);
        ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
        EXPECT_EQ(d.Axes.NGridX, k.NGrid);
        EXPECT_FLOAT_EQ(d.Axes.VValueX, k.Step);
        EXPECT_EQ(d.Axes.GridX, 320 / k.NGrid);
        EXPECT_EQ(XLabels(c), k.Labels);
        // A maximum of exactly 1: two intervals of 0.5.
        EXPECT_EQ(d.Axes.NGridY, 2);
        EXPECT_FLOAT_EQ(d.Axes.VValueY, 0.5f);
        EXPECT_EQ(YLabels(c, d.Axes), (std::vector<std::string>{"0", "0.5", "1.0"}));
        EXPECT_EQ(view.DisplayKind, kShowSpectrum);
        EXPECT_FALSE(d.Frame.NewSpectrumFrame);
        EXPECT_TRUE(d.Axes.Drawn);
    }
}

TEST(SpectrumDisplay, AutomaticValueAxis) {
    struct Case {
        float Max;
        int NGrid;
        float Step;
        std::vector<std::string> Labels;
    };
    const Case cases[] = {
        {0.03f, 5, 0.01f, {"0", "0.01", "0.02", "0.03", "0.04", "0.05"}},
        {7.3f, 2, 5.0f, {"0", "5", "10"}},
        // An all-zero spectrum is drawn on the axis of a maximum of 1.
        {0.0f, 2, 0.5f, {"0", "0.5", "1.0"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Max);
        OwnedCurve curve = Peak(512, 0.01f, k.Max);
        SpectrumDisplay d;
        d.Frame.NewSpectrumFrame = true;
        WaveView view;
        RecordingCanvas c(433, 417);
        ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
        EXPECT_EQ(d.Axes.NGridY, k.NGrid);
        EXPECT_NEAR(d.Axes.VValueY, k.Step, k.Step * 1e-5);
        EXPECT_EQ(YLabels(c, d.Axes), k.Labels);
    }
}

TEST(SpectrumDisplay, FrameLinesSubAxesAndCurvePixels) {
    OwnedCurve curve = Peak(1024, 0.01f, 1.0f, 64);  // bin 64 of 10.24 s: 6.25 Hz
    SpectrumDisplay d;
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    // The picture is painted white once; the outer grid lines are 2 pixels wide.
    ASSERT_GE(c.Fills(), 1);
    EXPECT_EQ(c.Shapes[0].Points[1], (CanvasPoint{433, 417}));
    int wide = 0, dotted = 0;
    for (const auto& l : c.Lines) {
        if (l.PenColor != kBlack) continue;
        wide += l.Width == 2;
        dotted += l.Style == PenStyle::Dot;
    }
    EXPECT_EQ(wide, 4);
    // X step 10: 5 sub-divisions per interval (4 lines × 5); Y step 0.5: 5 per interval (4 × 2).
    EXPECT_EQ(dotted, 4 * 5 + 4 * 2);
    // The curve: 512 points, the first at the origin, the peak at 6.25 Hz and value 1.
    std::vector<RecordedLine> red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 511u + 1u);  // and the legend's sample line
    EXPECT_EQ(red.front().From, (CanvasPoint{70, 390}));
    EXPECT_EQ(red[63].To, (CanvasPoint{70 + 40, 390 - 320}));
    // Frame texts.
    EXPECT_NE(c.FindText("Fourier Spectrum [Gal*s]"), nullptr);
    EXPECT_EQ(c.FindText("Fourier Spectrum [Gal*s]")->X, 80);
    EXPECT_EQ(c.FindText("Fourier Spectrum [Gal*s]")->Y, 390 - 320 - 25);
    ASSERT_NE(c.FindText("Data 1024 (0 - 1023)  Smooth 0"), nullptr);
    EXPECT_EQ(c.FindText("Data 1024 (0 - 1023)  Smooth 0")->Y, 390 - 320 - 70);
    ASSERT_NE(c.FindText("Unfiltered"), nullptr);
    EXPECT_EQ(c.FindText("Unfiltered")->Y, 390 - 320 - 55);
    ASSERT_NE(c.FindText("Hz"), nullptr);
    EXPECT_EQ(c.FindText("Hz")->X, 70 + 320 + 5);
    // File name right-aligned, the legend below it.
    const auto* name = c.FindText("floors.csv");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->X, 70 + 320 - 60 - 10);
    EXPECT_EQ(name->Y, 390 - 320 + 10);
    const auto* legend = c.FindText("CH1");
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->X, 70 + 320 - 18 - 10);
    EXPECT_EQ(legend->Y, 390 - 320 + 28);
    EXPECT_EQ(red.back().From, (CanvasPoint{390 - 18 - 15, 98 + 8}));
    EXPECT_EQ(red.back().To, (CanvasPoint{390 - 18 - 50, 98 + 8}));
}

TEST(SpectrumDisplay, WithoutSubAxisShortTicksOnTheAxes) {
    OwnedCurve curve = Peak(1024, 0.01f, 1.0f);
    SpectrumDisplay d;
    d.Options.SubAxis = false;
    d.Options.RightSideComment = false;
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    int ticksX = 0, ticksY = 0;
    for (const auto& l : c.Lines) {
        EXPECT_NE(l.Style, PenStyle::Dot);
        if (l.PenColor != kBlack) continue;
        if (l.From.Y == 390 && l.To.Y == 383) ++ticksX;
        if (l.From.X == 70 && l.To.X == 77) ++ticksY;
    }
    EXPECT_EQ(ticksX, 20);
    EXPECT_EQ(ticksY, 8);
    // File name and legend at the left.
    EXPECT_EQ(c.FindText("floors.csv")->X, 80);
    EXPECT_EQ(c.FindText("CH1")->X, 85);
}

TEST(SpectrumDisplay, ThreeChannelsShareOneFrameWithStyledLinesAndLegends) {
    OwnedCurve a = Peak(512, 0.01f, 1.0f, 5, kRed, "North"), b = Peak(512, 0.01f, 3.0f, 6, kBlue, "East"),
               z = Peak(512, 0.01f, 2.0f, 7, kGreen, "Up");
    const std::vector<SpectrumCurve> curves = {Bind(a), Bind(b), Bind(z)};
    SpectrumDisplay d;
    d.Format.CBSolid = false;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrumFrame(c, d, view, Info(), curves));
    EXPECT_EQ(c.Fills(), 1 + 3);  // the picture, then one legend box per curve
    EXPECT_EQ(d.Frame.CurveCount, 3);
    EXPECT_EQ(d.Frame.LegendY, 98 + 3 * 18);
    const std::pair<Color, PenStyle> pens[] = {
        {kRed, PenStyle::Solid}, {kBlue, PenStyle::Dot}, {kGreen, PenStyle::DashDot}};
    for (const auto& [colour, style] : pens) {
        std::vector<RecordedLine> lines = c.LinesIn(colour);
        ASSERT_FALSE(lines.empty());
        for (const auto& l : lines) EXPECT_EQ(l.Style, style);
    }
    EXPECT_EQ(c.FindText("North")->Y, 390 - 320 + 28);
    EXPECT_EQ(c.FindText("East")->Y, 390 - 320 + 46);
    EXPECT_EQ(c.FindText("Up")->Y, 390 - 320 + 64);
    // The axes come from the largest of the three maxima (3: five intervals of 1), so every
    // peak stands at its own value under the labels.
    EXPECT_EQ(d.Axes.NGridY, 5);
    EXPECT_FLOAT_EQ(d.Axes.VValueY, 1.0f);
    EXPECT_EQ(YLabels(c, d.Axes), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
    // (The step carries the single-precision rounding of its search, so a pixel may truncate down.)
    EXPECT_NEAR(c.LinesIn(kRed)[4].To.Y, 390 - 64, 1);
    EXPECT_NEAR(c.LinesIn(kBlue)[5].To.Y, 390 - 3 * 64, 1);
    EXPECT_NEAR(c.LinesIn(kGreen)[6].To.Y, 390 - 2 * 64, 1);
    // The frame was drawn once.
    int titles = 0;
    for (const auto& t : c.Texts) titles += t.Text == "Fourier Spectrum [Gal*s]";
    EXPECT_EQ(titles, 1);
}

TEST(SpectrumDisplay, OneCurveFrameIsTheSameThroughEitherCall) {
    OwnedCurve a = Peak(1024, 0.01f, 0.37f);
    SpectrumDisplay d1, d2;
    WaveView v1, v2;
    RecordingCanvas c1(433, 417), c2(433, 417);
    d1.Frame.NewSpectrumFrame = true;
    ASSERT_FALSE(DrawSpectrum(c1, d1, v1, Info(), Bind(a)));
    const std::vector<SpectrumCurve> one = {Bind(a)};
    ASSERT_FALSE(DrawSpectrumFrame(c2, d2, v2, Info(), one));
    EXPECT_EQ(c1.TextStrings(), c2.TextStrings());
    ASSERT_EQ(c1.Lines.size(), c2.Lines.size());
    for (size_t i = 0; i < c1.Lines.size(); ++i) {
        EXPECT_EQ(c1.Lines[i].From, c2.Lines[i].From);
        EXPECT_EQ(c1.Lines[i].To, c2.Lines[i].To);
    }
}

TEST(SpectrumDisplay, UserAxesLogarithmicScales) {
    SpectrumDisplay d;
    d.Format.EdSX0 = "1", d.Format.EdSXM = "100", d.Format.UpDown2 = 2, d.Format.RadioGroup2 = 1;
    d.Format.EdSY0 = "0.01", d.Format.EdSYM = "100", d.Format.UpDown1 = 4, d.Format.RadioGroup1 = 1;
    ASSERT_TRUE(ApplySpectrumFormat(d.Format, d.Axes, d.Options).Applied);
    // 1 … 100 Hz: bins of 0.5 Hz at dt 0.01 and 200 points; a value ≤ 0 cannot be placed.
    OwnedCurve curve = Peak(200, 0.01f, 10.0f, 20);
    for (int i = 1; i < 100; ++i) curve.Values[i] = i == 20 ? 10.0f : 0.1f;
    curve.Values[30] = 0.0f;
    curve.Values[31] = -1.0f;
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    EXPECT_EQ(XLabels(c), (std::vector<std::string>{"1", "10", "100"}));
    EXPECT_EQ(YLabels(c, d.Axes), (std::vector<std::string>{"0.01", "0.1", "1", "10", "100"}));
    // Sub-lines at the 2-4-6-8 positions of each decade.
    std::vector<int> subX;
    for (const auto& l : c.Lines)
        if (l.Style == PenStyle::Dot && l.From.X == l.To.X) subX.push_back(l.From.X);
    EXPECT_EQ(subX, (std::vector<int>{118, 166, 194, 214, 278, 326, 354, 374}));
    // Bins 2 … 99 (1 … 49.5 Hz) less the two unplaceable values, joined across them.
    std::vector<RecordedLine> red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 98u - 2u - 1u + 1u);  // 96 placed points: 95 joins, and the legend line
    const RecordedLine& across = red[29 - 2];
    EXPECT_EQ(across.From.X, static_cast<int>(70 + std::log10(14.5) * 160));
    EXPECT_EQ(across.To.X, static_cast<int>(70 + std::log10(16.0) * 160));
    // The peak: 10 at 10 Hz sits on the grid line r = 3 of Y and r = 1 of X.
    EXPECT_EQ(red[20 - 2 - 1].To.X, 70 + 160);
    EXPECT_NEAR(red[20 - 2 - 1].To.Y, 390 - 3 * 80, 1);
}

TEST(SpectrumDisplay, IllegalLogarithmicStartDrawsNothing) {
    for (bool onX : {true, false}) {
        SpectrumDisplay d;
        d.Axes.AutoScale = false;
        d.Axes.LogX = onX;
        d.Axes.LogY = !onX;
        d.Axes.SValueX = onX ? 0.0f : 1.0f;
        d.Axes.SValueY = onX ? 1.0f : -2.0f;
        d.Frame.NewSpectrumFrame = true;
        const SpectrumFormatFields before = d.Format;
        OwnedCurve curve = Peak(512, 0.01f, 1.0f);
        WaveView view;
        RecordingCanvas c(433, 417);
        const auto failure = DrawSpectrum(c, d, view, Info(), Bind(curve));
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->Text, "Illegal lower value for axis");
        EXPECT_EQ(failure->Caption, "Data Error");
        EXPECT_EQ(failure->Icon, MessageIcon::Warning);
        EXPECT_TRUE(c.Lines.empty() && c.Texts.empty() && c.Shapes.empty());
        EXPECT_TRUE(d.Frame.NewSpectrumFrame);
        EXPECT_EQ(d.Frame.CurveCount, 0);
        EXPECT_EQ(d.Format.EdSX0, before.EdSX0);
        EXPECT_EQ(view.DisplayKind, kShowStartup);
    }
}

TEST(SpectrumDisplay, PeriodAxisSkipsBinZeroAndNamesTheTimeUnit) {
    OwnedCurve curve = Peak(16, 0.1f, 1.0f, 1);  // T = 1.6 s: bin 1 is a period of 1.6 s
    SpectrumDisplay d;
    d.Options.PeriodAxis = true;
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    ASSERT_NE(c.FindText("s"), nullptr);
    EXPECT_EQ(c.FindText("s")->X, 70 + 320 + 5);
    EXPECT_EQ(c.FindText("Hz"), nullptr);
    // Axis 0 … 5 in steps of 1 (64 pixels); bins 1 … 7: periods 1.6, 0.8, … 0.229.
    std::vector<RecordedLine> red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 6u + 1u);
    EXPECT_EQ(red.front().From, (CanvasPoint{70 + static_cast<int>(1.6 * 64), 390 - 320}));
    EXPECT_EQ(red.front().To.X, 70 + static_cast<int>(0.8 * 64));
}

TEST(SpectrumDisplay, UnplaceableAndHugeValuesDoNotBreakTheLine) {
    OwnedCurve curve = Peak(64, 0.01f, 1.0f, 3);
    curve.Values[10] = std::numeric_limits<float>::quiet_NaN();
    curve.Values[11] = std::numeric_limits<float>::infinity();
    curve.Values[12] = 3.0e38f;
    SpectrumDisplay d;
    d.Format.EdSX0 = "0", d.Format.EdSXM = "50", d.Format.EdSY0 = "0", d.Format.EdSYM = "1e-30";
    ASSERT_TRUE(ApplySpectrumFormat(d.Format, d.Axes, d.Options).Applied);
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    std::vector<RecordedLine> red = c.LinesIn(kRed);
    ASSERT_EQ(red.size(), 32u - 2u - 1u + 1u);
    // Values far above the frame are pinned, still drawn upwards; bin 9 joins bin 12.
    EXPECT_EQ(red[2].To.Y, -1000000);
    EXPECT_EQ(red[9].From, (CanvasPoint{160, 390}));
    EXPECT_EQ(red[9].To, (CanvasPoint{190, -1000000}));
}

TEST(SpectrumDisplay, WriteBackShowsTheAxesInTheFormatFields) {
    OwnedCurve curve = Peak(1024, 0.01f, 0.0003f);
    SpectrumDisplay d;
    d.Frame.NewSpectrumFrame = true;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(DrawSpectrum(c, d, view, Info(), Bind(curve)));
    const SpectrumFormatFields& f = d.Format;
    EXPECT_EQ(f.EdSX0, "0.000");
    EXPECT_EQ(f.EdSXM, "50.00");
    EXPECT_EQ(f.UpDown2, 5);
    EXPECT_EQ(f.EdSY0, "0.000");
    EXPECT_EQ(f.EdSYM, "5.00e-04");
    EXPECT_EQ(f.UpDown1, 5);
    EXPECT_EQ(f.RadioGroup2, 0);
    EXPECT_EQ(f.RadioGroup1, 0);
    EXPECT_EQ(f.Edlx, "320");
    EXPECT_EQ(f.Edly, "320");
    // Logarithmic ends and a small start use the exponent form.
    SpectrumAxes a;
    a.LogY = true, a.SValueY = 0.0001f, a.VValueY = 10.0f, a.NGridY = 3;
    a.SValueX = 0.5f, a.VValueX = 2.5f, a.NGridX = 4;
    SpectrumFormatFields g;
    WriteBackAxes(a, g);
    EXPECT_EQ(g.EdSY0, "1.00e-04");
    EXPECT_EQ(g.EdSYM, "0.100");
    EXPECT_EQ(g.EdSX0, "0.500");
    EXPECT_EQ(g.EdSXM, "10.50");
    a.NGridY = 9;
    WriteBackAxes(a, g);
    EXPECT_EQ(g.EdSYM, "1.00e+05");
}

TEST(SpectrumDisplay, FrameTexts) {
    struct Case {
        bool Mem;
        SpectrumType Type;
        bool Abs;
        std::string Title, DataLine;
    };
    const Case cases[] = {
        {false, SpectrumType::Amp, false, "Fourier Spectrum [Gal*s]", "Data 512 (100 - 1122)  Smooth 2"},
        {false, SpectrumType::Amp, true, "Abs Fourier Coeff [Gal]", "Data 512 (100 - 1122)  Smooth 2"},
        {false, SpectrumType::Power, false, "Power Spectrum [Gal^2*s]", "Data 512 (100 - 1122)  Smooth 2"},
        {true, SpectrumType::Power, false, "MEM Spectrum", "Data 512 (100 - 1122)"},
    };
    for (const Case& k : cases) {
        SpectrumFrameInfo info;
        info.Mem = k.Mem, info.Type = k.Type, info.AbsCoeffMode = k.Abs;
        info.SmoothPasses = 2, info.DisplayPosition = 100, info.Step = 2;
        const SpectrumFrameTexts t = FrameTextsOf(info, "Gal", 512);
        EXPECT_EQ(t.Title, k.Title);
        EXPECT_EQ(t.DataLine, k.DataLine);
        EXPECT_EQ(t.RatioLine, "");
        EXPECT_EQ(t.DataComment, "Unfiltered");
    }
    SpectrumFrameInfo info;
    info.Ratio = true, info.RatioFirst = 3, info.RatioSecond = 1;
    info.Filter = {true, 0.5f, 37.5f};
    info.FrequencyText = "kHz";
    const SpectrumFrameTexts t = FrameTextsOf(info, "Gal", 1024);
    EXPECT_EQ(t.RatioLine, "Spectral Ratio          CH3 / CH1");
    EXPECT_EQ(t.DataComment, "Bandpass 0.50 - 37.50 kHz");
}

// A run through SpectrumRun: the ratio is one curve without legends, named in the ratio line.
TEST(SpectrumDisplay, RunPictureOfARatio) {
    WaveRecord record = test::SyntheticRecord(
        3, 2048, [](int c, int i) { return static_cast<int16_t>(1000 * std::sin(0.3 * i * (c + 1))); });
    AnalysisSettings settings;
    settings.ChannelFlags = {true, false, true};
    settings.RatioMode = 2;
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    ASSERT_EQ(run.Begin(0).Status, RunStartStatus::Ready);
    SpectrumRunPicture picture;
    for (int k : run.Channels())
        if (run.AnalyseChannel(k).Status == ChannelStatus::Shown) picture.Add(record, result, k, kBlue);
    ASSERT_EQ(picture.Size(), 1u);
    const SpectrumFrameInfo info = FrameInfoOf(record, result, 0, {});
    EXPECT_TRUE(info.Ratio);
    SpectrumDisplay d;
    WaveView view;
    RecordingCanvas c(433, 417);
    ASSERT_FALSE(picture.Draw(c, d, view, info));
    EXPECT_NE(c.FindText("Spectral Ratio          CH3 / CH1"), nullptr);
    EXPECT_EQ(c.FindText(record.Channels[2].Name), nullptr);
    EXPECT_EQ(c.Fills(), 1);
    EXPECT_EQ(c.LinesIn(kBlue).size(), 511u);
}

}  // namespace
}  // namespace wavora
