#include "record/dbl_header.h"

#include <algorithm>
#include <cstring>

namespace wavora {

int16_t ReadLeI16(const uint8_t* p) {
    return static_cast<int16_t>(ReadLeU16(p));
}
uint16_t ReadLeU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int32_t ReadLeI32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                                (uint32_t(p[3]) << 24));
}
float ReadLeF32(const uint8_t* p) {
    uint32_t bits = static_cast<uint32_t>(ReadLeI32(p));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
void WriteLeI16(uint8_t* p, int16_t v) {
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}
void WriteLeI32(uint8_t* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>((u >> (8 * i)) & 0xFF);
}
void WriteLeF32(uint8_t* p, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteLeI32(p, static_cast<int32_t>(bits));
}

std::string TrimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

std::string DblHeader::RawText(int offset, int length) const {
    const char* begin = reinterpret_cast<const char*>(Bytes.data() + offset);
    const char* end = static_cast<const char*>(std::memchr(begin, 0, static_cast<size_t>(length)));
    return std::string(begin, end ? end : begin + length);
}

void DblHeader::SetRawText(int offset, int length, const std::string& cp932) {
    std::fill(Bytes.begin() + offset, Bytes.begin() + offset + length, uint8_t(' '));
    std::memcpy(Bytes.data() + offset, cp932.data(),
                std::min<size_t>(cp932.size(), static_cast<size_t>(length)));
}

int16_t DblHeader::ReadI16(int offset) const {
    return ReadLeI16(Bytes.data() + offset);
}
int32_t DblHeader::ReadI32(int offset) const {
    return ReadLeI32(Bytes.data() + offset);
}
float DblHeader::ReadF32(int offset) const {
    return ReadLeF32(Bytes.data() + offset);
}
void DblHeader::WriteI16(int offset, int16_t v) {
    WriteLeI16(Bytes.data() + offset, v);
}
void DblHeader::WriteI32(int offset, int32_t v) {
    WriteLeI32(Bytes.data() + offset, v);
}

}  // namespace wavora
