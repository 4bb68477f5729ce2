#include "formats/dspcsv.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <random>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "record/line_split.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::TempDir;

struct DspFile {
    std::string Marker = "DSPCSV,1";
    std::string Date = "DATE,2024,5,7,9,3";
    std::string Channels = "CH,3";
    std::string Interval = "DT,10";
    std::string Total = "TOTAL,9";
    std::string Names = "NAME,North,East,Up";
    std::vector<std::string> Rows = {"0,2047,-2047,1024", "1,1023,-1023,0", "2,4096,-4096,2048"};
    int HeaderLines = 24;

    std::string Text() const {
        std::vector<std::string> lines(24, "x");
        lines[0] = Marker;
        lines[1] = Date;
        lines[2] = Channels;
        lines[3] = Interval;
        lines[18] = Total;
        lines[23] = Names;
        std::string text;
        for (int i = 0; i < HeaderLines; ++i) text += lines[i] + "\r\n";
        for (const auto& r : Rows) text += r + "\r\n";
        return text;
    }
};

WaveRecord PreviousRecord() {
    WaveRecord r;
    r.ChannelCount = 1;
    r.SampleCount = 2;
    r.Time = TimeUnit::Milliseconds;
    r.Title = "kept";
    r.Channels[0].Name = "old";
    r.Channels[0].Samples = {7, 8};
    return r;
}

void ExpectUnchanged(const WaveRecord& r) {
    EXPECT_EQ(r.ChannelCount, 1);
    EXPECT_EQ(r.SampleCount, 2);
    EXPECT_EQ(r.Channels[0].Name, "old");
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{7, 8}));
}

struct Read {
    Outcome Result;
    WaveRecord Record = PreviousRecord();
};

Read ReadText(const TempDir& dir, const std::string& text) {
    Read r;
    r.Result = ReadDspCsv(dir.Write("gpl.csv", text), r.Record);
    return r;
}

TEST(DspCsv, ReadsHeaderAndCounts) {
    TempDir dir;
    Read r = ReadText(dir, DspFile{}.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    const WaveRecord& w = r.Record;
    EXPECT_EQ(w.Format, FormatType::CsvGpl);
    // The rate counts samples per second, whatever unit the previous record was in; a format
    // without a title shows none.
    EXPECT_EQ(w.Time, TimeUnit::Seconds);
    EXPECT_EQ(w.Title, "");
    EXPECT_EQ(w.DateText, "2024/ 5/ 7  9: 3");
    EXPECT_EQ(w.ChannelCount, 3);
    EXPECT_EQ(w.SampleCount, 3);
    EXPECT_EQ(w.SamplingRate, 100);
    EXPECT_EQ(w.Channels[0].Name, "North");
    EXPECT_EQ(w.Channels[2].Name, "Up");
    EXPECT_EQ(w.Channels[0].Samples, (std::vector<int16_t>{1, 0, 4}));
    EXPECT_EQ(w.Channels[1].Samples, (std::vector<int16_t>{-1, 0, -4}));
    EXPECT_EQ(w.Channels[2].Samples, (std::vector<int16_t>{1, 0, 2}));
    EXPECT_EQ(w.Channels[1].ScaleFactor, 1.7407534e-5f);
    EXPECT_EQ(w.Channels[1].Unit, "Gal");
    EXPECT_EQ(w.Channels[1].DisplayUnit, "Gal");
}

TEST(DspCsv, MarkerInLowerCaseAndRates) {
    TempDir dir;
    DspFile f;
    f.Marker = "dspcsv";
    f.Interval = "DT 3";
    Read r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.SamplingRate, 333);
}

TEST(DspCsv, TotalIsSharedByTheChannels) {
    TempDir dir;
    DspFile f;
    f.Total = "TOTAL,3000";
    f.Rows.clear();
    for (int i = 0; i < 1000; ++i) f.Rows.push_back("t," + std::to_string(i * 1024) + ",0,0");
    Read r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    EXPECT_EQ(r.Record.SampleCount, 1000);
    EXPECT_EQ(r.Record.Channels[0].Samples[999], 999);
}

TEST(DspCsv, LineCountDifferentFromHeaderWarnsAndLoads) {
    TempDir dir;
    DspFile f;
    f.Total = "TOTAL,3000";
    f.Rows.clear();
    for (int i = 0; i < 999; ++i) f.Rows.push_back("t,5000,5000,5000");
    Read r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    ASSERT_EQ(r.Result.Warnings.size(), 1u);
    EXPECT_EQ(r.Result.Warnings[0], Failure::Notice("  Data Number incorrect !  "));
    EXPECT_EQ(r.Record.SampleCount, 1000);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(r.Record.Channels[k].Samples[998], 4);
        EXPECT_EQ(r.Record.Channels[k].Samples[999], 0);
    }

    // More lines than the header says: the extra lines are not stored.
    f.Total = "TOTAL,6";
    r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Result.Warnings.size(), 1u);
    EXPECT_EQ(r.Record.SampleCount, 2);
}

TEST(DspCsv, ShortRowsBlankLinesAndNonNumbers) {
    TempDir dir;
    DspFile f;
    f.Total = "TOTAL,12";
    f.Rows = {"0,2048", "", "2 , 3072 x,y", "3,1e9,99999999999,-99999999999"};
    Read r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    EXPECT_EQ(r.Record.Channels[0].Samples,
              (std::vector<int16_t>{2, 0, 0, 0}));  // "2 ," leaves an empty token
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{0, 0, 3, 32767}));
    EXPECT_EQ(r.Record.Channels[2].Samples, (std::vector<int16_t>{0, 0, 0, -32768}));
}

TEST(DspCsv, Refusals) {
    TempDir dir;
    Read r = ReadText(dir, "CSV,1\n");
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, Failure::Notice("  Not CSV (GPL) Data File !  "));
    ExpectUnchanged(r.Record);
    EXPECT_EQ(ReadText(dir, "").Result.Error->Text, "  Not CSV (GPL) Data File !  ");

    DspFile shortHeader;
    shortHeader.HeaderLines = 10;
    shortHeader.Rows.clear();
    r = ReadText(dir, shortHeader.Text());
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, TruncatedHeaderFailure());
    ExpectUnchanged(r.Record);

    for (const char* channels : {"CH,0", "CH,9", "CH", "CH,-2"}) {
        DspFile f;
        f.Channels = channels;
        r = ReadText(dir, f.Text());
        ASSERT_FALSE(r.Result.Ok()) << channels;
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
        ExpectUnchanged(r.Record);
    }
    for (const char* interval : {"DT,0", "DT,1001", "DT,-10", "DT"}) {
        DspFile f;
        f.Interval = interval;
        r = ReadText(dir, f.Text());
        ASSERT_FALSE(r.Result.Ok()) << interval;
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
    }
    DspFile negative;
    negative.Total = "TOTAL,-3";
    EXPECT_EQ(ReadText(dir, negative.Text()).Result.Error->Caption, "File Error");

    DspFile huge;
    huge.Total = "TOTAL,999999999999";
    r = ReadText(dir, huge.Text());
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, MemoryFailure());
    ExpectUnchanged(r.Record);

    WaveRecord w = PreviousRecord();
    EXPECT_EQ(*ReadDspCsv(dir.File("none.csv"), w).Error,
              Failure::Captioned("read file not exist  ", "File Error"));
}

TEST(DspCsv, TotalOfNoSamplePerChannelIsRefused) {
    TempDir dir;
    for (const char* total : {"TOTAL,0", "TOTAL,2", "TOTAL"}) {
        DspFile f;
        f.Total = total;
        Read r = ReadText(dir, f.Text());
        ASSERT_FALSE(r.Result.Ok()) << total;
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
        EXPECT_NE(r.Result.Error->Text.find("for 3 channels"), std::string::npos) << r.Result.Error->Text;
        ExpectUnchanged(r.Record);
    }
}

TEST(DspCsv, ShortFileOfALargeHeaderTotalReportsProgressAndCanBeCancelled) {
    TempDir dir;
    DspFile f;
    f.Total = "TOTAL,60000000";  // 120 MB of zeros for three lines
    const std::string path = dir.Write("short.csv", f.Text());
    std::vector<double> fractions;
    WaveRecord w = PreviousRecord();
    Outcome o = ReadDspCsv(path, w, [&](const std::string&, double fraction) {
        fractions.push_back(fraction);
        return true;
    });
    ASSERT_TRUE(o.Ok());
    EXPECT_EQ(o.Warnings.size(), 1u);  // "  Data Number incorrect !  "
    EXPECT_EQ(w.SampleCount, 20000000);
    EXPECT_EQ(w.Channels[0].Samples[0], 1);
    EXPECT_EQ(w.Channels[0].Samples[19999999], 0);
    ASSERT_GE(fractions.size(), 4u);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_EQ(fractions.back(), 1.0);

    WaveRecord kept = PreviousRecord();
    int calls = 0;
    Outcome cancelled = ReadDspCsv(path, kept, [&](const std::string&, double) { return ++calls < 3; });
    EXPECT_TRUE(IsCancelled(cancelled));
    EXPECT_EQ(calls, 3);
    ExpectUnchanged(kept);
}

TEST(DspCsv, LongLinesAreReadWhole) {
    TempDir dir;
    DspFile f;
    f.Names = "NAME," + std::string(200, 'N') + ",East,Up";
    f.Rows[0] = "0,2047" + std::string(600, ' ') + ",-2047,1024";
    Read r = ReadText(dir, f.Text());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    EXPECT_EQ(r.Record.Channels[0].Name, std::string(31, 'N'));
    EXPECT_EQ(r.Record.Channels[1].Name, "East");
    EXPECT_EQ(r.Record.Channels[1].Samples[0], 0);  // the comma after the blanks starts an empty token
    EXPECT_EQ(r.Record.Channels[2].Samples[0], -1);
}

TEST(DspCsv, CancelLeavesTheRecordAlone) {
    TempDir dir;
    DspFile f;
    f.Total = "TOTAL,120000";
    f.Rows.assign(40000, "t,1,2,3");
    std::string path = dir.Write("long.csv", f.Text());
    WaveRecord w = PreviousRecord();
    Outcome o = ReadDspCsv(path, w, [](const std::string&, double) { return false; });
    EXPECT_TRUE(IsCancelled(o));
    ExpectUnchanged(w);
    EXPECT_TRUE(ReadDspCsv(path, w, [](const std::string&, double) { return true; }).Ok());
    EXPECT_EQ(w.SampleCount, 40000);
}

TEST(DspCsv, SamplesTruncateTowardZero) {
    EXPECT_EQ(DspSample(1023), 0);
    EXPECT_EQ(DspSample(-1023), 0);
    EXPECT_EQ(DspSample(1024), 1);
    EXPECT_EQ(DspSample(2047), 1);
    EXPECT_EQ(DspSample(-2047), -1);
    EXPECT_EQ(DspSample(int64_t(1) << 40), 32767);
}

TEST(DspCsv, RowParsingMatchesSplitTokens) {
    std::mt19937 rng(99);
    const std::string alphabet = "0123456789-+,, \t.x";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 50);
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        for (int i = length(rng); i > 0; --i) line += alphabet[pick(rng)];
        std::vector<std::string> tokens = SplitTokens(line);
        for (int channels : {1, 4, 8}) {
            int64_t counts[8];
            ParseDspRow(line.data(), line.data() + line.size(), channels, counts);
            for (int k = 0; k < channels; ++k) {
                int64_t expected =
                    k + 1 < static_cast<int>(tokens.size()) ? LeadingInteger(tokens[k + 1]) : 0;
                ASSERT_EQ(counts[k], expected) << "[" << line << "] " << k;
            }
        }
    }
}

}  // namespace
}  // namespace wavora
