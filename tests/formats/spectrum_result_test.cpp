#include "analysis/spectrum_result.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "analysis/spectrum_run.h"
#include "record/text_codec.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace wavora {
namespace {

WaveRecord MakeRecord(int channels, int samples) {
    WaveRecord r = test::SyntheticRecord(
        channels, samples,
        [](int c, int i) {
            return static_cast<int16_t>(std::lround(800 * std::sin(0.21 * (c + 1) * i) + 37 * c));
        },
        "site", 0.5f);
    r.FileName = "wave.csv";
    r.Title = "bridge test";
    return r;
}

// A complete run as the window does it, leaving the result for the writer.
SpectrumResult Analyse(const WaveRecord& record, const AnalysisSettings& settings, int position = 0) {
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    RunStart start = run.Begin(position);
    if (start.Status == RunStartStatus::AskPadding) run.AnswerPadding(true);
    EXPECT_TRUE(run.IsReady());
    for (int k : run.Channels()) EXPECT_NE(run.AnalyseChannel(k).Status, ChannelStatus::Failed);
    return result;
}

AnalysisSettings Selected(std::initializer_list<int> oneBased) {
    AnalysisSettings s;
    s.ChannelFlags.fill(false);
    for (int c : oneBased) s.ChannelFlags[c - 1] = true;
    s.PointsChoice = 512;
    s.FileSave = true;
    return s;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, ',')) fields.push_back(f);
    if (!line.empty() && line.back() == ',') fields.push_back("");
    return fields;
}

TEST(SpectrumResultFile, HeaderLinesOfAnFftRun) {
    WaveRecord record = MakeRecord(2, 2000);
    AnalysisSettings s = Selected({2});
    s.Step = 2;
    s.SmoothPasses = 2;
    SpectrumResult result = Analyse(record, s, 300);
    FilterState filter;
    std::vector<std::string> lines = Lines(SpectrumResultText(record, filter, 300, result));
    ASSERT_EQ(lines.size(), 13u + 256u);
    EXPECT_EQ(lines[0], "FILE NAME,wave.csv");
    EXPECT_EQ(lines[1], "TITLE,bridge test");
    EXPECT_EQ(lines[2], "SAMPLING(Hz),100");
    EXPECT_EQ(lines[3], "FILTER,Unfiltered");
    EXPECT_EQ(lines[4], "POSITION,300");
    EXPECT_EQ(lines[5], "SIZE,512");
    EXPECT_EQ(lines[6], "INTERVAL(s),0.020");
    EXPECT_EQ(lines[7], "DURATION(s),10.240");
    EXPECT_EQ(lines[8], "Spectrum,Amplitude");
    EXPECT_EQ(lines[9], "Smoothing,2");
    EXPECT_EQ(lines[10], "SRtype,srNA");
    EXPECT_EQ(lines[11], "COMMENT,,site2,,,");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[2],I[2],AmpSp[2]");

    // Bin 3: its number, i × FrequencyStep, and the stored triple.
    char expected[200];
    std::snprintf(expected, sizeof expected, "%5d,%8.3f,%13.5e,%13.5e,%13.5e", 3, 3 * result.FrequencyStep,
                  result.ResultStore[9], result.ResultStore[10], result.ResultStore[11]);
    EXPECT_EQ(lines[13 + 3], expected);
    EXPECT_EQ(lines[13 + 3].substr(0, 15), "    3,   0.293,");
    EXPECT_EQ(lines.back().substr(0, 5), "  255");

    // The filter line is the analysed-data file's; Abs F Coeff names its column "F Coeff".
    filter.Mode = FilterMode::Default;
    s.AbsCoeffMode = true;
    result = Analyse(record, s, 300);
    lines = Lines(SpectrumResultText(record, filter, 300, result));
    EXPECT_EQ(lines[3], "FILTER,BANDPASS,1.00Hz-37.50Hz");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[2],I[2],F Coeff[2]");
}

TEST(SpectrumResultFile, TwoChannelRatioHasOneMoreColumnThanItsHeading) {
    WaveRecord record = MakeRecord(2, 600);
    AnalysisSettings s = Selected({1, 2});
    s.RatioMode = 1;
    SpectrumResult result = Analyse(record, s);
    std::vector<std::string> lines = Lines(SpectrumResultText(record, FilterState{}, 0, result));
    EXPECT_EQ(lines[10], "SRtype,srAtoB,,,A,,,B,A/B");
    EXPECT_EQ(lines[11], "COMMENT,,site1,,,site2,,,");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[1],I[1],AmpSp[1],R[2],I[2],AmpSp[2]");
    for (size_t i = 13; i < lines.size(); ++i)
        ASSERT_EQ(Fields(lines[i]).size(), 1u + 1u + 6u + 1u) << lines[i];
    // The last column is the ratio.
    std::vector<std::string> bin7 = Fields(lines[13 + 7]);
    EXPECT_NEAR(std::stod(bin7[8]), result.RealPart[7], std::abs(result.RealPart[7]) * 1e-5);
    EXPECT_NEAR(std::stod(bin7[8]) * std::stod(bin7[7]), std::stod(bin7[4]),
                std::abs(std::stod(bin7[4])) * 1e-4);

    s.RatioMode = 2;
    s.Type = SpectrumType::Power;
    result = Analyse(record, s);
    lines = Lines(SpectrumResultText(record, FilterState{}, 0, result));
    EXPECT_EQ(lines[8], "Spectrum,Power");
    EXPECT_EQ(lines[10], "SRtype,srBtoA,,,A,,,B,B/A");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[1],I[1],PwrSp[1],R[2],I[2],PwrSp[2]");
}

TEST(SpectrumResultFile, MemRunWithChannelsOneAndThree) {
    WaveRecord record = MakeRecord(3, 600);
    AnalysisSettings s = Selected({1, 3});
    s.Mem = true;
    s.MemFmax = 25.0f;
    s.AbsCoeffMode = true;
    SpectrumResult result = Analyse(record, s);
    std::vector<std::string> lines = Lines(SpectrumResultText(record, FilterState{}, 0, result));
    ASSERT_EQ(lines.size(), 13u + 256u);
    EXPECT_EQ(lines[8], "Spectrum,Amplitude");
    EXPECT_EQ(lines[11], "COMMENT,,site1,site3,");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),MEM[1],MEM[3]");
    for (size_t i = 13; i < lines.size(); ++i) ASSERT_EQ(Fields(lines[i]).size(), 4u) << lines[i];
    char expected[120];
    std::snprintf(expected, sizeof expected, "%5d,%8.3f,%13.5e,%13.5e", 10, result.MemFrequency[10],
                  result.ResultStore[(10 * 2 + 0) * 3], result.ResultStore[(10 * 2 + 1) * 3]);
    EXPECT_EQ(lines[13 + 10], expected);
    EXPECT_EQ(lines[13 + 10].substr(0, 15), "   10,   0.977,");  // 10 · 2 · 25 / 512
}

TEST(SpectrumResultFile, WrittenInCodePage932WithCrLf) {
    test::TempDir dir;
    WaveRecord record = MakeRecord(1, 600);
    record.Channels[0].Name = "加速度";
    record.Title = "橋梁";
    record.Time = TimeUnit::Microseconds;
    SpectrumResult result = Analyse(record, Selected({1}));
    const std::string path = dir.File("result.csv");
    ASSERT_TRUE(WriteSpectrumResult(path, record, FilterState{}, 0, result).Ok());
    const std::string bytes = test::ReadAll(path);
    EXPECT_EQ(bytes, EncodeFileText(SpectrumResultText(record, FilterState{}, 0, result)));
    EXPECT_NE(bytes.find("COMMENT,," + EncodeFileText("加速度") + ",,,\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("INTERVAL(\x83\xCAs),"), std::string::npos);
    EXPECT_NE(bytes.find("SAMPLING(MHz),100\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST(SpectrumResultFile, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
    test::TempDir dir;
    const std::string path = dir.Write("old.csv", std::string(100000, 'x'));
    ::chmod(path.c_str(), 0640);
    WaveRecord record = MakeRecord(1, 600);
    SpectrumResult result = Analyse(record, Selected({1}));
    ASSERT_TRUE(WriteSpectrumResult(path, record, FilterState{}, 0, result).Ok());
    EXPECT_EQ(test::ReadAll(path), EncodeFileText(SpectrumResultText(record, FilterState{}, 0, result)));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(SpectrumResultFile, FileThatCannotBeCreated) {
    test::TempDir dir;
    WaveRecord record = MakeRecord(1, 600);
    SpectrumResult result = Analyse(record, Selected({1}));
    const Failure expected = Failure::Captioned("Save file open error", "FILE OPEN ERROR");
    for (const std::string& path : {dir.File("missing/folder/out.csv"), std::string()}) {
        Outcome out = WriteSpectrumResult(path, record, FilterState{}, 0, result);
        ASSERT_FALSE(out.Ok());
        EXPECT_EQ(*out.Error, expected);
    }
    // A folder under the name: the folder stays, and nothing is left beside it.
    std::filesystem::create_directory(dir.File("taken"));
    dir.Write("taken/keep.txt", "keep");
    Outcome out = WriteSpectrumResult(dir.File("taken"), record, FilterState{}, 0, result);
    ASSERT_FALSE(out.Ok());
    EXPECT_EQ(*out.Error, expected);
    EXPECT_EQ(test::ReadAll(dir.File("taken/keep.txt")), "keep");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(SpectrumResultFile, DialogNameAndOverwriteQuestion) {
    EXPECT_EQ(SpectrumResultFileName("/data/out", 1), "/data/out.csv");
    EXPECT_EQ(SpectrumResultFileName("/data/out", 2), "/data/out.txt");
    EXPECT_EQ(SpectrumResultFileName("/data/out", 3), "/data/out");
    EXPECT_EQ(SpectrumResultFileName("/data/out.dat", 2), "/data/out.dat");
    EXPECT_EQ(SpectrumResultFileName("/data.v2/out", 1), "/data.v2/out.csv");
    const Failure q = OverwriteQuestion("/data/out.csv");
    EXPECT_EQ(q.Text, "Same file /data/out.csv is already exists. Overwrite?");
    EXPECT_EQ(q.Caption, "File Name Error");
    EXPECT_EQ(q.Icon, MessageIcon::Question);
}

TEST(SpectrumResultFile, TextsWithCommasAndLineBreaksKeepTheColumns) {
    WaveRecord record = MakeRecord(2, 600);
    record.FileName = "wave,1.csv";
    record.Title = "span 2,\r\nnight";
    record.Channels[0].Name = "North,1";
    record.Channels[1].Name = "Up\nDown";
    SpectrumResult result = Analyse(record, Selected({1, 2}));
    std::vector<std::string> lines = Lines(SpectrumResultText(record, FilterState{}, 0, result));
    ASSERT_EQ(lines.size(), 13u + 256u);
    EXPECT_EQ(lines[0], "FILE NAME,wave 1.csv");
    EXPECT_EQ(lines[1], "TITLE,span 2   night");
    EXPECT_EQ(lines[11], "COMMENT,,North 1,,,Up Down,,,");
    // Each name stands above its channel's three columns.
    std::vector<std::string> comment = Fields(lines[11]), heading = Fields(lines[12]);
    EXPECT_EQ(comment[2], "North 1");
    EXPECT_EQ(heading[2], "R[1]");
    EXPECT_EQ(comment[5], "Up Down");
    EXPECT_EQ(heading[5], "R[2]");
}

TEST(SpectrumResultFile, ValuesBeyondTheFloatRangeAreHeldNotWrittenAsInf) {
    // Full-scale samples of the largest scale a reader takes: the power spectrum overflows the float
    // range and is held at the largest float.
    WaveRecord record = MakeRecord(2, 600);
    for (int k = 0; k < 2; ++k) {
        record.Channels[k].ScaleFactor = kLargestPhysicalValue / 32768.0f;
        for (size_t i = 0; i < record.Channels[k].Samples.size(); ++i)
            record.Channels[k].Samples[i] = (i / 8) % 2 ? 32767 : -32768;
    }
    AnalysisSettings s = Selected({1, 2});
    s.Type = SpectrumType::Power;
    s.RatioMode = 1;
    SpectrumResult result = Analyse(record, s);
    const std::string text = SpectrumResultText(record, FilterState{}, 0, result);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_NE(text.find("3.40282e+38"), std::string::npos);
}

}  // namespace
}  // namespace wavora
