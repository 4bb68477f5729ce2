#pragma once
// The record after loading and processing, as `info` prints it: the header facts and, per channel,
// its units, scales, peak value and display divisor; with samples also the stored 16-bit samples.
// Text, or one JSON object.

#include "batch/load_options.h"

namespace wavora::batch {

void PrintRecordReport(const LoadedRecord& loaded, bool json, bool withSamples);

}  // namespace wavora::batch
