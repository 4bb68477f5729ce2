#pragma once
// A long read or filter reports how far it is (0 to 1) and learns whether to go on.

#include <functional>
#include <string>

namespace wavora {

// Called now and then with the fraction done; returning false cancels the work.
using Progress = std::function<bool(const std::string& what, double fraction)>;

inline bool Report(const Progress& progress, const std::string& what, double fraction) {
    return !progress || progress(what, fraction);
}

// One stage of a longer activity: the stage's fractions 0 to 1 are reported as `from` to `to`.
inline Progress StageOf(const Progress& progress, double from, double to) {
    if (!progress) return {};
    return [progress, from, to](const std::string& what, double fraction) {
        return progress(what, from + (to - from) * fraction);
    };
}

}  // namespace wavora
