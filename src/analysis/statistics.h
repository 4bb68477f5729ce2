#pragma once
// Statistics of the segment a spectrum run analysed (mean, largest and smallest value with where
// they are, mean square) and the texts of the statistics window.

#include <span>
#include <string>

namespace wavora {

struct SegmentStatistics {
    double Mean = 0.0;      // Σ values / Points
    float Largest = 0.0f;   // the first of equal maxima
    int LargestIndex = 0;   // within the analysis array, 0 .. Points − 1
    float Smallest = 0.0f;  // the first of equal minima
    int SmallestIndex = 0;
    double MeanSquare = 0.0;  // Σ value² / Points
};

// Statistics over the analysis array of `points` values whose first values.size() are `values`
// and whose rest are the zeros that fill a short segment (values beyond `points` are ignored).
// Sums are kept in double. NaN values take no part in the largest and smallest value; with no
// point at all everything is 0.
SegmentStatistics ComputeSegmentStatistics(std::span<const float> values, int points);

struct StatisticsSettings {
    int Position = 0;               // DisplayPosition of the run
    int Points = 0;                 // analysed points
    float AnalysisInterval = 0.0f;  // Step × SamplingInterval
    std::string TimeText = "s";     // time unit
    std::string Unit;               // DisplayUnit of the channel
};

// The value labels of the statistics window.
struct StatisticsLabels {
    std::string Position;    // Label1:  "%d"
    std::string Data;        // Label11: "%d"
    std::string Duration;    // Label15: "%.2f %s", Points × AnalysisInterval and the time unit
    std::string Mean;        // Label7:  "%.3f %s"
    std::string Max;         // Label8:  "%.3f %s at %d", the index plus Position
    std::string Min;         // Label9:  "%.3f %s at %d"
    std::string MeanSquare;  // Label10: "%.6f %s^2"
};

// A value that rounds to zero is written without a minus sign ("0.000", not "-0.000").
StatisticsLabels FormatStatistics(const SegmentStatistics& statistics, const StatisticsSettings& settings);

struct StatisticsResult {
    SegmentStatistics Values;
    StatisticsLabels Labels;
};

// Both at once, over `settings.Points` values (see ComputeSegmentStatistics).
StatisticsResult SegmentStatisticsOf(std::span<const float> values, const StatisticsSettings& settings);

}  // namespace wavora
