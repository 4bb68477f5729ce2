#pragma once
// The timed correlation analysis without the window: which channels take part, one step (the
// auto- or cross-correlation function of a segment, with the texts and curve of its frame), and
// the closing report (downward zero crossings, period and frequency, the grid listing).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "record/failure.h"
#include "record/wave_record.h"

namespace wavora {

// Lags kept per step, and the width of the plot in pixels.
inline constexpr int kCorrelationLags = 350;
// Downward zero crossings kept for the period.
inline constexpr int kMaxZeroCrossings = 100;

// The channels of a correlation: one checked channel gives its auto-correlation, two the
// cross-correlation of the second against the first.
struct CorrelationChannels {
    int Count = 0;                 // checked channels among the record's channels
    int First = -1;                // 0-based
    int Second = -1;               // 0-based; -1 for auto-correlation
    std::optional<Failure> Error;  // "Number of Channels is illegal" for 0 or more than 2
};

CorrelationChannels SelectCorrelationChannels(const std::array<bool, kMaxChannels>& checked,
                                              int channelCount);

struct CorrelationSettings {
    int FirstChannel = 0;    // 0-based
    int SecondChannel = -1;  // 0-based; -1 for auto-correlation
    int Points = 1024;       // N, the products summed per lag
    int Position = 0;        // DisplayPosition: the first sample of the segment
    int Step = 1;            // the position advances by 10 × Step per step
    int TimeScale = 1;       // pixels per lag; 350 / TimeScale lags are computed
};

enum class CorrelationStatus {
    Computed,     // values, curve and texts are filled
    EndOfData,    // Position + Points + 350 reaches the end, or no Points: only the frame is drawn
    ChannelError  // a channel of the settings is not in the record
};

// Plot geometry: lag 0 and value 0 at (40, 200); a normalised value of 1 is 100 pixels.
inline constexpr int kCorrelationOriginX = 40;
inline constexpr int kCorrelationOriginY = 200;
inline constexpr int kCorrelationHalfHeight = 100;

struct CorrelationFrame {
    CorrelationStatus Status = CorrelationStatus::EndOfData;
    std::optional<Failure> Error;  // with ChannelError
    bool Cross = false;
    std::string Title;                       // "Auto Correlation" or "Cross Correlation"
    std::array<std::string, 5> ValueLabels;  // "-1.00" … "1.00" for q = 0..4 (y = 300 − 50q)
    std::array<std::string, 8> TickLabels;   // lag time under x = 40 + 0, 50, …, 350
    int LagCount = 0;                        // L = 350 / TimeScale
    std::vector<float> Values;               // R[0..349]; 0 beyond L
    std::vector<int> CurveY;                 // L pixel rows of R[r] / R[0] at x = 40 + r × TimeScale
    std::string R0Text;                      // "R[0]=%13.4e"
    int NextPosition = 0;                    // Position + 10 × Step
    std::string TimeText;                    // "t=%.2f" + time unit, of NextPosition
};

// One step of the analysis over `record`: R[r] for r < L = 350 / TimeScale, with x = sample ×
// ScaleFactor and no mean removed:
//   auto:  R[r] = Σ_{m<N−r} x1[p+m]·x1[p+m+r] / (N − r)
//   cross: R[r] = Σ_{m<N}   x1[p+m]·x2[p+m+r] / N
// Lags with no product (r ≥ N, only with very few points) are 0. The frame texts (title, value
// labels, tick labels) are filled whatever the status.
CorrelationFrame CorrelationStep(const WaveRecord& record, const CorrelationSettings& settings);

// The normalised value R[r] / R[0] as listed and drawn; 0 when R[0] is 0 (an all-zero segment).
float NormalisedCorrelation(float value, float r0);

struct CorrelationReport {
    std::vector<int> Crossings;  // lags p with R[p] ≥ 0 and R[p+1] < 0, the first 100
    bool HasPeriod = false;
    double Period = 0.0;                               // T0, in the time unit
    double Frequency = 0.0;                            // F0 = 1 / T0, in the frequency unit
    std::string Text;                                  // the report line drawn under the plot
    std::vector<std::array<std::string, 5>> GridRows;  // 352 rows of the listing
};

struct CorrelationReportSettings {
    float AnalysisInterval = 0.0f;  // of the last spectrum run; 0 before any
    int Step = 1;
    std::string TimeText = "s";
    std::string FrequencyText = "Hz";
};

// The closing report over the last step's values (350 of them; missing ones count as 0).
CorrelationReport MakeCorrelationReport(const std::vector<float>& values,
                                        const CorrelationReportSettings& settings);

}  // namespace wavora
