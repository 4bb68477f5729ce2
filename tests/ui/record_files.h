#pragma once
// Small data files of every format the main window opens, written by the tests themselves.

#include <cstdint>
#include <string>
#include <vector>

namespace wavora::uitest {

// A standard CSV data file: names, "rate,unit", a memo line, units, then one row per sample.
// Channel k holds rows[i][k].
std::string StandardCsv(const std::vector<std::string>& names, int rate, const std::string& unit,
                        const std::vector<std::string>& units, const std::vector<std::vector<double>>& rows);

// n samples of a sine per channel (amplitude k + 1, period 50 samples).
std::vector<std::vector<double>> SineRows(int channels, int samples);

// A DSPCSV file: the marker line, 23 more header lines and one line of integer counts per sample.
std::string DspCsv(const std::vector<std::string>& names, int intervalMs,
                   const std::vector<std::vector<int>>& rows);

}  // namespace wavora::uitest
