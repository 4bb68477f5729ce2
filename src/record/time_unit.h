#pragma once
// The unit in which the sampling rate is counted, with the time and frequency texts every label,
// axis title and result file quotes, and the input format chosen in the menu.

#include <string_view>

namespace wavora {

enum class TimeUnit { Seconds, Milliseconds, Microseconds, Nanoseconds };

// "s", "ms", "μs", "ns" (UTF-8).
const char* TimeText(TimeUnit unit);
// "Hz", "kHz", "MHz", "GHz".
const char* FrequencyText(TimeUnit unit);

// The unit word of line 2 of a standard CSV file: empty or "s", "ms", "μs" or "micros", "ns"
// (compared exactly). Returns false for any other word, which leaves the unit as it was.
bool TimeUnitFromWord(std::string_view utf8Word, TimeUnit& unit);

enum class FormatType : int {
    CsvDefault = 0,
    CsvGpl = 1,
    CsvArbitrary = 2,
    Spc51 = 3,
    Spc35 = 4,
    Transient = 5,  // set at the start of every load
};

// "CSV(Default)", "CSV(GPL)", "CSV(Arbitrary)", "SPC-51", "SPC-35"; "" for the transient value.
const char* FormatCaption(FormatType type);
inline bool IsBinaryFormat(FormatType type) {
    return type == FormatType::Spc51 || type == FormatType::Spc35;
}

}  // namespace wavora
