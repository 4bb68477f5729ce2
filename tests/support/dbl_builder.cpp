#include "support/dbl_builder.h"

#include <algorithm>
#include <cstring>

namespace wavora::test {

namespace {

void PutText(std::vector<uint8_t>& bytes, size_t offset, size_t length, const std::string& text, char pad) {
    for (size_t i = 0; i < length; ++i)
        bytes[offset + i] = static_cast<uint8_t>(i < text.size() ? text[i] : pad);
}

void Put16(std::vector<uint8_t>& bytes, size_t offset, uint16_t v) {
    bytes[offset] = static_cast<uint8_t>(v & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

template <typename Word>
void PutFrames(std::vector<uint8_t>& bytes, const std::vector<std::vector<Word>>& channels,
               std::optional<int64_t> framesWritten) {
    size_t longest = 0;
    for (const auto& c : channels) longest = std::max(longest, c.size());
    int64_t frames = framesWritten.value_or(static_cast<int64_t>(longest));
    for (int64_t f = 0; f < frames; ++f)
        for (const auto& c : channels) {
            uint16_t w = static_cast<size_t>(f) < c.size() ? static_cast<uint16_t>(c[f]) : 0;
            bytes.push_back(static_cast<uint8_t>(w & 0xFF));
            bytes.push_back(static_cast<uint8_t>(w >> 8));
        }
}

}  // namespace

std::vector<uint8_t> BuildSpc51(const Spc51Image& image) {
    std::vector<uint8_t> bytes(512 + 96 * image.Channels.size(), 0);
    PutText(bytes, 0, std::min<size_t>(image.Tag.size(), 16), image.Tag, '\0');
    PutText(bytes, 16, 32, image.Title, ' ');
    PutText(bytes, 48, 19, image.Date, '\0');
    size_t longest = 0;
    for (const auto& c : image.Channels) longest = std::max(longest, c.Samples.size());
    Put32(bytes, 112, static_cast<uint32_t>(image.SampleCount.value_or(static_cast<int32_t>(longest))));
    Put16(bytes, 118,
          static_cast<uint16_t>(image.ChannelCount.value_or(static_cast<int16_t>(image.Channels.size()))));
    Put16(bytes, 120, static_cast<uint16_t>(image.SamplingRate));
    PutText(bytes, 130, 32, image.Comment, ' ');
    std::vector<std::vector<int16_t>> samples;
    for (size_t k = 0; k < image.Channels.size(); ++k) {
        const Spc51Channel& c = image.Channels[k];
        size_t at = 512 + 96 * k;
        PutText(bytes, at, 32, c.Name, ' ');
        PutText(bytes, at + 32, 8, c.Unit, ' ');
        uint32_t scale;
        std::memcpy(&scale, &c.Scale, sizeof scale);
        Put32(bytes, at + 48, scale);
        Put32(bytes, at + 60, static_cast<uint32_t>(c.MaxRaw));
        Put32(bytes, at + 64, static_cast<uint32_t>(c.MinRaw));
        samples.push_back(c.Samples);
    }
    PutFrames(bytes, samples, image.FramesWritten);
    return bytes;
}

std::vector<uint8_t> BuildSpc35(const Spc35Image& image) {
    std::vector<uint8_t> bytes(256, 0);
    Put16(bytes, 6, static_cast<uint16_t>(image.Year));
    Put16(bytes, 8, static_cast<uint16_t>(image.Month));
    Put16(bytes, 10, static_cast<uint16_t>(image.Day));
    Put16(bytes, 12, static_cast<uint16_t>(image.Hour));
    Put16(bytes, 14, static_cast<uint16_t>(image.Minute));
    Put16(bytes, 16, static_cast<uint16_t>(image.Second));
    size_t longest = 0;
    for (const auto& c : image.Channels) longest = std::max(longest, c.size());
    Put32(bytes, 20, static_cast<uint32_t>(image.SampleCount.value_or(static_cast<int32_t>(longest))));
    Put16(bytes, 24,
          static_cast<uint16_t>(image.ChannelCount.value_or(static_cast<int16_t>(image.Channels.size()))));
    Put16(bytes, 26, static_cast<uint16_t>(image.SamplingRate));
    Put16(bytes, 60, static_cast<uint16_t>(image.UnitCode));
    if (image.CheckBytes) {
        bytes[108] = 'S';
        bytes[110] = 'P';
        bytes[112] = 'C';
    }
    PutFrames(bytes, image.Channels, image.FramesWritten);
    return bytes;
}

}  // namespace wavora::test
