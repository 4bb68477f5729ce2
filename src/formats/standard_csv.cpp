#include "formats/standard_csv.h"

#include <fast_float/fast_float.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <bit>
#include <cstring>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "record/line_split.h"
#include "record/text_codec.h"
#include "record/time_unit.h"

namespace wavora {

namespace {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The plain way to read a field's number; the row parser below must always agree with it.
float ReferenceValue(const char* p, const char* end) {
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    // Only digits or a point may follow: this keeps "inf", "nan" and a second sign out.
    if (p == end || !(IsDigit(*p) || *p == '.')) return 0.0f;
    bool negative = *start == '-';
    double d = 0.0;
    auto result = fast_float::from_chars(p, end, d);
    if (result.ptr == p || (result.ec != std::errc() && !std::isinf(d))) return 0.0f;
    float f = static_cast<float>(d);
    if (std::isinf(f)) f = FLT_MAX;
    return negative ? -f : f;
}

// ---- The row parser: both passes of the reader spend nearly all their time here. It relies on
// the character after the row (a line feed or carriage return) to end the last number, so that
// no digit loop needs a bounds check; whatever is unusual goes to ReferenceValue.

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline unsigned DigitAt(const char* p) {
    return static_cast<unsigned char>(*p - '0');
}

// Where the field that goes on at p ends: at its comma or at the line end.
inline const char* FieldEnd(const char* p, const char* end) {
    while (p < end && *p != ',') ++p;
    return p;
}

// The value of the field starting at a, its first non-blank character; *after is set past the
// number (to a when there is none).
inline float FieldValue(const char* a, const char* end, const char** after) {
    const char first = *a;
    const bool negative = first == '-';
    const char* p = a + ((first == '-') | (first == '+'));
    const char* digitsStart = p;
    uint64_t mantissa = 0;  // wraps beyond 19 digits, which then go the reference way
    unsigned d;
    while ((d = DigitAt(p)) < 10) {
        mantissa = mantissa * 10 + d;
        ++p;
    }
    ptrdiff_t digits = p - digitsStart;
    int exponent = 0;
    if (*p == '.') {
        const char* fraction = ++p;
        while ((d = DigitAt(p)) < 10) {
            mantissa = mantissa * 10 + d;
            ++p;
        }
        exponent = static_cast<int>(fraction - p);
        digits -= exponent;
    }
    *after = a;
    if (digits == 0) return 0.0f;
    *after = p;
    if ((*p | 0x20) == 'e') {
        const char* q = p + 1;
        const char sign = *q;
        q += (sign == '-') | (sign == '+');
        if (DigitAt(q) < 10) {
            int e = 0;
            while ((d = DigitAt(q)) < 10) {
                if (e < 100000) e = e * 10 + static_cast<int>(d);
                ++q;
            }
            exponent += sign == '-' ? -e : e;
            *after = q;
        }
    }
    if (digits > 19 || mantissa > (uint64_t(1) << 53) || exponent < -22 || exponent > 22)
        return ReferenceValue(a, FieldEnd(a, end));
    // An exact mantissa times or over an exact power of ten: one correctly rounded operation gives
    // the nearest double, as any correct parser would (at most 2^53 × 10^22, no float overflow).
    double m = static_cast<double>(mantissa);
    float f =
        static_cast<float>(exponent < 0 ? m / kExactPowersOfTen[-exponent] : m * kExactPowersOfTen[exponent]);
    // The sign by its bit rather than a branch: signs are as unpredictable as the data.
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    bits ^= static_cast<uint32_t>(negative) << 31;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Rows between two progress reports and cancel checks.
constexpr int64_t kRowsPerReport = 1 << 15;

const char* const kProgressText = "Reading data file";

}  // namespace

float ParseFieldValue(std::string_view field) {
    return ReferenceValue(field.data(), field.data() + field.size());
}

void ParseCsvRow(const char* s, const char* end, int channels, float* values) {
    int k = 0;
    while (k < channels) {
        s += IsBlank(*s);  // one blank without a branch: it comes and goes with the sign
        while (IsBlank(*s)) ++s;
        if (s == end) break;
        const char* after;
        values[k++] = FieldValue(s, end, &after);
        s = FieldEnd(after, end);  // the rest of the field, blanks included, is not part of the value
        if (s == end) break;
        ++s;
    }
    for (; k < channels; ++k) values[k] = 0.0f;
}

int16_t QuantiseSample(float value, float maximum) {
    if (maximum == 0.0f) return 0;
    // The product and quotient are meant in extended precision. A double gives the very same
    // truncated result, and much faster: value × 32000 is exact (24 + 8 significant bits), and a
    // quotient of such a product and a float that is not a whole number stays at least 2^-39 of
    // its size away from every whole number, far beyond the 2^-53 rounding of a double.
    double q = static_cast<double>(value) * 32000.0 / static_cast<double>(maximum);
    // A value above the maximum can only come from a file changed between the two passes.
    if (q > 32000.0) q = 32000.0;
    if (q < -32000.0) q = -32000.0;
    return static_cast<int16_t>(static_cast<int>(q));
}

float ColumnScaleFactor(float maximum) {
    if (maximum == 0.0f) maximum = 1.0f;
    return static_cast<float>(static_cast<double>(maximum) * 3.125e-5);
}

Outcome ReadStandardCsv(const std::string& path, WaveRecord& record, const Progress& progress) {
    if (EqualsNoCase(ExtensionOf(path), "dbl"))
        return Outcome::Fail(Failure::Notice("  Not Text (CSV) Data File!  "));
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return Outcome::Fail(FileOpenFailure());
    struct stat st {};
    double fileSize =
        fstat(fileno(file.get()), &st) == 0 && st.st_size > 0 ? static_cast<double>(st.st_size) : 1.0;

    WaveRecord staged = StagedCopy(record);
    staged.DateText = ModificationDateText(file.get());

    LineReader header(file.get(), 1 << 16);
    std::string_view line;

    // Line 1: channel names.
    if (!header.Next(line)) line = {};
    std::vector<std::string> names = SplitFields(WithoutByteOrderMark(line));
    int channels = static_cast<int>(std::min<size_t>(names.size(), kMaxChannels));
    if (channels < 1) return Outcome::Fail(Failure::Captioned("File Format miss match", "File Error"));
    for (int k = 0; k < channels; ++k) staged.Channels[k].Name = HeaderText(names[k], kNameWidth);
    std::fill_n(staged.Header.Bytes.begin() + DblHeader::kCommentOffset, DblHeader::kCommentLength,
                uint8_t(0));
    staged.Comment.clear();

    // Line 2: sampling rate and the unit word that chooses the time unit.
    if (!header.Next(line)) line = {};
    std::vector<std::string> rateFields = SplitFields(line);
    int64_t rate = rateFields.empty() ? 0 : LeadingInteger(rateFields[0]);
    std::string unitWord = rateFields.size() > 1 ? HeaderText(rateFields[1], 64) : std::string();
    staged.RateUnitText = CutToFileWidth(unitWord, kRateUnitWidth);
    TimeUnitFromWord(unitWord, staged.Time);
    // A rate that is not a positive 32-bit number would make every time and frequency meaningless.
    if (rate <= 0 || rate > INT32_MAX)
        return Outcome::Fail(Failure::Captioned("File Format miss match!!        ", "File Error"));
    staged.SamplingRate = static_cast<int32_t>(rate);
    int16_t rateWord = static_cast<int16_t>(rate);
    staged.Header.SetSamplingRate(rateWord == 0 ? int16_t(100) : rateWord);

    // Line 3 is free text; line 4 holds the units.
    if (header.Next(line) && header.Next(line)) {
        std::vector<std::string> units = SplitFields(line);
        for (int k = 0; k < channels; ++k)
            staged.Channels[k].Unit =
                k < static_cast<int>(units.size()) ? HeaderText(units[k], kUnitWidth) : "";
    } else {
        for (int k = 0; k < channels; ++k) staged.Channels[k].Unit.clear();
    }
    if (header.ReadError()) return Outcome::Fail(FileOpenFailure());
    const int64_t dataStart = header.Consumed();

    // First pass: the largest magnitude of every column and the number of rows.
    if (std::fseek(file.get(), dataStart, SEEK_SET) != 0) return Outcome::Fail(FileOpenFailure());
    std::array<float, kMaxChannels> maxima{};
    std::array<float, kMaxChannels> values{};
    int64_t rows = 0;
    {
        LineReader reader(file.get());
        while (reader.Next(line)) {
            ParseCsvRow(line.data(), line.data() + line.size(), channels, values.data());
            for (int k = 0; k < channels; ++k) maxima[k] = std::max(maxima[k], std::fabs(values[k]));
            if (++rows % kRowsPerReport == 0 &&
                !Report(progress, kProgressText,
                        0.5 * static_cast<double>(dataStart + reader.Consumed()) / fileSize))
                return Outcome::Fail(CancelledFailure());
        }
        if (reader.ReadError()) return Outcome::Fail(FileOpenFailure());
    }

    if (rows > INT32_MAX || !AllocateSamples(staged, channels, rows)) return Outcome::Fail(MemoryFailure());

    // Second pass: every value scaled so that the column maximum becomes ±32000.
    if (std::fseek(file.get(), dataStart, SEEK_SET) != 0) return Outcome::Fail(FileOpenFailure());
    {
        LineReader reader(file.get());
        std::array<int16_t*, kMaxChannels> out{};
        for (int k = 0; k < channels; ++k) out[k] = staged.Channels[k].Samples.data();
        for (int64_t i = 0; i < rows && reader.Next(line); ++i) {
            ParseCsvRow(line.data(), line.data() + line.size(), channels, values.data());
            for (int k = 0; k < channels; ++k) out[k][i] = QuantiseSample(values[k], maxima[k]);
            if ((i + 1) % kRowsPerReport == 0 &&
                !Report(progress, kProgressText,
                        0.5 + 0.5 * static_cast<double>(dataStart + reader.Consumed()) / fileSize))
                return Outcome::Fail(CancelledFailure());
        }
        if (reader.ReadError()) return Outcome::Fail(FileOpenFailure());
    }
    Report(progress, kProgressText, 1.0);

    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = staged.Channels[k];
        ch.ScaleFactor = ColumnScaleFactor(maxima[k]);
        ch.RawPeak = 32000;
        ch.DisplayUnit = ch.Unit;
    }
    std::fill_n(staged.Header.Bytes.begin() + DblHeader::kTitleOffset, DblHeader::kTitleLength, uint8_t(0));
    staged.ChannelCount = channels;
    staged.SampleCount = static_cast<int32_t>(rows);
    staged.Format = FormatType::CsvDefault;
    record = std::move(staged);
    return Outcome{};
}

}  // namespace wavora
