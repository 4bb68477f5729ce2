#pragma once
// Small data files of the four formats, built byte by byte by the tests (header-only, so that the
// pipeline tests and the batch tool's tests share it).

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace wavora::test {

inline void PutI16(std::vector<uint8_t>& b, size_t at, int16_t v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}
inline void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}
inline void PutF32(std::vector<uint8_t>& b, size_t at, float v) {
    int32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    PutI32(b, at, bits);
}
// Text blank padded to `width` bytes.
inline void PutText(std::vector<uint8_t>& b, size_t at, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) b[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

struct Spc51Channel {
    std::string Name;
    std::string Unit;
    float Scale = 0.01f;
    int32_t Max = 0, Min = 0;
    std::vector<int16_t> Samples;
};

// An SPC-51 file; `headerSamples` < 0 writes the true frame count.
inline std::vector<uint8_t> Spc51File(const std::vector<Spc51Channel>& channels, int16_t rate,
                                      const std::string& title = "TEST TITLE",
                                      const std::string& date = "2024/01/02 03:04:05",
                                      const std::string& comment = "A COMMENT", int32_t headerSamples = -1,
                                      const std::string& tag = "A-TLADX VER4.") {
    const size_t frames = channels.empty() ? 0 : channels[0].Samples.size();
    std::vector<uint8_t> b(512 + 96 * channels.size(), 0);
    PutText(b, 0, tag, 13);
    PutText(b, 16, title, 32);
    std::memcpy(b.data() + 48, date.data(), std::min<size_t>(date.size(), 19));
    PutI32(b, 112, headerSamples < 0 ? static_cast<int32_t>(frames) : headerSamples);
    PutI16(b, 118, static_cast<int16_t>(channels.size()));
    PutI16(b, 120, rate);
    PutText(b, 130, comment, 32);
    for (size_t k = 0; k < channels.size(); ++k) {
        size_t e = 512 + 96 * k;
        PutText(b, e, channels[k].Name, 32);
        PutText(b, e + 32, channels[k].Unit, 8);
        PutF32(b, e + 48, channels[k].Scale);
        PutI32(b, e + 60, channels[k].Max);
        PutI32(b, e + 64, channels[k].Min);
    }
    for (size_t f = 0; f < frames; ++f) {
        for (const auto& ch : channels) {
            b.push_back(static_cast<uint8_t>(ch.Samples[f] & 0xFF));
            b.push_back(static_cast<uint8_t>((static_cast<uint16_t>(ch.Samples[f]) >> 8) & 0xFF));
        }
    }
    return b;
}

// An SPC-35 file; samples are the stored offset-binary words, channel after channel per frame.
inline std::vector<uint8_t> Spc35File(const std::vector<std::vector<uint16_t>>& words, int16_t rate,
                                      int16_t unitCode, int32_t headerSamples = -1) {
    const size_t frames = words.empty() ? 0 : words[0].size();
    std::vector<uint8_t> b(256, 0);
    const int16_t stamp[6] = {2023, 7, 8, 9, 10, 11};
    for (int i = 0; i < 6; ++i) PutI16(b, 6 + 2 * i, stamp[i]);
    PutI32(b, 20, headerSamples < 0 ? static_cast<int32_t>(frames) : headerSamples);
    PutI16(b, 24, static_cast<int16_t>(words.size()));
    PutI16(b, 26, rate);
    PutI16(b, 60, unitCode);
    b[108] = 'S';
    b[110] = 'P';
    b[112] = 'C';
    for (size_t f = 0; f < frames; ++f) {
        for (const auto& ch : words) {
            b.push_back(static_cast<uint8_t>(ch[f] & 0xFF));
            b.push_back(static_cast<uint8_t>(ch[f] >> 8));
        }
    }
    return b;
}

// A DSPCSV file with `rows` data lines of integer counts; `total` is the header's value count.
inline std::string DspCsvFile(const std::vector<std::string>& names, int intervalMs,
                              const std::vector<std::vector<int>>& rows, int total = -1) {
    const size_t channels = names.size();
    std::string s = "DSPCSV,1\n";
    s += "DATE,2022,3,4,5,6\n";
    s += "CH," + std::to_string(channels) + "\n";
    s += "INTERVAL," + std::to_string(intervalMs) + "\n";
    for (int line = 5; line <= 18; ++line) s += "X,0\n";
    s += "TOTAL," + std::to_string(total < 0 ? static_cast<int>(rows.size() * channels) : total) + "\n";
    for (int line = 20; line <= 23; ++line) s += "X,0\n";
    s += "NAME";
    for (const auto& n : names) s += "," + n;
    s += "\n";
    for (size_t r = 0; r < rows.size(); ++r) {
        s += std::to_string(r);
        for (int v : rows[r]) s += "," + std::to_string(v);
        s += "\n";
    }
    return s;
}

// A standard CSV data file: names, "rate,unit", a free line, units, then the rows as written.
inline std::string StandardCsvFile(const std::string& names, const std::string& rateLine,
                                   const std::string& units, const std::vector<std::string>& rows) {
    std::string s = names + "\n" + rateLine + "\nFREE LINE\n" + units + "\n";
    for (const auto& r : rows) s += r + "\n";
    return s;
}

}  // namespace wavora::test
