#include "record/time_unit.h"

namespace wavora {

const char* TimeText(TimeUnit unit) {
    switch (unit) {
        case TimeUnit::Seconds:
            return "s";
        case TimeUnit::Milliseconds:
            return "ms";
        case TimeUnit::Microseconds:
            return "\xCE\xBCs";
        case TimeUnit::Nanoseconds:
            return "ns";
    }
    return "s";
}

const char* FrequencyText(TimeUnit unit) {
    switch (unit) {
        case TimeUnit::Seconds:
            return "Hz";
        case TimeUnit::Milliseconds:
            return "kHz";
        case TimeUnit::Microseconds:
            return "MHz";
        case TimeUnit::Nanoseconds:
            return "GHz";
    }
    return "Hz";
}

bool TimeUnitFromWord(std::string_view word, TimeUnit& unit) {
    if (word.empty() || word == "s") {
        unit = TimeUnit::Seconds;
    } else if (word == "ms") {
        unit = TimeUnit::Milliseconds;
    } else if (word == "\xCE\xBCs" || word == "micros") {
        unit = TimeUnit::Microseconds;
    } else if (word == "ns") {
        unit = TimeUnit::Nanoseconds;
    } else {
        return false;
    }
    return true;
}

const char* FormatCaption(FormatType type) {
    switch (type) {
        case FormatType::CsvDefault:
            return "CSV(Default)";
        case FormatType::CsvGpl:
            return "CSV(GPL)";
        case FormatType::CsvArbitrary:
            return "CSV(Arbitrary)";
        case FormatType::Spc51:
            return "SPC-51";
        case FormatType::Spc35:
            return "SPC-35";
        case FormatType::Transient:
            return "";
    }
    return "";
}

}  // namespace wavora
