#pragma once
// The spectrum format dialog's work without the dialog: the write-back of the axes into its
// fields after every drawing, its OK (apply the fields), Default (automatic axes again) and "Max
// Freq to Nyquist", and the MEM grid's upper end read from its "X max" field. Failures come back
// with the dialog's messages; nothing here shows one.

#include <optional>

#include "draw/spectrum_state.h"
#include "record/failure.h"

namespace wavora {

// Widths and heights above this many pixels are refused (they would not fit any picture).
inline constexpr int kMaxGraphSize = 32767;

// After every curve: the axes into the dialog's fields ("%.3f" or "%.2e" for the start values,
// "%.2f" for X max, the Y max by its size), grid counts, scales and size.
void WriteBackAxes(const SpectrumAxes& axes, SpectrumFormatFields& fields);

struct SpectrumFormatApplied {
    // Shown by the dialog. Nothing is redrawn; with "Illegal Lower value for axis" a valid X part
    // has already been stored, any other failure changes nothing.
    std::optional<Failure> Error;
    // Everything was applied: the window sets the menu marks SubAxis1, BroadLine1,
    // RightSideComment1 and ZeroAverage1 to the options, enables SBRunSpec, SBHistogram and
    // SBPeaks unless the period axis is on (disables them when it is), copies EdSX0 and EdSXM to
    // the 2-D window's frequency fields, and runs the spectrum again.
    bool Applied = false;
};

// OK: the X part (scale, start, end, grid) and the Y part are each valid when the start lies
// below the end and a logarithmic start is positive; each valid part is stored in the axes.
// With both valid the automatic axes are switched off, the width and height are taken, and the
// options follow the check boxes and the "X Value" choice. Every number field is read first:
// a field that is not a number, or a width or height that is not a whole number from the grid
// count up to kMaxGraphSize, is refused before anything is stored.
SpectrumFormatApplied ApplySpectrumFormat(const SpectrumFormatFields& fields, SpectrumAxes& axes,
                                          SpectrumDisplayOptions& options);

// Default: automatic axes again (the window then runs the spectrum, which draws 320 × 320).
void RestoreAutomaticAxes(SpectrumAxes& axes);

// "Max Freq to Nyquist" item 0 … 4: the Nyquist frequency of the decimated data, 0.5 / (step ×
// sampling interval), times 1, 1/2, 1/4, 1/5 or 1/10, written into "X max" with five significant
// digits. The window then applies OK.
void SetMaxFreqToNyquist(SpectrumFormatFields& fields, int item, int step, float samplingInterval);

// The upper end of the MEM frequency grid: the number in "X max". Not a number when the field
// holds none or a value that is not positive (a tiny axis end reads "0.00"): the MEM grid then
// ends at the Nyquist frequency.
float MemFrequencyMaximum(const SpectrumFormatFields& fields);

// Number fields as the dialog reads them: the whole text (blanks around it allowed) as a finite
// number; empty when it is none.
std::optional<float> FieldNumber(const std::string& text);
std::optional<int> FieldInteger(const std::string& text);

}  // namespace wavora
