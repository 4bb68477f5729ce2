#pragma once
// Scale steps and number texts of the axes and amplitude bars (no Qt).
//
// The main window's graphs (waveforms, spectra, running spectra, correlation, the peak histogram and
// the two-dimensional map) choose their round axis steps and write their scale numbers with these
// routines. The arithmetic is deliberately single precision where the labels depend on it, so the
// texts come out the same on every screen and in every saved picture.

#include <string>
#include <string_view>

namespace wavora {

// Start and step of an axis that reaches a given maximum.
struct ScaleStep {
    float Start = 0.0f;
    float Step = 0.0f;
};

// Grid count, start and step of an automatic axis.
struct AxisScale {
    int NGrid = 2;
    float Start = 0.0f;
    float Step = 0.0f;
};

// Linear: start 0 and the smallest step of the series 1, 2, 2.5, 5 × 10^k (k ≥ −10) whose ngrid
// intervals, with an allowance of 0.001 step, exceed `value`; a value of 0 or below gives 1e-10.
// Logarithmic: step 10 and the start that puts the top of ngrid decades at the first power of ten
// above `value`.
// An ngrid below 1 is taken as 1, and a value that is not a finite number as 0, so that the search
// always ends.
ScaleStep ScaleUnit(bool logarithmic, int ngrid, float value);

// The automatic axis for a maximum: 5 intervals when the maximum's mantissa lies in (2, 5],
// otherwise 2, with the step from ScaleUnit. Logarithmic axes get 3 decades.
// A linear maximum of 0, a negative one or one that is not a finite number gives the axis of a
// maximum of 1 (2 intervals of 0.5), so an all-zero spectrum still gets a readable frame.
AxisScale AxisUnit(bool logarithmic, float value);

// Sub-divisions for a grid step (3 for a step like 1.5, 4 for 2, 5 for 2.5 ...) and, in `format`,
// the printf format with the decimals the step needs ("%.0f", "%.1f", ...). A step of 0 writes
// "%.0f" and returns 0; a negative step returns 0 and leaves `format` as it was. A step that is not
// a finite number is treated like 0.
int SubScale(float step, std::string& format);

// True when every character is '-', '.' or '0' (also for an empty text): a label such as "-0.00"
// that should read "0".
bool ZeroString(std::string_view text);

// `value` written with the decimals that show about `digits` significant digits (5 everywhere in
// the program): 0.25, 1.5, 12.5, 1234.6, 0.001234, 100. Not a finite number: "nan", "inf", "-inf".
std::string SignificantText(int digits, float value);

// Compact text for a scale value: "0"; numbers below 0.0001 (every negative one included) or above
// 10000 as "%.1e"; 10 … 10000 as a whole number; otherwise up to four decimals without trailing
// zeros (0.1999 reads 0.2). Not a finite number: "nan", "inf", "-inf".
std::string RoundText(float value);

// `value` written with a printf format for one floating-point number, such as the one SubScale
// writes ("%.2f"). An empty format gives "%.0f".
std::string FormatNumber(const std::string& format, double value);

}  // namespace wavora
