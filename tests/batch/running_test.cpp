// wavora-batch running and map: the real program on small generated records; the listing against
// the running spectrum of the core, the pictures' sizes, the map's levels and the refusals.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/load_pipeline.h"
#include "analysis/running_session.h"
#include "batch/run_batch.h"
#include "record/text_format.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::Ran;
using test::RunBatch;
using test::TempDir;

// 100 Hz, 80 s: channel A a 5 Hz sine whose amplitude grows, channel B a 12 Hz sine.
std::string Csv(const TempDir& dir) {
    std::vector<std::string> rows;
    char line[96];
    for (int i = 0; i < 8000; ++i) {
        std::snprintf(line, sizeof line, "%.5f,%.5f", (1 + i / 4000.0) * std::sin(2 * M_PI * 5 * i / 100.0),
                      0.5 * std::sin(2 * M_PI * 12 * i / 100.0) + 0.1);
        rows.push_back(line);
    }
    return dir.Write("wave.csv", test::StandardCsvFile("A,B", "100,s", "Gal,Gal", rows));
}

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) |
               (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    return {be(16), be(20)};
}

TEST(BatchRunning, SinglePlotListsTheAverageOfMaxPlusOneSpectra) {
    TempDir dir;
    const std::string path = Csv(dir);
    Ran r = RunBatch(dir, {"running", path, "--init", "1000", "--max", "3", "-o", dir.File("avg"), "--png",
                           dir.File("avg.png")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(PngSize(test::ReadAll(dir.File("avg.png"))), (std::pair<int, int>{433, 417}));
    // Stop draws the average in purple on a fresh spectrum frame.
    const QImage picture(QString::fromStdString(dir.File("avg.png")));
    int purple = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) purple += picture.pixel(x, y) == qRgb(0x80, 0x00, 0x80);
    EXPECT_GT(purple, 100);
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("avg.csv")));
    ASSERT_EQ(lines.size(), 2u + 512u);
    EXPECT_EQ(lines[0], "Count  4");
    EXPECT_EQ(lines[1], "Skip Time 2 [s]");

    // The same run in the core.
    WaveRecord record;
    FilterState filter;
    ASSERT_TRUE(LoadRecord(path, LoadOptions{}, filter, record).Result.Ok());
    RunningSession session;
    session.Start.InitPosition = 1000;
    session.Start.Multi = false;
    session.View.Max = 3;
    RunningSpectrum running;
    SpectrumMap map;
    const RunningOutcome out = DriveRunningSpectrum(record, session, running, map);
    ASSERT_TRUE(out.Stop.Average);
    for (int row : {0, 51, 52, 300}) {
        EXPECT_EQ(lines[2 + static_cast<size_t>(row)],
                  StrPrintf("%6d,%9.2f,", row, row / 10.24) + out.Stop.Average->Cell(row));
    }
    // 5 Hz (line 51): the growing sine's average.
    EXPECT_GT(std::stod(lines[2 + 51].substr(lines[2 + 51].rfind(',') + 1)), 1.0);
}

TEST(BatchRunning, MultiPlotWritesTheWaterfallPicture) {
    TempDir dir;
    const std::string path = Csv(dir);
    Ran r = RunBatch(dir, {"running", path, "--init", "0", "--skip", "100", "--multi", "--ratio", "a-to-b",
                           "--channels", "1,2", "-o", dir.File("w.csv"), "--png", dir.File("w")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(test::CrLfLines(test::ReadAll(dir.File("w.csv")))[0], "Count  51");
    EXPECT_EQ(PngSize(test::ReadAll(dir.File("w.png"))), (std::pair<int, int>{433, 417}));

    r = RunBatch(dir, {"running", path, "--init", "0", "--multi", "--no-hidden", "-o", dir.File("w.csv"),
                       "--png", dir.File("w.png")});
    EXPECT_EQ(r.Status, 1);  // both exist
    EXPECT_NE(r.Err.find("already exists; use --force"), std::string::npos) << r.Err;
    r = RunBatch(dir, {"running", path, "--init", "0", "--multi", "--no-hidden", "-o", dir.File("w.csv"),
                       "--png", dir.File("w.png"), "--force"});
    EXPECT_EQ(r.Status, 0) << r.Err;
}

TEST(BatchRunning, RefusalsWithTheProgramsMessages) {
    TempDir dir;
    const std::string path = Csv(dir);
    struct Case {
        std::vector<std::string> Args;
        int Status;
        const char* Message;
    };
    const std::vector<Case> cases = {
        {{"--init", "0", "--channels", "1,2"},
         1,
         "Sufficient Channel(s) not Selected or Extra Channel(s) selected !!"},
        {{"--init", "6977"}, 1, "runs past the end of the data (8000 samples)"},
        {{"--init", "0", "--skip", "0"}, 2, "--skip"},
        {{"--init", "0", "--no-hidden"}, 2, "--multi"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"running", path, "-o", dir.File("out.csv")};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, c.Status) << c.Args[1] << ": " << r.Err;
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
        EXPECT_FALSE(test::Exists(dir.File("out.csv")));
    }
}

TEST(BatchMap, TheMapAndItsLevels) {
    TempDir dir;
    const std::string path = Csv(dir);
    Ran r = RunBatch(dir, {"map", path, "--init", "0", "--png", dir.File("m"), "--levels", dir.File("lv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(PngSize(test::ReadAll(dir.File("m.png"))), (std::pair<int, int>{433, 417}));
    const std::vector<std::string> lines = test::CrLfLines(test::ReadAll(dir.File("lv.csv")));
    // The proposed Skip of 100 samples (1 s) fills the 60 s of the map with 60 rows.
    ASSERT_EQ(lines.size(), 60u);
    for (size_t row = 0; row < lines.size(); ++row) {
        std::vector<int> fields;
        std::stringstream ss(lines[row]);
        std::string field;
        while (std::getline(ss, field, ',')) fields.push_back(std::stoi(field));
        ASSERT_EQ(fields.size(), 1u + 512u) << row;  // lines 0 … 511 lie inside 0 … 50 Hz
        EXPECT_EQ(fields[0], static_cast<int>(row) * 100);
        for (size_t p = 1; p < fields.size(); ++p) ASSERT_TRUE(fields[p] >= 0 && fields[p] <= 255);
        // The 5 Hz line is the first spectrum's largest value: full scale, and the sine grows.
        if (row == 0) {
            EXPECT_EQ(fields[1 + 51], 255);
        }
        EXPECT_GT(fields[1 + 51], fields[1 + 300]);
    }

    // Limits and a fixed colour scale.
    r = RunBatch(dir, {"map", path, "--init", "0", "--fmin", "4", "--fmax", "6", "--colour-max", "0", "--png",
                       dir.File("n.png"), "--levels", dir.File("n.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::vector<std::string> narrow = test::CrLfLines(test::ReadAll(dir.File("n.csv")));
    ASSERT_FALSE(narrow.empty());
    // Lines 41 … 61 (4.00 … 5.96 Hz); with a colour maximum of 0 every positive value is red.
    EXPECT_EQ(narrow[0].substr(0, 10), "0,255,255,");
    EXPECT_EQ(std::count(narrow[0].begin(), narrow[0].end(), ','), 21);
}

TEST(BatchMap, RowCountChecksAndLimits) {
    TempDir dir;
    const std::string path = Csv(dir);
    struct Case {
        std::vector<std::string> Args;
        int Status;
        const char* Message;
    };
    const std::vector<Case> cases = {
        {{"--skip", "200"}, 1, "Skip time interval for 2D Spectrum plot is too large!!   "},
        {{"--skip", "10"}, 1, "Skip time interval for 2D Spectrum plot is too small!!   "},
        {{"--skip", "200", "--time-span", "100"}, 0, ""},
        {{"--fmin", "10", "--fmax", "10"}, 2, "must be above"},
        {{"--colour-max", "red"}, 2, "--colour-max"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"map", path, "--init", "0", "--png", dir.File("m.png"), "--force"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, c.Status) << c.Args[0] << ": " << r.Err;
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    }
}

}  // namespace
}  // namespace wavora
