#include "batch/record_report.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "record/time_unit.h"

namespace wavora::batch {

namespace {

// A 32-bit float as the shortest decimal that reads back as the same float (0.01, not
// 0.009999999776482582).
double JsonNumber(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char buffer[32];
    auto done = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    *done.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

// The document without the samples: with `withSamples` every channel holds "samples": null, which
// WriteJson replaces by the samples as it writes.
nlohmann::json InfoJson(const LoadedRecord& loaded, bool withSamples) {
    const WaveRecord& r = loaded.Record;
    nlohmann::json channels = nlohmann::json::array();
    for (int k = 0; k < r.ChannelCount && k < kMaxChannels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        nlohmann::json c = {
            {"name", ch.Name},
            {"unit", ch.Unit},
            {"display_unit", ch.DisplayUnit},
            {"scale_factor", JsonNumber(ch.ScaleFactor)},
            {"base_scale_factor", JsonNumber(ch.BaseScaleFactor)},
            {"peak_value", JsonNumber(ch.PeakValue)},
            {"display_divisor", ch.DisplayDivisor},
            {"raw_peak", ch.RawPeak},
        };
        if (withSamples) c["samples"] = nullptr;  // written by WriteJson as it goes
        channels.push_back(std::move(c));
    }
    return {
        {"file", r.FilePath},
        {"format", FormatCaption(r.Format)},
        {"channels", r.ChannelCount},
        {"samples", r.SampleCount},
        {"sampling_rate", r.SamplingRate},
        {"time_unit", r.TimeText()},
        {"frequency_unit", r.FrequencyText()},
        {"sampling_interval", JsonNumber(r.SamplingInterval)},
        {"rate_unit_text", r.RateUnitText},
        {"date", r.DateText},
        {"title", r.Title},
        {"comment", r.Comment},
        {"channel_list", std::move(channels)},
    };
}

std::string Printf(const char* format, double value, const char* text) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value, text);
    return buffer;
}

std::string FilterText(const LoadedRecord& loaded) {
    if (!loaded.Filtered) return "Unfiltered";
    const FilterState& f = loaded.Filter;
    const char* fu = loaded.Record.FrequencyText();
    char buffer[160];
    if (f.EffectiveLower == 0.0f) {
        std::snprintf(buffer, sizeof buffer, "LOWPASS %.2f%s (taper to %.2f%s)", f.EffectiveUpper, fu,
                      f.EffectiveUpper * 1.5, fu);
    } else {
        std::snprintf(buffer, sizeof buffer, "BANDPASS %.2f%s-%.2f%s", f.EffectiveLower, fu, f.EffectiveUpper,
                      fu);
    }
    return buffer;
}

void PrintText(const LoadedRecord& loaded, bool withSamples) {
    const WaveRecord& r = loaded.Record;
    const LoadOptions& o = loaded.Options;
    std::string processing;
    if (o.DcCut) processing += "DC Cut, ";
    if (o.IntegrationOn) processing += "Integrated, ";
    if (o.ClipOn) processing += Printf("Clipped at %.0f%%%s, ", o.ClipFraction * 100.0, "");
    processing = processing.empty() ? "None" : processing.substr(0, processing.size() - 2);

    std::printf("FILE        %s\n", r.FilePath.c_str());
    std::printf("FORMAT      %s\n", FormatCaption(r.Format));
    std::printf("CHANNEL(s)  %d\n", r.ChannelCount);
    std::printf("DATA        %d\n", r.SampleCount);
    std::printf("SAMPLING    %d/%s\n", r.SamplingRate, r.TimeText());
    std::printf("DURATION    %s\n",
                Printf("%.2f (%s)", r.SampleCount * r.SamplingInterval, r.TimeText()).c_str());
    std::printf("INTERVAL    %s\n", Printf("%.4f (%s)", r.SamplingInterval, r.TimeText()).c_str());
    std::printf("TITLE       %s\n", r.Title.c_str());
    std::printf("DATE/TIME   %s\n", r.DateText.c_str());
    std::printf("COMMENT     %s\n", r.Comment.c_str());
    std::printf("FILTER      %s\n", FilterText(loaded).c_str());
    std::printf("PROCESSING  %s\n", processing.c_str());
    std::printf("\n%3s  %-20s %-10s %-10s %12s %14s %8s %8s\n", "CH", "Name", "Unit", "Display", "Max",
                "ScaleFactor", "RawPeak", "Divisor");
    for (int k = 0; k < r.ChannelCount && k < kMaxChannels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        std::printf("%3d  %-20s %-10s %-10s %12.3f %14.6e %8d %8d\n", k + 1, ch.Name.c_str(), ch.Unit.c_str(),
                    ch.DisplayUnit.c_str(), ch.PeakValue, ch.ScaleFactor, ch.RawPeak, ch.DisplayDivisor);
    }
    if (!withSamples) return;
    std::printf("\nNo.");
    for (int k = 0; k < r.ChannelCount && k < kMaxChannels; ++k) std::printf(",CH%d", k + 1);
    std::printf("\n");
    for (int32_t i = 0; i < r.SampleCount; ++i) {
        std::printf("%d", i);
        for (int k = 0; k < r.ChannelCount && k < kMaxChannels; ++k) {
            const auto& s = r.Channels[k].Samples;
            std::printf(",%d", static_cast<size_t>(i) < s.size() ? s[i] : 0);
        }
        std::printf("\n");
    }
}

// Writes one channel's samples as the array dump(2) would lay it out: one value a line at `indent`
// + 2 blanks, the closing bracket at `indent`.
void WriteSampleArray(std::FILE* out, const std::vector<int16_t>& samples, size_t indent) {
    if (samples.empty()) {
        std::fputs("[]", out);
        return;
    }
    std::string block = "[\n";
    const std::string lead(indent + 2, ' ');
    for (size_t i = 0; i < samples.size(); ++i) {
        block += lead;
        char number[8];
        auto done = std::to_chars(number, number + sizeof number, samples[i]);
        block.append(number, done.ptr);
        block += i + 1 < samples.size() ? ",\n" : "\n";
        if (block.size() > (size_t(1) << 20)) {
            std::fwrite(block.data(), 1, block.size(), out);
            block.clear();
        }
    }
    block += std::string(indent, ' ') + "]";
    std::fwrite(block.data(), 1, block.size(), out);
}

// The JSON document on `out`. The samples are written as they go rather than held in the document:
// a document of one value per sample needs many times the memory of the record itself, and a long
// record then ended the program instead of giving its data.
void WriteJson(const LoadedRecord& loaded, bool withSamples, std::FILE* out) {
    const std::string text =
        InfoJson(loaded, withSamples).dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    // A line that is only blanks and "samples": null can come from a placeholder alone: texts of
    // the record are quoted, with their own quotes escaped, on the line of their key.
    const std::string placeholder = "\"samples\": null";
    size_t channel = 0, from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + from, end - from);
        const size_t indent = line.find_first_not_of(' ');
        const std::string_view rest =
            indent == std::string_view::npos ? std::string_view() : line.substr(indent);
        if (withSamples && (rest == placeholder || rest == placeholder + ",")) {
            std::fwrite(line.data(), 1, indent + placeholder.size() - 4, out);  // up to "null"
            static const std::vector<int16_t> kNone;
            const WaveRecord& r = loaded.Record;
            WriteSampleArray(out, channel < kMaxChannels ? r.Channels[channel].Samples : kNone, indent);
            ++channel;
            if (rest.back() == ',') std::fputc(',', out);
        } else {
            std::fwrite(line.data(), 1, line.size(), out);
        }
        if (end < text.size()) std::fputc('\n', out);
        from = end + 1;
    }
    std::fputc('\n', out);
}

}  // namespace

void PrintRecordReport(const LoadedRecord& loaded, bool json, bool withSamples) {
    if (json)
        WriteJson(loaded, withSamples, stdout);
    else
        PrintText(loaded, withSamples);
    std::fflush(stdout);
}

}  // namespace wavora::batch
