#pragma once
// The DSPCSV data file ("CSV(GPL)"): the marker "DSPCSV" in line 1, 24 header lines, then one line
// of integer counts per sample time. ReadDspCsv itself is declared in formats/data_readers.h; this
// header holds the row parsing it uses, for the tests.

#include <cstdint>

namespace wavora {

// The counts of one data line: counts[k] = the integer of token k + 2 (the first token is a label),
// tokens as SplitTokens cuts them, integers as LeadingInteger reads them; missing tokens read 0.
void ParseDspRow(const char* begin, const char* end, int channels, int64_t* counts);

// The sample of a count: count / 1024 truncated toward zero, held within the 16-bit range.
int16_t DspSample(int64_t count);

}  // namespace wavora
