// wavora-batch spectrum: the real program on small generated records, its result files against
// the analytic spectra and against the file the window's "File Save" writes from the same run.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/load_pipeline.h"
#include "analysis/spectrum_result.h"
#include "analysis/spectrum_run.h"
#include "batch/run_batch.h"
#include "record/text_codec.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::Ran;
using test::RunBatch;
using test::TempDir;

// wavora-batch spectrum with these arguments.
Ran Spectrum(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), "spectrum");
    return RunBatch(dir, args);
}

// Channel A: 2·sin(π i / 8), on bin 64 of 1024 points at 100 Hz (6.25 Hz). Channel B: the same
// sine at half the amplitude with a cosine of 0.3 rad per sample. Channel C: a slow ramp.
std::string SineCsv(const TempDir& dir, int samples = 2000) {
    std::vector<std::string> rows;
    char line[128];
    for (int i = 0; i < samples; ++i) {
        const double s = std::sin(M_PI * i / 8);
        std::snprintf(line, sizeof line, "%.6f,%.6f,%.6f", 2 * s, s + 0.5 * std::cos(0.3 * i), 0.001 * i);
        rows.push_back(line);
    }
    return dir.Write("wave.csv", test::StandardCsvFile("A,B,C", "100,s", "Gal,Gal,mkine", rows));
}

std::vector<double> Numbers(const std::string& line) {
    std::vector<double> values;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ',')) values.push_back(std::stod(field));
    return values;
}

// The file the window writes for the same record and settings (one run at `position`, padded).
std::string WindowFile(const std::string& path, AnalysisSettings settings, int position, int step = 1) {
    WaveRecord record;
    FilterState filter;
    LoadOptions options;
    options.Step = step;
    EXPECT_TRUE(LoadRecord(path, options, filter, record).Result.Ok());
    settings.Step = static_cast<int16_t>(step);
    settings.FileSave = true;
    if (settings.Mem && std::isnan(settings.MemFmax))
        settings.MemFmax = AutomaticFrequencyMaximum(step * record.SamplingInterval);
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    if (run.Begin(position).Status == RunStartStatus::AskPadding) run.AnswerPadding(true);
    for (int k : run.Channels()) run.AnalyseChannel(k);
    return EncodeFileText(SpectrumResultText(record, filter, position, result));
}

AnalysisSettings Channels(std::initializer_list<int> oneBased) {
    AnalysisSettings s;
    s.ChannelFlags.fill(false);
    for (int c : oneBased) s.ChannelFlags[c - 1] = true;
    return s;
}

TEST(BatchSpectrum, FourierSpectrumGolden) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r = Spectrum(dir, {path, "-o", dir.File("out")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    const std::string bytes = test::ReadAll(dir.File("out.csv"));  // ".csv" added
    const std::vector<std::string> lines = test::CrLfLines(bytes);
    ASSERT_EQ(lines.size(), 13u + 512u);
    const std::vector<std::string> header(lines.begin(), lines.begin() + 13);
    EXPECT_EQ(header,
              (std::vector<std::string>{"FILE NAME,wave.csv", "TITLE,", "SAMPLING(Hz),100",
                                        "FILTER,Unfiltered", "POSITION,0", "SIZE,1024", "INTERVAL(s),0.010",
                                        "DURATION(s),10.240", "Spectrum,Amplitude", "Smoothing,0",
                                        "SRtype,srNA", "COMMENT,,A,,,", "SpNo,FREQ(Hz),R[1],I[1],AmpSp[1]"}));
    // Bin 64 (6.25 Hz): X = −i (amplitude 2), Fourier spectrum |X|·T/2 = 5.12; elsewhere nothing.
    const std::vector<double> bin64 = Numbers(lines[13 + 64]);
    ASSERT_EQ(bin64.size(), 5u);
    EXPECT_EQ(bin64[0], 64);
    EXPECT_DOUBLE_EQ(bin64[1], 6.25);
    EXPECT_NEAR(bin64[2], 0.0, 1e-4);
    EXPECT_NEAR(bin64[3], -1.0, 1e-4);
    EXPECT_NEAR(bin64[4], 5.12, 5e-4);
    for (int i = 0; i < 512; ++i) {
        if (i == 64) continue;
        ASSERT_NEAR(Numbers(lines[13 + i])[4], 0.0, 2e-3) << i;
    }
    EXPECT_EQ(bytes, WindowFile(path, Channels({1}), 0));
}

TEST(BatchSpectrum, AnalysisOptionsReachTheRun) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r =
        Spectrum(dir, {path, "--channels", "1,3", "--points", "512", "--position", "100", "--type", "power",
                       "--smooth", "2", "--no-zero-average", "--step", "2", "-o", dir.File("p.txt")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    AnalysisSettings s = Channels({1, 3});
    s.PointsChoice = 512;
    s.Type = SpectrumType::Power;
    s.SmoothPasses = 2;
    s.ZeroAverageEnabled = false;
    const std::string bytes = test::ReadAll(dir.File("p.txt"));
    EXPECT_EQ(bytes, WindowFile(path, s, 100, 2));
    const std::vector<std::string> lines = test::CrLfLines(bytes);
    EXPECT_EQ(lines[4], "POSITION,100");
    EXPECT_EQ(lines[6], "INTERVAL(s),0.020");
    EXPECT_EQ(lines[8], "Spectrum,Power");
    EXPECT_EQ(lines[9], "Smoothing,2");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[1],I[1],PwrSp[1],R[3],I[3],PwrSp[3]");

    r = Spectrum(dir, {path, "--abs-coeff", "--mem-min", "-o", dir.File("a.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    AnalysisSettings abs = Channels({1});
    abs.AbsCoeffMode = true;
    abs.MemMin = true;
    EXPECT_EQ(test::ReadAll(dir.File("a.csv")), WindowFile(path, abs, 0));
    EXPECT_EQ(test::CrLfLines(test::ReadAll(dir.File("a.csv")))[5], "SIZE,32");
}

TEST(BatchSpectrum, MemGridFromTheAutomaticAxisOrGiven) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r = Spectrum(dir, {path, "--mem", "--channels", "1,2", "-o", dir.File("mem.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    AnalysisSettings s = Channels({1, 2});
    s.Mem = true;
    const std::string bytes = test::ReadAll(dir.File("mem.csv"));
    EXPECT_EQ(bytes, WindowFile(path, s, 0));
    std::vector<std::string> lines = test::CrLfLines(bytes);
    EXPECT_EQ(lines[11], "COMMENT,,A,B,");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),MEM[1],MEM[2]");
    // Nyquist 50 Hz: the axis ends at 50, the grid steps by 2·50/1024; the sine's peak is at 6.25 Hz.
    EXPECT_EQ(lines[13 + 10].substr(0, 14), "   10,   0.977");
    int peak = 0;
    for (int i = 1; i < 512; ++i)
        if (Numbers(lines[13 + i])[2] > Numbers(lines[13 + peak])[2]) peak = i;
    EXPECT_EQ(peak, 64);
    for (const std::string& line : std::vector<std::string>(lines.begin() + 13, lines.end()))
        ASSERT_EQ(Numbers(line).size(), 4u) << line;

    r = Spectrum(dir, {path, "--mem", "--mem-fmax", "20", "-o", dir.File("mem20.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    lines = test::CrLfLines(test::ReadAll(dir.File("mem20.csv")));
    EXPECT_EQ(lines[13 + 10].substr(0, 14), "   10,   0.391");  // 10 · 2 · 20 / 1024
}

TEST(BatchSpectrum, RatioOfTwoChannels) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r = Spectrum(dir, {path, "--channels", "1,2", "--ratio", "a-to-b", "-o", dir.File("r.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("r.csv")));
    EXPECT_EQ(lines[10], "SRtype,srAtoB,,,A,,,B,A/B");
    EXPECT_EQ(lines[12], "SpNo,FREQ(Hz),R[1],I[1],AmpSp[1],R[2],I[2],AmpSp[2]");
    for (size_t i = 13; i < lines.size(); ++i) ASSERT_EQ(Numbers(lines[i]).size(), 9u) << lines[i];
    // At 6.25 Hz channel A is twice channel B (up to the leakage of B's cosine).
    EXPECT_NEAR(Numbers(lines[13 + 64])[8], 2.0, 1e-2);

    r = Spectrum(dir, {path, "--channels", "2,1", "--ratio", "b-to-a", "-o", dir.File("rb.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    AnalysisSettings s = Channels({1, 2});
    s.RatioMode = 2;
    EXPECT_EQ(test::ReadAll(dir.File("rb.csv")), WindowFile(path, s, 0));
    EXPECT_NEAR(Numbers(test::CrLfLines(test::ReadAll(dir.File("rb.csv")))[13 + 64])[8], 0.5, 3e-3);
}

TEST(BatchSpectrum, TheRunsMessagesAreDataErrors) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    struct Case {
        std::vector<std::string> Args;
        std::string Err;
    };
    const std::vector<Case> cases = {
        {{"--position", "2000"}, "wavora-batch: Data Exhasuted: Data exhasuted. Return to initial point.\n"},
        {{"--position", "1500"},
         "wavora-batch: Data Size Error: Data size is not sufficient. Add Trailing 0?\n"
         "wavora-batch: use --pad to analyse the segment with trailing zeros\n"},
        {{"--channels", "1,2,3", "--ratio", "a-to-b"},
         "wavora-batch: Channel Error: Two Channels not Selected for Spectral Ratio !!  \n"},
        {{"--channels", "1", "--ratio", "b-to-a"},
         "wavora-batch: Channel Error: Two Channels not Selected for Spectral Ratio !!  \n"},
        {{"--channels", "2,4"}, "wavora-batch: Channel 4 is not in the record (3 channels)\n"},
        {{"--filter", "30:10"}, "wavora-batch: Frequency Error: Illegal Corner Frequency\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {path};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        args.insert(args.end(), {"-o", dir.File("none.csv")});
        Ran r = Spectrum(dir, args);
        EXPECT_EQ(r.Status, 1) << c.Args[0];
        EXPECT_EQ(r.Err, c.Err);
        EXPECT_FALSE(test::Exists(dir.File("none.csv"))) << c.Args[0];
    }
    Ran missing = Spectrum(dir, {dir.File("nothing.csv"), "-o", dir.File("none.csv")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_FALSE(test::Exists(dir.File("none.csv")));
}

TEST(BatchSpectrum, PadAnswersOkToTheTrailingZeros) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r = Spectrum(dir, {path, "--position", "1999", "--pad", "--no-zero-average", "--abs-coeff", "-o",
                           dir.File("pad.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    AnalysisSettings s = Channels({1});
    s.ZeroAverageEnabled = false;
    s.AbsCoeffMode = true;
    const std::string bytes = test::ReadAll(dir.File("pad.csv"));
    EXPECT_EQ(bytes, WindowFile(path, s, 1999));
    // One sample, then zeros: every coefficient is that sample / 1024.
    const std::vector<std::string> lines = test::CrLfLines(bytes);
    const double first = Numbers(lines[13 + 1])[4];
    EXPECT_GT(std::abs(first), 0.0);
    for (int i = 0; i < 512; ++i) ASSERT_NEAR(Numbers(lines[13 + i])[4], first, 1e-9) << i;
}

TEST(BatchSpectrum, ExistingOutputNeedsForce) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    const std::string out = dir.Write("keep.csv", "mine");
    Ran r = Spectrum(dir, {path, "-o", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err,
              "wavora-batch: File Name Error: " + out + " already exists; use --force to overwrite it\n");
    EXPECT_EQ(test::ReadAll(out), "mine");
    r = Spectrum(dir, {path, "-o", out, "--force"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(test::ReadAll(out), WindowFile(path, Channels({1}), 0));
}

TEST(BatchSpectrum, UsageErrorsGiveTwo) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {path},
             {path, "-o", dir.File("u.csv"), "--points", "1000"},
             {path, "-o", dir.File("u.csv"), "--type", "phase"},
             {path, "-o", dir.File("u.csv"), "--smooth", "3"},
             {path, "-o", dir.File("u.csv"), "--ratio", "a/b"},
             {path, "-o", dir.File("u.csv"), "--channels", "0"},
             {path, "-o", dir.File("u.csv"), "--channels", "9"},
             {path, "-o", dir.File("u.csv"), "--position", "-1"},
             {path, "-o", dir.File("u.csv"), "--mem-fmax", "20"},
             {path, "-o", dir.File("u.csv"), "--mem", "--mem-fmax", "0"},
             {path, "-o", dir.File("u.csv"), "--mem", "--mem-fmax", "fast"},
         }) {
        Ran r = Spectrum(dir, args);
        EXPECT_EQ(r.Status, 2) << args.back() << "\n" << r.Err;
        EXPECT_FALSE(test::Exists(dir.File("u.csv")));
    }
}

}  // namespace
}  // namespace wavora
