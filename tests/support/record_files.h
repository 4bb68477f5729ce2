#pragma once
// Small data files of the four formats, built byte by byte by the tests themselves: one builder
// per format, with the counts the readers check open to being set wrong on purpose, and short
// forms for the common cases.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wavora::test {

// ---- Standard CSV -----------------------------------------------------------------------------

// A standard CSV data file: the names line, the "rate,unit" line, a free line, the units line, then
// the rows as written.
std::string StandardCsvFile(const std::string& names, const std::string& rateLine, const std::string& units,
                            const std::vector<std::string>& rows);

// The same from values: channel k holds rows[i][k], written "%.6g".
std::string StandardCsvFile(const std::vector<std::string>& names, int rate, const std::string& unit,
                            const std::vector<std::string>& units,
                            const std::vector<std::vector<double>>& rows);

// `samples` rows of a sine per channel (channel k: amplitude k + 1, period 50 samples, phase k).
std::vector<std::vector<double>> SineRows(int channels, int samples);

// ---- DSPCSV -----------------------------------------------------------------------------------

// A DSPCSV file: the marker line, 23 more header lines and one line of integer counts per row;
// `total` is the header's value count (< 0: the true one).
std::string DspCsvFile(const std::vector<std::string>& names, int intervalMs,
                       const std::vector<std::vector<int>>& rows, int total = -1);

// ---- SPC-51 -----------------------------------------------------------------------------------

struct Spc51Channel {
    std::string Name;  // code page 932 bytes, blank padded to 32
    std::string Unit;  // blank padded to 8
    float Scale = 0.01f;
    int32_t MaxRaw = 0, MinRaw = 0;
    std::vector<int16_t> Samples;
};

struct Spc51Image {
    std::string Tag = "A-TLADX VER4.";
    std::string Title, Date, Comment;
    int16_t SamplingRate = 100;
    std::vector<Spc51Channel> Channels;
    // Header values; by default the channel count and the longest sample list.
    std::optional<int32_t> SampleCount;
    std::optional<int16_t> ChannelCount;
    // Frames actually written; by default every frame of the samples (a short channel gives zeros).
    std::optional<int64_t> FramesWritten;
};

std::vector<uint8_t> BuildSpc51(const Spc51Image& image);

// An SPC-51 file with these texts; `headerSamples` < 0 writes the true frame count.
std::vector<uint8_t> Spc51File(const std::vector<Spc51Channel>& channels, int16_t rate,
                               const std::string& title = "TEST TITLE",
                               const std::string& date = "2024/01/02 03:04:05",
                               const std::string& comment = "A COMMENT", int32_t headerSamples = -1,
                               const std::string& tag = "A-TLADX VER4.");

// ---- SPC-35 -----------------------------------------------------------------------------------

struct Spc35Image {
    int16_t Year = 2024, Month = 5, Day = 7, Hour = 9, Minute = 3, Second = 1;
    int16_t SamplingRate = 100;
    int16_t UnitCode = 2;
    bool CheckBytes = true;
    std::vector<std::vector<uint16_t>> Channels;  // stored words, offset binary (32768 is zero)
    std::optional<int32_t> SampleCount;
    std::optional<int16_t> ChannelCount;
    std::optional<int64_t> FramesWritten;
};

std::vector<uint8_t> BuildSpc35(const Spc35Image& image);

// An SPC-35 file stamped 2023/07/08 09:10:11; `words` holds the stored words channel by channel;
// `headerSamples` < 0 writes the true frame count.
std::vector<uint8_t> Spc35File(const std::vector<std::vector<uint16_t>>& words, int16_t rate,
                               int16_t unitCode, int32_t headerSamples = -1);

}  // namespace wavora::test
