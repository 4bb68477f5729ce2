// wavora-batch import and comment: the real program on small generated files, their output, the
// files they write or change, their messages and exit statuses.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using nlohmann::json;
using test::Ran;
using test::RunBatch;
using test::TempDir;

json Json(const TempDir& dir, std::vector<std::string> args) {
    args.push_back("--json");
    args.push_back("--samples");
    Ran r = RunBatch(dir, args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return json::parse(r.Out, nullptr, false);
}

// A logger's export: a title line, a free line, the units, then a time column and two channels.
std::string LoggerCsv(const TempDir& dir) {
    return dir.Write("logger.csv",
                     "Time,Acc X,Acc Y\r\nlogger 7\r\nrun at noon\r\ns,Gal,kine\r\n"
                     "0.000,1.5,-2\r\n0.001,-3,4\r\n0.002,0.5,0\r\n0.003,0.75,-1\r\n");
}

TEST(BatchImport, PrintsTheImportedRecordAsInfoDoes) {
    TempDir dir;
    const std::string path = LoggerCsv(dir);
    json j = Json(dir, {"import", path, "--from-column", "2", "--rate", "1000", "--unit", "ms"});
    EXPECT_EQ(j["format"], "CSV(Arbitrary)");
    EXPECT_EQ(j["file"], path);
    EXPECT_EQ(j["channels"], 2);
    EXPECT_EQ(j["samples"], 4);
    EXPECT_EQ(j["sampling_rate"], 1000);
    EXPECT_EQ(j["time_unit"], "ms");
    EXPECT_EQ(j["title"], "");
    EXPECT_EQ(j["comment"], "");
    EXPECT_EQ(j["channel_list"][0]["name"], "Acc X");
    EXPECT_EQ(j["channel_list"][1]["unit"], "kine");
    EXPECT_EQ(j["channel_list"][0]["samples"], json({16000, -32000, 5333, 8000}));
    EXPECT_EQ(j["channel_list"][1]["samples"], json({-16000, 32000, 0, -8000}));
    EXPECT_NEAR(j["channel_list"][1]["scale_factor"].get<double>(), 4 * 3.125e-5, 1e-12);

    // The start values take every column, the time column too; the load options apply.
    json all = Json(dir, {"import", path});
    EXPECT_EQ(all["channels"], 3);
    EXPECT_EQ(all["channel_list"][0]["name"], "Time");
    json cut = Json(dir, {"import", path, "--from-column", "2", "--to-line", "6", "--dc-cut"});
    EXPECT_EQ(cut["samples"], 2);
    EXPECT_EQ(cut["channel_list"][0]["samples"], json({24000, -24000}));  // 16000, -32000 less their mean
}

TEST(BatchImport, OutputIsAStandardFileThatReadsBackAsTheSameRecord) {
    TempDir dir;
    const std::string path = LoggerCsv(dir);
    Ran r = RunBatch(dir, {"import", path, "--from-column", "2", "--memo-line", "3", "--rate", "200",
                           "--unit", "us", "-o", dir.File("std")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(test::ReadAll(dir.File("std.csv")),
              "Acc X,Acc Y\r\n200,\x83\xCAs\r\n,\r\nGal,kine\r\n1.5,-2\r\n-3,4\r\n0.5,0\r\n0.75,-1\r\n");

    json imported = Json(dir, {"import", path, "--from-column", "2", "--rate", "200", "--unit", "us"});
    json back = Json(dir, {"info", dir.File("std.csv")});
    EXPECT_EQ(back["format"], "CSV(Default)");
    EXPECT_EQ(back["time_unit"], "\xCE\xBCs");
    EXPECT_EQ(back["sampling_rate"], 200);
    for (int k = 0; k < 2; ++k)
        for (const char* key : {"name", "unit", "samples", "scale_factor"})
            EXPECT_EQ(back["channel_list"][k][key], imported["channel_list"][k][key]) << key;

    // An existing file needs --force; the file being imported is never replaced.
    Ran again = RunBatch(dir, {"import", path, "-o", dir.File("std.csv")});
    EXPECT_EQ(again.Status, 1);
    EXPECT_NE(again.Err.find("--force"), std::string::npos);
    const std::string original = test::ReadAll(path);
    Ran self = RunBatch(dir, {"import", path, "-o", path, "--force"});
    EXPECT_EQ(self.Status, 1);
    EXPECT_NE(self.Err.find("cannot be replaced"), std::string::npos) << self.Err;
    EXPECT_EQ(test::ReadAll(path), original);
}

TEST(BatchImport, RefusalsNameTheFieldOrTheCellAndWriteNothing) {
    TempDir dir;
    const std::string path = LoggerCsv(dir);
    struct Case {
        std::vector<std::string> Args;
        std::string Err;
    };
    const Case cases[] = {
        {{"--names-line", "9"},
         "wavora-batch: Arbitrary CSV File Data: SiteName Line 9 is not a line of the file; its lines are 1 "
         "to 8.\n"},
        {{"--from-line", "7", "--to-line", "6"},
         "wavora-batch: Arbitrary CSV File Data: Data Line to (6) is before Data Line From (7).\n"},
        {{"--rate", "0"},
         "wavora-batch: Arbitrary CSV File Data: The Sampling Rate must be a whole number above 0, not 0.\n"},
        {{"--from-line", "3"},
         "wavora-batch: Arbitrary CSV File Data: Line 3, column 1: \"run at noon\" is not a number.\n"},
        {{"--from-column", "4"},
         "wavora-batch: Arbitrary CSV File Data: Data Column from 4 is not a column of the file; its lines "
         "have "
         "columns 1 to 3.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"import", path, "-o", dir.File("never.csv")};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, 1) << c.Err;
        EXPECT_EQ(r.Err, c.Err);
        EXPECT_EQ(r.Out, "");
        EXPECT_FALSE(test::Exists(dir.File("never.csv")));
    }
    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {"import", path, "--unit", "h"},
             {"import", path, "--format", "default"},
             {"import", path, "--rate", "fast"},
             {"import"},
         }) {
        Ran r = RunBatch(dir, usage);
        EXPECT_EQ(r.Status, 2) << usage.back();
    }
}

TEST(BatchInfo, CornersThatAreNoBandAreRefusedOrLeaveTheRecordUnfiltered) {
    TempDir dir;
    const std::string path =
        dir.Write("slow.csv", test::StandardCsvFile("A", "2,s", "Gal", {"1", "-2", "3"}));
    Ran negative = RunBatch(dir, {"info", path, "--filter=-1:5"});
    EXPECT_EQ(negative.Status, 1);
    EXPECT_EQ(negative.Err, "wavora-batch: Frequency Error: Illegal Corner Frequency\n");
    // At 2 per second the default band 1.0 .. 0.75 is empty: warned, and nothing filtered.
    Ran empty = RunBatch(dir, {"info", path, "--filter", "default"});
    EXPECT_EQ(empty.Status, 0);
    EXPECT_EQ(empty.Err, "wavora-batch: warning: Illegal Corner Frequency\n");
    EXPECT_NE(empty.Out.find("FILTER      Unfiltered\n"), std::string::npos) << empty.Out;
}

std::string TwoChannelDbl(const TempDir& dir) {
    std::vector<test::Spc51Channel> chans(2);
    chans[0] = {"SITE 1", "mm", 0.01f, 300, -200, {100, -300, 7}};
    chans[1] = {"SITE 2", "gal", 0.5f, 40, -50, {40, -50, 0}};
    return dir.Write("meter.dbl", test::Spc51File(chans, 50, "BRIDGE", "2024/05/06 07:08:09", "NIGHT"));
}

TEST(BatchComment, WritesOnlyTheGivenFields) {
    TempDir dir;
    const std::string path = TwoChannelDbl(dir);
    const std::string before = test::ReadAll(path);
    Ran r = RunBatch(dir, {"comment", path, "--title", "PIER 4", "--name", "2=UP"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "FILE        " + path +
                         "\nTITLE       PIER 4\nCOMMENT     NIGHT\nCH 1        SITE 1\nCH 2        UP\n");
    const std::string after = test::ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const bool title = i >= 16 && i < 16 + 7, name = i >= 512 + 96 && i < 512 + 96 + 3;
        if (!title && !name) {
            EXPECT_EQ(after[i], before[i]) << "byte " << i;
        }
    }
    json info = Json(dir, {"info", path});
    EXPECT_EQ(info["title"], "PIER 4");
    EXPECT_EQ(info["channel_list"][1]["name"], "UP");
    EXPECT_EQ(info["channel_list"][0]["name"], "SITE 1");
    EXPECT_EQ(info["comment"], "NIGHT");

    Ran beyond = RunBatch(dir, {"comment", path, "--name", "3=X"});
    EXPECT_EQ(beyond.Status, 1);
    EXPECT_EQ(beyond.Err, "wavora-batch: The record has 2 channels; there is no channel 3 to name.\n");
    const std::string csv = dir.Write("a.csv", test::StandardCsvFile("A", "100,s", "Gal", {"1"}));
    EXPECT_EQ(RunBatch(dir, {"comment", csv, "--title", "T"}).Status, 1);
    for (const std::vector<std::string>& usage : std::vector<std::vector<std::string>>{
             {"comment", path},
             {"comment", path, "--name", "9=X"},
             {"comment", path, "--name", "X"},
         }) {
        EXPECT_EQ(RunBatch(dir, usage).Status, 2) << usage.back();
    }
    EXPECT_EQ(test::ReadAll(path), after);
}

}  // namespace
}  // namespace wavora
