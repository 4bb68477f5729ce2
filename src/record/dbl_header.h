#pragma once
// The 512-byte header image of an SPC-51 file. The program keeps the bytes as read so that the
// comment editor can write back what it does not interpret; the accessors read the known fields.

#include <array>
#include <cstdint>
#include <string>

namespace wavora {

struct DblHeader {
    static constexpr int kSize = 512;
    static constexpr int kTagOffset = 0, kTagLength = 13;
    static constexpr int kTitleOffset = 16, kTitleLength = 32;
    static constexpr int kDateOffset = 48, kDateLength = 19;
    static constexpr int kSampleCountOffset = 112;
    static constexpr int kChannelCountOffset = 118;
    static constexpr int kSamplingRateOffset = 120;
    static constexpr int kCommentOffset = 130, kCommentLength = 32;

    std::array<uint8_t, kSize> Bytes{};

    int32_t SampleCount() const { return ReadI32(kSampleCountOffset); }
    int16_t ChannelCount() const { return ReadI16(kChannelCountOffset); }
    int16_t SamplingRate() const { return ReadI16(kSamplingRateOffset); }
    void SetSamplingRate(int16_t rate) { WriteI16(kSamplingRateOffset, rate); }

    // Raw bytes of a text field up to its first NUL (code page 932).
    std::string RawText(int offset, int length) const;
    // Writes text into a field, blank padded (longer text is cut to the field).
    void SetRawText(int offset, int length, const std::string& cp932);
    void ClearText(int offset, int length) { SetRawText(offset, length, ""); }

    int16_t ReadI16(int offset) const;
    int32_t ReadI32(int offset) const;
    float ReadF32(int offset) const;
    void WriteI16(int offset, int16_t v);
    void WriteI32(int offset, int32_t v);
};

// Little-endian field access on any byte buffer (headers of both meters, channel entries).
int16_t ReadLeI16(const uint8_t* p);
uint16_t ReadLeU16(const uint8_t* p);
int32_t ReadLeI32(const uint8_t* p);
float ReadLeF32(const uint8_t* p);
void WriteLeI16(uint8_t* p, int16_t v);
void WriteLeI32(uint8_t* p, int32_t v);
void WriteLeF32(uint8_t* p, float v);

// Trailing blanks (and NULs) removed.
std::string TrimRight(std::string s);

}  // namespace wavora
