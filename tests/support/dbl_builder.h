#pragma once
// Byte images of SPC-51 and SPC-35 .dbl files for the tests: a header, channel entries and
// interleaved samples, with every count the reader checks open to being set wrong on purpose.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wavora::test {

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
    // Frames actually written; by default every frame of the samples.
    std::optional<int64_t> FramesWritten;
};

std::vector<uint8_t> BuildSpc51(const Spc51Image& image);

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

}  // namespace wavora::test
