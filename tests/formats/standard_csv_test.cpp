#include "formats/standard_csv.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>

#include "formats/data_readers.h"
#include "record/line_split.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::TempDir;

// A record as the caller hands it in: something already loaded, so that a failed read can be
// seen to leave it alone.
WaveRecord PreviousRecord() {
    WaveRecord r;
    r.ChannelCount = 1;
    r.SampleCount = 3;
    r.SamplingRate = 50;
    r.RateUnitText = "s";
    r.Time = TimeUnit::Milliseconds;
    r.Channels[0].Name = "old";
    r.Channels[0].Unit = "gal";
    r.Channels[0].Samples = {1, 2, 3};
    return r;
}

void ExpectUnchanged(const WaveRecord& r) {
    EXPECT_EQ(r.ChannelCount, 1);
    EXPECT_EQ(r.SampleCount, 3);
    EXPECT_EQ(r.SamplingRate, 50);
    EXPECT_EQ(r.RateUnitText, "s");
    EXPECT_EQ(r.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.Channels[0].Name, "old");
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{1, 2, 3}));
}

struct CsvRead {
    Outcome Result;
    WaveRecord Record;
};

CsvRead ReadText(const TempDir& dir, const std::string& text, const std::string& name = "data.csv") {
    CsvRead r{Outcome{}, PreviousRecord()};
    r.Result = ReadStandardCsv(dir.Write(name, text), r.Record);
    return r;
}

TEST(StandardCsv, ThreeChannelsTwoRows) {
    TempDir dir;
    auto r = ReadText(dir, "A,B,C\n100,s\nfilter\nm,m/s,Gal\n1,2,3\n-2,4,0\n");
    ASSERT_TRUE(r.Result.Ok());
    const WaveRecord& w = r.Record;
    EXPECT_EQ(w.ChannelCount, 3);
    EXPECT_EQ(w.SampleCount, 2);
    EXPECT_EQ(w.SamplingRate, 100);
    EXPECT_EQ(w.Time, TimeUnit::Seconds);
    EXPECT_EQ(w.Format, FormatType::CsvDefault);
    EXPECT_EQ(w.Channels[0].Name, "A");
    EXPECT_EQ(w.Channels[2].Name, "C");
    EXPECT_EQ(w.Channels[1].Unit, "m/s");
    EXPECT_EQ(w.Channels[2].DisplayUnit, "Gal");
    EXPECT_EQ(w.Channels[0].Samples, (std::vector<int16_t>{16000, -32000}));
    EXPECT_EQ(w.Channels[1].Samples, (std::vector<int16_t>{16000, 32000}));
    EXPECT_EQ(w.Channels[2].Samples, (std::vector<int16_t>{32000, 0}));
    EXPECT_FLOAT_EQ(w.Channels[0].ScaleFactor, 2.0f / 32000.0f);
    EXPECT_EQ(w.Channels[0].RawPeak, 32000);
}

TEST(StandardCsv, TenNamesReadEightChannels) {
    TempDir dir;
    auto r = ReadText(dir, "a,b,c,d,e,f,g,h,i,j\n10,s\n\nu,u,u,u,u,u,u,u,u,u\n1,1,1,1,1,1,1,1,abc,9e30\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.ChannelCount, 8);
    EXPECT_EQ(r.Record.Channels[7].Name, "h");
    EXPECT_EQ(r.Record.Channels[7].Samples, (std::vector<int16_t>{32000}));
}

TEST(StandardCsv, UnitWordChoosesTimeUnit) {
    TempDir dir;
    auto ms = ReadText(dir, "A\n1000,ms\n\nm\n1\n");
    ASSERT_TRUE(ms.Result.Ok());
    EXPECT_EQ(ms.Record.SamplingRate, 1000);
    EXPECT_EQ(ms.Record.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(ms.Record.RateUnitText, "ms");

    auto bare = ReadText(dir, "A\n200\n\nm\n1\n");  // previous record is in ms
    ASSERT_TRUE(bare.Result.Ok());
    EXPECT_EQ(bare.Record.Time, TimeUnit::Seconds);
    EXPECT_EQ(bare.Record.RateUnitText, "");

    auto mu = ReadText(dir, "A\n5,\x83\xCAs\n\nm\n1\n");  // code page 932 "μs"
    ASSERT_TRUE(mu.Result.Ok());
    EXPECT_EQ(mu.Record.Time, TimeUnit::Microseconds);
    EXPECT_EQ(mu.Record.RateUnitText, "\xCE\xBCs");
    EXPECT_EQ(ReadText(dir, "A\n5,micros\n\nm\n1\n").Record.Time, TimeUnit::Microseconds);
    EXPECT_EQ(ReadText(dir, "A\n5,ns\n\nm\n1\n").Record.Time, TimeUnit::Nanoseconds);

    // Another word is kept as written but leaves the unit as it was; case matters.
    auto other = ReadText(dir, "A\n5,MS\n\nm\n1\n");
    ASSERT_TRUE(other.Result.Ok());
    EXPECT_EQ(other.Record.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(other.Record.RateUnitText, "MS");
}

TEST(StandardCsv, HeaderRefusals) {
    TempDir dir;
    for (const char* text : {"A\n0,s\n\nm\n1\n", "A\n,s\n\nm\n1\n", "A\n-100,s\n\nm\n1\n",
                             "A\n99999999999,s\n\nm\n1\n", "A\n"}) {
        auto r = ReadText(dir, text);
        ASSERT_FALSE(r.Result.Ok()) << text;
        EXPECT_EQ(r.Result.Error->Text, "File Format miss match!!        ");
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
        EXPECT_EQ(r.Result.Error->Icon, MessageIcon::Warning);
        ExpectUnchanged(r.Record);
    }
    for (const char* text : {"", "\n1,s\n", "  \t \n100,s\n"}) {
        auto r = ReadText(dir, text);
        ASSERT_FALSE(r.Result.Ok());
        EXPECT_EQ(*r.Result.Error, Failure::Captioned("File Format miss match", "File Error"));
        ExpectUnchanged(r.Record);
    }
}

TEST(StandardCsv, DblExtensionAndMissingFileAreRefused) {
    TempDir dir;
    auto r = ReadText(dir, "A\n100,s\n\nm\n1\n", "record.DBL");
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, Failure::Notice("  Not Text (CSV) Data File!  "));
    EXPECT_EQ(r.Result.Error->Caption, kApplicationTitle);
    ExpectUnchanged(r.Record);

    WaveRecord w = PreviousRecord();
    Outcome missing = ReadStandardCsv(dir.File("none.csv"), w);
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(*missing.Error, Failure::Captioned("read file not exist  ", "File Error"));
    ExpectUnchanged(w);
}

TEST(StandardCsv, ValuesBlanksExponentsAndNonNumbers) {
    TempDir dir;
    auto r = ReadText(dir, "A,B\n100,s\n\nm,m\n  1.5e1,\t-3\n+7.5,x\n-.5e1,\n");
    ASSERT_TRUE(r.Result.Ok());
    // Column A: 15, 7.5, -5 → max 15.
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{32000, 16000, -10666}));
    EXPECT_FLOAT_EQ(r.Record.Channels[0].ScaleFactor, 15.0f * 3.125e-5f);
    // Column B: -3, "x" reads 0, empty reads 0.
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{-32000, 0, 0}));
}

TEST(StandardCsv, EqualMagnitudesStoreFullScale) {
    TempDir dir;
    auto r = ReadText(dir, "A\n100,s\n\nm\n0.7\n-0.7\n0.7\n");
    ASSERT_TRUE(r.Result.Ok());
    const ChannelInfo& ch = r.Record.Channels[0];
    EXPECT_EQ(ch.Samples, (std::vector<int16_t>{32000, -32000, 32000}));
    for (int16_t s : ch.Samples) EXPECT_NEAR(std::fabs(s * ch.ScaleFactor), 0.7, 0.7 / 32000);
}

TEST(StandardCsv, ZeroColumnGetsUsableScale) {
    TempDir dir;
    auto r = ReadText(dir, "A,B\n100,s\n\nm,m\n0,1\n-0,2\n0.0,3\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{0, 0, 0}));
    EXPECT_FLOAT_EQ(r.Record.Channels[0].ScaleFactor, 3.125e-5f);
}

TEST(StandardCsv, ShortRowsAndBlankLinesAreRowsOfZeros) {
    TempDir dir;
    auto r = ReadText(dir, "A,B,C\n100,s\n\nm,m,m\n4,4,4\n2\n\n  \t\n-4,,2\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.SampleCount, 5);
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{32000, 16000, 0, 0, -32000}));
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{32000, 0, 0, 0, 0}));
    EXPECT_EQ(r.Record.Channels[2].Samples, (std::vector<int16_t>{32000, 0, 0, 0, 16000}));
}

TEST(StandardCsv, HeaderOnlyFileIsRefusedAndTheRecordKept) {
    TempDir dir;
    for (const char* text : {"A,B\n100,s\n\nm,m\n", "A,B\n100,s\n\nm,m", "A,B\r\n100,s\r\nfree\r\n"}) {
        auto r = ReadText(dir, text);
        ASSERT_FALSE(r.Result.Ok()) << text;
        EXPECT_EQ(*r.Result.Error,
                  Failure::Captioned("The file has no data rows: nothing follows its four header lines.",
                                     "File Error"));
        ExpectUnchanged(r.Record);
    }
}

TEST(StandardCsv, ValueBeyondFloatRangeIsRefusedNamingItsCell) {
    TempDir dir;
    struct Case {
        std::string Rows;
        int64_t Line;
        int Column;
    } cases[] = {
        {"1,2\n3,1e39\n", 6, 2},
        {"-1e400,0\n", 5, 1},
        {"1,2,3\n4,5,6\n  7 ,8,-99999999999999999999999999999999999999999\n", 7, 3},
        {"1,2\n1e39,-1e39\n", 6, 1},   // the first of two in a line
        {"1,2,3\n0,-2e30,0\n", 6, 2},  // within the float range, but its spectrum would overflow
    };
    for (const Case& c : cases) {
        auto r = ReadText(dir, "A,B,C\n100,s\n\nm,m,m\n" + c.Rows);
        ASSERT_FALSE(r.Result.Ok()) << c.Rows;
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
        EXPECT_EQ(r.Result.Error->Text, "The value in line " + std::to_string(c.Line) + ", column " +
                                            std::to_string(c.Column) +
                                            " is beyond the range of values the program can analyse "
                                            "(-1e+30 to 1e+30).");
        ExpectUnchanged(r.Record);
    }
    // Far into a file read in pieces, the line is still counted from the top of the file.
    std::string text = "A\n100,s\n\nm\n";
    for (int i = 0; i < 5000; ++i) text += std::to_string(i % 7) + "\n";
    text += "5e40\n1\n";
    WaveRecord w = PreviousRecord();
    Outcome o = ReadStandardCsvInPieces(dir.Write("long.csv", text), w, {}, 997);
    ASSERT_FALSE(o.Ok());
    EXPECT_NE(o.Error->Text.find("line 5005, column 1 "), std::string::npos) << o.Error->Text;
    ExpectUnchanged(w);

    // The limit itself is a value like any other.
    auto largest = ReadText(dir, "A\n100,s\n\nm\n1e30\n-1\n");
    ASSERT_TRUE(largest.Result.Ok());
    EXPECT_EQ(largest.Record.Channels[0].Samples, (std::vector<int16_t>{32000, 0}));
    EXPECT_FLOAT_EQ(largest.Record.Channels[0].ScaleFactor * 32000.0f, 1e30f);
}

TEST(StandardCsv, ColumnTooSmallForAScaleReadsAsZeros) {
    TempDir dir;
    // 1e-40 × 3.125e-5 is below the smallest normal float: the column is a column of zeros with a
    // usable scale. 1e-30 still gives a normal scale and is kept.
    auto r = ReadText(dir, "A,B\n100,s\n\nm,m\n1e-40,1e-30\n-2e-40,-5e-31\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{0, 0}));
    EXPECT_FLOAT_EQ(r.Record.Channels[0].ScaleFactor, 3.125e-5f);
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{32000, -16000}));
    EXPECT_GE(r.Record.Channels[1].ScaleFactor, FLT_MIN);
    EXPECT_EQ(UsableColumnMaximum(0.0f), 0.0f);
    EXPECT_EQ(UsableColumnMaximum(1.0f), 1.0f);
}

TEST(StandardCsv, CrLfLinesByteOrderMarkAndTrailingBlanks) {
    TempDir dir;
    auto r = ReadText(dir, "\xEF\xBB\xBFNorth ,East\r\n100,ms \r\nx\r\nkine,gal\t\r\n1,2\r\n-1,-2\r\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].Name, "North");
    EXPECT_EQ(r.Record.Channels[1].Name, "East");
    EXPECT_EQ(r.Record.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.Record.Channels[1].Unit, "gal");
    EXPECT_EQ(r.Record.SampleCount, 2);
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{32000, -32000}));
}

TEST(StandardCsv, TrailingCommaInNamesGivesUnnamedChannel) {
    TempDir dir;
    auto r = ReadText(dir, "A,B,\n100,s\n\nm,m,\n1,2,\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.ChannelCount, 3);
    EXPECT_EQ(r.Record.Channels[2].Name, "");
    EXPECT_EQ(r.Record.Channels[2].Samples, (std::vector<int16_t>{0}));
}

TEST(StandardCsv, LongLinesAreReadWhole) {
    TempDir dir;
    std::string pad(700, ' ');
    std::string extra;
    for (int i = 0; i < 100; ++i) extra += ",123456.789";
    std::string text = "A,B\n100,s\n" + std::string(800, 'x') + "\nm,m\n";
    text += "1," + pad + "2" + extra + "\n";
    text += "-1,-2" + extra + "\n";
    auto r = ReadText(dir, text);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.SampleCount, 2);
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{32000, -32000}));
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{32000, -32000}));
}

TEST(StandardCsv, HeaderTextsAreCutToTheirFields) {
    TempDir dir;
    std::string longName(40, 'N');
    // Sixteen double-byte characters (32 bytes in code page 932): the cut keeps 15 of them.
    std::string kanji;
    for (int i = 0; i < 16; ++i) kanji += "\x88\x9F";  // 亜
    auto r =
        ReadText(dir, longName + "," + kanji + "\n100,secondsXYZ\n\n" + std::string(25, 'U') + ",u\n1,1\n");
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].Name, std::string(31, 'N'));
    std::string expected;
    for (int i = 0; i < 15; ++i) expected += "\xE4\xBA\x9C";
    EXPECT_EQ(r.Record.Channels[1].Name, expected);
    EXPECT_EQ(r.Record.Channels[0].Unit, std::string(19, 'U'));
    EXPECT_EQ(r.Record.RateUnitText, "secondsXY");
}

TEST(StandardCsv, HeaderImageTextsAndRateWord) {
    TempDir dir;
    CsvRead r{Outcome{}, PreviousRecord()};
    r.Record.Header.SetRawText(DblHeader::kTitleOffset, DblHeader::kTitleLength, "old title");
    r.Record.Header.SetRawText(DblHeader::kCommentOffset, DblHeader::kCommentLength, "old comment");
    r.Record.Title = "kept title";
    r.Record.Comment = "old comment";
    r.Result = ReadStandardCsv(dir.Write("a.csv", "A\n1000,s\n\nm\n1\n"), r.Record);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Header.RawText(DblHeader::kTitleOffset, DblHeader::kTitleLength), "");
    EXPECT_EQ(r.Record.Header.RawText(DblHeader::kCommentOffset, DblHeader::kCommentLength), "");
    EXPECT_EQ(r.Record.Title, "");  // a format without a title shows none
    EXPECT_EQ(r.Record.Comment, "");
    EXPECT_EQ(r.Record.Header.SamplingRate(), 1000);

    // 65536 does not fit the 16-bit word, whose 0 becomes 100.
    auto wide = ReadText(dir, "A\n65536,s\n\nm\n1\n");
    ASSERT_TRUE(wide.Result.Ok());
    EXPECT_EQ(wide.Record.SamplingRate, 65536);
    EXPECT_EQ(wide.Record.Header.SamplingRate(), 100);
}

TEST(StandardCsv, DateTextFromModificationTimeWithEvenSeconds) {
    TempDir dir;
    std::string path = dir.Write("a.csv", "A\n100,s\n\nm\n1\n");
    std::time_t odd = 1700000001;  // an odd second in every time zone
    struct timeval times[2] = {{odd, 0}, {odd, 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
    WaveRecord w;
    ASSERT_TRUE(ReadStandardCsv(path, w).Ok());
    std::time_t even = odd - 1;
    std::tm tm{};
    localtime_r(&even, &tm);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d/%02d/%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    EXPECT_EQ(w.DateText, expected);
}

TEST(StandardCsv, CancelLeavesRecordAlone) {
    TempDir dir;
    std::string text = "A\n100,s\n\nm\n";
    for (int i = 0; i < 100000; ++i) text += std::to_string(i % 97) + "\n";
    std::string path = dir.Write("big.csv", text);
    WaveRecord w = PreviousRecord();
    double last = 0;
    int calls = 0;
    Outcome done = ReadStandardCsv(path, w, [&](const std::string&, double f) {
        EXPECT_GE(f, last);
        last = f;
        ++calls;
        return true;
    });
    ASSERT_TRUE(done.Ok());
    EXPECT_GT(calls, 2);
    EXPECT_DOUBLE_EQ(last, 1.0);
    EXPECT_EQ(w.SampleCount, 100000);

    WaveRecord kept = PreviousRecord();
    Outcome cancelled = ReadStandardCsv(path, kept, [](const std::string&, double f) { return f < 0.6; });
    ASSERT_FALSE(cancelled.Ok());
    EXPECT_TRUE(IsCancelled(cancelled));
    EXPECT_FALSE(IsCancelled(Outcome::Fail(MemoryFailure())));
    ExpectUnchanged(kept);
}

TEST(StandardCsv, ReadingInPiecesGivesTheSameRecord) {
    TempDir dir;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> value(-50.0, 50.0);
    std::string text = "A,B,C\n250,ms\n\nm,m,m\n";
    char buffer[64];
    for (int i = 0; i < 20000; ++i) {
        // The largest magnitudes sit in different pieces; one row is blank, one is long.
        double big = i == 3 ? 900.0 : i == 17000 ? -700.0 : 1.0;
        std::snprintf(buffer, sizeof buffer, "%10.3e,%.6f,%g", value(rng) * big, value(rng),
                      value(rng) * (i == 9999 ? 80 : 1));
        text += i == 5000    ? std::string("\n")
                : i == 12000 ? std::string(buffer) + std::string(3000, ' ') + "\n"
                             : std::string(buffer) + "\n";
    }
    std::string path = dir.Write("seg.csv", text.substr(0, text.size() - 1));  // no line feed at the end
    WaveRecord whole, pieces;
    ASSERT_TRUE(ReadStandardCsvInPieces(path, whole, {}, int64_t(1) << 40).Ok());
    int calls = 0;
    ASSERT_TRUE(ReadStandardCsvInPieces(
                    path, pieces, [&](const std::string&, double) { return ++calls > 0; }, 4096)
                    .Ok());
    EXPECT_GT(calls, 0);
    ASSERT_EQ(whole.SampleCount, 20000);
    EXPECT_EQ(pieces.SampleCount, whole.SampleCount);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(pieces.Channels[k].ScaleFactor, whole.Channels[k].ScaleFactor);
        EXPECT_EQ(pieces.Channels[k].Samples, whole.Channels[k].Samples);
    }
    EXPECT_EQ(whole.Channels[0].Samples[5000], 0);

    WaveRecord kept = PreviousRecord();
    Outcome cancelled = ReadStandardCsvInPieces(
        path, kept, [](const std::string&, double) { return false; }, 4096);
    EXPECT_TRUE(IsCancelled(cancelled));
    ExpectUnchanged(kept);
}

// Reference behaviour of a field: strtod on the field, restricted to plain decimal numbers.
float ReferenceValue(const std::string& field) {
    size_t i = 0;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
    if (i == field.size() || !(std::isdigit(static_cast<unsigned char>(field[i])) || field[i] == '.'))
        return 0.0f;
    return static_cast<float>(std::strtod(field.c_str(), nullptr));
}

TEST(StandardCsvRow, FieldValuesFollowDecimalSyntax) {
    for (const char* f : {"15", "1.5e1", "-2.25", "+7", ".5", "5.", "-.5e-1", "1e", "1e+", "12abc", "3 4",
                          "1,5", "0.1", "123456789.123456789", "1E-3", "-0", "7\r", "1d5"})
        EXPECT_EQ(ParseFieldValue(f), ReferenceValue(f)) << f;
    for (const char* f :
         {"", "x", "-", "+", ".", "-.", "+-5", "- 5", "inf", "-inf", "nan", "infinity", ".e5", "0x10"})
        EXPECT_EQ(ParseFieldValue(f), 0.0f) << f;
    // Long and unusual numbers take the general path and round the same way.
    for (const char* f :
         {"1.00000000000000000000000001", "0.000000000000000000000000123", "123456789012345678901234",
          "9007199254740993", "1e-30", "3.4028235e38", "1.1754944e-38", "1e-45", "4.9e-324"})
        EXPECT_EQ(ParseFieldValue(f), ReferenceValue(f)) << f;
    // Beyond the float range: an infinity of the value's sign, which the reader refuses.
    EXPECT_EQ(ParseFieldValue("1e60"), INFINITY);
    EXPECT_EQ(ParseFieldValue("-1e400"), -INFINITY);
    EXPECT_EQ(ParseFieldValue("3.4028235e38"), FLT_MAX);
}

// Parses a row the way the reader does: its line end after it, then digits (the worst case).
std::vector<float> ParseRow(const std::string& line, int channels) {
    std::string padded = line + "\n" + std::string(16, '7');
    std::vector<float> values(channels, -1.0f);
    ParseCsvRow(padded.data(), padded.data() + line.size(), channels, values.data());
    return values;
}

void ExpectRowMatchesSplitFields(const std::string& line) {
    std::vector<std::string> fields = SplitFields(line);
    for (int channels : {1, 3, 8}) {
        std::vector<float> values = ParseRow(line, channels);
        for (int k = 0; k < channels; ++k) {
            float expected = k < static_cast<int>(fields.size()) ? ParseFieldValue(fields[k]) : 0.0f;
            ASSERT_EQ(values[k], expected) << "line [" << line << "] channel " << k;
        }
    }
}

TEST(StandardCsvRow, RowParsingMatchesSplitFieldsOnJumbledText) {
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789.-+eE,,,  \tax";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int n = 0; n < 30000; ++n) {
        std::string line;
        int len = length(rng);
        for (int i = 0; i < len; ++i) line += alphabet[pick(rng)];
        ExpectRowMatchesSplitFields(line);
    }
}

TEST(StandardCsvRow, RowParsingMatchesSplitFieldsOnNumbers) {
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> digits(0, 24), small(0, 3), exponent(-60, 60), coin(0, 1);
    auto run = [&](int count) {
        std::string s;
        for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rng() % 10);
        return s;
    };
    for (int n = 0; n < 30000; ++n) {
        std::string line;
        int fields = 1 + static_cast<int>(rng() % 10);
        for (int f = 0; f < fields; ++f) {
            if (f) line += ',';
            line += std::string(small(rng), coin(rng) ? ' ' : '\t');
            if (coin(rng)) line += coin(rng) ? '-' : '+';
            line += run(digits(rng));
            if (coin(rng)) line += "." + run(digits(rng));
            if (coin(rng))
                line += std::string(coin(rng) ? "e" : "E") + std::to_string(exponent(rng) / (1 + small(rng)));
            if (small(rng) == 0) line += std::string(small(rng), ' ');
        }
        ExpectRowMatchesSplitFields(line);
    }
    // Shapes close to the writer's own "%10.3e".
    for (const char* line :
         {" 1.234e+05, 1.234e+5,1.234e+056,-9.999e-99,1.234e+05x", "1.234E-22,1.234e+26,0.000e+00",
          "-0.000e+00, 1.234e+0,1.234e+0,5", "1.2345e+05,12.345e+01,1.234e+05 ,1.234e+05\t,1.23e+05"})
        ExpectRowMatchesSplitFields(line);
    char buffer[64];
    for (const char* format : {"%10.3e", "%.3e", "%.6f", "%.18e", "%g", "%.9g"})
        for (int n = 0; n < 3000; ++n) {
            std::string line;
            for (int f = 0; f < 8; ++f) {
                double v = std::ldexp(static_cast<double>(rng()) / 4294967296.0 - 0.5, exponent(rng) / 3);
                std::snprintf(buffer, sizeof buffer, format, v);
                line += (f ? "," : "") + std::string(buffer);
            }
            ExpectRowMatchesSplitFields(line);
        }
}

TEST(StandardCsvRow, QuantisationTruncatesTowardZero) {
    EXPECT_EQ(QuantiseSample(1.0f, 3.0f), 10666);    // 10666.67
    EXPECT_EQ(QuantiseSample(-1.0f, 3.0f), -10666);  // toward zero
    EXPECT_EQ(QuantiseSample(3.0f, 3.0f), 32000);
    EXPECT_EQ(QuantiseSample(0.0f, 0.0f), 0);
    EXPECT_EQ(QuantiseSample(5.0f, 3.0f), 32000);  // never beyond full scale
    // The product and quotient are taken from the 32-bit float value, not the decimal text.
    auto extended = [](float v, float m) {
        return static_cast<int>(static_cast<long double>(v) * 32000.0L / m);
    };
    EXPECT_EQ(QuantiseSample(0.1f, 0.3f), extended(0.1f, 0.3f));
    // The same truncation as extended precision, also for values landing next to whole samples.
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> sample(-32000, 32000), exponent(-40, 40);
    for (int n = 0; n < 200000; ++n) {
        float m = std::ldexp(0.5f + unit(rng), exponent(rng));
        float near = static_cast<float>(static_cast<double>(sample(rng)) * m / 32000.0);
        float v = n % 2 ? near : std::nextafter(near, n % 4 < 2 ? 0.0f : 2 * m);
        if (std::fabs(v) > m) continue;
        ASSERT_EQ(QuantiseSample(v, m), extended(v, m)) << v << " / " << m;
    }
}

}  // namespace
}  // namespace wavora
