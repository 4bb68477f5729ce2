// Each load starts from the new file alone: after an SPC-51 record with a title, a comment and
// eight named channels, a record of another format shows none of them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/load_pipeline.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::TempDir;

// An SPC-51 record as the window holds it after its load pass: "Bridge test", eight named channels.
WaveRecord BridgeRecord(const TempDir& dir) {
    std::vector<test::Spc51Channel> channels;
    for (int k = 0; k < 8; ++k)
        channels.push_back({"Pier " + std::to_string(k + 1), "mm", 0.01f, 10, -10, {1, 2, 3, 4}});
    std::string path = dir.Write(
        "bridge.dbl", test::Spc51File(channels, 100, "Bridge test", "2024/01/02 03:04:05", "deck comment"));
    WaveRecord record;
    FilterState filter;
    LoadResult loaded = LoadRecord(path, LoadOptions{FormatType::Spc51}, filter, record);
    EXPECT_TRUE(loaded.Result.Ok());
    EXPECT_EQ(record.Title, "Bridge test");
    EXPECT_EQ(record.Comment, "deck comment");
    return record;
}

TEST(FreshLoad, NothingOfAnEarlierSpc51RecordLeaksIntoTheNext) {
    TempDir dir;
    struct Case {
        const char* What;
        FormatType Format;
        std::string Path;
        std::vector<std::string> Names;  // of the two channels the file holds
    } cases[] = {
        {"standard CSV",
         FormatType::CsvDefault,
         dir.Write("two.csv", test::StandardCsvFile("A,B", "100,s", "m,m", {"1,2", "3,4"})),
         {"A", "B"}},
        {"DSPCSV",
         FormatType::CsvGpl,
         dir.Write("two.gpl", test::DspCsvFile({"N", "E"}, 10, {{1024, 2048}, {0, 0}})),
         {"N", "E"}},
        {"SPC-35",
         FormatType::Spc35,
         dir.Write("two.dbl", test::Spc35File({{32768, 32769}, {32770, 32771}}, 100, 1)),
         {"", ""}},
    };
    for (const Case& c : cases) {
        WaveRecord record = BridgeRecord(dir);
        FilterState filter;
        LoadOptions options;
        options.Format = c.Format;
        LoadResult loaded = LoadRecord(c.Path, options, filter, record);
        ASSERT_TRUE(loaded.Result.Ok()) << c.What;
        EXPECT_EQ(record.Title, "") << c.What;
        EXPECT_EQ(record.Comment, "") << c.What;
        EXPECT_EQ(record.ChannelCount, 2) << c.What;
        for (int k = 0; k < kMaxChannels; ++k) {
            // The slots beyond the record's channels are empty, not the earlier record's.
            const std::string expected = k < 2 ? c.Names[k] : "";
            EXPECT_EQ(record.Channels[k].Name, expected) << c.What << " channel " << k + 1;
            if (k >= 2) {
                EXPECT_TRUE(record.Channels[k].Samples.empty()) << c.What;
            }
        }
        // No byte of the SPC-51 header image is left (the standard CSV reader writes the rate word).
        DblHeader header = record.Header;
        if (c.Format == FormatType::CsvDefault) header.SetSamplingRate(0);
        EXPECT_EQ(header.Bytes, DblHeader{}.Bytes) << c.What;
        EXPECT_EQ(record.Time, TimeUnit::Seconds) << c.What;
    }
}

TEST(FreshLoad, DspCsvCountsPerSecondAfterARecordInMilliseconds) {
    TempDir dir;
    WaveRecord record;
    FilterState filter;
    ASSERT_TRUE(LoadRecord(dir.Write("ms.csv", test::StandardCsvFile("A", "1000,ms", "m", {"1", "2"})), {},
                           filter, record)
                    .Result.Ok());
    ASSERT_EQ(record.Time, TimeUnit::Milliseconds);
    LoadOptions gpl;
    gpl.Format = FormatType::CsvGpl;
    ASSERT_TRUE(
        LoadRecord(dir.Write("g.csv", test::DspCsvFile({"N"}, 10, {{1024}, {0}})), gpl, filter, record)
            .Result.Ok());
    EXPECT_EQ(record.SamplingRate, 100);
    EXPECT_EQ(record.Time, TimeUnit::Seconds);
    EXPECT_STREQ(record.FrequencyText(), "Hz");
}

TEST(FreshLoad, FailedLoadLeavesTheRecordItWasHanded) {
    TempDir dir;
    WaveRecord record = BridgeRecord(dir);
    const WaveRecord before = record;
    FilterState filter;
    LoadResult failed =
        LoadRecord(dir.Write("empty.csv", test::StandardCsvFile("A", "100,s", "m", {})), {}, filter, record);
    ASSERT_FALSE(failed.Result.Ok());
    // The pass sets the path and the transient format before it reads; the rest is the old record.
    EXPECT_EQ(record.Title, before.Title);
    EXPECT_EQ(record.ChannelCount, 8);
    EXPECT_EQ(record.Channels[7].Name, "Pier 8");
    EXPECT_EQ(record.Channels[7].Samples, before.Channels[7].Samples);
}

}  // namespace
}  // namespace wavora
