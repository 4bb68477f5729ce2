#include "formats/dspcsv.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "record/line_split.h"
#include "record/text_codec.h"

namespace wavora {

namespace {

constexpr int kHeaderLines = 24;
constexpr int64_t kLinesPerReport = 1 << 15;
const char* const kProgressText = "Reading data file";

inline bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

std::string Token(const std::vector<std::string>& tokens, size_t index) {
    return index < tokens.size() ? tokens[index] : std::string();
}

// A date or time part right-aligned in two places, as "%2s" does.
std::string RightAligned2(const std::string& s) {
    return s.size() < 2 ? std::string(2 - s.size(), ' ') + s : s;
}

}  // namespace

void ParseDspRow(const char* s, const char* end, int channels, int64_t* counts) {
    std::fill_n(counts, channels, 0);
    int token = 0;  // index of the next token
    while (s < end && token <= channels) {
        const char c = *s;
        if (c == ' ' || c == '\t') {
            ++s;
        } else if (c == ',') {  // a comma not directly after a token character: an empty token
            ++token;
            ++s;
        } else {
            const char* stop = s;
            while (stop < end && !IsSeparator(*stop)) ++stop;
            if (token >= 1) counts[token - 1] = LeadingInteger(s, stop);
            ++token;
            s = stop;
            if (s < end && *s == ',') ++s;  // the comma that ends a token adds none
        }
    }
}

int16_t DspSample(int64_t count) {
    return static_cast<int16_t>(std::clamp<int64_t>(count / 1024, -32768, 32767));
}

Outcome ReadDspCsv(const std::string& path, WaveRecord& record, const Progress& progress) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return Outcome::Fail(FileOpenFailure());
    struct stat st {};
    const double fileSize =
        fstat(fileno(file.get()), &st) == 0 && st.st_size > 0 ? static_cast<double>(st.st_size) : 1.0;

    LineReader reader(file.get());
    std::string_view line;
    std::array<std::string, kHeaderLines> header;
    int headerLines = 0;
    while (headerLines < kHeaderLines && reader.Next(line)) header[headerLines++] = std::string(line);
    if (reader.ReadError()) return Outcome::Fail(FileOpenFailure());

    std::string_view first = WithoutByteOrderMark(headerLines > 0 ? header[0] : std::string_view());
    if (first.size() < 6 || !EqualsNoCase(first.substr(0, 6), "DSPCSV"))
        return Outcome::Fail(Failure::Notice("  Not CSV (GPL) Data File !  "));
    if (headerLines < kHeaderLines) return Outcome::Fail(TruncatedHeaderFailure());

    WaveRecord staged = FreshRecord(record);

    std::vector<std::string> date = SplitTokens(header[1]);
    auto part = [&](size_t i) { return DecodeFileText(Token(date, i)); };
    staged.DateText = part(1) + "/" + RightAligned2(part(2)) + "/" + RightAligned2(part(3)) + " " +
                      RightAligned2(part(4)) + ":" + RightAligned2(part(5));

    const int64_t channels = LeadingInteger(Token(SplitTokens(header[2]), 1));
    if (channels < 1 || channels > kMaxChannels) return Outcome::Fail(ChannelCountFailure(channels));
    const int64_t interval = LeadingInteger(Token(SplitTokens(header[3]), 1));
    if (interval < 1 || interval > 1000)
        return Outcome::Fail(HeaderValueFailure("The file header gives a sampling interval of " +
                                                std::to_string(interval) + " ms; it must be 1 to 1000 ms."));
    const int64_t total = LeadingInteger(Token(SplitTokens(header[18]), 1));
    if (total < 0)
        return Outcome::Fail(HeaderValueFailure("The file header gives a negative number of values (" +
                                                std::to_string(total) + ")."));
    const int64_t sampleCount = total / channels;
    if (sampleCount == 0)
        return Outcome::Fail(HeaderValueFailure(
            "The file header gives " + std::to_string(total) + " values for " + std::to_string(channels) +
            " channels, not one sample per channel; there is nothing to read."));
    const int n = static_cast<int>(channels);

    std::vector<std::string> names = SplitTokens(header[23]);
    for (int k = 0; k < n; ++k) staged.Channels[k].Name = HeaderText(Token(names, k + 1), kNameWidth);

    // A file shorter than its header says loads with zeros for what it lacks; the zero-filled
    // arrays for a large header count may take longer than the lines themselves, so the progress
    // shares the two by their sizes (the lines by bytes: about 8 per value).
    if (sampleCount > INT32_MAX) return Outcome::Fail(MemoryFailure());
    const double arrayBytes = 2.0 * static_cast<double>(sampleCount) * n;
    const double share = arrayBytes / (arrayBytes + std::min(fileSize, 8.0 * static_cast<double>(total)));
    switch (AllocateSamples(staged, n, sampleCount, StageOf(progress, 0.0, share), kProgressText)) {
        case AllocateResult::Done:
            break;
        case AllocateResult::OutOfMemory:
            return Outcome::Fail(MemoryFailure());
        case AllocateResult::Cancelled:
            return Outcome::Fail(CancelledFailure());
    }

    std::array<int16_t*, kMaxChannels> out{};
    for (int k = 0; k < n; ++k) out[k] = staged.Channels[k].Samples.data();
    std::array<int64_t, kMaxChannels> counts{};
    int64_t lines = 0;
    while (reader.Next(line)) {
        if (lines < sampleCount) {  // lines beyond the header's count are counted only
            ParseDspRow(line.data(), line.data() + line.size(), n, counts.data());
            for (int k = 0; k < n; ++k) out[k][lines] = DspSample(counts[k]);
        }
        if (++lines % kLinesPerReport == 0 &&
            !Report(progress, kProgressText,
                    share + (1.0 - share) * std::min(1.0, static_cast<double>(reader.Consumed()) / fileSize)))
            return Outcome::Fail(CancelledFailure());
    }
    if (reader.ReadError()) return Outcome::Fail(FileOpenFailure());
    Report(progress, kProgressText, 1.0);

    Outcome outcome;
    // A count that differs from the header is reported, and the record is used as read.
    if (lines != sampleCount) outcome.Warnings.push_back(Failure::Notice("  Data Number incorrect !  "));

    const float scale = static_cast<float>(512 * 3.399909e-8);
    for (int k = 0; k < n; ++k) {
        ChannelInfo& ch = staged.Channels[k];
        ch.ScaleFactor = scale;
        ch.Unit = "Gal";
        ch.DisplayUnit = "Gal";
    }
    staged.ChannelCount = n;
    staged.SampleCount = static_cast<int32_t>(sampleCount);
    staged.SamplingRate = static_cast<int32_t>(1000 / interval);
    // The interval is given in milliseconds, so the rate counts samples per second, whatever unit
    // an earlier record was counted in.
    staged.Time = TimeUnit::Seconds;
    staged.Format = FormatType::CsvGpl;
    record = std::move(staged);
    return outcome;
}

}  // namespace wavora
