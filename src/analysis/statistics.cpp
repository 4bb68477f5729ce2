#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "record/text_format.h"

namespace wavora {

namespace {

// "-0.000" reads "0.000": a mean removed down to rounding should not look negative.
std::string WithoutNegativeZero(std::string text) {
    if (!text.empty() && text[0] == '-') {
        const size_t end = text.find_first_not_of("0.", 1);
        if (end != 1 && (end == std::string::npos || text[end] == ' ')) text.erase(0, 1);
    }
    return text;
}

}  // namespace

SegmentStatistics ComputeSegmentStatistics(std::span<const float> values, int points) {
    SegmentStatistics s;
    if (points <= 0) return s;
    const size_t taken = std::min(values.size(), static_cast<size_t>(points));

    double sum = 0.0, sumSquares = 0.0;
    float largest = -INFINITY, smallest = INFINITY;
    int largestIndex = -1, smallestIndex = -1;
    for (size_t j = 0; j < taken; ++j) {
        const float v = values[j];
        sum += v;
        sumSquares += static_cast<double>(v) * v;
        // Strictly greater (smaller) replaces, so the first of equal values is kept.
        if (v > largest) {
            largest = v;
            largestIndex = static_cast<int>(j);
        }
        if (v < smallest) {
            smallest = v;
            smallestIndex = static_cast<int>(j);
        }
    }
    // The zeros that fill a short segment: only the first of them can be the largest or smallest.
    if (taken < static_cast<size_t>(points)) {
        if (0.0f > largest) {
            largest = 0.0f;
            largestIndex = static_cast<int>(taken);
        }
        if (0.0f < smallest) {
            smallest = 0.0f;
            smallestIndex = static_cast<int>(taken);
        }
    }
    if (largestIndex < 0) {  // every value was NaN
        largest = smallest = NAN;
        largestIndex = smallestIndex = 0;
    }

    s.Mean = sum / points;
    s.MeanSquare = sumSquares / points;
    s.Largest = largest;
    s.LargestIndex = largestIndex;
    s.Smallest = smallest;
    s.SmallestIndex = smallestIndex;
    return s;
}

StatisticsLabels FormatStatistics(const SegmentStatistics& statistics, const StatisticsSettings& settings) {
    StatisticsLabels labels;
    const char* unit = settings.Unit.c_str();
    labels.Position = StrPrintf("%d", settings.Position);
    labels.Data = StrPrintf("%d", settings.Points);
    const float duration = static_cast<float>(settings.Points) * settings.AnalysisInterval;
    labels.Duration = StrPrintf("%.2f %s", static_cast<double>(duration), settings.TimeText.c_str());
    labels.Mean = WithoutNegativeZero(StrPrintf("%.3f %s", statistics.Mean, unit));
    // The index is a position in the analysis array; the window adds the segment's start to it.
    labels.Max =
        WithoutNegativeZero(StrPrintf("%.3f %s at %lld", static_cast<double>(statistics.Largest), unit,
                                      static_cast<long long>(statistics.LargestIndex) + settings.Position));
    labels.Min =
        WithoutNegativeZero(StrPrintf("%.3f %s at %lld", static_cast<double>(statistics.Smallest), unit,
                                      static_cast<long long>(statistics.SmallestIndex) + settings.Position));
    labels.MeanSquare = StrPrintf("%.6f %s^2", statistics.MeanSquare, unit);
    return labels;
}

StatisticsResult SegmentStatisticsOf(std::span<const float> values, const StatisticsSettings& settings) {
    StatisticsResult result;
    result.Values = ComputeSegmentStatistics(values, settings.Points);
    result.Labels = FormatStatistics(result.Values, settings);
    return result;
}

}  // namespace wavora
