#pragma once
// The Ormsby band-pass (or low-pass) filter of the stored waveform, integration and clipping.
// They change the 16-bit samples themselves and adjust the channel's ScaleFactor.

#include <cstdint>
#include <string>
#include <vector>

#include "record/failure.h"
#include "record/filter_state.h"
#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora {

inline constexpr int kFilterCoefficients = 500;

// Corners for a pass: DefaultUpper = rate × 0.75 / (2 × step); effective corners by mode.
void UpdateCorners(FilterState& state, int32_t samplingRate, int step);

// Whether two corners make a band the filter can be designed with: both finite, the lower one 0
// (a low-pass) or above, and below the upper one. The corners a new session starts with (1, 0)
// are not a band, and neither is a default band at a rate so low, or a Step so large, that its
// upper corner falls to 1 or below.
bool IsValidBand(float lower, float upper);
// "Illegal Corner Frequency" under "Frequency Error": the refusal of corners that are not a band.
Failure IllegalCornerFailure();
// The corners as typed into the band-pass dialog's Edit1 and Edit2: each must be a number
// ("'x' is not a valid floating point value", under "Frequency Error") and the two a band
// (IllegalCornerFailure). `lower` and `upper` are set only when the band is accepted.
Outcome ParseBand(const std::string& lowerText, const std::string& upperText, float& lower, float& upper);

void DesignLowPass(int n, float* h, float f3, float f4, float dt);
void DesignBandPass(int n, float* h, float f1, float f2, float f3, float f4, float dt);
// Filters one channel in place with the symmetric 2n−1 tap filter h; returns the factor k (≥ 1)
// by which the channel's ScaleFactor must be multiplied.
int FilterChannel(int n, const float* h, int16_t* samples, int64_t count);

// Integration of one channel (mean-free running sum × interval × 1000, rescaled to ±16384).
void IntegrateChannel(WaveRecord& record, int channel);
// Clipping of one channel at ratio × PeakValue; PeakValue must be current.
void ClipChannel(WaveRecord& record, int channel, float ratio);
// PeakValue of every used channel from its current samples.
void UpdatePeakValues(WaveRecord& record);
// "DC Cut": removes the whole-record mean of every channel (sum in a 32-bit float).
void RemoveRecordMean(WaveRecord& record);

}  // namespace wavora
