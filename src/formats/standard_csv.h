#pragma once
// The standard CSV data file: four header lines (names, "rate,unit", free text, units), then one row
// of decimal values per sample time. ReadStandardCsv itself is declared in formats/data_readers.h;
// this header holds the row parsing it uses, for the tests and for other text readers.
//
// How the reader treats what is out of the ordinary:
// - Lines of any length are read whole (never broken into extra rows); CR LF and LF both end lines;
//   a UTF-8 byte-order mark before line 1 is skipped.
// - Names, units and the unit word lose trailing blanks and are cut to their field widths (31, 19
//   and 9 bytes in code page 932) without splitting a character. A line 1 ending in a comma gives
//   one more channel, unnamed (its values read 0).
// - A sampling rate that is not a positive 32-bit number is refused like a rate of 0.
// - Every data line is a row: a blank line is a row of zeros, a missing field reads 0. A file with
//   no data rows is refused ("File Error"): it would replace the open record by an empty one.
// - A value beyond ±1e30 (kLargestPhysicalValue; also one beyond the float range) is refused with a
//   message naming its line and column: the spectra of such values would overflow.
// - A column whose values are all 0 gets samples 0 and the scale factor of a column whose maximum is
//   1 (3.125e-5), so that nothing later divides by a zero scale. So does a column whose values are
//   all so small (below about 3.8e-34) that its scale factor would fall out of the float range.
// - The record has no title and no comment, and nothing of an earlier record is kept but the time
//   unit, which a unit word the reader does not know leaves as it was.
// - A failed or cancelled read leaves the caller's record as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "record/failure.h"
#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora {

// The value of one field as split by SplitFields: an optional sign, then a decimal number (digits,
// optional fraction, optional exponent), read as a double and converted to a 32-bit float. A field
// that does not start with a number (also "inf", "nan", an empty field) reads 0. A value beyond the
// float range reads as an infinity of its sign (the reader refuses the file).
float ParseFieldValue(std::string_view field);

// The number a field starts with, exactly as ParseCsvRow reads it: `begin` is the field's first
// non-blank character; *after is set just past the number, or to `begin` when the field does not
// start with one (it then reads 0). The same line-end and padding rule as ParseCsvRow applies.
float ParseFieldNumber(const char* begin, const char* end, const char** after);

// Fills values[0 .. channels-1] from one data row, field k for channel k, exactly as SplitFields
// followed by ParseFieldValue would, but without copying any field. Missing fields read 0; fields
// beyond `channels` are ignored. The character at `end` must be the row's line end ('\n' or '\r'),
// which ends the last number without a bounds check, and kRowPadding bytes from `end` on must be
// readable, as LineReader leaves them.
void ParseCsvRow(const char* begin, const char* end, int channels, float* values);
inline constexpr size_t kRowPadding = 16;

// A large file is read in pieces of about this size that a few threads take in turn (rows and
// maxima add up exactly as in one sequential pass).
inline constexpr int64_t kPieceBytes = int64_t(2) << 20;
// ReadStandardCsv with another piece size, for the tests.
Outcome ReadStandardCsvInPieces(const std::string& path, WaveRecord& record, const Progress& progress,
                                int64_t pieceBytes);

// Sample of a value in a column whose largest magnitude is `maximum`: value × 32000 / maximum,
// truncated toward zero. A column of zeros (maximum 0) gives 0.
int16_t QuantiseSample(float value, float maximum);

// Scale factor of a column: maximum × 3.125e-5 (maximum / 32000). A column of zeros gets the factor
// of a column whose maximum is 1, so that no later division by the scale meets a zero.
float ColumnScaleFactor(float maximum);

// The maximum a column is quantised by: its largest magnitude, or 0 (a column of zeros) when that
// is so small that maximum × 3.125e-5 is no longer a normal float.
float UsableColumnMaximum(float maximum);

}  // namespace wavora
