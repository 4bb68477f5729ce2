#pragma once
// The DSPCSV data file ("CSV(GPL)"): the marker "DSPCSV" in line 1, 24 header lines, then one line
// of integer counts per sample time. ReadDspCsv itself is declared in formats/data_readers.h; this
// header holds the row parsing it uses, for the tests.
//
// How the reader treats what is out of the ordinary:
// - Lines of any length are read whole (a long header line never shifts the lines after it).
// - A file with fewer than 24 lines, a channel count outside 1..8, a sampling interval outside
//   1..1000 ms (which would give no sampling rate), a negative total and a total that gives no
//   sample per channel are refused ("File Error").
// - The rate counts samples per second (the interval is in milliseconds), so the time unit is
//   seconds; the record has no title or comment (nothing of an earlier record is kept).
// - A data line with fewer tokens than channels reads 0 for the missing ones; a blank line is a
//   line of zeros; a count beyond the 16-bit range after division by 1024 is held at its limit.
// - A line count that differs from the header is a warning, and the record loads as read: a file
//   shorter than its header says has zeros for the missing lines. Progress is reported while the
//   arrays are prepared and while the lines are read, and a cancel is honoured in both.

#include <cstdint>

namespace wavora {

// The counts of one data line: counts[k] = the integer of token k + 2 (the first token is a label),
// tokens as SplitTokens cuts them, integers as LeadingInteger reads them; missing tokens read 0.
void ParseDspRow(const char* begin, const char* end, int channels, int64_t* counts);

// The sample of a count: count / 1024 truncated toward zero, held within the 16-bit range.
int16_t DspSample(int64_t count);

}  // namespace wavora
