#pragma once
// Records built in memory for the analysis and writer tests: 100 Hz, channel c holding f(c, i).

#include <cstdint>
#include <functional>
#include <string>

#include "record/wave_record.h"

namespace wavora::test {

WaveRecord SyntheticRecord(int channels, int samples, const std::function<int16_t(int, int)>& f,
                           const std::string& namePrefix = "ch", float scale = 1.0f);

}  // namespace wavora::test
