// The mouse over the spectrum: read-out texts and the grid row a click selects.

#include "draw/spectrum_mouse.h"

#include <gtest/gtest.h>

#include <cmath>

#include "draw/wave_display.h"
#include "record/text_format.h"

namespace wavora {
namespace {

// The automatic axes of a 100 Hz record with a maximum of 1: 0 … 50 Hz in 5 × 64 pixels, 0 … 1
// in 2 × 160 pixels.
SpectrumAxes Axes() {
    SpectrumAxes a;
    a.NGridX = 5, a.GridX = 64, a.SValueX = 0, a.VValueX = 10;
    a.NGridY = 2, a.GridY = 160, a.SValueY = 0, a.VValueY = 0.5f;
    a.Drawn = true;
    return a;
}

const PictureState kSpectrum{kShowSpectrum, false, true};

TEST(SpectrumMouse, ReadoutTexts) {
    struct Case {
        int X, Y;
        std::string Text;
    };
    const Case cases[] = {
        {70 + 64, 390 - 160, "10.00Hz , 0.5000  "},
        {70, 390, "0.00Hz , 0.000e+00  "},
        {70 + 320, 390 - 320, "50.00Hz , 1.0000  "},
        {70 + 32, 390 - 1, "5.00Hz , 0.0031  "},
    };
    for (const Case& k : cases) {
        const auto t = SpectrumReadout(Axes(), kSpectrum, "Hz", k.X, k.Y);
        ASSERT_TRUE(t);
        EXPECT_EQ(*t, (PictureText{280, 15, k.Text}));
    }
    // A value of exactly 0.001 is written in the exponent form.
    SpectrumAxes a = Axes();
    a.GridY = 250, a.VValueY = 0.25f, a.NGridY = 1;
    EXPECT_EQ(SpectrumReadout(a, kSpectrum, "Hz", 70, 389)->Text, "0.00Hz , 1.000e-03  ");
    // Logarithmic axes read by their ratio per interval.
    a = Axes();
    a.LogX = true, a.SValueX = 1, a.VValueX = 10, a.NGridX = 2, a.GridX = 160;
    EXPECT_EQ(SpectrumReadout(a, kSpectrum, "kHz", 70 + 80, 390 - 160)->Text,
              StrPrintf("%.2fkHz , 0.5000  ", std::sqrt(10.0)));
}

TEST(SpectrumMouse, OutsideThePlotTheReadoutIsErased) {
    const std::string eraser = std::string(13, ' ') + "\u3000\u3000" + std::string(10, ' ');
    EXPECT_EQ(ReadoutEraser(), eraser);
    for (auto [x, y] : {std::pair{69, 300}, std::pair{391, 300}, std::pair{100, 391}, std::pair{100, 69}}) {
        const auto t = SpectrumReadout(Axes(), kSpectrum, "Hz", x, y);
        ASSERT_TRUE(t);
        EXPECT_EQ(*t, (PictureText{280, 15, eraser}));
    }
}

TEST(SpectrumMouse, SilentOverOtherPictures) {
    SpectrumAxes notYet = Axes();
    notYet.Drawn = false;
    EXPECT_FALSE(SpectrumReadout(notYet, kSpectrum, "Hz", 100, 300));
    EXPECT_FALSE(SpectrumReadout(Axes(), {kShowWave, false, true}, "Hz", 100, 300));
    EXPECT_FALSE(SpectrumReadout(Axes(), {kShowRunningPlot, false, true}, "Hz", 100, 300));
    EXPECT_FALSE(SpectrumReadout(Axes(), {kShowSpectrum, true, true}, "Hz", 100, 300));
    // The correlation picture keeps the spectrum read-out, as it always has.
    EXPECT_TRUE(SpectrumReadout(Axes(), {kShowCorrelation, false, true}, "Hz", 100, 300));
}

// Column 1 of the grid: the frequency of row i is i Hz, "%9.2f".
std::string FrequencyCell(int row) {
    return StrPrintf("%9.2f", static_cast<double>(row));
}

TEST(SpectrumMouse, ClickSelectsTheFirstRowNearTheFrequency) {
    struct Case {
        double X;
        int Rows;
        std::optional<int> Row;
    };
    const Case cases[] = {
        {10.3, 512, 10},             // ninth row examined: within 5 %
        {11.5, 512, 11},             // tenth row examined: 5 % still (0.575)
        {20.3, 512, 20},             // within 2 %
        {20.5, 512, std::nullopt},   // 2.4 % from 20 and 21: too far after the first ten rows
        {1.0, 512, std::nullopt},    // rows 0 and 1 are never examined
        {300.0, 200, std::nullopt},  // beyond the last row
        {-5.0, 512, std::nullopt},
    };
    for (const Case& k : cases) EXPECT_EQ(GridRowNear(k.X, k.Rows, FrequencyCell), k.Row) << k.X;
    // A cell without a number is examined but never chosen.
    auto blanks = [](int row) { return row == 10 ? std::string("   ---") : FrequencyCell(row); };
    EXPECT_EQ(GridRowNear(10.1, 512, blanks), std::nullopt);
}

TEST(SpectrumMouse, ClickOnThePicture) {
    const SpectrumClick inside = SpectrumClickAt(Axes(), kSpectrum, 70 + 64, 300, 512, FrequencyCell);
    EXPECT_EQ(inside.Row, 10);
    EXPECT_FALSE(inside.Erase);
    const SpectrumClick outside = SpectrumClickAt(Axes(), kSpectrum, 20, 300, 512, FrequencyCell);
    EXPECT_FALSE(outside.Row);
    EXPECT_EQ(outside.Erase, (PictureText{300, 1, ReadoutEraser()}));
    for (const PictureState& p :
         {PictureState{kShowSpectrum, false, false}, PictureState{kShowWave, false, true},
          PictureState{kShowSpectrum, true, true}}) {
        const SpectrumClick none = SpectrumClickAt(Axes(), p, 20, 300, 512, FrequencyCell);
        EXPECT_FALSE(none.Row || none.Erase);
    }
}

}  // namespace
}  // namespace wavora
