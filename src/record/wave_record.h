#pragma once
// The one loaded record: up to 8 channels of 16-bit samples with one float scale per channel,
// and the header facts read from the data file. Physical value = sample × ScaleFactor.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/dbl_header.h"
#include "record/progress.h"
#include "record/time_unit.h"

namespace wavora {

inline constexpr int kMaxChannels = 8;

// Field widths in encoded (code page 932) bytes; longer texts are cut, never splitting a character.
inline constexpr int kNameWidth = 31;
inline constexpr int kUnitWidth = 19;
inline constexpr int kRateUnitWidth = 9;
inline constexpr int kTitleWidth = 32;
inline constexpr int kDateWidth = 19;

// The largest magnitude a physical value (sample × ScaleFactor) may have in a record: far beyond any
// measurement, and small enough that the sums inside the transforms and statistics of any segment
// stay within the float range. Readers refuse files whose values go beyond it.
inline constexpr float kLargestPhysicalValue = 1e30f;

struct ChannelInfo {
    std::string Name;         // channel (site) name
    std::string Unit;         // unit as found in the file
    std::string DisplayUnit;  // unit of the physical values as shown and written
    float ScaleFactor = 1.0f;
    float BaseScaleFactor = 1.0f;  // ScaleFactor before the filter gain was applied
    std::vector<int16_t> Samples;
    int32_t RawPeak = 0;
    float PeakValue = 0.0f;
    int16_t DisplayDivisor = 1024;
};

struct WaveRecord {
    std::string FilePath = "sample.dbl";
    std::string FileName;
    int32_t ChannelCount = 0;
    int32_t SampleCount = 0;
    int32_t SamplingRate = 0;
    float SamplingInterval = 0.0f;
    std::string RateUnitText;
    std::string DateText;
    std::string Title;
    std::string Comment;
    DblHeader Header;       // image of an SPC-51 header; other readers touch only its texts
    int64_t FileSize = -1;  // size of an SPC-51 file when it was read (-1 when not known)

    TimeUnit Time = TimeUnit::Seconds;
    FormatType Format = FormatType::CsvDefault;

    std::array<ChannelInfo, kMaxChannels> Channels;

    bool HasSamples() const { return ChannelCount > 0 && !Channels[0].Samples.empty(); }
    const char* TimeText() const { return wavora::TimeText(Time); }
    const char* FrequencyText() const { return wavora::FrequencyText(Time); }
};

// Frees the previous samples of the first `channels` slots and gives each a zero-filled array of
// `samples` elements. Returns false, leaving the slots empty, when the memory cannot be had
// (also when the request is far beyond the machine's memory, where a zero-filled allocation would
// only get the program killed).
bool AllocateSamples(WaveRecord& record, int channels, int64_t samples);

// The most bytes the samples of one record may take: half the machine's memory unless lowered.
// The fuzz targets lower it, so that a header claiming billions of samples meets the memory
// failure the reader reports instead of exhausting the fuzzer's own memory limit.
int64_t SampleMemoryLimit();
void SetSampleMemoryLimit(int64_t bytes);  // 0 or less: back to half the machine's memory

// The same for a long allocation: the arrays are zero-filled a piece at a time, and `progress` is
// told the fraction done (under `what`) between pieces. A cancel frees the arrays again.
enum class AllocateResult { Done, OutOfMemory, Cancelled };
AllocateResult AllocateSamples(WaveRecord& record, int channels, int64_t samples, const Progress& progress,
                               const std::string& what);

// A copy of the record's header state without any samples: the scratch record a load reads
// into, so that a failed read leaves the record the user has open untouched.
WaveRecord HeaderCopy(const WaveRecord& record);

// The record a reader fills: nothing of the previous record but the path and name of the file
// being read and the time unit (which a standard CSV file with an unknown unit word keeps). Each
// load starts from the new file alone: no title, comment, names or header bytes of an earlier file.
WaveRecord FreshRecord(const WaveRecord& previous);

// The name and extension of a path, without its folders.
std::string FileNameOf(const std::string& path);
// The text after the last "." of the file name ("" when there is none).
std::string ExtensionOf(const std::string& path);
// Case-insensitive ASCII comparison.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace wavora
