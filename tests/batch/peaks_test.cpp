// wavora-batch peaks and correlation: the real program on small generated records, their files
// against the texts the peaks window and the correlation listing show for the same runs.

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/auto_skip.h"
#include "analysis/correlation_activity.h"
#include "analysis/load_pipeline.h"
#include "batch/run_batch.h"
#include "record/text_codec.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::Ran;
using test::RunBatch;
using test::TempDir;

// 100 Hz, `samples` rows. Channel A: 12.5 Hz (a period of 8 samples) and a weaker 31.25 Hz;
// channel B: a sine of period 21 samples; channel C: B five samples later, in "μm" to see the
// code page.
std::string Record(const TempDir& dir, int samples, const std::string& name = "wave.csv") {
    std::vector<std::string> rows;
    char line[160];
    for (int i = 0; i < samples; ++i) {
        const double a =
            2.0 * std::sin(2 * std::numbers::pi * i / 8) + 0.5 * std::sin(2 * std::numbers::pi * i / 3.2);
        const double b = std::sin(2 * std::numbers::pi * i / 21);
        const double c = std::sin(2 * std::numbers::pi * (i - 5) / 21);
        std::snprintf(line, sizeof line, "%.6f,%.6f,%.6f", a, b, c);
        rows.push_back(line);
    }
    return dir.Write(name, test::StandardCsvFile("A,B,C", "100,s", "Gal,Gal,μm", rows));
}

WaveRecord Load(const std::string& path, int step = 1) {
    WaveRecord record;
    FilterState filter;
    LoadOptions options;
    options.Step = step;
    EXPECT_TRUE(LoadRecord(path, options, filter, record).Result.Ok());
    return record;
}

std::vector<std::string> TableLines(const PeakTable& table) {
    std::vector<std::string> lines;
    for (const auto& row : table.Rows()) lines.push_back(row[0] + "," + row[1] + "," + row[2]);
    return lines;
}

// The texts the peaks window shows after the same runs: the table, the labels, Value, Order.
std::vector<std::string> WindowLines(SpectralPeaks& peaks) {
    std::vector<std::string> lines = TableLines(peaks.Table);
    lines.push_back(peaks.CountText + "," + peaks.MeanFrequencyText + "," + peaks.MeanValueText);
    lines.push_back(peaks.DivisionText);
    peaks.ListValues();
    for (auto& l : TableLines(peaks.Table)) lines.push_back(l);
    peaks.ListOrder();
    for (auto& l : TableLines(peaks.Table)) lines.push_back(l);
    return lines;
}

TEST(BatchPeaks, OneRunListsThePeaksAsTheWindowDoes) {
    TempDir dir;
    const std::string path = Record(dir, 3000);
    Ran r = RunBatch(dir, {"peaks", path, "--position", "100", "-o", dir.File("out")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("out.csv")));
    ASSERT_EQ(lines.size(), 11u + 2u + 21u + 21u);
    EXPECT_EQ(lines[0], " Order, Fq[Hz],    FFT Amp");
    EXPECT_EQ(lines[1].substr(0, 14), "    1,  12.500");
    EXPECT_EQ(lines[2].substr(0, 14), "    2,  31.250");
    EXPECT_EQ(lines[11].substr(0, 11), "1,  12.500,");
    EXPECT_EQ(lines[12], "20 Divisons    5 Top Peaks");
    EXPECT_EQ(lines[13], " Class, Fq[Hz],Frequency");
    EXPECT_EQ(lines[34], " Order, Fq[Hz],  Frequency");

    SpectralPeaks peaks;
    SpectrumResult result;
    AnalysisSettings settings;
    settings.MemFmax = AutomaticFrequencyMaximum(0.01f);
    RunSpectrumWithPeaks(Load(path), settings, 100, &peaks, false, result);
    EXPECT_EQ(lines, WindowLines(peaks));
}

TEST(BatchPeaks, AutoSkipToTheEndWithDivisionTopsAndPicture) {
    TempDir dir;
    // 4096 samples: the fourth segment ends exactly at the end of the data.
    const std::string path = Record(dir, 4096);
    Ran r = RunBatch(dir, {"peaks", path, "--auto-skip", "--skip", "1/2", "--division", "10", "--tops", "1",
                           "-o", dir.File("auto.csv"), "--png", dir.File("hist")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("auto.csv")));
    ASSERT_EQ(lines.size(), 11u + 2u + 11u + 11u);
    EXPECT_EQ(lines[11].substr(0, 11), "7,  12.500,");  // seven runs, the 12.5 Hz line each time
    EXPECT_EQ(lines[12], "10 Divisons    1 Top Peaks");
    EXPECT_EQ(lines[25], "    1,  12.500,       7");

    SpectralPeaks peaks;
    peaks.SetPeakTops(1);
    peaks.SetPeakDivision(10, PeakSpectrumKind::FftAmp, "Hz");
    AnalysisSettings settings;
    settings.SkipDivisor = 2;
    settings.MemFmax = AutomaticFrequencyMaximum(0.01f);
    EXPECT_TRUE(RunAutoSkipToEnd(Load(path), settings, 0, &peaks).ReachedEnd);
    EXPECT_EQ(lines, WindowLines(peaks));

    QImage picture(QString::fromStdString(dir.File("hist.png")));  // ".png" added
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(300, 300));
    // The histogram climbs to 7 at the 12.5 Hz class (x 35 + 12.5 / 10 × 50): a red line there.
    int red = 0;
    for (int y = 150; y < 270; ++y) red += picture.pixel(97, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 0);
}

TEST(BatchPeaks, TheProgramsMessagesAndUsage) {
    TempDir dir;
    const std::string path = Record(dir, 3000);
    const std::string out = dir.File("o.csv");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // part of standard error
    } cases[] = {
        {{"--position", "2500"}, 1, "Data Size Error: Data size is not sufficient. Add Trailing 0?"},
        {{"--position", "3000"}, 1, "Data Exhasuted: Data exhasuted. Return to initial point."},
        {{"--auto-skip", "--position", "2000"}, 1, "Data size is not sufficient: no segment of 1024 samples"},
        {{"--channels", "4"}, 1, "Channel 4 is not in the record (3 channels)"},
        {{"--skip", "1/2"}, 2, "--skip requires --auto-skip"},
        {{"--auto-skip", "--pad"}, 2, "excludes"},
        {{"--division", "30"}, 2, ""},
        {{"--tops", "2"}, 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"peaks", path, "-o", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, c.status) << c.args[0] << " " << r.Err;
        EXPECT_NE(r.Err.find(c.err), std::string::npos) << r.Err;
        EXPECT_FALSE(test::Exists(out)) << c.args[0];
    }
    // With --pad the short segment is analysed with trailing zeros.
    EXPECT_EQ(RunBatch(dir, {"peaks", path, "--position", "2500", "--pad", "-o", out}).Status, 0);

    // An existing file is kept unless --force.
    const std::string before = test::ReadAll(out);
    Ran refused = RunBatch(dir, {"peaks", path, "--position", "7", "-o", out});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("already exists; use --force"), std::string::npos);
    EXPECT_EQ(test::ReadAll(out), before);
    EXPECT_EQ(RunBatch(dir, {"peaks", path, "--position", "7", "-o", out, "--force"}).Status, 0);
    EXPECT_NE(test::ReadAll(out), before);
}

TEST(BatchCorrelation, ListingAndReportAsAfterStop) {
    TempDir dir;
    const std::string path = Record(dir, 3000);
    Ran r = RunBatch(dir, {"correlation", path, "--channels", "2", "--position", "50", "-o",
                           dir.File("c.csv"), "--png", dir.File("c.png")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("c.csv")));
    ASSERT_EQ(lines.size(), 353u);
    EXPECT_EQ(lines[0], "   i,  Delay,   R[i],,");
    EXPECT_EQ(lines[2], "    0,   0.000,   1.000,,");
    EXPECT_EQ(lines[352], "Zero Crossing  0.210 (s)   4.762 (Hz)");

    // The same as the window's listing after one step at 50 and Stop.
    const WaveRecord record = Load(path);
    CorrelationActivity activity;
    CorrelationInputs in;
    in.Checked[1] = true;
    in.Points = 1024;
    in.Position = 50;
    activity.Start(record, in);
    const CorrelationReport report = activity.Stop({0.01f, 1, "s", "Hz"}).Report;
    for (size_t i = 0; i < report.GridRows.size(); ++i) {
        const auto& row = report.GridRows[i];
        EXPECT_EQ(lines[i], row[0] + "," + row[1] + "," + row[2] + "," + row[3] + "," + row[4]) << i;
    }

    QImage picture(QString::fromStdString(dir.File("c.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(433, 417));
    EXPECT_EQ(picture.pixel(40, 100), qRgb(0, 0, 255));  // channel 2's blue curve starts at the top
}

TEST(BatchCorrelation, TwoChannelsStepAndMessages) {
    TempDir dir;
    const std::string path = Record(dir, 3000);
    Ran r = RunBatch(dir, {"correlation", path, "--channels", "2,3", "--step", "2", "--time-scale", "2", "-o",
                           dir.File("x.csv"), "--png", dir.File("x.png")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("x.csv")));
    ASSERT_EQ(lines.size(), 353u);
    EXPECT_EQ(lines[12].substr(0, 14), "   10,   0.100");  // one sample interval per lag with Step 2
    EXPECT_EQ(lines[177], "  175,   1.750,   0.000,,");    // lags beyond 350 / 2
    QImage picture(QString::fromStdString(dir.File("x.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixel(40, 100), qRgb(128, 0, 128));  // purple from the top

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"--channels", "1,2,3"}, 1, "Channel Error: Number of Channels is illegal"},
        {{"--channels", "5"}, 1, "Channel 5 is not in the record (3 channels)"},
        {{"--channels", "1", "--position", "1626"},
         1,
         "1626 + 1024 + 350 reaches the end of the data (3000 samples)"},
        {{"--channels", "1", "--time-scale", "3"}, 2, ""},
        {{}, 2, "--channels is required"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"correlation", path, "-o", dir.File("bad.csv")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Ran bad = RunBatch(dir, args);
        EXPECT_EQ(bad.Status, c.status) << bad.Err;
        EXPECT_NE(bad.Err.find(c.err), std::string::npos) << bad.Err;
        EXPECT_FALSE(test::Exists(dir.File("bad.csv")));
    }
}

}  // namespace
}  // namespace wavora
