#pragma once
// printf-style formatting into a std::string: every number the program shows or writes goes
// through the printf formats it has always used, so texts match byte for byte.

#include <string>

namespace wavora {

std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace wavora
