#include "record_files.h"

#include <cmath>
#include <cstdio>

namespace wavora::uitest {

namespace {

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? "," : "") + parts[i];
    return out;
}

}  // namespace

std::string StandardCsv(const std::vector<std::string>& names, int rate, const std::string& unit,
                        const std::vector<std::string>& units, const std::vector<std::vector<double>>& rows) {
    std::string out =
        Join(names) + "\n" + std::to_string(rate) + "," + unit + "\nmemo\n" + Join(units) + "\n";
    char buf[64];
    for (const auto& row : rows) {
        std::vector<std::string> cells;
        for (double v : row) {
            std::snprintf(buf, sizeof buf, "%.6g", v);
            cells.push_back(buf);
        }
        out += Join(cells) + "\n";
    }
    return out;
}

std::vector<std::vector<double>> SineRows(int channels, int samples) {
    std::vector<std::vector<double>> rows(samples, std::vector<double>(channels));
    for (int i = 0; i < samples; ++i)
        for (int k = 0; k < channels; ++k) rows[i][k] = (k + 1) * std::sin(2 * M_PI * i / 50.0 + k);
    return rows;
}

std::string DspCsv(const std::vector<std::string>& names, int intervalMs,
                   const std::vector<std::vector<int>>& rows) {
    const size_t channels = names.size();
    std::vector<std::string> lines(24, "X,0");
    lines[0] = "DSPCSV,1";
    lines[1] = "DATE,2024,5,6,7,8";
    lines[2] = "CH," + std::to_string(channels);
    lines[3] = "DT," + std::to_string(intervalMs);
    lines[18] = "TOTAL," + std::to_string(rows.size() * channels);
    lines[23] = "NAME," + Join(names);
    std::string out;
    for (auto& l : lines) out += l + "\n";
    for (const auto& row : rows) {
        std::string line = "D";
        for (int v : row) line += "," + std::to_string(v);
        out += line + "\n";
    }
    return out;
}

}  // namespace wavora::uitest
