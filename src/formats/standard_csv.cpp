#include "formats/standard_csv.h"

#include <fast_float/fast_float.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <thread>
#include <utility>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "record/line_split.h"
#include "record/text_codec.h"
#include "record/text_format.h"
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
    // Beyond the float range the value is an infinity of its sign, which the reader refuses.
    float f = static_cast<float>(d);
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

inline uint64_t Load8(const char* p) {
    uint64_t x;
    std::memcpy(&x, p, sizeof x);
    if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
    return x;  // the first character in the lowest byte
}

// The program's own numbers, "%10.3e" as the data-file writer prints them ("d.ddde±dd" after the
// sign), in one go: the same mantissa and power of ten the general loop below would find.
inline bool OwnFormatNumber(const char* p, double& value) {
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    const uint64_t x = Load8(p);
    const uint64_t t = x ^ 0x3030303030303030ull;  // digits become 0..9
    const uint64_t digits = ~(((t & 0x7F7F7F7F7F7F7F7Full) + 0x7676767676767676ull) | t) & kHigh;
    if (digits != 0x8000008080800080ull) return false;  // digits in bytes 0, 2, 3, 4 and 7 only
    const unsigned point = (x >> 8) & 0xFF, e = (x >> 40) & 0xFF, sign = (x >> 48) & 0xFF;
    if (point != '.' || (e | 0x20) != 'e' || (sign != '+' && sign != '-')) return false;
    const unsigned last = DigitAt(p + 8);
    if (last >= 10 || DigitAt(p + 9) < 10) return false;
    const uint64_t v = x & 0x0F0F0F0F0F0F0F0Full;  // digit bytes hold their values
    const unsigned mantissa =
        (v & 0xF) * 1000 + ((v >> 16) & 0xF) * 100 + ((v >> 24) & 0xF) * 10 + ((v >> 32) & 0xF);
    const int magnitude = static_cast<int>(((v >> 56) & 0xF) * 10 + last);
    const int exponent = (sign == '-' ? -magnitude : magnitude) - 3;
    if (exponent < -22 || exponent > 22) return false;
    const double m = mantissa;
    value = exponent < 0 ? m / kExactPowersOfTen[-exponent] : m * kExactPowersOfTen[exponent];
    return true;
}

// The sign by its bit rather than a branch: signs are as unpredictable as the data.
inline float WithSign(float f, bool negative) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    bits ^= static_cast<uint32_t>(negative) << 31;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// The value of the field starting at a, its first non-blank character; *after is set past the
// number (to a when there is none).
inline float FieldValue(const char* a, const char* end, const char** after) {
    const char first = *a;
    const bool negative = first == '-';
    const char* p = a + ((first == '-') | (first == '+'));
    if (double own; OwnFormatNumber(p, own)) {
        *after = p + 9;
        return WithSign(static_cast<float>(own), negative);
    }
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
        if ((d = DigitAt(q)) < 10) {
            int e;
            unsigned d1 = DigitAt(q + 1);
            if (d1 < 10 && DigitAt(q + 2) >= 10) {  // the usual two-digit exponent
                e = static_cast<int>(d * 10 + d1);
                q += 2;
            } else {
                e = 0;
                while ((d = DigitAt(q)) < 10) {
                    if (e < 100000) e = e * 10 + static_cast<int>(d);
                    ++q;
                }
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
    return WithSign(f, negative);
}

static_assert(LineReader::kPadding >= kRowPadding);

// Rows between two progress reports and cancel checks.
constexpr int64_t kRowsPerReport = 1 << 15;

const char* const kProgressText = "Reading data file";

// ---- The two passes. A large file is cut into pieces of whole lines that a few threads take in
// turn, the calling thread among them, which alone reports progress; a thread that gets less of
// the processor simply takes fewer pieces. The rows and maxima of the pieces add up to exactly
// what one sequential pass would give.

constexpr unsigned kMaxThreads = 4;
constexpr size_t kMaxPieces = 256;

struct Piece {
    int64_t Begin = 0, End = 0;  // byte range of whole lines
    int64_t Rows = 0;            // counted by the first pass
    int64_t FirstRow = 0;        // row index of its first line
    std::array<float, kMaxChannels> Maxima{};
    bool ReadError = false;
    bool OutOfMemory = false;
};

enum class PassKind { Maxima, Samples };

struct PassShared {
    const std::string* Path = nullptr;
    int Channels = 0;
    std::array<float, kMaxChannels> Maxima{};  // for the samples pass
    std::array<int16_t*, kMaxChannels> Out{};  // for the samples pass
    std::atomic<size_t> NextPiece{0};
    std::atomic<int64_t> BytesDone{0};
    std::atomic<bool> Stop{false};
};

// Cuts [begin, end) into up to `count` pieces that start just after a line feed.
std::vector<Piece> SplitIntoPieces(std::FILE* file, int64_t begin, int64_t end, size_t count) {
    std::vector<Piece> pieces;
    int64_t start = begin;
    char chunk[4096];
    for (size_t i = 1; i < count && start < end; ++i) {
        int64_t cut = begin + static_cast<int64_t>(static_cast<double>(end - begin) * i / count);
        if (cut <= start) continue;
        if (std::fseek(file, cut, SEEK_SET) != 0) break;
        // Move the cut past the next line feed.
        bool found = false;
        while (!found && cut < end) {
            size_t got = std::fread(chunk, 1, sizeof chunk, file);
            if (got == 0) break;
            const void* lf = std::memchr(chunk, '\n', got);
            if (lf) {
                cut += static_cast<const char*>(lf) - chunk + 1;
                found = true;
            } else {
                cut += static_cast<int64_t>(got);
            }
        }
        if (!found || cut >= end) break;
        pieces.push_back(Piece{start, cut});
        start = cut;
    }
    pieces.push_back(Piece{start, end});
    return pieces;
}

// One pass over one piece. `report` (on the calling thread only) is asked now and then whether
// to go on.
void RunPiece(Piece& piece, PassKind kind, PassShared& shared, const std::function<bool()>& report) {
    FilePtr file(std::fopen(shared.Path->c_str(), "rb"));
    if (!file || std::fseek(file.get(), piece.Begin, SEEK_SET) != 0) {
        piece.ReadError = true;
        return;
    }
    const int64_t length = piece.End - piece.Begin;
    LineReader reader(file.get(), length, static_cast<size_t>(std::clamp<int64_t>(length, 1 << 16, 1 << 22)));
    const int channels = shared.Channels;
    std::array<float, kMaxChannels> values{};
    std::string_view line;
    int64_t rows = 0, reported = 0;
    // The samples pass stops at the row count of the first pass, should the file have grown.
    const int64_t rowLimit = kind == PassKind::Samples ? piece.Rows : INT64_MAX;
    while (rows < rowLimit && reader.Next(line)) {
        ParseCsvRow(line.data(), line.data() + line.size(), channels, values.data());
        if (kind == PassKind::Maxima) {
            for (int k = 0; k < channels; ++k)
                piece.Maxima[k] = std::max(piece.Maxima[k], std::fabs(values[k]));
        } else {
            const int64_t row = piece.FirstRow + rows;
            for (int k = 0; k < channels; ++k)
                shared.Out[k][row] = QuantiseSample(values[k], shared.Maxima[k]);
        }
        if (++rows % kRowsPerReport == 0) {
            shared.BytesDone += reader.Consumed() - reported;
            reported = reader.Consumed();
            if (report && !report()) shared.Stop = true;
            if (shared.Stop) return;
        }
    }
    shared.BytesDone += reader.Consumed() - reported;
    if (kind == PassKind::Maxima) piece.Rows = rows;
    if (reader.ReadError()) piece.ReadError = true;
}

// Takes pieces until none is left or the pass stops.
void TakePieces(std::vector<Piece>& pieces, PassKind kind, PassShared& shared,
                const std::function<bool()>& report) {
    for (size_t i; !shared.Stop && (i = shared.NextPiece++) < pieces.size();) {
        try {
            RunPiece(pieces[i], kind, shared, report);
        } catch (const std::bad_alloc&) {
            pieces[i].OutOfMemory = true;
            shared.Stop = true;
        }
        if (report && !shared.Stop && !report()) shared.Stop = true;
    }
}

enum class PassResult { Done, Cancelled, ReadError, OutOfMemory };

PassResult RunPass(std::vector<Piece>& pieces, unsigned threads, PassKind kind, PassShared& shared,
                   const std::function<bool()>& report) {
    shared.Stop = false;
    shared.NextPiece = 0;
    {
        std::vector<std::jthread> helpers;
        try {
            for (unsigned t = 1; t < threads; ++t)
                helpers.emplace_back([&] { TakePieces(pieces, kind, shared, nullptr); });
        } catch (const std::exception&) {
            // No thread to be had: the calling thread takes the pieces alone.
        }
        TakePieces(pieces, kind, shared, report);
    }  // the helpers are joined here
    for (const Piece& p : pieces)
        if (p.OutOfMemory) return PassResult::OutOfMemory;
    if (shared.Stop) return PassResult::Cancelled;
    for (const Piece& p : pieces)
        if (p.ReadError) return PassResult::ReadError;
    return PassResult::Done;
}

// The failure that ends the read after a pass, if any.
std::optional<Failure> PassFailure(PassResult result) {
    switch (result) {
        case PassResult::Done:
            return std::nullopt;
        case PassResult::Cancelled:
            return CancelledFailure();
        case PassResult::ReadError:
            return FileOpenFailure();
        case PassResult::OutOfMemory:
            return MemoryFailure();
    }
    return std::nullopt;
}

bool BeyondRange(float value) {
    return !(std::fabs(value) <= kLargestPhysicalValue);
}

// Where the first value beyond the range of physical values stands: its line (from 1) and column
// (from 1), found by reading the rows again from `dataStart` (only once the maxima have shown
// there is one).
std::pair<int64_t, int> FindValueBeyondRange(const std::string& path, int64_t dataStart, int channels) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), dataStart, SEEK_SET) != 0) return {0, 0};
    LineReader reader(file.get(), -1, 1 << 20);
    std::array<float, kMaxChannels> values{};
    std::string_view line;
    for (int64_t row = 0; reader.Next(line); ++row) {
        ParseCsvRow(line.data(), line.data() + line.size(), channels, values.data());
        for (int k = 0; k < channels; ++k)
            if (BeyondRange(values[k])) return {row + 5, k + 1};
    }
    return {0, 0};
}

Failure ValueBeyondRangeFailure(int64_t line, int column) {
    return Failure::Captioned(
        StrPrintf("The value in line %lld, column %d is beyond the range of values the program can "
                  "analyse (%g to %g).",
                  static_cast<long long>(line), column, -static_cast<double>(kLargestPhysicalValue),
                  static_cast<double>(kLargestPhysicalValue)),
        "File Error");
}

}  // namespace

float ParseFieldValue(std::string_view field) {
    return ReferenceValue(field.data(), field.data() + field.size());
}

float ParseFieldNumber(const char* begin, const char* end, const char** after) {
    return FieldValue(begin, end, after);
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

float UsableColumnMaximum(float maximum) {
    const float scale = static_cast<float>(static_cast<double>(maximum) * 3.125e-5);
    return scale < FLT_MIN ? 0.0f : maximum;
}

Outcome ReadStandardCsv(const std::string& path, WaveRecord& record, const Progress& progress) {
    return ReadStandardCsvInPieces(path, record, progress, kPieceBytes);
}

Outcome ReadStandardCsvInPieces(const std::string& path, WaveRecord& record, const Progress& progress,
                                int64_t pieceBytes) {
    if (EqualsNoCase(ExtensionOf(path), "dbl"))
        return Outcome::Fail(Failure::Notice("  Not Text (CSV) Data File!  "));
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return Outcome::Fail(FileOpenFailure());
    struct stat st {};
    const int64_t fileSize = fstat(fileno(file.get()), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;

    WaveRecord staged = FreshRecord(record);
    staged.DateText = ModificationDateText(file.get());

    LineReader header(file.get(), -1, 1 << 16);
    std::string_view line;

    // Line 1: channel names.
    if (!header.Next(line)) line = {};
    std::vector<std::string> names = SplitFields(WithoutByteOrderMark(line));
    const int channels = static_cast<int>(std::min<size_t>(names.size(), kMaxChannels));
    if (channels < 1) return Outcome::Fail(Failure::Captioned("File Format miss match", "File Error"));
    for (int k = 0; k < channels; ++k) staged.Channels[k].Name = HeaderText(names[k], kNameWidth);
    std::fill_n(staged.Header.Bytes.begin() + DblHeader::kCommentOffset, DblHeader::kCommentLength,
                uint8_t(0));
    staged.Comment.clear();

    // Line 2: sampling rate and the unit word that chooses the time unit.
    if (!header.Next(line)) line = {};
    std::vector<std::string> rateFields = SplitFields(line);
    const int64_t rate = rateFields.empty() ? 0 : LeadingInteger(rateFields[0]);
    const std::string unitWord = rateFields.size() > 1 ? HeaderText(rateFields[1], 64) : std::string();
    staged.RateUnitText = CutToFileWidth(unitWord, kRateUnitWidth);
    TimeUnitFromWord(unitWord, staged.Time);
    // A rate that is not a positive 32-bit number would make every time and frequency meaningless.
    if (rate <= 0 || rate > INT32_MAX)
        return Outcome::Fail(Failure::Captioned("File Format miss match!!        ", "File Error"));
    staged.SamplingRate = static_cast<int32_t>(rate);
    const int16_t rateWord = static_cast<int16_t>(rate);
    staged.Header.SetSamplingRate(rateWord == 0 ? int16_t(100) : rateWord);

    // Line 3 is free text; line 4 holds the units.
    std::vector<std::string> units;
    if (header.Next(line) && header.Next(line)) units = SplitFields(line);
    for (int k = 0; k < channels; ++k)
        staged.Channels[k].Unit = k < static_cast<int>(units.size()) ? HeaderText(units[k], kUnitWidth) : "";
    if (header.ReadError()) return Outcome::Fail(FileOpenFailure());
    const int64_t dataStart = header.Consumed();

    // The data: a file that is not a plain file (size unknown) is read in one piece to its end.
    const int64_t dataEnd = std::max(fileSize, dataStart);
    size_t count = 1;
    if (fileSize > 0)
        count = static_cast<size_t>(
            std::clamp<int64_t>((dataEnd - dataStart) / std::max<int64_t>(pieceBytes, 1), 1, kMaxPieces));
    std::vector<Piece> pieces = SplitIntoPieces(file.get(), dataStart, dataEnd, count);
    if (fileSize <= 0) pieces.back().End = INT64_MAX;
    file.reset();
    const unsigned threads = static_cast<unsigned>(
        std::min<size_t>(pieces.size(), std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads)));

    PassShared shared;
    shared.Path = &path;
    shared.Channels = channels;
    const double totalBytes = 2.0 * static_cast<double>(std::max<int64_t>(dataEnd - dataStart, 1));
    std::function<bool()> report = [&] {
        return Report(progress, kProgressText,
                      std::min(1.0, static_cast<double>(shared.BytesDone) / totalBytes));
    };

    // First pass: the largest magnitude of every column and the number of rows.
    if (auto failure = PassFailure(RunPass(pieces, threads, PassKind::Maxima, shared, report)))
        return Outcome::Fail(*failure);
    if (!report()) return Outcome::Fail(CancelledFailure());
    int64_t rows = 0;
    for (Piece& s : pieces) {
        s.FirstRow = rows;
        rows += s.Rows;
        for (int k = 0; k < channels; ++k) shared.Maxima[k] = std::max(shared.Maxima[k], s.Maxima[k]);
    }
    if (rows == 0)
        return Outcome::Fail(Failure::Captioned(
            "The file has no data rows: nothing follows its four header lines.", "File Error"));
    for (int k = 0; k < channels; ++k) {
        if (BeyondRange(shared.Maxima[k])) {
            auto [line, column] = FindValueBeyondRange(path, dataStart, channels);
            return Outcome::Fail(ValueBeyondRangeFailure(line, column));
        }
        shared.Maxima[k] = UsableColumnMaximum(shared.Maxima[k]);
    }

    if (rows > INT32_MAX || !AllocateSamples(staged, channels, rows)) return Outcome::Fail(MemoryFailure());

    // Second pass: every value scaled so that the column maximum becomes ±32000.
    for (int k = 0; k < channels; ++k) shared.Out[k] = staged.Channels[k].Samples.data();
    if (auto failure = PassFailure(RunPass(pieces, threads, PassKind::Samples, shared, report)))
        return Outcome::Fail(*failure);
    Report(progress, kProgressText, 1.0);

    for (int k = 0; k < channels; ++k) {
        ChannelInfo& ch = staged.Channels[k];
        ch.ScaleFactor = ColumnScaleFactor(shared.Maxima[k]);
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
