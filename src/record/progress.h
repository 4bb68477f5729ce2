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

}  // namespace wavora
