#include "formats/data_writers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>

#include "record/text_codec.h"

namespace wavora {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The unit word of line 2. The word read from the file is written back, unless it would make
// the file read back in another time unit than the record's (a word from an earlier file, or one
// the reader did not know): then the record's own time text is written.
std::string RateUnitWord(const WaveRecord& record) {
    TimeUnit unit = record.Time;
    const std::string word = CsvTextField(record.RateUnitText, kRateUnitWidth);
    if (TimeUnitFromWord(word, unit) && unit == record.Time) return word;
    return record.TimeText();
}

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string CsvTextField(std::string_view utf8, size_t width) {
    std::string field(utf8);
    for (char& c : field) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ',') c = ' ';
    }
    // What the file can hold: a character without a code-page-932 form is written as "?".
    field = DecodeFileText(EncodeFileText(field));
    size_t begin = 0, end = field.size();
    while (begin < end && IsBlankOrTab(field[begin])) ++begin;
    while (end > begin && IsBlankOrTab(field[end - 1])) --end;
    field = field.substr(begin, end - begin);
    if (width != std::string::npos) {
        field = CutToFileWidth(field, width);
        while (!field.empty() && IsBlankOrTab(field.back())) field.pop_back();
    }
    return field;
}

double FileNumber(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (std::isnan(value)) return 0.0;
    return std::clamp(value, -kLargest, kLargest);
}

std::optional<Failure> EmptyFileNameFailure(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (!name.empty() && name != "." && name != "..") return std::nullopt;
    const std::string text = path.empty() ? std::string("No file name was given.")
                                          : "\"" + path + "\" names a folder, not a file.";
    return Failure::Captioned(text, "File Name Error");
}

std::string FilterLine(const FilterState& filter, int32_t samplingRate, const char* frequencyText) {
    double lower = 1.0, upper = samplingRate * 0.5 * 0.75;
    switch (filter.Mode) {
        case FilterMode::Unfiltered:
            return "FILTER,Unfiltered";
        case FilterMode::Default:
            break;
        case FilterMode::Arbitrary:
            lower = filter.ArbitraryLower;
            upper = filter.ArbitraryUpper;
            break;
    }
    char line[160];
    std::snprintf(line, sizeof line, "FILTER,BANDPASS,%.2f%s-%.2f%s", lower, frequencyText, upper,
                  frequencyText);
    return line;
}

std::string AppendExtensionIfMissing(const std::string& path, const std::string& extension) {
    if (!ExtensionOf(path).empty()) return path;
    std::string ext = !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
    return !path.empty() && path.back() == '.' ? path + ext : path + "." + ext;
}

void AppendScientific10_3(std::string& out, double value) {
    // std::to_chars rounds exactly as printf does ("%.3e"), at a fraction of its cost.
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 3);
    size_t length = static_cast<size_t>(result.ptr - text);
    if (length < 10) out.append(10 - length, ' ');
    out.append(text, length);
}

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {
    // A fresh name beside the target; the mode of a new file (0666 less the umask) as for any file.
    std::random_device seed;
    std::mt19937 rng(seed());
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
        temporary_ = path_ + ".tmp" + std::to_string(rng() % 1000000);
        int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        file_ = ::fdopen(fd, "wb");
        if (!file_) {
            ::close(fd);
            ::unlink(temporary_.c_str());
        }
    }
    if (!file_) temporary_.clear();
}

SafeFileWriter::~SafeFileWriter() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void SafeFileWriter::Write(const std::string& bytes) {
    if (!file_ || failed_) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

SafeFileWriter::Result SafeFileWriter::Commit() {
    if (!file_) return Result::WriteFailed;
    bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) return Result::WriteFailed;  // the destructor removes the temporary file
    struct stat existing;
    const bool replacing = ::stat(path_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) return Result::RenameFailed;
    committed_ = true;
    if (replacing) ::chmod(path_.c_str(), existing.st_mode & 07777);
    return Result::Done;
}

Failure SafeFileWriter::OpenFailure() {
    return Failure::Captioned("File open error", "FILE OPEN ERROR");
}

Failure SafeFileWriter::WriteFailure() {
    return Failure::Captioned("File write error", "FILE WRITE ERROR");
}

Outcome SafeFileWriter::Finish(const Failure& cannotCreate) {
    if (!Opened()) return Outcome::Fail(cannotCreate);
    switch (Commit()) {
        case Result::Done:
            return Outcome{};
        case Result::RenameFailed:
            return Outcome::Fail(cannotCreate);
        case Result::WriteFailed:
            break;
    }
    return Outcome::Fail(WriteFailure());
}

Outcome WriteAnalysedData(const std::string& path, const WaveRecord& record, const FilterState& filter,
                          int displayPosition, int points, bool allData) {
    SafeFileWriter writer(path);
    if (!writer.Opened()) return Outcome::Fail(SafeFileWriter::OpenFailure());

    const int channels = std::clamp(record.ChannelCount, 0, kMaxChannels);
    auto joined = [&](auto field) {
        std::string line;
        for (int k = 0; k < channels; ++k) line += (k ? "," : "") + field(record.Channels[k], k);
        return EncodeFileText(line) + kLineEnd;
    };
    writer.Write(joined([](const ChannelInfo& c, int k) {
        std::string name = CsvTextField(c.Name, kNameWidth);
        return name.empty() ? "CH" + std::to_string(k + 1) : name;
    }));
    writer.Write(EncodeFileText(std::to_string(record.SamplingRate) + "," + RateUnitWord(record)) + kLineEnd);
    writer.Write(EncodeFileText(FilterLine(filter, record.SamplingRate, record.FrequencyText())) + kLineEnd);
    writer.Write(joined([](const ChannelInfo& c, int) { return CsvTextField(c.DisplayUnit, kUnitWidth); }));

    int64_t first = 0, last = record.SampleCount;  // [first, last)
    if (!allData) {
        first = std::max(displayPosition, 0);
        last = std::min<int64_t>(int64_t(displayPosition) + std::max(points, 0), record.SampleCount);
    }
    std::string block;
    for (int64_t j = first; j < last; ++j) {
        for (int k = 0; k < channels; ++k) {
            const ChannelInfo& c = record.Channels[k];
            const int16_t sample = j < static_cast<int64_t>(c.Samples.size()) ? c.Samples[j] : 0;
            if (k) block += ',';
            AppendScientific10_3(block, FileNumber(static_cast<float>(sample * c.ScaleFactor)));
        }
        block += kLineEnd;
        if (block.size() > (size_t(1) << 20)) {
            writer.Write(block);
            block.clear();
        }
    }
    writer.Write(block);
    return writer.Finish();
}

}  // namespace wavora
