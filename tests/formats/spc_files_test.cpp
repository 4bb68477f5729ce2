#include "formats/spc_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <unistd.h>

#include "formats/data_readers.h"
#include "formats/reader_support.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::BuildSpc35;
using test::BuildSpc51;
using test::Spc35Image;
using test::Spc51Channel;
using test::Spc51Image;
using test::TempDir;

WaveRecord PreviousRecord() {
    WaveRecord r;
    r.ChannelCount = 1;
    r.SampleCount = 2;
    r.SamplingRate = 50;
    r.Time = TimeUnit::Milliseconds;
    r.Format = FormatType::CsvDefault;
    r.Title = "previous title";
    r.Comment = "previous comment";
    r.Channels[0].Name = "old";
    r.Channels[0].Samples = {7, 8};
    return r;
}

void ExpectUnchanged(const WaveRecord& r) {
    EXPECT_EQ(r.ChannelCount, 1);
    EXPECT_EQ(r.SampleCount, 2);
    EXPECT_EQ(r.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.Format, FormatType::CsvDefault);
    EXPECT_EQ(r.Channels[0].Name, "old");
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{7, 8}));
    EXPECT_EQ(r.Header.Bytes, DblHeader{}.Bytes);
}

Spc51Image TwoChannels() {
    Spc51Image image;
    image.Title = "Bridge deck";
    image.Date = "2024/05/07 09:03";
    image.Comment = "span 2";
    image.SamplingRate = 200;
    image.Channels = {Spc51Channel{"North", "mm", 0.01f, 300, -120, {1, -2, 3}},
                      Spc51Channel{"Vertical", "gal", 0.5f, 40, -90, {-32768, 32767, 0}}};
    return image;
}

struct Read {
    Outcome Result;
    WaveRecord Record = PreviousRecord();
};

Read Spc51(const TempDir& dir, const Spc51Image& image) {
    Read r;
    r.Result = ReadSpc51(dir.Write("a.dbl", BuildSpc51(image)), r.Record);
    return r;
}

Read Spc35(const TempDir& dir, const Spc35Image& image) {
    Read r;
    r.Result = ReadSpc35(dir.Write("b.dbl", BuildSpc35(image)), r.Record);
    return r;
}

TEST(Spc51, ReadsHeaderEntriesAndSamples) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    Read r = Spc51(dir, image);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    const WaveRecord& w = r.Record;
    EXPECT_EQ(w.Format, FormatType::Spc51);
    EXPECT_EQ(w.Time, TimeUnit::Seconds);
    EXPECT_EQ(w.ChannelCount, 2);
    EXPECT_EQ(w.SampleCount, 3);
    EXPECT_EQ(w.SamplingRate, 200);
    EXPECT_EQ(w.Title, "Bridge deck");
    EXPECT_EQ(w.DateText, "2024/05/07 09:03");
    EXPECT_EQ(w.Comment, "span 2");
    std::vector<uint8_t> file = BuildSpc51(image);
    EXPECT_TRUE(std::equal(w.Header.Bytes.begin(), w.Header.Bytes.end(), file.begin()));

    const ChannelInfo& north = w.Channels[0];
    EXPECT_EQ(north.Name, "North");
    EXPECT_EQ(north.Unit, "mm");
    EXPECT_EQ(north.DisplayUnit, "micron");
    EXPECT_FLOAT_EQ(north.ScaleFactor, 10.0f);
    EXPECT_EQ(north.RawPeak, 300);
    EXPECT_EQ(north.Samples, (std::vector<int16_t>{1, -2, 3}));

    const ChannelInfo& vertical = w.Channels[1];
    EXPECT_EQ(vertical.DisplayUnit, "Gal");
    EXPECT_FLOAT_EQ(vertical.ScaleFactor, 0.5f);
    EXPECT_EQ(vertical.RawPeak, 90);
    EXPECT_EQ(vertical.Samples, (std::vector<int16_t>{-32768, 32767, 0}));
}

TEST(Spc51, UnitsAndScales) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.Channels[0].Unit = "KINE";
    image.Channels[1].Unit = "Gal";  // a capital G is still gal: no factor 1000
    image.Channels.push_back(Spc51Channel{"Strain", "V", 0.002f, 1, 0, {5, 5, 5}});
    Read r = Spc51(dir, image);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].DisplayUnit, "mkine");
    EXPECT_FLOAT_EQ(r.Record.Channels[0].ScaleFactor, 10.0f);
    EXPECT_EQ(r.Record.Channels[1].DisplayUnit, "Gal");
    EXPECT_FLOAT_EQ(r.Record.Channels[1].ScaleFactor, 0.5f);
    EXPECT_EQ(r.Record.Channels[2].Unit, "V");
    EXPECT_EQ(r.Record.Channels[2].DisplayUnit, "V");
    EXPECT_FLOAT_EQ(r.Record.Channels[2].ScaleFactor, 2.0f);
}

TEST(Spc51, TagInLowerCaseIsAccepted) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.Tag = "a-tladx ver4.";
    EXPECT_TRUE(Spc51(dir, image).Result.Ok());
}

TEST(Spc51, NamesLoseTheirPaddingButKeepAllTheirCharacters) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.Channels[0].Name = "North";  // blank padded to 32 by the builder
    image.Channels[1].Name = std::string(32, 'Z');
    image.Channels.push_back(Spc51Channel{"\x93\x8C\x91\xA4", "mm", 1.0f, 0, 0, {}});  // 東側
    Read r = Spc51(dir, image);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_EQ(r.Record.Channels[0].Name, "North");
    EXPECT_EQ(r.Record.Channels[1].Name, std::string(32, 'Z'));
    EXPECT_EQ(r.Record.Channels[2].Name, "\xE6\x9D\xB1\xE5\x81\xB4");
}

TEST(Spc51, FewerFramesThanTheHeaderSaysLoadWithZeros) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.SampleCount = 5;
    image.FramesWritten = 2;
    Read r = Spc51(dir, image);
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    EXPECT_EQ(r.Record.SampleCount, 5);
    EXPECT_EQ(r.Record.Channels[0].Samples, (std::vector<int16_t>{1, -2, 0, 0, 0}));
    EXPECT_EQ(r.Record.Channels[1].Samples, (std::vector<int16_t>{-32768, 32767, 0, 0, 0}));
}

TEST(Spc51, RefusalsLeaveTheRecordAlone) {
    TempDir dir;
    Spc51Image wrongTag = TwoChannels();
    wrongTag.Tag = "A-TLADX VER3.";
    Read r = Spc51(dir, wrongTag);
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, Failure::Notice("  Not SPC51 Data File!  "));
    ExpectUnchanged(r.Record);

    for (int16_t channels : {0, 9, -1}) {
        Spc51Image image = TwoChannels();
        image.ChannelCount = channels;
        Read bad = Spc51(dir, image);
        ASSERT_FALSE(bad.Result.Ok()) << channels;
        EXPECT_EQ(bad.Result.Error->Caption, "File Error");
        EXPECT_NE(bad.Result.Error->Text.find(std::to_string(channels) + " channels"), std::string::npos);
        ExpectUnchanged(bad.Record);
    }
    Spc51Image negative = TwoChannels();
    negative.SampleCount = -4;
    Read bad = Spc51(dir, negative);
    ASSERT_FALSE(bad.Result.Ok());
    EXPECT_EQ(bad.Result.Error->Caption, "File Error");
    ExpectUnchanged(bad.Record);

    Spc51Image noRate = TwoChannels();
    noRate.SamplingRate = 0;
    bad = Spc51(dir, noRate);
    ASSERT_FALSE(bad.Result.Ok());
    EXPECT_EQ(bad.Result.Error->Caption, "File Error");
    ExpectUnchanged(bad.Record);
}

TEST(Spc51, TruncatedAndMissingFiles) {
    TempDir dir;
    std::vector<uint8_t> file = BuildSpc51(TwoChannels());
    for (size_t size : {size_t(0), size_t(5), size_t(13), size_t(300), size_t(512), size_t(512 + 96 + 40)}) {
        WaveRecord w = PreviousRecord();
        Outcome o =
            ReadSpc51(dir.Write("cut.dbl", std::vector<uint8_t>(file.begin(), file.begin() + size)), w);
        ASSERT_FALSE(o.Ok()) << size;
        if (size < 13)
            EXPECT_EQ(o.Error->Text, "  Not SPC51 Data File!  ");
        else
            EXPECT_EQ(*o.Error, TruncatedHeaderFailure());
        ExpectUnchanged(w);
    }
    WaveRecord w = PreviousRecord();
    EXPECT_EQ(*ReadSpc51(dir.File("none.dbl"), w).Error,
              Failure::Captioned("read file not exist  ", "File Error"));
    ExpectUnchanged(w);
}

TEST(Spc51, HeaderCountBeyondMemoryIsAMemoryFailure) {
    long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && double(pages) * pageSize > 64e9) GTEST_SKIP() << "too much memory to exceed it safely";
    TempDir dir;
    Spc51Image image = TwoChannels();
    for (int k = 0; k < 6; ++k) image.Channels.push_back(image.Channels[0]);
    image.SampleCount = INT32_MAX;
    Read r = Spc51(dir, image);
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, MemoryFailure());
    ExpectUnchanged(r.Record);
}

TEST(Spc51, CancelLeavesTheRecordAlone) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.Channels.resize(1);
    image.Channels[0].Samples.assign(300000, 1);
    std::string path = dir.Write("long.dbl", BuildSpc51(image));
    WaveRecord w = PreviousRecord();
    Outcome o = ReadSpc51(path, w, [](const std::string&, double) { return false; });
    EXPECT_TRUE(IsCancelled(o));
    ExpectUnchanged(w);
    EXPECT_TRUE(ReadSpc51(path, w, [](const std::string&, double) { return true; }).Ok());
    EXPECT_EQ(w.SampleCount, 300000);
}

TEST(Spc51, ScaleFactorsThatGiveNoFiniteValuesAreRefusedNamingTheChannel) {
    TempDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* Unit;
        float Scale;
        const char* Shown;  // as %g prints it
    } refused[] = {
        {"gal", nan, "nan"},      {"gal", inf, "inf"},      {"mm", -inf, "-inf"},
        {"gal", -0.01f, "-0.01"}, {"gal", 0.0f, "0"},       {"mm", 1e-40f, "9.99995e-41"},
        {"mm", 1e38f, "1e+38"},   {"kine", 4e22f, "4e+22"}, {"gal", 4e25f, "4e+25"},
    };
    for (const Case& c : refused) {
        Spc51Image image = TwoChannels();
        image.Channels[1].Unit = c.Unit;
        image.Channels[1].Scale = c.Scale;
        Read r = Spc51(dir, image);
        ASSERT_FALSE(r.Result.Ok()) << c.Shown;
        const char* range = c.Unit[0] == 'g' ? "1.17549e-38 to 3.05176e+25" : "1.17549e-38 to 3.05176e+22";
        EXPECT_EQ(r.Result.Error->Text, std::string("The scale factor of channel 2 (Vertical) is ") +
                                            c.Shown + "; it must be a number from " + range + ".");
        EXPECT_EQ(r.Result.Error->Caption, "File Error");
        ExpectUnchanged(r.Record);
    }
    // The limits themselves load, and every sample times the scale stays finite.
    for (const Case& c : {Case{"gal", 3.0e25f, ""}, Case{"mm", 3.0e22f, ""}, Case{"gal", FLT_MIN, ""}}) {
        Spc51Image image = TwoChannels();
        image.Channels[1].Unit = c.Unit;
        image.Channels[1].Scale = c.Scale;
        Read r = Spc51(dir, image);
        ASSERT_TRUE(r.Result.Ok()) << c.Scale;
        EXPECT_LE(32768.0f * r.Record.Channels[1].ScaleFactor, kLargestPhysicalValue);
    }
    // An unnamed channel is named by its number alone.
    Spc51Image unnamed = TwoChannels();
    unnamed.Channels[0].Name = "";
    unnamed.Channels[0].Scale = nan;
    EXPECT_EQ(Spc51(dir, unnamed).Result.Error->Text.substr(0, 37), "The scale factor of channel 1 is nan;");
}

TEST(SpcFiles, HeaderOfNoSamplesIsRefused) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.SampleCount = 0;
    Read r = Spc51(dir, image);
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, Failure::Captioned("The file header gives 0 samples per channel; there is "
                                                  "nothing to read.",
                                                  "File Error"));
    ExpectUnchanged(r.Record);

    Spc35Image empty;
    empty.Channels = {{}, {}};
    empty.SampleCount = 0;
    r = Spc35(dir, empty);
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(r.Result.Error->Caption, "File Error");
    ExpectUnchanged(r.Record);
}

TEST(Spc51, ShortFileOfALargeHeaderCountReportsProgressAndCanBeCancelled) {
    TempDir dir;
    Spc51Image image = TwoChannels();
    image.SampleCount = 20'000'000;  // 80 MB of zeros for a file of three frames
    const std::string path = dir.Write("short.dbl", BuildSpc51(image));

    std::vector<double> fractions;
    WaveRecord w = PreviousRecord();
    Outcome o = ReadSpc51(path, w, [&](const std::string& what, double f) {
        EXPECT_EQ(what, "Reading data file");
        fractions.push_back(f);
        return true;
    });
    ASSERT_TRUE(o.Ok());
    EXPECT_EQ(w.SampleCount, 20'000'000);
    EXPECT_EQ(w.Channels[1].Samples[2], 0);
    EXPECT_EQ(w.Channels[1].Samples[1], 32767);
    ASSERT_GE(fractions.size(), 4u);  // while the arrays are zero-filled, not only at the end
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_GT(fractions.front(), 0.0);
    EXPECT_EQ(fractions.back(), 1.0);

    // A cancel while the arrays are filled stops at once and leaves the record as it was.
    for (size_t stopAt : {size_t(0), size_t(2)}) {
        WaveRecord kept = PreviousRecord();
        size_t calls = 0;
        Outcome cancelled =
            ReadSpc51(path, kept, [&](const std::string&, double) { return calls++ < stopAt; });
        EXPECT_TRUE(IsCancelled(cancelled));
        EXPECT_EQ(calls, stopAt + 1);
        ExpectUnchanged(kept);
    }
}

Spc35Image ThreeWords() {
    Spc35Image image;
    image.Channels = {{0x8000, 0xFFFF, 0x0000}, {0x8001, 0x7FFF, 0x8000}};
    return image;
}

TEST(Spc35, OffsetBinaryDateAndUnits) {
    TempDir dir;
    Read r = Spc35(dir, ThreeWords());
    ASSERT_TRUE(r.Result.Ok());
    EXPECT_TRUE(r.Result.Warnings.empty());
    const WaveRecord& w = r.Record;
    EXPECT_EQ(w.Format, FormatType::Spc35);
    EXPECT_EQ(w.Time, TimeUnit::Seconds);
    EXPECT_EQ(w.ChannelCount, 2);
    EXPECT_EQ(w.SampleCount, 3);
    EXPECT_EQ(w.SamplingRate, 100);
    EXPECT_EQ(w.DateText, "2024/05/07 09:03:01");
    // Nothing of the previous record: no title, no comment, no channel names.
    EXPECT_EQ(w.Title, "");
    EXPECT_EQ(w.Comment, "");
    EXPECT_EQ(w.Channels[0].Name, "");
    EXPECT_EQ(w.Channels[1].Name, "");
    EXPECT_EQ(w.Channels[0].Samples, (std::vector<int16_t>{0, 32767, -32768}));
    EXPECT_EQ(w.Channels[1].Samples, (std::vector<int16_t>{1, -1, 0}));
    EXPECT_FLOAT_EQ(w.Channels[0].ScaleFactor, 0.001f);
    EXPECT_EQ(w.Channels[1].Unit, "Gal");
    EXPECT_EQ(w.Channels[1].DisplayUnit, "Gal");

    const char* units[] = {"\xCE\xBC", "mkine", "Gal"};
    for (int16_t code = 0; code < 3; ++code) {
        Spc35Image image = ThreeWords();
        image.UnitCode = code;
        Read u = Spc35(dir, image);
        ASSERT_TRUE(u.Result.Ok());
        EXPECT_EQ(u.Record.Channels[0].Unit, units[code]);
        EXPECT_EQ(u.Record.Channels[1].DisplayUnit, units[code]);
    }
}

TEST(Spc35, UnknownUnitCodeLoadsWithAWarning) {
    TempDir dir;
    Spc35Image image = ThreeWords();
    image.UnitCode = 7;
    Read r = Spc35(dir, image);
    ASSERT_TRUE(r.Result.Ok());
    ASSERT_EQ(r.Result.Warnings.size(), 1u);
    EXPECT_NE(r.Result.Warnings[0].Text.find("unit code 7"), std::string::npos);
    EXPECT_EQ(r.Record.Channels[0].Unit, "");
}

TEST(Spc35, FrameCountMustMatchTheHeader) {
    TempDir dir;
    for (int64_t frames : {2, 4}) {
        Spc35Image image = ThreeWords();
        image.FramesWritten = frames;
        Read r = Spc35(dir, image);
        ASSERT_FALSE(r.Result.Ok()) << frames;
        EXPECT_EQ(*r.Result.Error, Failure::Notice("  Data Number incorrect!!  "));
        ExpectUnchanged(r.Record);
    }
    // A count far beyond the file is refused without taking memory for it.
    Spc35Image huge = ThreeWords();
    huge.SampleCount = INT32_MAX;
    EXPECT_EQ(*Spc35(dir, huge).Result.Error, Failure::Notice("  Data Number incorrect!!  "));
}

TEST(Spc35, RefusalsLeaveTheRecordAlone) {
    TempDir dir;
    Spc35Image noCheck = ThreeWords();
    noCheck.CheckBytes = false;
    Read r = Spc35(dir, noCheck);
    ASSERT_FALSE(r.Result.Ok());
    EXPECT_EQ(*r.Result.Error, Failure::Notice("  Not SPC35N Data Format!!  "));
    ExpectUnchanged(r.Record);

    for (int16_t channels : {0, 9}) {
        Spc35Image image = ThreeWords();
        image.ChannelCount = channels;
        Read bad = Spc35(dir, image);
        ASSERT_FALSE(bad.Result.Ok());
        EXPECT_EQ(bad.Result.Error->Caption, "File Error");
        ExpectUnchanged(bad.Record);
    }
    Spc35Image noRate = ThreeWords();
    noRate.SamplingRate = -5;
    EXPECT_EQ(Spc35(dir, noRate).Result.Error->Caption, "File Error");
    Spc35Image negative = ThreeWords();
    negative.SampleCount = -1;
    EXPECT_EQ(Spc35(dir, negative).Result.Error->Caption, "File Error");

    std::vector<uint8_t> file = BuildSpc35(ThreeWords());
    for (size_t size : {size_t(0), size_t(100), size_t(113), size_t(200)}) {
        WaveRecord w = PreviousRecord();
        Outcome o =
            ReadSpc35(dir.Write("cut.dbl", std::vector<uint8_t>(file.begin(), file.begin() + size)), w);
        ASSERT_FALSE(o.Ok());
        if (size <= 112)
            EXPECT_EQ(o.Error->Text, "  Not SPC35N Data Format!!  ");
        else
            EXPECT_EQ(*o.Error, TruncatedHeaderFailure());
        ExpectUnchanged(w);
    }
}

TEST(SampleBlocks, FramesAcrossBlocksAndBeyondTheCount) {
    TempDir dir;
    std::string bytes;
    for (int f = 0; f < 3000; ++f)
        for (int k = 0; k < 2; ++k) {
            uint16_t w = static_cast<uint16_t>(f * 2 + k);
            bytes += static_cast<char>(w & 0xFF);
            bytes += static_cast<char>(w >> 8);
        }
    bytes += "\x01\x02\x03";  // a frame cut short is not counted
    std::string path = dir.Write("frames.bin", bytes);
    FilePtr file(std::fopen(path.c_str(), "rb"));
    WaveRecord w;
    SampleBlockResult result = ReadSampleBlocks(file.get(), w, 2, 2500);
    EXPECT_EQ(result.FramesRead, 3000);
    EXPECT_FALSE(result.OutOfMemory);
    ASSERT_EQ(w.Channels[0].Samples.size(), 2500u);
    EXPECT_EQ(w.Channels[0].Samples[2049], 4098);
    EXPECT_EQ(w.Channels[1].Samples[2049], 4099);
    EXPECT_EQ(w.Channels[1].Samples[2499], 4999);
}

}  // namespace
}  // namespace wavora
