#pragma once
// The binary .dbl files of the SPC-51 and SPC-35 vibration meters: the SPC-51 channel entry, the
// SPC-35 header, and the sample-block reader both readers share. ReadSpc51 and ReadSpc35 are
// declared in formats/data_readers.h.
//
// How the readers treat what is out of the ordinary:
// - A file that ends within its header, a channel count outside 1..8, a sample count of 0 or less
//   and a sampling rate of 0 or less are refused ("File Error"); the caller's record is left as it
//   was.
// - Each load starts from the file alone: an SPC-35 record has no title, comment or channel names,
//   whatever record was open before.
// - SPC-51: a sample count beyond the machine's memory is a memory failure; a unit that starts with
//   "g" in either case (gal) is not multiplied by 1000; a unit other than mm, kine and gal is shown
//   as the file gives it; names keep all their 32 bytes. A channel whose scale factor is not a
//   number, not above 0, below the normal float range, or so large that a sample times it goes
//   beyond ±1e30 (kLargestPhysicalValue) is refused with a message naming the channel. A file
//   shorter than its header says loads with zeros for the missing frames; the zero-filled arrays
//   report progress and can be cancelled.
// - SPC-35: the frame count is checked against the file size before memory is taken; a unit code
//   outside 0..2 loads without a unit and with a warning.

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "record/progress.h"
#include "record/wave_record.h"

namespace wavora {

// One 96-byte SPC-51 channel entry; entry k starts at 512 + 96 × k. The bytes are kept as read so
// that the comment editor can write back what the program does not interpret.
struct DblChannelEntry {
    static constexpr int kSize = 96;
    static constexpr int kNameOffset = 0, kNameLength = 32;
    static constexpr int kUnitOffset = 32, kUnitLength = 8;
    static constexpr int kScaleOffset = 48;
    static constexpr int kMaxOffset = 60;
    static constexpr int kMinOffset = 64;

    std::array<uint8_t, kSize> Bytes{};

    static DblChannelEntry FromBytes(const uint8_t* bytes);
    static int64_t OffsetOf(int channel) { return 512 + int64_t(kSize) * channel; }

    // Name and unit as code page 932 bytes: up to the first NUL, trailing blanks removed.
    std::string RawName() const;
    std::string RawUnit() const;
    // Writes the name blank padded (longer text is cut to the field).
    void SetRawName(const std::string& cp932);
    float Scale() const { return ReadLeF32(Bytes.data() + kScaleOffset); }
    int32_t MaxRaw() const { return ReadLeI32(Bytes.data() + kMaxOffset); }
    int32_t MinRaw() const { return ReadLeI32(Bytes.data() + kMinOffset); }
};

// The 256-byte SPC-35 header, as far as the program reads it.
struct Spc35Header {
    static constexpr int kSize = 256;
    static constexpr int kDataOffset = 256;

    int16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    int32_t SampleCount = 0;
    int16_t ChannelCount = 0;
    int16_t SamplingRate = 0;
    int16_t UnitCode = 0;
    bool HasCheckBytes = false;  // "S", "P", "C" at 108, 110 and 112

    static Spc35Header FromBytes(const uint8_t* bytes);
};

// The unit text of an SPC-35 unit code: 0 "μ", 1 "mkine", 2 "Gal"; "" for any other code.
const char* Spc35UnitText(int code);

// What the sample-block reader did.
struct SampleBlockResult {
    int64_t FramesRead = 0;    // complete frames in the file, also those beyond the sample count
    bool OutOfMemory = false;  // the sample arrays could not be had (nothing read)
    bool Cancelled = false;    // the progress callback asked to stop
};

// Reads the frames of `channels` interleaved 16-bit little-endian words from the file's current
// position, 2048 frames at a time. Frees the previous samples of the first `channels` slots of the
// record, gives each a zero-filled array of `sampleCount` elements, and stores frame f in sample f
// of every channel (channel 1 from the first word); frames beyond `sampleCount` are counted only.
// The words are stored as they are; the SPC-35 reader shifts them from offset binary afterwards.
SampleBlockResult ReadSampleBlocks(std::FILE* file, WaveRecord& record, int channels, int32_t sampleCount,
                                   const Progress& progress = {});

}  // namespace wavora
