#include "formats/spc_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "record/text_codec.h"
#include "record/text_format.h"

namespace wavora {

namespace {

constexpr int kFramesPerBlock = 2048;
constexpr const char* kSpc51Tag = "A-TLADX VER4.";
const char* const kProgressText = "Reading data file";

std::string TextUpToNul(const uint8_t* bytes, int length) {
    const char* begin = reinterpret_cast<const char*>(bytes);
    const void* nul = std::memchr(begin, 0, static_cast<size_t>(length));
    return std::string(begin, nul ? static_cast<const char*>(nul) : begin + length);
}

Failure NegativeSampleCountFailure(int64_t count) {
    return HeaderValueFailure("The file header gives a negative number of samples (" + std::to_string(count) +
                              ").");
}

Failure NoSamplesFailure() {
    return HeaderValueFailure("The file header gives 0 samples per channel; there is nothing to read.");
}

Failure SamplingRateFailure(int64_t rate) {
    return HeaderValueFailure("The file header gives a sampling rate of " + std::to_string(rate) +
                              "; it must be above 0.");
}

// The counts every binary header must hold for the record to make sense.
std::optional<Failure> CheckCounts(int64_t channels, int64_t samples, int64_t rate) {
    if (channels < 1 || channels > kMaxChannels) return ChannelCountFailure(channels);
    if (samples < 0) return NegativeSampleCountFailure(samples);
    if (samples == 0) return NoSamplesFailure();
    if (rate <= 0) return SamplingRateFailure(rate);
    return std::nullopt;
}

// The scale factor of an SPC-51 channel entry as it stands in the file (before the factor 1000
// of mm and kine), when it gives finite physical values for every sample; the message otherwise.
std::optional<Failure> CheckSpc51Scale(int channel, const std::string& name, float scale, float factor) {
    // Every sample times the scale must be a normal float within the range of physical values: the
    // largest magnitude of a 16-bit sample is 32768.
    const float smallest = std::numeric_limits<float>::min();
    const float largest = kLargestPhysicalValue / 32768.0f / factor;
    if (std::isfinite(scale) && scale >= smallest && scale <= largest) return std::nullopt;
    std::string label = "channel " + std::to_string(channel + 1);
    if (!name.empty()) label += " (" + name + ")";
    return HeaderValueFailure(StrPrintf("The scale factor of %s is %g; it must be a number from %g to %g.",
                                        label.c_str(), static_cast<double>(scale),
                                        static_cast<double>(smallest), static_cast<double>(largest)));
}

Outcome BlockFailure(const SampleBlockResult& result) {
    if (result.OutOfMemory) return Outcome::Fail(MemoryFailure());
    return Outcome::Fail(CancelledFailure());
}

}  // namespace

DblChannelEntry DblChannelEntry::FromBytes(const uint8_t* bytes) {
    DblChannelEntry entry;
    std::memcpy(entry.Bytes.data(), bytes, kSize);
    return entry;
}

std::string DblChannelEntry::RawName() const {
    return TrimRight(TextUpToNul(Bytes.data() + kNameOffset, kNameLength));
}

std::string DblChannelEntry::RawUnit() const {
    return TrimRight(TextUpToNul(Bytes.data() + kUnitOffset, kUnitLength));
}

void DblChannelEntry::SetRawName(const std::string& cp932) {
    std::fill_n(Bytes.begin() + kNameOffset, kNameLength, uint8_t(' '));
    std::memcpy(Bytes.data() + kNameOffset, cp932.data(), std::min<size_t>(cp932.size(), kNameLength));
}

Spc35Header Spc35Header::FromBytes(const uint8_t* b) {
    Spc35Header h;
    h.Year = ReadLeI16(b + 6);
    h.Month = ReadLeI16(b + 8);
    h.Day = ReadLeI16(b + 10);
    h.Hour = ReadLeI16(b + 12);
    h.Minute = ReadLeI16(b + 14);
    h.Second = ReadLeI16(b + 16);
    h.SampleCount = ReadLeI32(b + 20);
    h.ChannelCount = ReadLeI16(b + 24);
    h.SamplingRate = ReadLeI16(b + 26);
    h.UnitCode = ReadLeI16(b + 60);
    h.HasCheckBytes = b[108] == 'S' && b[110] == 'P' && b[112] == 'C';
    return h;
}

const char* Spc35UnitText(int code) {
    switch (code) {
        case 0:
            return "\xCE\xBC";  // μ
        case 1:
            return "mkine";
        case 2:
            return "Gal";
        default:
            return "";
    }
}

SampleBlockResult ReadSampleBlocks(std::FILE* file, WaveRecord& record, int channels, int32_t sampleCount,
                                   const Progress& progress) {
    SampleBlockResult result;
    // A file shorter than its header says is read quickly, while the zero-filled arrays for the
    // header's count may take a while: the progress shares the two by their sizes.
    int64_t expected = sampleCount;
    struct stat st {};
    const long at = std::ftell(file);
    if (fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode) && at >= 0)
        expected = std::min<int64_t>(sampleCount, (static_cast<int64_t>(st.st_size) - at) / 2 / channels);
    expected = std::max<int64_t>(expected, 0);
    const double share =
        sampleCount > 0 ? static_cast<double>(sampleCount) / (double(sampleCount) + expected) : 0;
    switch (AllocateSamples(record, channels, sampleCount, StageOf(progress, 0.0, share), kProgressText)) {
        case AllocateResult::Done:
            break;
        case AllocateResult::OutOfMemory:
            result.OutOfMemory = true;
            return result;
        case AllocateResult::Cancelled:
            result.Cancelled = true;
            return result;
    }
    const size_t blockBytes = size_t(2) * static_cast<size_t>(channels) * kFramesPerBlock;
    std::vector<uint8_t> block;
    try {
        block.resize(blockBytes);
    } catch (const std::bad_alloc&) {
        result.OutOfMemory = true;
        return result;
    }
    std::array<int16_t*, kMaxChannels> out{};
    for (int k = 0; k < channels; ++k) out[k] = record.Channels[k].Samples.data();
    for (int blocks = 1;; ++blocks) {
        size_t got = std::fread(block.data(), 1, blockBytes, file);
        int64_t frames = static_cast<int64_t>(got / 2) / channels;
        for (int64_t f = 0; f < frames; ++f) {
            int64_t at = result.FramesRead + f;
            if (at >= sampleCount) break;
            const uint8_t* word = block.data() + 2 * f * channels;
            for (int k = 0; k < channels; ++k) out[k][at] = ReadLeI16(word + 2 * k);
        }
        result.FramesRead += frames;
        if (got < blockBytes) break;
        if (blocks % 64 == 0 && expected > 0 &&
            !Report(progress, kProgressText,
                    share + (1.0 - share) * std::min(1.0, static_cast<double>(result.FramesRead) /
                                                              static_cast<double>(expected)))) {
            result.Cancelled = true;
            return result;
        }
    }
    Report(progress, kProgressText, 1.0);
    return result;
}

Outcome ReadSpc51(const std::string& path, WaveRecord& record, const Progress& progress) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return Outcome::Fail(FileOpenFailure());
    WaveRecord staged = FreshRecord(record);

    DblHeader& header = staged.Header;
    header.Bytes.fill(0);
    size_t got = std::fread(header.Bytes.data(), 1, DblHeader::kSize, file.get());
    std::string_view tag(reinterpret_cast<const char*>(header.Bytes.data()), DblHeader::kTagLength);
    if (got < DblHeader::kTagLength || !EqualsNoCase(tag, kSpc51Tag))
        return Outcome::Fail(Failure::Notice("  Not SPC51 Data File!  "));
    if (got < DblHeader::kSize) return Outcome::Fail(TruncatedHeaderFailure());

    const int channels = header.ChannelCount();
    const int32_t samples = header.SampleCount();
    if (auto failure = CheckCounts(channels, samples, header.SamplingRate())) return Outcome::Fail(*failure);

    std::vector<uint8_t> entries(static_cast<size_t>(DblChannelEntry::kSize) * channels);
    if (std::fread(entries.data(), 1, entries.size(), file.get()) != entries.size())
        return Outcome::Fail(TruncatedHeaderFailure());
    for (int k = 0; k < channels; ++k) {
        DblChannelEntry entry = DblChannelEntry::FromBytes(entries.data() + DblChannelEntry::kSize * k);
        ChannelInfo& ch = staged.Channels[k];
        // The meter's own 32-byte name is kept whole.
        ch.Name = DecodeFileText(entry.RawName());
        const std::string unit = entry.RawUnit();
        ch.Unit = DecodeFileText(unit);
        // Millimetres and kine become microns and millikine; gal stays gal, whatever its case.
        const bool gal = !unit.empty() && (unit[0] == 'g' || unit[0] == 'G');
        const float factor = gal ? 1.0f : 1000.0f;
        // A scale that is not a number, not above 0 or so large that the samples go beyond the
        // range of physical values would spoil every value, spectrum and file made from the channel.
        if (auto failure = CheckSpc51Scale(k, ch.Name, entry.Scale(), factor)) return Outcome::Fail(*failure);
        ch.ScaleFactor = entry.Scale() * factor;
        ch.RawPeak = static_cast<int32_t>(
            std::min<int64_t>(std::max<int64_t>(entry.MaxRaw(), -int64_t(entry.MinRaw())), INT32_MAX));
        if (EqualsNoCase(unit, "mm"))
            ch.DisplayUnit = "micron";
        else if (EqualsNoCase(unit, "kine"))
            ch.DisplayUnit = "mkine";
        else if (EqualsNoCase(unit, "gal"))
            ch.DisplayUnit = "Gal";
        else
            ch.DisplayUnit = ch.Unit;  // an unknown unit is shown as the file gives it
    }

    // A file shorter than its header says loads with the missing samples left at 0.
    SampleBlockResult blocks = ReadSampleBlocks(file.get(), staged, channels, samples, progress);
    if (blocks.OutOfMemory || blocks.Cancelled) return BlockFailure(blocks);

    struct stat st {};
    staged.FileSize = fstat(fileno(file.get()), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    staged.Format = FormatType::Spc51;
    staged.Time = TimeUnit::Seconds;
    staged.ChannelCount = channels;
    staged.SampleCount = samples;
    staged.SamplingRate = header.SamplingRate();
    staged.Title =
        DecodeFileText(TrimRight(header.RawText(DblHeader::kTitleOffset, DblHeader::kTitleLength)));
    staged.DateText = DecodeFileText(header.RawText(DblHeader::kDateOffset, DblHeader::kDateLength));
    staged.Comment =
        DecodeFileText(TrimRight(header.RawText(DblHeader::kCommentOffset, DblHeader::kCommentLength)));
    record = std::move(staged);
    return Outcome{};
}

Outcome ReadSpc35(const std::string& path, WaveRecord& record, const Progress& progress) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return Outcome::Fail(FileOpenFailure());

    std::array<uint8_t, Spc35Header::kSize> bytes{};
    size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (got <= 112 || !Spc35Header::FromBytes(bytes.data()).HasCheckBytes)
        return Outcome::Fail(Failure::Notice("  Not SPC35N Data Format!!  "));
    if (got < Spc35Header::kSize) return Outcome::Fail(TruncatedHeaderFailure());
    const Spc35Header header = Spc35Header::FromBytes(bytes.data());
    const int channels = header.ChannelCount;
    if (auto failure = CheckCounts(channels, header.SampleCount, header.SamplingRate))
        return Outcome::Fail(*failure);

    const Failure dataNumber = Failure::Notice("  Data Number incorrect!!  ");
    // The frame count is known from the file size: a header count that does not match is refused
    // before any memory is taken for it.
    struct stat st {};
    if (fstat(fileno(file.get()), &st) == 0 && S_ISREG(st.st_mode)) {
        int64_t frames = (static_cast<int64_t>(st.st_size) - Spc35Header::kDataOffset) / 2 / channels;
        if (frames != header.SampleCount) return Outcome::Fail(dataNumber);
    }

    WaveRecord staged = FreshRecord(record);
    SampleBlockResult blocks = ReadSampleBlocks(file.get(), staged, channels, header.SampleCount, progress);
    if (blocks.OutOfMemory || blocks.Cancelled) return BlockFailure(blocks);
    if (blocks.FramesRead != header.SampleCount) return Outcome::Fail(dataNumber);

    Outcome outcome;
    const char* unit = Spc35UnitText(header.UnitCode);
    if (header.UnitCode < 0 || header.UnitCode > 2)
        outcome.Warnings.push_back(
            Failure::Notice("The file header gives the unit code " + std::to_string(header.UnitCode) +
                            ", which is not known; the values are shown without a unit."));
    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = staged.Channels[k];
        // Offset binary: 32768 is zero.
        for (int16_t& s : ch.Samples) s = static_cast<int16_t>(static_cast<uint16_t>(s) ^ 0x8000u);
        ch.ScaleFactor = 0.001f;
        ch.Unit = unit;
        ch.DisplayUnit = unit;
    }
    char date[96];
    std::snprintf(date, sizeof date, "%d/%02d/%02d %02d:%02d:%02d", header.Year, header.Month, header.Day,
                  header.Hour, header.Minute, header.Second);
    staged.DateText = date;
    staged.Format = FormatType::Spc35;
    staged.Time = TimeUnit::Seconds;
    staged.ChannelCount = channels;
    staged.SampleCount = header.SampleCount;
    staged.SamplingRate = header.SamplingRate;
    record = std::move(staged);
    return outcome;
}

}  // namespace wavora
