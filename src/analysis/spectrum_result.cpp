#include "analysis/spectrum_result.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "formats/data_writers.h"
#include "record/text_codec.h"

namespace wavora {

namespace {

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string& out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof buffer) {
        out.append(buffer, static_cast<size_t>(n));
        return;
    }
    std::string longer(static_cast<size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(longer.data(), longer.size(), format, args);
    va_end(args);
    longer.resize(static_cast<size_t>(n));
    out += longer;
}

const char* SpectrumName(const AnalysisSettings& s) {
    if (s.Type == SpectrumType::Power) return "PwrSp";
    return s.AbsCoeffMode ? "F Coeff" : "AmpSp";
}

Failure OpenError() {
    return Failure::Captioned("Save file open error", "FILE OPEN ERROR");
}

}  // namespace

std::string SpectrumResultFileName(const std::string& chosen, int filterIndex) {
    if (filterIndex == 1) return AppendExtensionIfMissing(chosen, "csv");
    if (filterIndex == 2) return AppendExtensionIfMissing(chosen, "txt");
    return chosen;
}

Failure OverwriteQuestion(const std::string& path) {
    return Failure{"Same file " + path + " is already exists. Overwrite?", "File Name Error",
                   MessageIcon::Question};
}

std::string SpectrumResultText(const WaveRecord& record, const FilterState& filter, int displayPosition,
                               const SpectrumResult& result) {
    const AnalysisSettings& s = result.Settings;
    const char* fu = record.FrequencyText();
    const char* tu = record.TimeText();
    const int channelCount = std::min(record.ChannelCount, kMaxChannels);
    const int stored = result.StoredChannelCount;
    const bool mem = s.Mem;
    const bool ratio = s.RatioMode != 0 && result.SelectedChannelCount == 2;
    const int bins = result.Points / 2;

    std::string out;
    out.reserve(static_cast<size_t>(bins) * (16 + 14 * (3 * stored + 1)) + 1024);
    // Texts from the record are made safe as fields: a comma or a line break in a name would
    // shift the columns or cut the line.
    Append(out, "FILE NAME,%s\r\n", CsvTextField(record.FileName).c_str());
    Append(out, "TITLE,%s\r\n", CsvTextField(record.Title).c_str());
    Append(out, "SAMPLING(%s),%d\r\n", fu, record.SamplingRate);
    out += FilterLine(filter, record.SamplingRate, fu) + "\r\n";
    Append(out, "POSITION,%d\r\n", displayPosition);
    Append(out, "SIZE,%d\r\n", result.Points);
    Append(out, "INTERVAL(%s),%.3f\r\n", tu, static_cast<double>(result.AnalysisInterval));
    Append(out, "DURATION(%s),%.3f\r\n", tu, static_cast<double>(result.Points * result.AnalysisInterval));
    out += s.Type == SpectrumType::Power ? "Spectrum,Power\r\n" : "Spectrum,Amplitude\r\n";
    Append(out, "Smoothing,%d\r\n", s.SmoothPasses);
    out += s.RatioMode == 1   ? "SRtype,srAtoB,,,A,,,B,A/B\r\n"
           : s.RatioMode == 2 ? "SRtype,srBtoA,,,A,,,B,B/A\r\n"
                              : "SRtype,srNA\r\n";

    out += "COMMENT,,";
    for (int k = 0; k < channelCount; ++k) {
        if (!s.ChannelFlags[k]) continue;
        out += CsvTextField(record.Channels[k].Name);
        out += mem ? "," : ",,,";
    }
    out += "\r\n";

    Append(out, "SpNo,FREQ(%s)", fu);
    for (int k = 0; k < channelCount; ++k) {
        if (!s.ChannelFlags[k]) continue;
        if (mem)
            Append(out, ",MEM[%d]", k + 1);
        else
            Append(out, ",R[%d],I[%d],%s[%d]", k + 1, k + 1, SpectrumName(s), k + 1);
    }
    out += "\r\n";

    const std::vector<float>& store = result.ResultStore;
    // A spectrum value beyond the float range is written held at the largest float.
    auto storeAt = [&store](size_t i) { return i < store.size() ? FileNumber(store[i]) : 0.0; };
    for (int i = 0; i < bins; ++i) {
        const float frequency = mem ? result.MemFrequency[i] : static_cast<float>(i) * result.FrequencyStep;
        Append(out, "%5d,%8.3f", i, FileNumber(frequency));
        if (mem) {
            for (int d = 0; d < stored; ++d)
                Append(out, ",%13.5e",
                       storeAt((static_cast<size_t>(d) + static_cast<size_t>(stored) * i) * 3));
        } else {
            for (int j = 0; j < 3 * stored; ++j)
                Append(out, ",%13.5e", storeAt(static_cast<size_t>(3 * stored) * i + j));
        }
        if (ratio) Append(out, ",%13.5e", FileNumber(result.RealPart[i]));
        out += "\r\n";
    }
    return out;
}

Outcome WriteSpectrumResult(const std::string& path, const WaveRecord& record, const FilterState& filter,
                            int displayPosition, const SpectrumResult& result) {
    if (path.empty()) return Outcome::Fail(OpenError());
    SafeFileWriter writer(path);
    if (!writer.Opened()) return Outcome::Fail(OpenError());
    writer.Write(EncodeFileText(SpectrumResultText(record, filter, displayPosition, result)));
    return writer.Finish(OpenError());
}

}  // namespace wavora
