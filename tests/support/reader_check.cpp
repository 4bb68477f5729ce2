#include "support/reader_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "analysis/filter.h"
#include "analysis/load_pipeline.h"
#include "analysis/spectrum_result.h"
#include "analysis/spectrum_run.h"
#include "formats/csv_import.h"
#include "formats/data_readers.h"
#include "formats/data_writers.h"
#include "record/text_codec.h"

namespace wavora::test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Channel(int k) {
    return "channel " + std::to_string(k + 1) + ": ";
}

// Values below this may read back as 0: a column whose largest magnitude is under it has no
// normal scale factor and is read as a column of zeros.
constexpr double kSmallestReadBack = 3.8e-34;

// The largest physical magnitude of a channel.
double PeakOf(const ChannelInfo& ch) {
    int largest = 0;
    for (int16_t s : ch.Samples) largest = std::max(largest, std::abs(static_cast<int>(s)));
    return largest * static_cast<double>(ch.ScaleFactor);
}

// The analysed-data file of a processed record, read back as a standard CSV file.
std::string CheckAnalysedDataFile(const WaveRecord& record, const FilterState& filter,
                                  const std::string& path) {
    Outcome written = WriteAnalysedData(path, record, filter, 0, 0, true);
    if (!written.Ok()) return "the analysed-data file was not written: " + written.Error->Text;
    const std::string text = Slurp(path);
    if (std::string bad = NonNumbersIn(text, 4); !bad.empty()) return "analysed-data file: " + bad;

    double peak = 0.0;
    for (int k = 0; k < record.ChannelCount; ++k) peak = std::max(peak, PeakOf(record.Channels[k]));
    WaveRecord back;
    Outcome read = ReadStandardCsv(path, back);
    std::remove(path.c_str());
    if (peak > kLargestPhysicalValue) {
        // Integration can take absurd values beyond what a reader takes; such a file is refused.
        return read.Ok() ? "an analysed-data file beyond the value range was read back" : "";
    }
    if (!read.Ok()) return "the analysed-data file does not read back: " + read.Error->Text;
    if (back.ChannelCount != record.ChannelCount)
        return "the analysed-data file reads back another channel count";
    if (back.SampleCount != record.SampleCount)
        return "the analysed-data file reads back another sample count";
    if (back.SamplingRate != record.SamplingRate || back.Time != record.Time)
        return "the analysed-data file reads back another sampling rate or time unit";
    for (int k = 0; k < record.ChannelCount; ++k) {
        const ChannelInfo& was = record.Channels[k];
        const ChannelInfo& now = back.Channels[k];
        // The file holds code page 932: a character without a form there is written as "?".
        auto held = [](const std::string& text) { return DecodeFileText(EncodeFileText(text)); };
        std::string name = held(CsvTextField(was.Name, kNameWidth));
        if (name.empty()) name = "CH" + std::to_string(k + 1);
        if (now.Name != name) return Channel(k) + "name \"" + now.Name + "\" read back for \"" + name + "\"";
        if (now.Unit != held(CsvTextField(was.DisplayUnit, kUnitWidth)))
            return Channel(k) + "unit \"" + now.Unit + "\" read back for \"" + was.DisplayUnit + "\"";
        const double columnPeak = PeakOf(was);
        for (int32_t i = 0; i < record.SampleCount; ++i) {
            const double before = static_cast<float>(was.Samples[i] * was.ScaleFactor);
            const double after = now.Samples[i] * static_cast<double>(now.ScaleFactor);
            // Four significant digits are printed, and reading quantises to 1/32000 of the peak.
            const double tolerance =
                std::fabs(before) * 5.01e-4 + columnPeak * 1.001 / 32000 + kSmallestReadBack;
            if (!(std::fabs(after - before) <= tolerance)) {
                char text[160];
                std::snprintf(text, sizeof text, "sample %d reads back as %g for %g", i, after, before);
                return Channel(k) + text;
            }
        }
    }
    return "";
}

// One spectrum run of the first channel (and the second, with the ratio) and its result file.
std::string CheckSpectrumFile(const WaveRecord& record, const FilterState& filter, unsigned variant) {
    AnalysisSettings settings;
    settings.ChannelFlags.fill(false);
    settings.ChannelFlags[0] = true;
    if (record.ChannelCount > 1) {
        settings.ChannelFlags[1] = true;
        settings.RatioMode = 1 + static_cast<int>((variant >> 6) & 1);
    }
    settings.PointsChoice = 512;
    settings.Mem = (variant & 16) != 0;
    settings.MemMin = settings.Mem;  // 16 points keep the MEM quick
    settings.Type = (variant & 32) ? SpectrumType::Power : SpectrumType::Amp;
    settings.SmoothPasses = (variant & 128) ? 2 : 0;
    settings.FileSave = true;
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    RunStart start = run.Begin(0);
    if (start.Status == RunStartStatus::AskPadding && !run.AnswerPadding(true)) return "";
    if (!run.IsReady()) return "";
    for (int k : run.Channels())
        if (run.AnalyseChannel(k).Status == ChannelStatus::Failed) return "";
    const std::string text = SpectrumResultText(record, filter, 0, result);
    if (std::string bad = NonNumbersIn(text, 13); !bad.empty()) return "spectrum result file: " + bad;
    return "";
}

}  // namespace

Outcome ReadImportedCsv(const std::string& path, WaveRecord& record, const Progress& progress) {
    CsvLineIndex index;
    if (Outcome built = CsvLineIndex::Build(path, index, progress); !built.Ok()) return built;
    return ImportCsv(index, StartSelection(index), record, progress);
}

const std::vector<ReaderEntry>& Readers() {
    static const std::vector<ReaderEntry> readers = {
#define WAVORA_READER(name, extension, reader, format, batch) \
    ReaderEntry{#name, #extension, &reader, FormatType::format, #batch},
#include "support/reader_list.h"
#undef WAVORA_READER
    };
    return readers;
}

const ReaderEntry* FindReader(std::string_view name) {
    for (const ReaderEntry& r : Readers())
        if (r.Name == name) return &r;
    return nullptr;
}

WaveRecord PreviousRecord() {
    WaveRecord r;
    r.FilePath = "/data/previous.dbl";
    r.FileName = "previous.dbl";
    r.ChannelCount = 8;
    r.SampleCount = 3;
    r.SamplingRate = 50;
    r.SamplingInterval = 0.02f;
    r.RateUnitText = "ms";
    r.DateText = "2020/01/02 03:04:05";
    r.Title = "Bridge test";
    r.Comment = "previous comment";
    r.Header.SetRawText(DblHeader::kTagOffset, DblHeader::kTagLength, "A-TLADX VER4.");
    r.Header.SetRawText(DblHeader::kTitleOffset, DblHeader::kTitleLength, "Bridge test");
    r.Header.WriteI32(DblHeader::kSampleCountOffset, 3);
    r.Time = TimeUnit::Milliseconds;
    r.Format = FormatType::Spc51;
    for (int k = 0; k < kMaxChannels; ++k) {
        ChannelInfo& ch = r.Channels[k];
        ch.Name = "Pier " + std::to_string(k + 1);
        ch.Unit = "mm";
        ch.DisplayUnit = "micron";
        ch.ScaleFactor = ch.BaseScaleFactor = 10.0f;
        ch.Samples = {static_cast<int16_t>(k), -1, 2};
        ch.RawPeak = 300;
        ch.PeakValue = 20.0f;
        ch.DisplayDivisor = 8;
    }
    return r;
}

std::string CheckReadRecord(const WaveRecord& r, FormatType format) {
    if (r.Format != format) return "the record is not of the reader's format";
    if (r.ChannelCount < 1 || r.ChannelCount > kMaxChannels) return "channel count outside 1..8";
    if (r.SampleCount < 1) return "no samples";
    if (r.SamplingRate < 1) return "sampling rate below 1";
    if ((IsBinaryFormat(format) || format == FormatType::CsvGpl) && r.Time != TimeUnit::Seconds)
        return "the time unit is not seconds";
    if (format != FormatType::Spc51) {
        if (!r.Title.empty() || !r.Comment.empty()) return "a title or comment in a format that has none";
        DblHeader header = r.Header;
        header.SetSamplingRate(0);  // the CSV readers write the rate word
        header.WriteI32(DblHeader::kSampleCountOffset, 0);  // and the import the sample count
        if (header.Bytes != DblHeader{}.Bytes) return "header bytes of an earlier record";
    }
    for (const std::string* text : {&r.Title, &r.Comment, &r.DateText, &r.RateUnitText})
        if (!IsValidUtf8(*text)) return "a header text that is not valid UTF-8";
    const size_t nameWidth = format == FormatType::Spc51 ? 32 : kNameWidth;
    for (int k = 0; k < kMaxChannels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        if (k >= r.ChannelCount) {
            if (!ch.Samples.empty() || !ch.Name.empty()) return Channel(k) + "left from an earlier record";
            continue;
        }
        if (static_cast<int64_t>(ch.Samples.size()) != r.SampleCount) return Channel(k) + "sample count";
        if (!std::isnormal(ch.ScaleFactor) || ch.ScaleFactor < 0) return Channel(k) + "scale factor";
        if (PeakOf(ch) > kLargestPhysicalValue * 1.000001) return Channel(k) + "physical values beyond 1e30";
        for (const std::string* text : {&ch.Name, &ch.Unit, &ch.DisplayUnit})
            if (!IsValidUtf8(*text)) return Channel(k) + "a text that is not valid UTF-8";
        if (EncodeFileText(ch.Name).size() > nameWidth) return Channel(k) + "name wider than its field";
        if (EncodeFileText(ch.Unit).size() > kUnitWidth) return Channel(k) + "unit wider than its field";
        switch (format) {
            case FormatType::CsvDefault:
            case FormatType::CsvArbitrary:
                for (int16_t s : ch.Samples)
                    if (s < -32000 || s > 32000) return Channel(k) + "sample beyond ±32000";
                if (ch.DisplayUnit != ch.Unit) return Channel(k) + "display unit differs from the unit";
                break;
            case FormatType::CsvGpl:
                if (ch.ScaleFactor != 1.7407534e-5f || ch.DisplayUnit != "Gal")
                    return Channel(k) + "scale or unit";
                break;
            case FormatType::Spc35:
                if (ch.ScaleFactor != 0.001f || !ch.Name.empty()) return Channel(k) + "scale or name";
                break;
            default:
                break;
        }
    }
    return "";
}

std::string CompareRecords(const WaveRecord& a, const WaveRecord& b) {
    if (a.FilePath != b.FilePath || a.FileName != b.FileName) return "path";
    if (a.ChannelCount != b.ChannelCount || a.SampleCount != b.SampleCount ||
        a.SamplingRate != b.SamplingRate || a.SamplingInterval != b.SamplingInterval)
        return "counts";
    if (a.RateUnitText != b.RateUnitText || a.DateText != b.DateText || a.Title != b.Title ||
        a.Comment != b.Comment)
        return "texts";
    if (a.Header.Bytes != b.Header.Bytes) return "header bytes";
    if (a.Time != b.Time || a.Format != b.Format) return "time unit or format";
    for (int k = 0; k < kMaxChannels; ++k) {
        const ChannelInfo& x = a.Channels[k];
        const ChannelInfo& y = b.Channels[k];
        if (x.Name != y.Name || x.Unit != y.Unit || x.DisplayUnit != y.DisplayUnit)
            return Channel(k) + "texts";
        if (x.ScaleFactor != y.ScaleFactor || x.BaseScaleFactor != y.BaseScaleFactor ||
            x.RawPeak != y.RawPeak || x.PeakValue != y.PeakValue || x.DisplayDivisor != y.DisplayDivisor)
            return Channel(k) + "numbers";
        if (x.Samples != y.Samples) return Channel(k) + "samples";
    }
    return "";
}

std::string NonNumbersIn(const std::string& text, size_t first) {
    size_t line = 0;
    for (size_t start = 0; start < text.size(); ++line) {
        size_t end = std::min(text.find('\n', start), text.size());
        if (line >= first) {
            std::string lower = text.substr(start, end - start);
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos)
                return "line " + std::to_string(line + 1) + ": " +
                       text.substr(start, std::min<size_t>(end - start, 120));
        }
        start = end + 1;
    }
    return "";
}

ReplayResult ReplayFile(const ReaderEntry& reader, const std::string& path, unsigned variant,
                        const std::string& scratchFolder) {
    ReplayResult replay;
    const WaveRecord previous = PreviousRecord();
    WaveRecord record = PreviousRecord();
    std::string progressProblem;
    replay.Result = reader.Read(path, record, [&](const std::string& what, double fraction) {
        if (what.empty() || !(fraction >= 0.0 && fraction <= 1.0)) progressProblem = "progress out of 0..1";
        return true;
    });
    if (!progressProblem.empty()) {
        replay.Problem = progressProblem;
        return replay;
    }
    if (!replay.Result.Ok()) {
        if (replay.Result.Error->Text.empty() || replay.Result.Error->Caption.empty())
            replay.Problem = "a failure without a message";
        else if (std::string diff = CompareRecords(record, previous); !diff.empty())
            replay.Problem = "a failed read changed the record: " + diff;
        return replay;
    }
    if (std::string bad = CheckReadRecord(record, reader.Format); !bad.empty()) {
        replay.Problem = bad;
        return replay;
    }
    for (const Failure& w : replay.Result.Warnings)
        if (w.Text.empty()) replay.Problem = "a warning without a message";

    // The processing, the files and a spectrum, for records small enough to be quick.
    const int64_t values = int64_t(record.SampleCount) * record.ChannelCount;
    if (values > 4096) return replay;
    LoadOptions options;
    options.Format = reader.Format;
    options.DcCut = (variant & 1) != 0;
    options.IntegrationOn = (variant & 2) != 0;
    options.ClipOn = (variant & 4) != 0;
    options.ClipFraction = 0.8f;
    FilterState filter;
    if ((variant & 8) && values <= 1024) {
        filter.Mode = FilterMode::Default;
        filter.Active = true;
    }
    record.FilePath = path;
    ProcessRecord(record, options, filter);
    for (int k = 0; k < record.ChannelCount; ++k) {
        const ChannelInfo& ch = record.Channels[k];
        if (!std::isfinite(ch.ScaleFactor) || !(ch.ScaleFactor > 0) || !std::isfinite(ch.PeakValue)) {
            replay.Problem = Channel(k) + "scale factor or peak value after processing";
            return replay;
        }
    }
    replay.Problem = CheckAnalysedDataFile(record, filter, scratchFolder + "/replay-analysed.csv");
    if (replay.Problem.empty()) replay.Problem = CheckSpectrumFile(record, filter, variant);
    return replay;
}

}  // namespace wavora::test
