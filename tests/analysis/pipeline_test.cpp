#include "analysis/load_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/data_readers.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::TempDir;

constexpr double kPi = 3.14159265358979323846;

// Two channels at 100 per second: a 5 Hz sine on an offset, and a slower sine with a spike.
std::string HundredHzCsv(int rows = 1500) {
    std::vector<std::string> lines;
    for (int i = 0; i < rows; ++i) {
        char line[80];
        double a = 5.0 * std::sin(2 * kPi * 5.0 * i / 100.0) + 1.0;
        double b = 2.0 * std::sin(2 * kPi * 0.7 * i / 100.0) + (i == 700 ? 4.0 : 0.0);
        std::snprintf(line, sizeof line, "%.4f,%.4f", a, b);
        lines.push_back(line);
    }
    return test::StandardCsvFile("A,B", "100,s", "Gal,kine", lines);
}

struct Loaded {
    WaveRecord Record;
    FilterState Filter;
    LoadResult Result;
};

Loaded Load(const std::string& path, const LoadOptions& options, FilterState filter = {}) {
    Loaded l;
    l.Filter = filter;
    l.Result = LoadRecord(path, options, l.Filter, l.Record);
    return l;
}

FilterState DefaultFilter() {
    FilterState f;
    f.Mode = FilterMode::Default;
    f.Active = true;
    return f;
}

TEST(LoadPipeline, UnfilteredLoadKeepsTheReadersSamples) {
    TempDir dir;
    auto path = dir.Write("plain.csv", HundredHzCsv());
    WaveRecord read;
    ASSERT_TRUE(ReadStandardCsv(path, read).Ok());

    Loaded l = Load(path, {});
    ASSERT_TRUE(l.Result.Result.Ok());
    EXPECT_FALSE(l.Result.Filtered);
    EXPECT_EQ(l.Record.Format, FormatType::CsvDefault);
    EXPECT_EQ(l.Record.FilePath, path);
    EXPECT_EQ(l.Record.FileName, "plain.csv");
    EXPECT_EQ(l.Record.SamplingInterval, 1.0f / 100.0f);
    for (int k = 0; k < 2; ++k) {
        const ChannelInfo& ch = l.Record.Channels[k];
        EXPECT_EQ(ch.Samples, read.Channels[k].Samples);
        EXPECT_EQ(ch.ScaleFactor, read.Channels[k].ScaleFactor);
        EXPECT_EQ(ch.BaseScaleFactor, ch.ScaleFactor);
        EXPECT_EQ(ch.DisplayDivisor, 1024);
        EXPECT_FLOAT_EQ(ch.PeakValue, 32000 * ch.ScaleFactor);
    }
    // The corners are worked out also when nothing is filtered.
    EXPECT_FLOAT_EQ(l.Filter.DefaultUpper, 37.5f);

    // DC Cut alone: the reader's samples less their mean.
    LoadOptions dc;
    dc.DcCut = true;
    Loaded cut = Load(path, dc);
    RemoveRecordMean(read);
    EXPECT_EQ(cut.Record.Channels[0].Samples, read.Channels[0].Samples);
    EXPECT_EQ(cut.Record.Channels[1].Samples, read.Channels[1].Samples);
}

TEST(LoadPipeline, DefaultFilterOnHundredHzUsesOneAndThreeQuartersOfNyquistOverStep) {
    TempDir dir;
    auto path = dir.Write("f.csv", HundredHzCsv());
    Loaded raw = Load(path, {});

    Loaded one = Load(path, {}, DefaultFilter());
    ASSERT_TRUE(one.Result.Result.Ok());
    EXPECT_TRUE(one.Result.Filtered);
    EXPECT_FLOAT_EQ(one.Filter.EffectiveLower, 1.0f);
    EXPECT_FLOAT_EQ(one.Filter.EffectiveUpper, 37.5f);
    std::vector<float> h(kFilterCoefficients);
    DesignBandPass(kFilterCoefficients, h.data(), 0.5f, 1.0f, 37.5f, 56.25f, 0.01f);
    for (int c = 0; c < 2; ++c) {
        auto expected = raw.Record.Channels[c].Samples;
        int k = FilterChannel(kFilterCoefficients, h.data(), expected.data(),
                              static_cast<int64_t>(expected.size()));
        EXPECT_EQ(one.Record.Channels[c].Samples, expected);
        EXPECT_EQ(one.Record.Channels[c].BaseScaleFactor, raw.Record.Channels[c].ScaleFactor);
        EXPECT_EQ(one.Record.Channels[c].ScaleFactor,
                  raw.Record.Channels[c].ScaleFactor * static_cast<float>(k));
    }

    LoadOptions step2;
    step2.Step = 2;
    Loaded two = Load(path, step2, DefaultFilter());
    EXPECT_FLOAT_EQ(two.Filter.EffectiveUpper, 18.75f);
    EXPECT_NE(two.Record.Channels[0].Samples, one.Record.Channels[0].Samples);

    // A filter mode with the filter switched off filters nothing.
    FilterState off = DefaultFilter();
    off.Active = false;
    Loaded inactive = Load(path, {}, off);
    EXPECT_FALSE(inactive.Result.Filtered);
    EXPECT_EQ(inactive.Record.Channels[0].Samples, raw.Record.Channels[0].Samples);
}

TEST(LoadPipeline, ArbitraryLowerZeroDesignsTheLowPass) {
    TempDir dir;
    auto path = dir.Write("lp.csv", HundredHzCsv());
    Loaded raw = Load(path, {});
    FilterState f;
    f.Mode = FilterMode::Arbitrary;
    f.Active = true;
    f.ArbitraryLower = 0.0f;
    f.ArbitraryUpper = 20.0f;
    Loaded lp = Load(path, {}, f);
    EXPECT_TRUE(lp.Result.Filtered);
    EXPECT_EQ(lp.Filter.EffectiveLower, 0.0f);
    EXPECT_EQ(lp.Filter.EffectiveUpper, 20.0f);
    std::vector<float> h(kFilterCoefficients);
    DesignLowPass(kFilterCoefficients, h.data(), 20.0f, 30.0f, 0.01f);
    auto expected = raw.Record.Channels[0].Samples;
    FilterChannel(kFilterCoefficients, h.data(), expected.data(), static_cast<int64_t>(expected.size()));
    EXPECT_EQ(lp.Record.Channels[0].Samples, expected);
}

TEST(LoadPipeline, ClippingAtNinetyFivePercentLimitsToTheRawMagnitude) {
    TempDir dir;
    auto path = dir.Write("clip.csv", HundredHzCsv());
    LoadOptions clip;
    clip.ClipOn = true;
    clip.ClipFraction = 0.95f;
    Loaded l = Load(path, clip);
    for (int c = 0; c < 2; ++c) {
        const ChannelInfo& ch = l.Record.Channels[c];
        int largest = 0;
        for (int16_t s : ch.Samples) largest = std::max(largest, std::abs(static_cast<int>(s)));
        EXPECT_EQ(largest, 30400);  // trunc(0.95 × 32000)
        EXPECT_FLOAT_EQ(ch.PeakValue, 30400 * ch.ScaleFactor);
    }
}

TEST(LoadPipeline, RerunningGivesIdenticalSamples) {
    TempDir dir;
    auto path = dir.Write("again.csv", HundredHzCsv());
    LoadOptions all;
    all.DcCut = true;
    all.IntegrationOn = true;
    all.ClipOn = true;
    all.ClipFraction = 0.8f;
    all.Step = 5;
    Loaded a = Load(path, all, DefaultFilter());
    Loaded b = Load(path, all, DefaultFilter());
    ASSERT_TRUE(a.Result.Result.Ok());
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(a.Record.Channels[c].Samples, b.Record.Channels[c].Samples);
        EXPECT_EQ(a.Record.Channels[c].ScaleFactor, b.Record.Channels[c].ScaleFactor);
        EXPECT_EQ(a.Record.Channels[c].PeakValue, b.Record.Channels[c].PeakValue);
    }
}

TEST(LoadPipeline, IntegrationForcesTheFilterOnAndSetsItsUnits) {
    TempDir dir;
    auto path = dir.Write("integ.csv", HundredHzCsv());
    LoadOptions integ;
    integ.IntegrationOn = true;
    FilterState f;  // Default mode but the box unchecked
    f.Mode = FilterMode::Default;
    Loaded l = Load(path, integ, f);
    EXPECT_TRUE(l.Filter.Active);
    EXPECT_TRUE(l.Result.Filtered);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(l.Record.Channels[c].DisplayUnit, "\xCE\xBC");
        EXPECT_EQ(l.Record.Channels[c].DisplayDivisor, 4);
    }
    // Unfiltered stays unfiltered even while integrating.
    Loaded plain = Load(path, integ, FilterState{});
    EXPECT_TRUE(plain.Filter.Active);
    EXPECT_FALSE(plain.Result.Filtered);
}

TEST(LoadPipeline, FilterReportsProgressAndCanBeCancelled) {
    TempDir dir;
    auto path = dir.Write("p.csv", HundredHzCsv());
    std::vector<std::string> seen;
    FilterState f = DefaultFilter();
    WaveRecord r;
    auto record = [&](const std::string& what, double) {
        seen.push_back(what);
        return true;
    };
    LoadResult done = LoadRecord(path, {}, f, r, record);
    EXPECT_FALSE(done.Cancelled);
    EXPECT_NE(std::find(seen.begin(), seen.end(), "Bandpass Filtering now"), seen.end());

    auto stop = [](const std::string& what, double) { return what != "Bandpass Filtering now"; };
    LoadResult cancelled = LoadRecord(path, {}, f, r, stop);
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_FALSE(cancelled.Filtered);
}

TEST(LoadPipeline, Spc51HeaderTextsAndDisplayDivisors) {
    TempDir dir;
    std::vector<test::Spc51Channel> chans(4);
    const int32_t peaks[4] = {64, 65, 1025, 9000};
    for (int k = 0; k < 4; ++k) {
        chans[k].Name = "CH" + std::to_string(k + 1);
        chans[k].Unit = "gal";
        chans[k].Scale = 0.5f;
        chans[k].MaxRaw = peaks[k];
        chans[k].MinRaw = -10;
        chans[k].Samples = {1, -2, 3, static_cast<int16_t>(peaks[k] > 32767 ? 32767 : peaks[k])};
    }
    auto path = dir.Write("m.dbl", test::Spc51File(chans, 200, "BRIDGE", "2024/05/06 07:08:09", "NIGHT RUN"));
    Loaded l = Load(path, LoadOptions{FormatType::Spc51});
    ASSERT_TRUE(l.Result.Result.Ok()) << l.Result.Result.Error->Text;
    EXPECT_EQ(l.Record.Format, FormatType::Spc51);
    EXPECT_EQ(l.Record.Title, "BRIDGE");
    EXPECT_EQ(l.Record.Comment, "NIGHT RUN");
    EXPECT_EQ(l.Record.DateText, "2024/05/06 07:08:09");
    EXPECT_EQ(l.Record.SamplingInterval, 1.0f / 200.0f);
    EXPECT_EQ(l.Record.Channels[0].DisplayDivisor, 1);
    EXPECT_EQ(l.Record.Channels[1].DisplayDivisor, 2);
    EXPECT_EQ(l.Record.Channels[2].DisplayDivisor, 32);  // above 1024
    EXPECT_EQ(l.Record.Channels[3].DisplayDivisor, 256);
    EXPECT_FLOAT_EQ(l.Record.Channels[3].PeakValue, 9000 * 0.5f);
}

TEST(LoadPipeline, BinaryFormatsNeedTheDblExtensionAndAnExistingFile) {
    TempDir dir;
    std::vector<test::Spc51Channel> chans(1);
    chans[0].Unit = "gal";
    chans[0].Samples = {1, 2};
    auto wrongName = dir.Write("m.bin", test::Spc51File(chans, 100));
    WaveRecord r;
    r.Time = TimeUnit::Milliseconds;
    FilterState f;
    LoadResult wrong = LoadRecord(wrongName, LoadOptions{FormatType::Spc51}, f, r);
    ASSERT_FALSE(wrong.Result.Ok());
    EXPECT_EQ(*wrong.Result.Error, Failure::Notice("  Not SPC51/35 Data File!  "));
    EXPECT_EQ(r.Time, TimeUnit::Seconds);

    LoadResult missing = LoadRecord(dir.File("none.DBL"), LoadOptions{FormatType::Spc35}, f, r);
    ASSERT_FALSE(missing.Result.Ok());
    EXPECT_EQ(*missing.Result.Error, Failure::Captioned("read file not exist  ", "File Error"));
    LoadResult folder = LoadRecord(dir.Path() + "/", LoadOptions{FormatType::Spc35}, f, r);
    EXPECT_FALSE(folder.Result.Ok());
}

TEST(LoadPipeline, HeaderCopyKeepsEverythingButTheSamples) {
    TempDir dir;
    auto path = dir.Write("h.csv", HundredHzCsv(10));
    Loaded l = Load(path, {});
    WaveRecord copy = HeaderCopy(l.Record);
    EXPECT_FALSE(copy.HasSamples());
    EXPECT_EQ(copy.FilePath, l.Record.FilePath);
    EXPECT_EQ(copy.SampleCount, l.Record.SampleCount);
    EXPECT_EQ(copy.RateUnitText, l.Record.RateUnitText);
    EXPECT_EQ(copy.Header.Bytes, l.Record.Header.Bytes);
    EXPECT_EQ(copy.Channels[1].Name, "B");
    EXPECT_EQ(copy.Channels[1].ScaleFactor, l.Record.Channels[1].ScaleFactor);
    EXPECT_TRUE(copy.Channels[1].Samples.empty());
}

TEST(LoadPipeline, CornersThatAreNoBandLeaveTheSamplesUnfiltered) {
    TempDir dir;
    auto path = dir.Write("b.csv", HundredHzCsv());
    Loaded raw = Load(path, {});

    // Filter > Arbitrary without Execute: the corners a session starts with, 1 and 0.
    FilterState start;
    start.Mode = FilterMode::Arbitrary;
    start.Active = true;
    // A default band at 100 per second and Step 10: 1.0 to 3.75 is a band; at 2 per second it is not.
    FilterState wide = DefaultFilter();
    LoadOptions step10;
    step10.Step = 10;
    struct Case {
        std::string Path;
        LoadOptions Options;
        FilterState Filter;
        bool Filtered;
    };
    auto slow = dir.Write("slow.csv", test::StandardCsvFile("A", "2,s", "Gal", {"1", "-2", "3", "0.5"}));
    const Case cases[] = {
        {path, {}, start, false},
        {path, step10, wide, true},
        {slow, step10, wide, false},
        {slow, {}, wide, false},  // 2 × 0.75 / 2 = 0.75, below the lower corner 1.0
    };
    for (const Case& c : cases) {
        Loaded l = Load(c.Path, c.Options, c.Filter);
        ASSERT_TRUE(l.Result.Result.Ok());
        EXPECT_EQ(l.Result.Filtered, c.Filtered) << c.Path;
        if (c.Filtered) {
            EXPECT_TRUE(l.Result.Result.Warnings.empty());
            continue;
        }
        ASSERT_EQ(l.Result.Result.Warnings.size(), 1u) << c.Path;
        EXPECT_EQ(l.Result.Result.Warnings[0],
                  Failure::Captioned("Illegal Corner Frequency", "Frequency Error"));
        Loaded plain = Load(c.Path, c.Options);
        EXPECT_EQ(l.Record.Channels[0].Samples, plain.Record.Channels[0].Samples);
        EXPECT_EQ(l.Record.Channels[0].ScaleFactor, plain.Record.Channels[0].ScaleFactor);
    }
}

TEST(LoadPipeline, ArbitraryCsvImportsTheAcceptedSelectionAgain) {
    TempDir dir;
    // The standard file's values with a time column in front and a title line.
    std::string text = "time,A,B\nrun 3\nmemo\ns,Gal,kine\n";
    std::vector<std::string> rows;
    const std::string standard = HundredHzCsv();
    size_t at = 0;
    for (int line = 0; line < 4; ++line) at = standard.find('\n', at) + 1;
    for (int i = 0; at < standard.size(); ++i) {
        size_t lf = standard.find('\n', at);
        text += std::to_string(i) + "," + standard.substr(at, lf - at) + "\n";
        at = lf + 1;
    }
    auto path = dir.Write("timed.csv", text);
    auto plainPath = dir.Write("plain.csv", standard);

    LoadOptions options;
    options.Format = FormatType::CsvArbitrary;
    CsvLineIndex index;
    ASSERT_TRUE(CsvLineIndex::Build(path, index).Ok());
    CsvImportSelection s = StartSelection(index);
    s.FromColumn = 2;
    options.Import = s;

    // Re-processing (a filter command) imports the same selection from the file, no dialog.
    Loaded imported = Load(path, options, DefaultFilter());
    ASSERT_TRUE(imported.Result.Result.Ok());
    EXPECT_TRUE(imported.Result.Filtered);
    EXPECT_EQ(imported.Record.Format, FormatType::CsvArbitrary);
    EXPECT_EQ(imported.Record.FileName, "timed.csv");
    Loaded standardLoad = Load(plainPath, {}, DefaultFilter());
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(imported.Record.Channels[k].Samples, standardLoad.Record.Channels[k].Samples);
        EXPECT_EQ(imported.Record.Channels[k].ScaleFactor, standardLoad.Record.Channels[k].ScaleFactor);
    }

    // The dialog's OK, from the index it already has, makes the very same record.
    FilterState f = DefaultFilter();
    WaveRecord fromIndex;
    LoadResult ok = LoadImport(index, options, f, fromIndex);
    ASSERT_TRUE(ok.Result.Ok());
    EXPECT_EQ(fromIndex.Channels[1].Samples, imported.Record.Channels[1].Samples);
    EXPECT_EQ(fromIndex.SamplingInterval, 0.01f);

    // Without an accepted selection there is nothing to import.
    LoadOptions none;
    none.Format = FormatType::CsvArbitrary;
    Loaded refused = Load(path, none);
    ASSERT_FALSE(refused.Result.Result.Ok());
    EXPECT_EQ(refused.Result.Result.Error->Caption, kImportCaption);
}

}  // namespace
}  // namespace wavora
