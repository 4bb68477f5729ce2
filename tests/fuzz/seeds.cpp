// Writes the seed corpus of the fuzz targets: small files of every format made by the tests' own
// builders, into <folder>/<reader>/ for every reader of support/reader_list.h. A reader gets the
// seeds of every format with its file extension, its own and the others (which it must refuse
// cleanly), so a new reader of an existing extension starts with seeds too.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/reader_check.h"
#include "support/record_files.h"

namespace {

using namespace wavora::test;

std::vector<int16_t> Wave(int n, int scale) {
    std::vector<int16_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<int16_t>(((i * 37) % 23 - 11) * scale));
    return v;
}

std::vector<std::string> Rows(int n, int channels) {
    std::vector<std::string> rows;
    for (int i = 0; i < n; ++i) {
        std::string row;
        for (int k = 0; k < channels; ++k) {
            char value[32];
            std::snprintf(value, sizeof value, "%s%.3e", k ? "," : "", ((i * 7 + k) % 13 - 6) * 0.25);
            row += value;
        }
        rows.push_back(row);
    }
    return rows;
}

std::map<std::string, std::vector<std::string>> SeedsByExtension() {
    std::map<std::string, std::vector<std::string>> seeds;
    std::vector<std::string>& csv = seeds["csv"];
    csv.push_back(StandardCsvFile("A,B", "100,s", "Gal,kine", Rows(16, 2)));
    csv.push_back(StandardCsvFile("North,East,Up", "1000,ms", "micron,micron,micron", Rows(24, 3)));
    csv.push_back(StandardCsvFile("a,b,c,d,e,f,g,h", "5,\x83\xCAs", "u,u,u,u,u,u,u,u", Rows(4, 8)));
    csv.push_back(StandardCsvFile("\x93\x8C", "200", "Gal", {"1", "-2.5", "  3e2", "", "x"}));
    csv.push_back(DspCsvFile({"N", "E"}, 10, {{1024, -2048}, {4096, 0}, {-1, 1}, {32767, -32768}}));
    csv.push_back(DspCsvFile({"X", "Y", "Z"}, 5, {{1, 2, 3}, {4, 5, 6}}, 30));

    std::vector<std::string>& dbl = seeds["dbl"];
    auto bytes = [](const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); };
    dbl.push_back(bytes(Spc51File({Spc51Channel{"North", "mm", 0.01f, 300, -120, Wave(12, 10)},
                                   Spc51Channel{"Vertical", "gal", 0.5f, 40, -90, Wave(12, -3)}},
                                  200, "Bridge deck", "2024/05/07 09:03", "span 2")));
    // A file shorter than its header says, with a unit the program multiplies by 1000.
    dbl.push_back(bytes(Spc51File({Spc51Channel{"Strain", "kine", 0.002f, 1, 0, Wave(12, 1)}}, 100, "short",
                                  "2024/05/07 09:03", "", 40)));
    dbl.push_back(
        bytes(Spc35File({{0x8000, 0xFFFF, 0x0000, 0x8001}, {0x7FFF, 0x8000, 0x1234, 0x9ABC}}, 100, 1)));
    dbl.push_back(bytes(Spc35File({{0x8000, 0x8010, 0x7FF0}}, 50, 0)));
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_fuzz_seeds FOLDER\n");
        return 2;
    }
    const auto seeds = SeedsByExtension();
    for (const ReaderEntry& reader : Readers()) {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / reader.Name;
        std::filesystem::create_directories(folder);
        auto found = seeds.find(reader.Extension);
        if (found == seeds.end()) continue;
        int n = 0;
        for (const std::string& seed : found->second) {
            const auto path = folder / ("seed-" + std::to_string(++n) + "." + reader.Extension);
            std::ofstream(path, std::ios::binary) << seed;
        }
    }
    return 0;
}
