#include "formats/data_writers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>

#include "formats/data_readers.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::ReadAll;
using test::TempDir;

WaveRecord Processed() {
    WaveRecord r;
    r.ChannelCount = 3;
    r.SampleCount = 10;
    r.SamplingRate = 100;
    r.RateUnitText = "s";
    const char* names[] = {"North", "\xE6\x9D\xB1", "Up"};  // 東
    const char* units[] = {"micron", "\xCE\xBC", "Gal"};    // μ
    const float scales[] = {10.0f, 6.1035156e-5f, 1.7407534e-5f};
    for (int k = 0; k < 3; ++k) {
        ChannelInfo& c = r.Channels[k];
        c.Name = names[k];
        c.DisplayUnit = units[k];
        c.Unit = "raw";
        c.ScaleFactor = scales[k];
        for (int i = 0; i < 10; ++i)
            c.Samples.push_back(static_cast<int16_t>((i - 4) * 3277 * (k + 1) % 32768));
    }
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

TEST(FilterLine, EveryMode) {
    FilterState f;
    EXPECT_EQ(FilterLine(f, 100, "Hz"), "FILTER,Unfiltered");
    f.Mode = FilterMode::Default;
    f.Active = true;
    EXPECT_EQ(FilterLine(f, 100, "Hz"), "FILTER,BANDPASS,1.00Hz-37.50Hz");
    EXPECT_EQ(FilterLine(f, 1000, "kHz"), "FILTER,BANDPASS,1.00kHz-375.00kHz");
    f.Mode = FilterMode::Arbitrary;
    f.ArbitraryLower = 0.0f;
    f.ArbitraryUpper = 12.345f;
    EXPECT_EQ(FilterLine(f, 100, "Hz"), "FILTER,BANDPASS,0.00Hz-12.35Hz");
}

TEST(AnalysedData, FileLayoutAndEncoding) {
    TempDir dir;
    WaveRecord r = Processed();
    FilterState f;
    f.Mode = FilterMode::Default;
    std::string path = dir.File("out.csv");
    ASSERT_TRUE(WriteAnalysedData(path, r, f, 0, 0, true).Ok());
    std::vector<std::string> lines = Lines(ReadAll(path));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "North,\x93\x8C,Up");
    EXPECT_EQ(lines[1], "100,s");
    EXPECT_EQ(lines[2], "FILTER,BANDPASS,1.00Hz-37.50Hz");
    EXPECT_EQ(lines[3], "micron,\x83\xCA,Gal");
    char expected[128];
    std::snprintf(expected, sizeof expected, "%10.3e,%10.3e,%10.3e", r.Channels[0].Samples[0] * 10.0f,
                  r.Channels[1].Samples[0] * 6.1035156e-5f, r.Channels[2].Samples[0] * 1.7407534e-5f);
    EXPECT_EQ(lines[4], expected);
    EXPECT_EQ(lines[8], " 0.000e+00, 0.000e+00, 0.000e+00");  // sample index 4 is 0 everywhere
}

TEST(AnalysedData, ReadBackReproducesThePrintedValues) {
    TempDir dir;
    WaveRecord r = Processed();
    r.Time = TimeUnit::Milliseconds;
    r.RateUnitText = "ms";
    std::string path = dir.File("round.csv");
    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 0, 0, true).Ok());
    WaveRecord back;
    ASSERT_TRUE(ReadStandardCsv(path, back).Ok());
    EXPECT_EQ(back.ChannelCount, 3);
    EXPECT_EQ(back.SampleCount, 10);
    EXPECT_EQ(back.SamplingRate, 100);
    EXPECT_EQ(back.Time, TimeUnit::Milliseconds);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(back.Channels[k].Name, r.Channels[k].Name);
        EXPECT_EQ(back.Channels[k].Unit, r.Channels[k].DisplayUnit);
        float peak = 0;
        for (int16_t s : r.Channels[k].Samples)
            peak = std::max(peak, std::fabs(s * r.Channels[k].ScaleFactor));
        for (int i = 0; i < 10; ++i) {
            double written = r.Channels[k].Samples[i] * r.Channels[k].ScaleFactor;
            double read = back.Channels[k].Samples[i] * back.Channels[k].ScaleFactor;
            // Four significant digits are printed; reading quantises to 1/32000 of the peak again.
            EXPECT_NEAR(read, written, std::fabs(written) * 5e-4 + peak * 1.01 / 32000) << k << "," << i;
        }
    }
}

TEST(AnalysedData, AnalysedRangeStopsAtTheLastSample) {
    TempDir dir;
    WaveRecord r = Processed();
    std::string path = dir.File("range.csv");
    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 5, 4, false).Ok());
    std::vector<std::string> lines = Lines(ReadAll(path));
    ASSERT_EQ(lines.size(), 4u + 4u);
    ASSERT_TRUE(WriteAnalysedData(dir.File("all.csv"), r, FilterState{}, 0, 0, true).Ok());
    std::vector<std::string> allLines = Lines(ReadAll(dir.File("all.csv")));
    EXPECT_EQ(lines[4], allLines[4 + 5]);
    EXPECT_EQ(lines[7], allLines[4 + 8]);

    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 8, 1024, false).Ok());
    lines = Lines(ReadAll(path));
    ASSERT_EQ(lines.size(), 4u + 2u);  // samples 8 and 9 only
    EXPECT_EQ(lines[5], allLines[4 + 9]);

    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 10, 1024, false).Ok());
    EXPECT_EQ(Lines(ReadAll(path)).size(), 4u);
}

TEST(AnalysedData, UnitWordMatchesTheRecordsTimeUnit) {
    TempDir dir;
    WaveRecord r = Processed();
    std::string path = dir.File("unit.csv");
    struct Case {
        TimeUnit Time;
        const char* Word;
        const char* Written;
    };
    for (Case c : {Case{TimeUnit::Seconds, "", ""}, Case{TimeUnit::Microseconds, "micros", "micros"},
                   Case{TimeUnit::Milliseconds, "", "ms"}, Case{TimeUnit::Seconds, "Hz", "s"},
                   Case{TimeUnit::Microseconds, "ms", "\x83\xCAs"}}) {
        r.Time = c.Time;
        r.RateUnitText = c.Word;
        ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 0, 0, true).Ok());
        EXPECT_EQ(Lines(ReadAll(path))[1], std::string("100,") + c.Written) << c.Word;
    }
}

TEST(AnalysedData, FailuresLeaveNoFileBehind) {
    TempDir dir;
    WaveRecord r = Processed();
    Outcome o = WriteAnalysedData(dir.File("missing/folder/out.csv"), r, FilterState{}, 0, 0, true);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(*o.Error, Failure::Captioned("File open error", "FILE OPEN ERROR"));
    EXPECT_EQ(o.Error->Icon, MessageIcon::Warning);

    // A folder under the chosen name is not replaced, and the temporary file is cleaned up.
    std::filesystem::create_directory(dir.File("taken.csv"));
    o = WriteAnalysedData(dir.File("taken.csv"), r, FilterState{}, 0, 0, true);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(o.Error->Text, "File open error");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.csv")));
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AnalysedData, ExistingFileIsReplacedWhole) {
    TempDir dir;
    std::string path = dir.Write("old.csv", std::string(100000, 'x'));
    ASSERT_TRUE(WriteAnalysedData(path, Processed(), FilterState{}, 0, 2, false).Ok());
    std::string text = ReadAll(path);
    EXPECT_EQ(text.find('x'), std::string::npos);
    EXPECT_EQ(Lines(text).size(), 6u);
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}

// A replaced file keeps its permissions; a new file gets the usual ones.
TEST(AnalysedData, AReplacedFileKeepsItsPermissions) {
    TempDir dir;
    for (mode_t mode : {0600u, 0640u, 0664u}) {
        std::string path = dir.Write("old.csv", "x");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(WriteAnalysedData(path, Processed(), FilterState{}, 0, 2, false).Ok());
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
    }
}

TEST(AnalysedData, ExtensionIsAddedOnlyWhenMissing) {
    EXPECT_EQ(AppendExtensionIfMissing("/tmp/out", "csv"), "/tmp/out.csv");
    EXPECT_EQ(AppendExtensionIfMissing("/tmp/out", ".txt"), "/tmp/out.txt");
    EXPECT_EQ(AppendExtensionIfMissing("/tmp/out.dat", "csv"), "/tmp/out.dat");
    EXPECT_EQ(AppendExtensionIfMissing("/tmp/v1.2/out", "csv"), "/tmp/v1.2/out.csv");
    EXPECT_EQ(AppendExtensionIfMissing("/tmp/out.", "csv"), "/tmp/out.csv");
}

TEST(AnalysedData, ScientificTextIsPrintfs) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    char expected[64];
    auto check = [&](double v) {
        std::snprintf(expected, sizeof expected, "%10.3e", v);
        std::string got;
        AppendScientific10_3(got, v);
        ASSERT_EQ(got, expected) << v;
    };
    for (double v : {0.0, -0.0, 1.0625, 1.0635, 2.5e-5, 9.9995, 9.9994999, 1e100, -1e-300, 32767.0 * 10.0f})
        check(v);
    for (int n = 0; n < 100000; ++n) {
        check(std::ldexp(mantissa(rng), exponent(rng)));
        check(static_cast<float>(static_cast<int16_t>(rng()) * std::ldexp(1.0f, exponent(rng) / 4)));
    }
}

TEST(CsvTextField, SeparatorsAndLineBreaksBecomeBlanks) {
    struct Case {
        std::string In;
        size_t Width;
        std::string Out;
    } cases[] = {
        {"North", std::string::npos, "North"},
        {"North,1", std::string::npos, "North 1"},
        {"Up\r\nDown", std::string::npos, "Up  Down"},
        {"\t lead and trail \t", std::string::npos, "lead and trail"},
        {"bell\x07\x7F", std::string::npos, "bell"},
        {",,,", std::string::npos, ""},
        {std::string(40, 'Z'), 31, std::string(31, 'Z')},
        {"abc        def", 5, "abc"},                     // no blank left at the cut
        {"\xE6\x9D\xB1\xE5\x81\xB4", 3, "\xE6\x9D\xB1"},  // 東側: two bytes a character in code page 932
    };
    for (const Case& c : cases) EXPECT_EQ(CsvTextField(c.In, c.Width), c.Out) << c.In;
}

TEST(AnalysedData, NamesAndUnitsReadBackAsTheFileHoldsThem) {
    TempDir dir;
    WaveRecord r = Processed();
    r.ChannelCount = 6;
    const std::string names[] = {"North,1", "Up\r\nDown", "  lead", "", "\xE6\x9D\xB1", std::string(32, 'Z')};
    const std::string units[] = {"mm,s", "a\nb", "Gal", "", "\xCE\xBC", std::string(25, 'u')};
    for (int k = 0; k < 6; ++k) {
        ChannelInfo& c = r.Channels[k];
        c.Name = names[k];
        c.DisplayUnit = units[k];
        c.ScaleFactor = 0.25f * (k + 1);
        c.Samples = {static_cast<int16_t>(100 * k), -7, 32767, -32768, 0, 1, 2, 3, 4, 5};
    }
    const std::string path = dir.File("names.csv");
    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 0, 0, true).Ok());
    WaveRecord back;
    ASSERT_TRUE(ReadStandardCsv(path, back).Ok());
    ASSERT_EQ(back.ChannelCount, 6);
    ASSERT_EQ(back.SampleCount, 10);
    const std::string expectedNames[] = {"North 1", "Up  Down",     "lead",
                                         "CH4",     "\xE6\x9D\xB1", std::string(31, 'Z')};
    const std::string expectedUnits[] = {"mm s", "a b", "Gal", "", "\xCE\xBC", std::string(19, 'u')};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(back.Channels[k].Name, expectedNames[k]) << k;
        EXPECT_EQ(back.Channels[k].Unit, expectedUnits[k]) << k;
        EXPECT_EQ(back.Channels[k].Name, CsvTextField(expectedNames[k], kNameWidth))
            << "stable on a second pass";
        for (int i = 0; i < 10; ++i) {
            const double written = r.Channels[k].Samples[i] * r.Channels[k].ScaleFactor;
            const double read = back.Channels[k].Samples[i] * back.Channels[k].ScaleFactor;
            EXPECT_NEAR(read, written, std::fabs(written) * 5e-4 + 8192.0 * (k + 1) * 1.01 / 32000)
                << k << "," << i;
        }
    }

    // A record of one unnamed channel (an SPC-35 record) still gives a line 1 with a channel.
    WaveRecord single = Processed();
    single.ChannelCount = 1;
    single.Channels[0].Name = "";
    ASSERT_TRUE(WriteAnalysedData(dir.File("one.csv"), single, FilterState{}, 0, 0, true).Ok());
    WaveRecord one;
    ASSERT_TRUE(ReadStandardCsv(dir.File("one.csv"), one).Ok());
    EXPECT_EQ(one.ChannelCount, 1);
    EXPECT_EQ(one.Channels[0].Name, "CH1");
}

TEST(AnalysedData, NoValueIsWrittenAsInfOrNan) {
    TempDir dir;
    WaveRecord r = Processed();
    r.Channels[0].ScaleFactor = FLT_MAX;  // 32767 × FLT_MAX is beyond the float range
    r.Channels[1].ScaleFactor = std::numeric_limits<float>::quiet_NaN();
    const std::string path = dir.File("held.csv");
    ASSERT_TRUE(WriteAnalysedData(path, r, FilterState{}, 0, 0, true).Ok());
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_NE(text.find(" 3.403e+38"), std::string::npos);
    EXPECT_EQ(FileNumber(INFINITY), FLT_MAX);
    EXPECT_EQ(FileNumber(-1e300), -FLT_MAX);
    EXPECT_EQ(FileNumber(NAN), 0.0);
    EXPECT_EQ(FileNumber(-2.5), -2.5);
}

TEST(EmptyFileName, NamesWithoutAFileAreRefused) {
    for (const char* path : {"", "out/", "/tmp/results/", ".", "..", "out/.", "out/.."}) {
        std::optional<Failure> f = EmptyFileNameFailure(path);
        ASSERT_TRUE(f.has_value()) << path;
        EXPECT_EQ(f->Caption, "File Name Error");
        EXPECT_EQ(f->Text, *path ? "\"" + std::string(path) + "\" names a folder, not a file."
                                 : std::string("No file name was given."));
    }
    for (const char* path : {"a.csv", "out", "out/x", ".csv", "dir.d/spectrum", "a..b"})
        EXPECT_FALSE(EmptyFileNameFailure(path).has_value()) << path;
}

}  // namespace
}  // namespace wavora
