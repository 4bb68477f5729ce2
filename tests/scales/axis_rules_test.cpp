#include "scales/axis_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace wavora;

TEST(GraphRoundNumber, CompactTexts) {
    EXPECT_EQ(_round_number(0), "0");
    EXPECT_EQ(_round_number(0.1999f), "0.2");
    EXPECT_EQ(_round_number(1.2349f), "1.235");
    EXPECT_EQ(_round_number(100), "100");
    EXPECT_EQ(_round_number(-0.5f), "-0.5");
    EXPECT_EQ(_round_number(0.000005f), "5.0e-06");
    EXPECT_EQ(_round_number(123456), "1.2e+05");
    EXPECT_EQ(_round_number(-123456), "-1.2e+05");
    EXPECT_EQ(_round_number(5e-9f), "0");
    EXPECT_EQ(_round_number(0.01f), "0.01");
    EXPECT_EQ(_round_number(2.5f), "2.5");
    EXPECT_EQ(_round_number(100000), "100000");
}

TEST(GraphSubScale, CountsAndDecimals) {
    struct Case {
        float step;
        int subs;
        const char* format;
    } cases[] = {{1, 5, "%.0f"},     {2, 4, "%.0f"},    {1.5f, 3, "%.1f"}, {2.5f, 5, "%.1f"},
                 {0.25f, 5, "%.2f"}, {0.5f, 5, "%.1f"}, {20, 4, "%.0f"},   {25, 5, "%.0f"},
                 {8, 4, "%.0f"},     {9, 3, "%.0f"},    {10, 5, "%.0f"},   {0.1f, 5, "%.1f"},
                 {0.15f, 3, "%.2f"}, {5, 5, "%.0f"}};
    for (const auto& c : cases) {
        std::string format = "untouched";
        EXPECT_EQ(sub_scale(c.step, format), c.subs) << c.step;
        EXPECT_EQ(format, c.format) << c.step;
    }
    std::string format = "untouched";
    EXPECT_EQ(sub_scale(0, format), 0);
    EXPECT_EQ(sub_scale(-2, format), 0);
    EXPECT_EQ(format, "untouched");
}

TEST(GraphZeroString, OnlyMinusPointAndZero) {
    EXPECT_TRUE(zero_string("-0.00"));
    EXPECT_TRUE(zero_string("0"));
    EXPECT_TRUE(zero_string(""));
    EXPECT_FALSE(zero_string("0.01"));
    EXPECT_FALSE(zero_string("-0.0e+00"));
}

TEST(AxisScaleUnit, LinearStepsOfTheOneTwoFiveSeries) {
    AxisFields a;
    std::vector<float> v = {1.0f, 7.3f, 3.0f};
    AxisScaleUnit(a, 3, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 2);
    EXPECT_FLOAT_EQ(a.SValue, 0);
    v = {8};
    a.SValue = 3;
    AxisScaleUnit(a, 1, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 2);  // exactly on the top is accepted
    EXPECT_FLOAT_EQ(a.SValue, 0);
    v = {-3, 0, -1};
    AxisScaleUnit(a, 3, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 1e-10f);
    v = {9.5f};
    AxisScaleUnit(a, 1, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 2.5f);
}

TEST(AxisScaleUnit, LogarithmicDecadesEndAboveTheMaximum) {
    AxisFields a{4, false, 0, 5};
    std::vector<float> v = {3, 350, 20};
    AxisScaleUnit(a, 3, v.data());
    EXPECT_FLOAT_EQ(a.SValue, 0.1f);
    EXPECT_FLOAT_EQ(a.VValue, 10);
    v = {0.5f};
    a.NGrid = 3;
    AxisScaleUnit(a, 1, v.data());
    EXPECT_FLOAT_EQ(a.SValue, 0.001f);  // 0.001 … 1
}

TEST(AxisScaleUnit1, NegativeDataGiveASymmetricAxis) {
    std::vector<float> v = {-3, 2, 7};
    AxisFields a{4, true, 0, 1};
    EXPECT_FALSE(AxisScaleUnit1(a, 3, v.data()));
    EXPECT_EQ(a.NGrid, 4);
    EXPECT_FLOAT_EQ(a.VValue, 5);
    EXPECT_FLOAT_EQ(a.SValue, -10);
    a = {5, true, 0, 1};
    AxisScaleUnit1(a, 3, v.data());
    EXPECT_EQ(a.NGrid, 6);
    EXPECT_FLOAT_EQ(a.VValue, 2.5f);
    EXPECT_FLOAT_EQ(a.SValue, -7.5f);
    // Without negative data the axis starts at zero and keeps its grid count.
    v = {3, 7};
    a = {5, true, 4, 1};
    AxisScaleUnit1(a, 2, v.data());
    EXPECT_EQ(a.NGrid, 5);
    EXPECT_FLOAT_EQ(a.VValue, 2);
    EXPECT_FLOAT_EQ(a.SValue, 0);
}

TEST(AxisScaleUnit1, NegativeDataOnALogarithmicAxisIsReportedAndScaled) {
    std::vector<float> v = {-350, 2};
    AxisFields a{4, false, 0, 5};
    std::optional<Failure> f = AxisScaleUnit1(a, 2, v.data());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Text, "負のデータを対数目盛りでは表せません");
    EXPECT_EQ(f->Caption, "目盛り設定エラー");
    EXPECT_EQ(f->Icon, MessageIcon::Warning);
    EXPECT_FLOAT_EQ(a.SValue, 0.1f);
    EXPECT_FLOAT_EQ(a.VValue, 10);
}

TEST(AxisScaleUnit, EndlessDataOrNoGridLeaveTheAxisAsItWas) {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> v = {1, inf};
    AxisFields a{4, true, 1, 3};
    AxisScaleUnit(a, 2, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 3);
    a.Linear = false;
    AxisScaleUnit(a, 2, v.data());
    EXPECT_FLOAT_EQ(a.SValue, 1);
    EXPECT_FALSE(AxisScaleUnit1(a, 2, v.data()));
    a = {0, true, 1, 3};
    v = {5};
    AxisScaleUnit(a, 1, v.data());
    EXPECT_FLOAT_EQ(a.VValue, 3);
}

TEST(AxisPixel, LinearLogarithmicAndPointsThatCannotBePlaced) {
    AxisFields lin{4, true, 0, 5};
    EXPECT_EQ(AxisPixel(lin, 35, 62, 10, false), 35 + 124);
    EXPECT_EQ(AxisPixel(lin, 270, 62, 10, true), 270 - 124);
    EXPECT_EQ(AxisPixel(lin, 35, 62, -0.2f, false), 32);  // trunc(32.52), not 35 + trunc(-2.48)
    AxisFields log{4, false, 0.01f, 10};
    EXPECT_EQ(AxisPixel(log, 35, 62, 1, false), 35 + 124);
    EXPECT_FALSE(AxisPixel(log, 35, 62, 0, false));
    EXPECT_FALSE(AxisPixel(log, 35, 62, -1, false));
    log.SValue = 0;
    EXPECT_FALSE(AxisPixel(log, 35, 62, 1, false));
    lin.VValue = 0;  // no scale at all
    EXPECT_FALSE(AxisPixel(lin, 35, 62, 1, false));
    lin.VValue = 1e-30f;
    EXPECT_EQ(AxisPixel(lin, 35, 62, 1, false), 1000000000);
}

TEST(LogStartFailure, MessagesOfBothAxes) {
    EXPECT_FALSE(LogStartFailure('X', AxisFields{4, true, 0, 5}));
    EXPECT_FALSE(LogStartFailure('X', AxisFields{4, false, 1, 10}));
    auto x = LogStartFailure('X', AxisFields{4, false, 0, 10});
    ASSERT_TRUE(x);
    EXPECT_EQ(x->Text, "X Logarithmic Scale can not be determind.");
    EXPECT_EQ(x->Caption, "X Scale Error");
    EXPECT_EQ(x->Icon, MessageIcon::None);
    EXPECT_EQ(LogStartFailure('Y', AxisFields{4, false, 0, 10})->Caption, "Y Scale Error");
}
