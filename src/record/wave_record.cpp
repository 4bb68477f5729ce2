#include "record/wave_record.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <new>

namespace wavora {

namespace {

std::atomic<int64_t> memoryLimit{0};

// Zero-filling an array touches every page, so a request beyond the machine's memory would not
// fail cleanly; it is refused up front instead.
bool WithinMemory(int64_t bytes) {
    return bytes <= SampleMemoryLimit();
}

}  // namespace

int64_t SampleMemoryLimit() {
    if (int64_t limit = memoryLimit.load(); limit > 0) return limit;
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return INT64_MAX;
    return static_cast<int64_t>(pages) * pageSize / 2;
}

void SetSampleMemoryLimit(int64_t bytes) {
    memoryLimit = bytes;
}

bool AllocateSamples(WaveRecord& record, int channels, int64_t samples) {
    return AllocateSamples(record, channels, samples, Progress(), std::string()) == AllocateResult::Done;
}

AllocateResult AllocateSamples(WaveRecord& record, int channels, int64_t samples, const Progress& progress,
                               const std::string& what) {
    const int used = std::clamp(channels, 0, kMaxChannels);
    auto release = [&] {
        for (int k = 0; k < used; ++k) std::vector<int16_t>().swap(record.Channels[k].Samples);
    };
    release();
    if (samples < 0 || !WithinMemory(samples * used * int64_t(sizeof(int16_t))))
        return AllocateResult::OutOfMemory;
    // Pieces of 16 MB: a few milliseconds each, so a cancel is answered at once.
    constexpr int64_t kPiece = int64_t(1) << 23;
    const double total = static_cast<double>(samples) * used;
    try {
        for (int k = 0; k < used; ++k) {
            std::vector<int16_t>& s = record.Channels[k].Samples;
            s.reserve(static_cast<size_t>(samples));
            for (int64_t done = 0; done < samples;) {
                done = std::min(samples, done + kPiece);
                s.resize(static_cast<size_t>(done));
                if (samples > kPiece &&
                    !Report(progress, what, (static_cast<double>(k) * samples + done) / total)) {
                    release();
                    return AllocateResult::Cancelled;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        release();
        return AllocateResult::OutOfMemory;
    }
    return AllocateResult::Done;
}

WaveRecord HeaderCopy(const WaveRecord& record) {
    WaveRecord copy;
    copy.FilePath = record.FilePath;
    copy.FileName = record.FileName;
    copy.ChannelCount = record.ChannelCount;
    copy.SampleCount = record.SampleCount;
    copy.SamplingRate = record.SamplingRate;
    copy.SamplingInterval = record.SamplingInterval;
    copy.RateUnitText = record.RateUnitText;
    copy.DateText = record.DateText;
    copy.Title = record.Title;
    copy.Comment = record.Comment;
    copy.Header = record.Header;
    copy.FileSize = record.FileSize;
    copy.Time = record.Time;
    copy.Format = record.Format;
    for (int k = 0; k < kMaxChannels; ++k) {
        const ChannelInfo& from = record.Channels[k];
        ChannelInfo& to = copy.Channels[k];
        to.Name = from.Name;
        to.Unit = from.Unit;
        to.DisplayUnit = from.DisplayUnit;
        to.ScaleFactor = from.ScaleFactor;
        to.BaseScaleFactor = from.BaseScaleFactor;
        to.RawPeak = from.RawPeak;
        to.PeakValue = from.PeakValue;
        to.DisplayDivisor = from.DisplayDivisor;
    }
    return copy;
}

WaveRecord FreshRecord(const WaveRecord& previous) {
    WaveRecord fresh;
    fresh.FilePath = previous.FilePath;
    fresh.FileName = previous.FileName;
    fresh.Time = previous.Time;
    fresh.Format = previous.Format;
    return fresh;
}

std::string FileNameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
    std::string name = FileNameOf(path);
    auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace wavora
