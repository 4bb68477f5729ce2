#pragma once
// The band-pass filter's mode and corner frequencies: set by the filter commands, used by the
// load pass, shown by the displays and written into the result files.

namespace wavora {

enum class FilterMode { Unfiltered, Default, Arbitrary };

struct FilterState {
    FilterMode Mode = FilterMode::Unfiltered;
    bool Active = false;  // mirrors the "Filter" check box; integration forces it on
    float ArbitraryLower = 1.0f;
    float ArbitraryUpper = 0.0f;
    // Recomputed at every processing, also when nothing is filtered.
    float DefaultUpper = 0.0f;
    float EffectiveLower = 1.0f;
    float EffectiveUpper = 0.0f;
};

}  // namespace wavora
