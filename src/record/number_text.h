#pragma once
// Number texts of the windows: printf-style formatting into std::string, and the strict number
// conversions of edit fields with the conversion messages the user sees.

#include <optional>
#include <string>

#include "record/text_format.h"

namespace wavora {

// The whole text (blanks around it allowed) must be a decimal integer within 32 bits.
std::optional<int> StrictInt(const std::string& text);
// The whole text (blanks around it allowed) must be a decimal number.
std::optional<double> StrictFloat(const std::string& text);
// The integer at the start of a text ("12abc" gives 12); 0 when the text does not start with digits.
long long LeadingInt(const std::string& text);

// "'abc' is not a valid integer value" and its floating-point sibling.
std::string NotIntegerText(const std::string& text);
std::string NotFloatText(const std::string& text);

}  // namespace wavora
