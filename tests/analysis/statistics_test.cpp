#include "analysis/statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace wavora;

namespace {
StatisticsSettings Settings(int position, int points, float interval = 0.01f, std::string unit = "Gal") {
    StatisticsSettings s;
    s.Position = position;
    s.Points = points;
    s.AnalysisInterval = interval;
    s.Unit = std::move(unit);
    return s;
}
}  // namespace

TEST(SegmentStatistics, ValuesAndLabels) {
    std::vector<float> v = {1.0f, -2.0f, 3.0f, 3.0f, -2.0f, 1.0f, 0.5f, -0.5f};
    StatisticsResult r = SegmentStatisticsOf(v, Settings(1000, 8, 0.01f, "micron"));
    EXPECT_DOUBLE_EQ(r.Values.Mean, 0.5);
    EXPECT_FLOAT_EQ(r.Values.Largest, 3.0f);
    EXPECT_EQ(r.Values.LargestIndex, 2);  // the first of equal maxima
    EXPECT_FLOAT_EQ(r.Values.Smallest, -2.0f);
    EXPECT_EQ(r.Values.SmallestIndex, 1);
    EXPECT_DOUBLE_EQ(r.Values.MeanSquare, 28.5 / 8);

    EXPECT_EQ(r.Labels.Position, "1000");
    EXPECT_EQ(r.Labels.Data, "8");
    EXPECT_EQ(r.Labels.Duration, "0.08 s");
    EXPECT_EQ(r.Labels.Mean, "0.500 micron");
    EXPECT_EQ(r.Labels.Max, "3.000 micron at 1002");
    EXPECT_EQ(r.Labels.Min, "-2.000 micron at 1001");
    EXPECT_EQ(r.Labels.MeanSquare, "3.562500 micron^2");
}

TEST(SegmentStatistics, IndexIsWithinTheArrayNotTimesStep) {
    // With Step 2 the array holds every second sample; the window adds the index to the position.
    std::vector<float> v(1024, 0.0f);
    v[10] = 5.0f;
    StatisticsSettings s = Settings(1000, 1024, 0.02f, "mkine");
    s.TimeText = "ms";
    StatisticsResult r = SegmentStatisticsOf(v, s);
    EXPECT_EQ(r.Labels.Max, "5.000 mkine at 1010");
    EXPECT_EQ(r.Labels.Duration, "20.48 ms");
}

TEST(SegmentStatistics, PaddedZerosCountInTheMeanAndTheExtremes) {
    // 3 samples taken, 5 zeros fill the segment: mean over 8, and the first zero is the largest.
    std::vector<float> taken = {-4.0f, -2.0f, -6.0f};
    StatisticsResult r = SegmentStatisticsOf(taken, Settings(200, 8));
    EXPECT_DOUBLE_EQ(r.Values.Mean, -12.0 / 8);
    EXPECT_DOUBLE_EQ(r.Values.MeanSquare, 56.0 / 8);
    EXPECT_FLOAT_EQ(r.Values.Largest, 0.0f);
    EXPECT_EQ(r.Values.LargestIndex, 3);
    EXPECT_EQ(r.Values.SmallestIndex, 2);
    EXPECT_EQ(r.Labels.Max, "0.000 Gal at 203");
    EXPECT_EQ(r.Labels.Mean, "-1.500 Gal");

    // The same array given whole gives the same statistics.
    std::vector<float> whole = {-4.0f, -2.0f, -6.0f, 0, 0, 0, 0, 0};
    StatisticsResult w = SegmentStatisticsOf(whole, Settings(200, 8));
    EXPECT_EQ(w.Labels.Max, r.Labels.Max);
    EXPECT_EQ(w.Labels.Mean, r.Labels.Mean);
}

TEST(SegmentStatistics, ZeroAverageMeanReadsZeroWithoutSign) {
    // A mean removed in float leaves a tiny remainder of either sign.
    std::vector<float> v = {0.25f, -0.25f, 1e-6f, -3e-6f};
    StatisticsResult r = SegmentStatisticsOf(v, Settings(0, 4));
    EXPECT_LT(r.Values.Mean, 0.0);
    EXPECT_EQ(r.Labels.Mean, "0.000 Gal");
}

TEST(SegmentStatistics, AllZerosAndDegenerateInput) {
    std::vector<float> zeros(512, 0.0f);
    StatisticsResult r = SegmentStatisticsOf(zeros, Settings(700, 512));
    EXPECT_EQ(r.Labels.Mean, "0.000 Gal");
    EXPECT_EQ(r.Labels.Max, "0.000 Gal at 700");
    EXPECT_EQ(r.Labels.Min, "0.000 Gal at 700");
    EXPECT_EQ(r.Labels.MeanSquare, "0.000000 Gal^2");

    // Values far below the usual starting bounds are still found.
    std::vector<float> huge = {-3e10f, -2e10f};
    SegmentStatistics h = ComputeSegmentStatistics(huge, 2);
    EXPECT_FLOAT_EQ(h.Largest, -2e10f);
    EXPECT_EQ(h.LargestIndex, 1);

    SegmentStatistics none = ComputeSegmentStatistics({}, 0);
    EXPECT_EQ(none.Mean, 0.0);
    EXPECT_EQ(none.LargestIndex, 0);

    std::vector<float> withNan = {NAN, 2.0f, -1.0f};
    SegmentStatistics n = ComputeSegmentStatistics(withNan, 3);
    EXPECT_EQ(n.LargestIndex, 1);
    EXPECT_EQ(n.SmallestIndex, 2);

    // Values beyond Points are not part of the segment.
    std::vector<float> longer = {1.0f, 9.0f};
    EXPECT_DOUBLE_EQ(ComputeSegmentStatistics(longer, 1).Mean, 1.0);
}
