#include "support/record_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace wavora::test {

namespace {

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? "," : "") + parts[i];
    return out;
}

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

std::optional<int32_t> HeaderSamples(int32_t headerSamples) {
    return headerSamples < 0 ? std::nullopt : std::optional<int32_t>(headerSamples);
}

}  // namespace

std::string StandardCsvFile(const std::string& names, const std::string& rateLine, const std::string& units,
                            const std::vector<std::string>& rows) {
    std::string s = names + "\n" + rateLine + "\nFREE LINE\n" + units + "\n";
    for (const auto& r : rows) s += r + "\n";
    return s;
}

std::string StandardCsvFile(const std::vector<std::string>& names, int rate, const std::string& unit,
                            const std::vector<std::string>& units,
                            const std::vector<std::vector<double>>& rows) {
    std::vector<std::string> lines;
    char buf[64];
    for (const auto& row : rows) {
        std::vector<std::string> cells;
        for (double v : row) {
            std::snprintf(buf, sizeof buf, "%.6g", v);
            cells.push_back(buf);
        }
        lines.push_back(Join(cells));
    }
    return StandardCsvFile(Join(names), std::to_string(rate) + "," + unit, Join(units), lines);
}

std::vector<std::vector<double>> SineRows(int channels, int samples) {
    std::vector<std::vector<double>> rows(samples, std::vector<double>(channels));
    for (int i = 0; i < samples; ++i)
        for (int k = 0; k < channels; ++k) rows[i][k] = (k + 1) * std::sin(2 * M_PI * i / 50.0 + k);
    return rows;
}

std::string DspCsvFile(const std::vector<std::string>& names, int intervalMs,
                       const std::vector<std::vector<int>>& rows, int total) {
    const size_t channels = names.size();
    std::vector<std::string> lines(24, "X,0");
    lines[0] = "DSPCSV,1";
    lines[1] = "DATE,2022,3,4,5,6";
    lines[2] = "CH," + std::to_string(channels);
    lines[3] = "INTERVAL," + std::to_string(intervalMs);
    lines[18] = "TOTAL," + std::to_string(total < 0 ? static_cast<int>(rows.size() * channels) : total);
    lines[23] = "NAME," + Join(names);
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        s += std::to_string(r);
        for (int v : rows[r]) s += "," + std::to_string(v);
        s += "\n";
    }
    return s;
}

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

std::vector<uint8_t> Spc51File(const std::vector<Spc51Channel>& channels, int16_t rate,
                               const std::string& title, const std::string& date, const std::string& comment,
                               int32_t headerSamples, const std::string& tag) {
    Spc51Image image;
    image.Tag = tag;
    image.Title = title;
    image.Date = date;
    image.Comment = comment;
    image.SamplingRate = rate;
    image.Channels = channels;
    image.SampleCount = HeaderSamples(headerSamples);
    return BuildSpc51(image);
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

std::vector<uint8_t> Spc35File(const std::vector<std::vector<uint16_t>>& words, int16_t rate,
                               int16_t unitCode, int32_t headerSamples) {
    Spc35Image image;
    image.Year = 2023;
    image.Month = 7;
    image.Day = 8;
    image.Hour = 9;
    image.Minute = 10;
    image.Second = 11;
    image.SamplingRate = rate;
    image.UnitCode = unitCode;
    image.Channels = words;
    image.SampleCount = HeaderSamples(headerSamples);
    return BuildSpc35(image);
}

}  // namespace wavora::test
