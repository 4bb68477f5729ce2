#pragma once
// The graph component's rounding, sub-division and zero-label rules and its automatic axes (no Qt).
// The axis fields are those of one axis of TMyGraph: grid count, linear or logarithmic, the value
// at the origin and the value (or ratio) per grid interval.

#include <optional>
#include <string>

#include "record/failure.h"

namespace wavora {

// Compact text for one scale value: "0", "0.2", "1.235", "100", "-0.5", "5.0e-06".
std::string _round_number(float value);

// Sub-divisions for a grid step and the printf format with the decimals the step needs
// ("%.0f", "%.1f", ...). A step that is not positive gives 0 and leaves the format as it was.
int sub_scale(float step, std::string& format);

// True when the text holds nothing but '-', '.' and '0' (an empty text included).
bool zero_string(const std::string& text);

struct AxisFields {
    int NGrid = 4;
    bool Linear = true;
    float SValue = 0;
    float VValue = 5;
};

// The value of grid line r: SValue + r·VValue, or SValue·VValue^r on a logarithmic axis.
double GridValue(const AxisFields& axis, int r);

// The pixel of a value on the axis: trunc(origin ± position × grid), where position counts grid
// intervals from the origin and grid is the pixels per interval; minus on a Y axis, which grows
// upwards on a canvas whose y grows downwards. Empty when the value cannot be placed (not positive
// on a logarithmic axis, a zero start value, or no finite position).
std::optional<int> AxisPixel(const AxisFields& axis, int origin, int grid, float value, bool upwards);

// Automatic axis for data that are not negative: 0 … NGrid·VValue with the smallest step of the
// 1-2-2.5-5 series reaching the maximum, or NGrid decades ending at the first power of ten above it.
void AxisScaleUnit(AxisFields& axis, int n, const float* values);

// The same for data that may be negative: with negative data a linear axis becomes symmetric
// about zero with an even number of intervals. Negative data on a logarithmic axis cannot be
// shown: the scale is still set from the largest magnitude and the failure to show comes back.
std::optional<Failure> AxisScaleUnit1(AxisFields& axis, int n, const float* values);

// The message due when a logarithmic axis starts at zero (axis 'X' or 'Y').
std::optional<Failure> LogStartFailure(char axisName, const AxisFields& axis);

}  // namespace wavora
