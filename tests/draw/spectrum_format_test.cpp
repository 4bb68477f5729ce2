// The spectrum format dialog's OK and "Max Freq to Nyquist" on its fields, and the MEM
// grid's upper end read from "X max".

#include "draw/spectrum_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wavora {
namespace {

SpectrumFormatFields Fields(const std::string& x0, const std::string& xm, int nx, const std::string& y0,
                            const std::string& ym, int ny, bool logX = false, bool logY = false) {
    SpectrumFormatFields f;
    f.EdSX0 = x0, f.EdSXM = xm, f.UpDown2 = nx, f.RadioGroup2 = logX;
    f.EdSY0 = y0, f.EdSYM = ym, f.UpDown1 = ny, f.RadioGroup1 = logY;
    return f;
}

TEST(SpectrumFormat, OkStoresBothAxesAndTheOptions) {
    SpectrumFormatFields f = Fields("1", "1000", 3, "0", "2", 4, true, false);
    f.Edlx = " 400", f.Edly = "200 ";
    f.CBSubAxis = false, f.CBBroad = true, f.CBRight = false, f.CBZero = false, f.RadioGroup3 = 1;
    SpectrumAxes a;
    SpectrumDisplayOptions o;
    const SpectrumFormatApplied r = ApplySpectrumFormat(f, a, o);
    ASSERT_FALSE(r.Error);
    EXPECT_TRUE(r.Applied);
    EXPECT_TRUE(a.LogX);
    EXPECT_FLOAT_EQ(a.SValueX, 1.0f);
    EXPECT_FLOAT_EQ(a.VValueX, 10.0f);
    EXPECT_EQ(a.NGridX, 3);
    EXPECT_FALSE(a.LogY);
    EXPECT_FLOAT_EQ(a.SValueY, 0.0f);
    EXPECT_FLOAT_EQ(a.VValueY, 0.5f);
    EXPECT_EQ(a.NGridY, 4);
    EXPECT_FALSE(a.AutoScale);
    EXPECT_EQ(a.WidthX, 400);
    EXPECT_EQ(a.HeightY, 200);
    EXPECT_FALSE(o.SubAxis);
    EXPECT_TRUE(o.BroadLine);
    EXPECT_FALSE(o.RightSideComment);
    EXPECT_FALSE(o.ZeroAverage);
    EXPECT_TRUE(o.PeriodAxis);
    // "Frequency" again turns the period axis off.
    f.RadioGroup3 = 0;
    ASSERT_TRUE(ApplySpectrumFormat(f, a, o).Applied);
    EXPECT_FALSE(o.PeriodAxis);
}

TEST(SpectrumFormat, IllegalRangesKeepAValidXPartButApplyNothingElse) {
    struct Case {
        SpectrumFormatFields F;
        bool XStored, YStored;
    };
    const Case cases[] = {
        {Fields("0", "100", 2, "0", "1", 2, true), false, true},  // logarithmic X from 0
        {Fields("5", "5", 2, "0", "1", 2), false, true},          // start not below end
        {Fields("0", "50", 5, "2", "1", 2), true, false},
        {Fields("0", "50", 5, "-1", "10", 2, false, true), true, false},
    };
    for (const Case& k : cases) {
        SpectrumAxes a;
        a.SValueX = 7, a.SValueY = 9;
        SpectrumDisplayOptions o;
        const SpectrumFormatApplied r = ApplySpectrumFormat(k.F, a, o);
        ASSERT_TRUE(r.Error);
        EXPECT_EQ(r.Error->Text, "Illegal Lower value for axis");
        EXPECT_EQ(r.Error->Caption, "Data Error");
        EXPECT_FALSE(r.Applied);
        EXPECT_EQ(a.SValueX != 7, k.XStored);
        EXPECT_EQ(a.SValueY != 9, k.YStored);
        EXPECT_TRUE(a.AutoScale);
        EXPECT_EQ(a.WidthX, 320);
    }
}

// Typing errors are refused before anything is stored, so no drawing can fail with them.
TEST(SpectrumFormat, FieldsThatAreNotNumbersChangeNothing) {
    struct Case {
        const char* Field;
        std::string Value;
        std::string Message;
    };
    const Case cases[] = {
        {"EdSY0", "abc", "'abc' is not a valid floating point value"},
        {"EdSXM", "", "'' is not a valid floating point value"},
        {"EdSX0", "1e99", "'1e99' is not a valid floating point value"},
        {"Edlx", "320.5", "'320.5' is not a valid integer value"},
        {"Edly", "tall", "'tall' is not a valid integer value"},
        {"Edlx", "3", "Width must be between 5 and 32767 pixels"},
        {"Edly", "99999", "Height must be between 2 and 32767 pixels"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Field);
        SpectrumFormatFields f = Fields("0", "50", 5, "0", "1", 2);
        std::string* field = std::string(k.Field) == "EdSY0"   ? &f.EdSY0
                             : std::string(k.Field) == "EdSXM" ? &f.EdSXM
                             : std::string(k.Field) == "EdSX0" ? &f.EdSX0
                             : std::string(k.Field) == "Edlx"  ? &f.Edlx
                                                               : &f.Edly;
        *field = k.Value;
        SpectrumAxes a, before;
        SpectrumDisplayOptions o;
        o.BroadLine = true;
        f.CBBroad = false;
        const SpectrumFormatApplied r = ApplySpectrumFormat(f, a, o);
        ASSERT_TRUE(r.Error);
        EXPECT_EQ(r.Error->Text, k.Message);
        EXPECT_FALSE(r.Applied);
        EXPECT_EQ(a.SValueX, before.SValueX);
        EXPECT_EQ(a.NGridX, before.NGridX);
        EXPECT_EQ(a.NGridY, before.NGridY);
        EXPECT_EQ(a.WidthX, before.WidthX);
        EXPECT_TRUE(a.AutoScale);
        EXPECT_TRUE(o.BroadLine);
    }
}

TEST(SpectrumFormat, GridCountsComeFromTheUpDownRange) {
    SpectrumFormatFields f = Fields("0", "10", 0, "0", "10", 25);
    SpectrumAxes a;
    SpectrumDisplayOptions o;
    ASSERT_TRUE(ApplySpectrumFormat(f, a, o).Applied);
    EXPECT_EQ(a.NGridX, 1);
    EXPECT_EQ(a.NGridY, 10);
    EXPECT_FLOAT_EQ(a.VValueY, 1.0f);
}

TEST(SpectrumFormat, MaxFreqToNyquist) {
    struct Case {
        int Item, Step;
        float Interval;
        std::string Text;
    };
    const Case cases[] = {
        {0, 2, 0.01f, "25"},   {1, 2, 0.01f, "12.5"}, {2, 1, 0.01f, "12.5"},
        {3, 1, 0.01f, "10"},   {4, 1, 0.01f, "5"},  // "×10" gives one tenth
        {0, 1, 0.001f, "500"},
    };
    for (const Case& k : cases) {
        SpectrumFormatFields f;
        SetMaxFreqToNyquist(f, k.Item, k.Step, k.Interval);
        EXPECT_EQ(f.EdSXM, k.Text) << k.Item;
        EXPECT_EQ(f.RGMaxFreq, k.Item);
    }
}

TEST(SpectrumFormat, MemGridEndFromXMax) {
    SpectrumFormatFields f;
    f.EdSXM = "50.00";
    EXPECT_FLOAT_EQ(MemFrequencyMaximum(f), 50.0f);
    for (const char* text : {"0.00", "-3", "", "fifty", "nan"}) {
        f.EdSXM = text;
        EXPECT_TRUE(std::isnan(MemFrequencyMaximum(f))) << text;
    }
}

}  // namespace
}  // namespace wavora
