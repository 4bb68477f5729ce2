#include "scales/scale_labels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace wavora;

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}  // namespace

TEST(ScaleUnit, LinearTakesTheSmallestSeriesStepThatReachesTheValue) {
    ScaleStep s = ScaleUnit(false, 1, 355.84f);
    EXPECT_FLOAT_EQ(s.Start, 0.0f);
    EXPECT_FLOAT_EQ(s.Step, 500.0f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 5, 50.0f).Step, 10.0f);  // a maximum on the top is accepted
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, 7.3f).Step, 2.0f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, 8.0f).Step, 2.0f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, 8.01f).Step, 2.5f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 1, 0.0003f).Step, 0.0005f);
    EXPECT_EQ(RoundText(ScaleUnit(false, 1, 355.84f).Step), "500");
}

TEST(ScaleUnit, LogarithmicEndsAtThePowerOfTenAboveTheValue) {
    ScaleStep s = ScaleUnit(true, 3, 350.0f);
    EXPECT_FLOAT_EQ(s.Start, 1.0f);
    EXPECT_FLOAT_EQ(s.Step, 10.0f);
    EXPECT_FLOAT_EQ(ScaleUnit(true, 4, 350.0f).Start, 0.1f);
    EXPECT_FLOAT_EQ(ScaleUnit(true, 2, 0.05f).Start, 0.001f);
}

TEST(ScaleUnit, DegenerateInputsEndWithTheSmallestStep) {
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, 0.0f).Step, 1e-10f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, -7.0f).Step, 1e-10f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, kNaN).Step, 1e-10f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 4, kInf).Step, 1e-10f);
    EXPECT_FLOAT_EQ(ScaleUnit(false, 0, 3.0f).Step, 5.0f);  // no grid interval counts as one
    EXPECT_FLOAT_EQ(ScaleUnit(true, 3, kInf).Start, 1e-13f);
    EXPECT_FLOAT_EQ(ScaleUnit(true, 3, 0.0f).Start, 1e-13f);
}

TEST(AxisUnit, GridCountFollowsTheMantissa) {
    struct Case {
        float value;
        int ngrid;
        float step;
    };
    const Case cases[] = {{50, 5, 10},           {100, 2, 50},      {250, 5, 50}, {20, 2, 10},
                          {1, 2, 0.5f},          {0.03f, 5, 0.01f}, {10, 2, 5},   {3, 5, 1},
                          {1.0000001f, 2, 0.5f}, {0.5f, 5, 0.1f}};
    for (const Case& c : cases) {
        AxisScale a = AxisUnit(false, c.value);
        EXPECT_EQ(a.NGrid, c.ngrid) << c.value;
        EXPECT_FLOAT_EQ(a.Start, 0.0f) << c.value;
        EXPECT_FLOAT_EQ(a.Step, c.step) << c.value;
    }
}

TEST(AxisUnit, LogarithmicHasThreeDecades) {
    AxisScale a = AxisUnit(true, 350.0f);
    EXPECT_EQ(a.NGrid, 3);
    EXPECT_FLOAT_EQ(a.Start, 1.0f);
    EXPECT_FLOAT_EQ(a.Step, 10.0f);
}

TEST(AxisUnit, NoPositiveMaximumGivesTheUnitAxis) {
    for (float v : {0.0f, -0.0f, -5.0f, kNaN, kInf, -kInf}) {
        AxisScale a = AxisUnit(false, v);
        EXPECT_EQ(a.NGrid, 2) << v;
        EXPECT_FLOAT_EQ(a.Start, 0.0f) << v;
        EXPECT_FLOAT_EQ(a.Step, 0.5f) << v;
    }
    AxisScale tiny = AxisUnit(false, 1e-30f);  // still found, not looping
    EXPECT_GT(tiny.Step, 0.0f);
}

TEST(SubScale, CountAndDecimalsFollowTheStep) {
    struct Case {
        float step;
        int count;
        const char* format;
    };
    const Case cases[] = {{1, 5, "%.0f"},     {2, 4, "%.0f"},     {1.5f, 3, "%.1f"}, {2.5f, 5, "%.1f"},
                          {0.25f, 5, "%.2f"}, {0.5f, 5, "%.1f"},  {20, 4, "%.0f"},   {25, 5, "%.0f"},
                          {8, 4, "%.0f"},     {9, 3, "%.0f"},     {10, 5, "%.0f"},   {0.01f, 5, "%.2f"},
                          {50, 5, "%.0f"},    {0.15f, 3, "%.2f"}, {7, 7, "%.0f"},    {6, 6, "%.0f"}};
    for (const Case& c : cases) {
        std::string format = "untouched";
        EXPECT_EQ(SubScale(c.step, format), c.count) << c.step;
        EXPECT_EQ(format, c.format) << c.step;
    }
}

TEST(SubScale, ZeroNegativeAndNonFiniteSteps) {
    std::string format = "%.3f";
    EXPECT_EQ(SubScale(0.0f, format), 0);
    EXPECT_EQ(format, "%.0f");
    format = "%.3f";
    EXPECT_EQ(SubScale(-2.0f, format), 0);
    EXPECT_EQ(format, "%.3f");
    EXPECT_EQ(SubScale(kNaN, format), 0);
    EXPECT_EQ(format, "%.0f");
    format = "%.3f";
    EXPECT_EQ(SubScale(kInf, format), 0);
    EXPECT_EQ(format, "%.0f");
}

TEST(ZeroString, OnlyMinusPointAndZero) {
    EXPECT_TRUE(ZeroString("-0.00"));
    EXPECT_TRUE(ZeroString("0"));
    EXPECT_TRUE(ZeroString(""));
    EXPECT_FALSE(ZeroString("0.01"));
    EXPECT_FALSE(ZeroString("-0.0 "));
}

TEST(RoundText, Forms) {
    EXPECT_EQ(RoundText(0.0f), "0");
    EXPECT_EQ(RoundText(0.25f), "0.25");
    EXPECT_EQ(RoundText(0.1999f), "0.2");
    EXPECT_EQ(RoundText(12.7f), "13");
    EXPECT_EQ(RoundText(20000.0f), "2.0e+04");
    EXPECT_EQ(RoundText(-3.0f), "-3.0e+00");
    EXPECT_EQ(RoundText(1.0f), "1");
    EXPECT_EQ(RoundText(2.5f), "2.5");
    EXPECT_EQ(RoundText(10.0f), "10");
    EXPECT_EQ(RoundText(10000.0f), "10000");
    EXPECT_EQ(RoundText(0.0002f), "0.0002");
    EXPECT_EQ(RoundText(0.0001f), "1.0e-04");  // the float lies just below 0.0001
    EXPECT_EQ(RoundText(0.00005f), "5.0e-05");
    EXPECT_EQ(RoundText(1.2349f), "1.235");
    EXPECT_EQ(RoundText(9.99999f), "10");
    EXPECT_EQ(RoundText(0.35f), "0.35");  // r × SamplingInterval of a correlation tick
    EXPECT_EQ(RoundText(kNaN), "nan");
    EXPECT_EQ(RoundText(-kNaN), "nan");
    EXPECT_EQ(RoundText(kInf), "inf");
    EXPECT_EQ(RoundText(-kInf), "-inf");
}

TEST(SignificantText, FiveDigits) {
    EXPECT_EQ(SignificantText(5, 0.25f), "0.25");
    EXPECT_EQ(SignificantText(5, 1.5f), "1.5");
    EXPECT_EQ(SignificantText(5, 12.5f), "12.5");
    EXPECT_EQ(SignificantText(5, 1234.567f), "1234.6");
    EXPECT_EQ(SignificantText(5, 0.001234f), "0.001234");
    EXPECT_EQ(SignificantText(5, 100.001f), "100");
    EXPECT_EQ(SignificantText(5, 5.0f), "5");
    EXPECT_EQ(SignificantText(5, -1.5f), "-1.5");
    EXPECT_EQ(SignificantText(5, 0.999f), "1");
    EXPECT_EQ(SignificantText(5, 250.0f), "250");
    EXPECT_EQ(SignificantText(5, 12345.678f), "12346");
    EXPECT_EQ(SignificantText(5, 0.0001234f), "0.0001234");
}

TEST(SignificantText, ZeroAndNonFinite) {
    EXPECT_EQ(SignificantText(5, 0.0f), "0");
    EXPECT_EQ(SignificantText(5, -0.0f), "0");
    EXPECT_EQ(SignificantText(5, kNaN), "nan");
    EXPECT_EQ(SignificantText(5, kInf), "inf");
    EXPECT_EQ(SignificantText(5, -kInf), "-inf");
    EXPECT_EQ(SignificantText(5, 3e38f).substr(0, 3), "300");  // whole number, no loop
    EXPECT_FALSE(SignificantText(5, 1e-40f).empty());          // a denormal still ends
    EXPECT_EQ(SignificantText(-3, 0.25f), "0");                // no negative precision
}

TEST(FormatNumber, AcceptsOneFloatingConversionOnly) {
    EXPECT_EQ(FormatNumber("%.2f", 1.5), "1.50");
    EXPECT_EQ(FormatNumber("%.0f", 2.0), "2");
    EXPECT_EQ(FormatNumber("%9.3e", 0.5), "5.000e-01");
    EXPECT_EQ(FormatNumber("", 2.4), "2");
    EXPECT_EQ(FormatNumber("%s", 2.4), "2");
    EXPECT_EQ(FormatNumber("%f %f", 2.4), "2");
    EXPECT_EQ(FormatNumber("%.1f%%", 2.5), "2.5%");
}
