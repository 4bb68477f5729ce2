// Runs the real wavora-batch program on small generated files and checks its output, its files,
// its messages on standard error and its exit status.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <utime.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
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

std::string WithoutCr(std::string s) {
    std::erase(s, '\r');
    return s;
}

// Equal JSON, numbers within a relative 1e-6 (golden values are written as decimals).
void ExpectJsonNear(const json& actual, const json& expected, const std::string& where = "$") {
    if (expected.is_number() && actual.is_number()) {
        double a = actual.get<double>(), e = expected.get<double>();
        EXPECT_NEAR(a, e, std::fabs(e) * 1e-6 + 1e-12) << where;
        return;
    }
    ASSERT_EQ(actual.type_name(), std::string(expected.type_name())) << where << ": " << actual.dump();
    if (expected.is_object()) {
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            ASSERT_TRUE(actual.contains(it.key())) << where << "." << it.key();
            ExpectJsonNear(actual[it.key()], it.value(), where + "." + it.key());
        }
        for (auto it = actual.begin(); it != actual.end(); ++it)
            EXPECT_TRUE(expected.contains(it.key())) << "unexpected key " << where << "." << it.key();
    } else if (expected.is_array()) {
        ASSERT_EQ(actual.size(), expected.size()) << where;
        for (size_t i = 0; i < expected.size(); ++i)
            ExpectJsonNear(actual[i], expected[i], where + "[" + std::to_string(i) + "]");
    } else {
        EXPECT_EQ(actual, expected) << where;
    }
}

json InfoJson(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), "info");
    args.push_back("--json");
    args.push_back("--samples");
    Ran r = RunBatch(dir, args);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    return json::parse(r.Out, nullptr, false);
}

// Three rows of two channels: A peaks at 2 and B at 4.
std::string SmallCsv(const TempDir& dir, const std::string& name = "small.csv") {
    auto path = dir.Write(name, test::StandardCsvFile("A,B", "100,s", "Gal,kine", {"1,2", "-2,4", "0.5,-1"}));
    // A fixed modification time makes the date text predictable.
    std::tm when = {};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 0;
    when.tm_mday = 2;
    when.tm_hour = 3;
    when.tm_min = 4;
    when.tm_sec = 7;
    when.tm_isdst = -1;
    utimbuf stamp{std::mktime(&when), std::mktime(&when)};
    utime(path.c_str(), &stamp);
    return path;
}

TEST(BatchInfo, StandardCsvGolden) {
    TempDir dir;
    auto path = SmallCsv(dir);
    json expected = {
        {"file", path},
        {"format", "CSV(Default)"},
        {"channels", 2},
        {"samples", 3},
        {"sampling_rate", 100},
        {"time_unit", "s"},
        {"frequency_unit", "Hz"},
        {"sampling_interval", 0.01},
        {"rate_unit_text", "s"},
        {"date", "2024/01/02 03:04:06"},  // seconds rounded down to an even number
        {"title", ""},
        {"comment", ""},
        {"channel_list",
         {{{"name", "A"},
           {"unit", "Gal"},
           {"display_unit", "Gal"},
           {"scale_factor", 6.25e-5},
           {"base_scale_factor", 6.25e-5},
           {"peak_value", 2.0},
           {"display_divisor", 1024},
           {"raw_peak", 32000},
           {"samples", {16000, -32000, 8000}}},
          {{"name", "B"},
           {"unit", "kine"},
           {"display_unit", "kine"},
           {"scale_factor", 1.25e-4},
           {"base_scale_factor", 1.25e-4},
           {"peak_value", 4.0},
           {"display_divisor", 1024},
           {"raw_peak", 32000},
           {"samples", {16000, 32000, -8000}}}}},
    };
    ExpectJsonNear(InfoJson(dir, {path}), expected);
}

TEST(BatchInfo, DspCsvGolden) {
    TempDir dir;
    auto path =
        dir.Write("gpl.csv", test::DspCsvFile({"N1", "N2"}, 10, {{2047, -2047}, {1024, 0}, {-1023, 4096}}));
    json actual = InfoJson(dir, {path});
    const double scale = 1.7407534e-5;
    json expected = {
        {"file", path},
        {"format", "CSV(GPL)"},
        {"channels", 2},
        {"samples", 3},
        {"sampling_rate", 100},
        {"time_unit", "s"},
        {"frequency_unit", "Hz"},
        {"sampling_interval", 0.01},
        {"rate_unit_text", ""},
        {"date", "2022/ 3/ 4  5: 6"},
        {"title", ""},
        {"comment", ""},
        {"channel_list",
         {{{"name", "N1"},
           {"unit", "Gal"},
           {"display_unit", "Gal"},
           {"scale_factor", scale},
           {"base_scale_factor", scale},
           {"peak_value", scale},
           {"display_divisor", 1024},
           {"raw_peak", actual["channel_list"][0]["raw_peak"]},
           {"samples", {1, 1, 0}}},
          {{"name", "N2"},
           {"unit", "Gal"},
           {"display_unit", "Gal"},
           {"scale_factor", scale},
           {"base_scale_factor", scale},
           {"peak_value", 4 * scale},
           {"display_divisor", 1024},
           {"raw_peak", actual["channel_list"][1]["raw_peak"]},
           {"samples", {-1, 0, 4}}}}},
    };
    ExpectJsonNear(actual, expected);
}

TEST(BatchInfo, Spc51Golden) {
    TempDir dir;
    std::vector<test::Spc51Channel> chans(2);
    chans[0] = {"SITE 1", "mm", 0.01f, 300, -200, {100, -300, 7}};
    chans[1] = {"SITE 2", "gal", 0.5f, 40, -50, {40, -50, 0}};
    auto path = dir.Write("meter.dbl", test::Spc51File(chans, 50, "BRIDGE", "2024/05/06 07:08:09", "NIGHT"));
    json expected = {
        {"file", path},
        {"format", "SPC-51"},
        {"channels", 2},
        {"samples", 3},
        {"sampling_rate", 50},
        {"time_unit", "s"},
        {"frequency_unit", "Hz"},
        {"sampling_interval", 0.02},
        {"rate_unit_text", ""},
        {"date", "2024/05/06 07:08:09"},
        {"title", "BRIDGE"},
        {"comment", "NIGHT"},
        {"channel_list",
         {{{"name", "SITE 1"},
           {"unit", "mm"},
           {"display_unit", "micron"},
           {"scale_factor", 10.0},
           {"base_scale_factor", 10.0},
           {"peak_value", 3000.0},
           {"display_divisor", 8},  // raw peak 300: above 256
           {"raw_peak", 300},
           {"samples", {100, -300, 7}}},
          {{"name", "SITE 2"},
           {"unit", "gal"},
           {"display_unit", "Gal"},
           {"scale_factor", 0.5},
           {"base_scale_factor", 0.5},
           {"peak_value", 25.0},
           {"display_divisor", 1},  // raw peak 50
           {"raw_peak", 50},
           {"samples", {40, -50, 0}}}}},
    };
    ExpectJsonNear(InfoJson(dir, {path}), expected);
}

TEST(BatchInfo, Spc35Golden) {
    TempDir dir;
    auto path = dir.Write("old.dbl", test::Spc35File({{0x8000, 0xFFFF, 0x0000}}, 100, 1));
    json actual = InfoJson(dir, {path});
    json expected = {
        {"file", path},
        {"format", "SPC-35"},
        {"channels", 1},
        {"samples", 3},
        {"sampling_rate", 100},
        {"time_unit", "s"},
        {"frequency_unit", "Hz"},
        {"sampling_interval", 0.01},
        {"rate_unit_text", ""},
        {"date", "2023/07/08 09:10:11"},
        {"title", ""},
        {"comment", ""},
        {"channel_list",
         {{{"name", actual["channel_list"][0]["name"]},
           {"unit", "mkine"},
           {"display_unit", "mkine"},
           {"scale_factor", 0.001},
           {"base_scale_factor", 0.001},
           {"peak_value", 32.768},
           {"display_divisor", 1024},
           {"raw_peak", actual["channel_list"][0]["raw_peak"]},
           {"samples", {0, 32767, -32768}}}}},
    };
    ExpectJsonNear(actual, expected);
}

TEST(BatchInfo, FormatIsDetectedFromTheFile) {
    TempDir dir;
    // A lower-case marker and a lower-case tag are still recognised; no tag means SPC-35.
    std::string gpl = test::DspCsvFile({"N"}, 10, {{1024}});
    gpl.replace(0, 6, "dspcsv");
    auto gplPath = dir.Write("lower.txt", gpl);
    std::vector<test::Spc51Channel> chans(1);
    chans[0] = {"S", "gal", 1.0f, 1, -1, {1}};
    auto spc51 = dir.Write("tag.DBL", test::Spc51File(chans, 100, "T", "D", "C", -1, "a-tladx ver4."));
    auto spc35 = dir.Write("plain.dbl", test::Spc35File({{0x8001}}, 100, 0));
    EXPECT_EQ(InfoJson(dir, {gplPath})["format"], "CSV(GPL)");
    EXPECT_EQ(InfoJson(dir, {spc51})["format"], "SPC-51");
    EXPECT_EQ(InfoJson(dir, {spc35})["format"], "SPC-35");
    EXPECT_EQ(InfoJson(dir, {spc35})["channel_list"][0]["unit"], "\xCE\xBC");
    // An explicit format wins over the file's look: read as a standard CSV file, the DSPCSV
    // date line gives no sampling rate; read as SPC-35, an SPC-51 file lacks the check bytes.
    Ran forced = RunBatch(dir, {"info", gplPath, "--format", "default"});
    EXPECT_EQ(forced.Status, 1);
    EXPECT_EQ(forced.Err, "wavora-batch: File Error: File Format miss match!!        \n");
    Ran forced35 = RunBatch(dir, {"info", spc51, "--format", "SPC35"});
    EXPECT_EQ(forced35.Status, 1);
    EXPECT_EQ(forced35.Err, "wavora-batch:   Not SPC35N Data Format!!  \n");
}

TEST(BatchInfo, LoadOptionsReachTheProcessing) {
    TempDir dir;
    std::vector<std::string> rows;
    for (int i = 0; i < 600; ++i) rows.push_back(std::to_string(std::sin(i * 0.3) * 3.0 + 1.0));
    auto path = dir.Write("long.csv", test::StandardCsvFile("S", "100,s", "Gal", rows));

    json clipped = InfoJson(dir, {path, "--clip", "80"});
    int largest = 0;
    for (int v : clipped["channel_list"][0]["samples"]) largest = std::max(largest, std::abs(v));
    EXPECT_EQ(largest, 25600);  // 0.8 × 32000

    json cut = InfoJson(dir, {path, "--dc-cut"});
    EXPECT_NE(cut["channel_list"][0]["samples"], clipped["channel_list"][0]["samples"]);

    json integrated = InfoJson(dir, {path, "--integrate"});
    EXPECT_EQ(integrated["channel_list"][0]["display_unit"], "\xCE\xBC");
    EXPECT_EQ(integrated["channel_list"][0]["display_divisor"], 4);

    json step1 = InfoJson(dir, {path, "--filter", "default"});
    json step2 = InfoJson(dir, {path, "--filter", "default", "--step", "2"});
    json lowpass = InfoJson(dir, {path, "--filter", "0:10"});
    EXPECT_NE(step1["channel_list"][0]["samples"], step2["channel_list"][0]["samples"]);
    EXPECT_NE(step1["channel_list"][0]["samples"], lowpass["channel_list"][0]["samples"]);

    // The text form names the filter that ran.
    Ran text = RunBatch(dir, {"info", path, "--filter", "default", "--step", "2"});
    EXPECT_EQ(text.Status, 0);
    EXPECT_NE(text.Out.find("BANDPASS 1.00Hz-18.75Hz"), std::string::npos) << text.Out;
}

TEST(BatchData, AllDataWritesTheAnalysedDataFile) {
    TempDir dir;
    auto path = SmallCsv(dir);
    Ran r = RunBatch(dir, {"data", path, "--all", "-o", dir.File("out")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    ASSERT_TRUE(test::Exists(dir.File("out.csv")));  // ".csv" added to a name without extension
    EXPECT_EQ(WithoutCr(test::ReadAll(dir.File("out.csv"))),
              "A,B\n100,s\nFILTER,Unfiltered\nGal,kine\n"
              " 1.000e+00, 2.000e+00\n-2.000e+00, 4.000e+00\n 5.000e-01,-1.000e+00\n");

    Ran filtered = RunBatch(dir, {"data", path, "--all", "--filter", "default", "-o", dir.File("f.txt")});
    ASSERT_EQ(filtered.Status, 0) << filtered.Err;
    std::string text = WithoutCr(test::ReadAll(dir.File("f.txt")));
    EXPECT_EQ(text.substr(0, text.find("Gal")), "A,B\n100,s\nFILTER,BANDPASS,1.00Hz-37.50Hz\n");
}

TEST(BatchData, PositionAndPointsWriteTheAnalysedRange) {
    TempDir dir;
    auto path = SmallCsv(dir);
    Ran r = RunBatch(dir, {"data", path, "--position", "1", "--points", "16", "-o", dir.File("part.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(WithoutCr(test::ReadAll(dir.File("part.csv"))),
              "A,B\n100,s\nFILTER,Unfiltered\nGal,kine\n-2.000e+00, 4.000e+00\n 5.000e-01,-1.000e+00\n");

    Ran beyond =
        RunBatch(dir, {"data", path, "--position", "3", "--points", "4", "-o", dir.File("none.csv")});
    EXPECT_EQ(beyond.Status, 1);
    EXPECT_NE(beyond.Err.find("Position 3"), std::string::npos) << beyond.Err;
    EXPECT_FALSE(test::Exists(dir.File("none.csv")));
}

TEST(BatchData, ExistingOutputNeedsForce) {
    TempDir dir;
    auto path = SmallCsv(dir);
    auto out = dir.Write("keep.csv", "precious\n");
    Ran refused = RunBatch(dir, {"data", path, "--all", "-o", out});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("already exists"), std::string::npos) << refused.Err;
    EXPECT_NE(refused.Err.find("--force"), std::string::npos);
    EXPECT_EQ(test::ReadAll(out), "precious\n");

    // Also when the name gets its ".csv" added.
    Ran refusedNoExt = RunBatch(dir, {"data", path, "--all", "-o", dir.File("keep")});
    EXPECT_EQ(refusedNoExt.Status, 1);
    EXPECT_EQ(test::ReadAll(out), "precious\n");

    Ran forced = RunBatch(dir, {"data", path, "--all", "-o", out, "--force"});
    EXPECT_EQ(forced.Status, 0) << forced.Err;
    EXPECT_EQ(WithoutCr(test::ReadAll(out)).substr(0, 4), "A,B\n");
}

TEST(BatchExit, UsageErrorsGiveTwo) {
    TempDir dir;
    auto path = SmallCsv(dir);
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"nothing"},
        {"info"},
        {"info", path, "--clip", "50"},
        {"info", path, "--step", "3"},
        {"info", path, "--format", "xls"},
        {"info", path, "--filter", "wide"},
        {"info", path, "--filter", "1:"},
        {"info", path, "--bogus"},
        {"data", path, "-o", dir.File("x.csv")},
        {"data", path, "--all", "--position", "1", "--points", "2", "-o", dir.File("x.csv")},
        {"data", path, "--position", "1", "-o", dir.File("x.csv")},
        {"data", path, "--all"},
    };
    for (const auto& args : wrong) {
        Ran r = RunBatch(dir, args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.Status, 2) << joined << "\n" << r.Err;
        EXPECT_FALSE(r.Err.empty()) << joined;
    }
    EXPECT_FALSE(test::Exists(dir.File("x.csv")));
    Ran help = RunBatch(dir, {"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("info"), std::string::npos);
    EXPECT_NE(help.Out.find("data"), std::string::npos);
}

TEST(BatchExit, DataErrorsGiveOneWithTheProgramsMessage) {
    TempDir dir;
    auto path = SmallCsv(dir);
    Ran corners = RunBatch(dir, {"info", path, "--filter", "5:5"});
    EXPECT_EQ(corners.Status, 1);
    EXPECT_EQ(corners.Err, "wavora-batch: Frequency Error: Illegal Corner Frequency\n");
    EXPECT_EQ(corners.Out, "");

    Ran notDbl = RunBatch(dir, {"info", path, "--format", "spc51"});
    EXPECT_EQ(notDbl.Status, 1);
    EXPECT_EQ(notDbl.Err, "wavora-batch:   Not SPC51/35 Data File!  \n");

    Ran missing = RunBatch(dir, {"info", dir.File("gone.dbl")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Err, "wavora-batch: File Error: read file not exist  \n");

    Ran missingCsv = RunBatch(dir, {"info", dir.File("gone.csv")});
    EXPECT_EQ(missingCsv.Status, 1);
    EXPECT_EQ(missingCsv.Err.rfind("wavora-batch: ", 0), 0u) << missingCsv.Err;

    auto bad35 = test::Spc35File({{1, 2, 3}}, 100, 0, 4);  // one frame short of its header
    Ran shortFile = RunBatch(dir, {"info", dir.Write("short.dbl", bad35)});
    EXPECT_EQ(shortFile.Status, 1);
    EXPECT_NE(shortFile.Err.find("  Data Number incorrect!!  "), std::string::npos);
}

TEST(BatchExit, WarningsArePrintedAndTheCommandGoesOn) {
    TempDir dir;
    auto path = dir.Write("few.csv", test::DspCsvFile({"N"}, 10, {{1024}, {2048}}, 3));
    Ran r = RunBatch(dir, {"info", path, "--json"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "wavora-batch: warning:   Data Number incorrect !  \n");
    json j = json::parse(r.Out, nullptr, false);
    EXPECT_EQ(j["samples"], 3);
}

// Every sample record shipped in examples/ loads through the batch tool as the program reads it.
TEST(BatchExamples, EverySampleRecordLoads) {
    TempDir dir;
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(WAVORA_EXAMPLES_DIR)) {
        const std::string path = entry.path().string();
        const std::string ext = entry.path().extension().string();
        if (ext != ".csv" && ext != ".dbl") continue;
        ++seen;
        Ran r = RunBatch(dir, {"info", path, "--json"});
        ASSERT_EQ(r.Status, 0) << path << ": " << r.Err;
        json j = json::parse(r.Out, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << path;
        EXPECT_GT(j["samples"].get<int>(), 0) << path;
        EXPECT_GT(j["channels"].get<int>(), 0) << path;
        EXPECT_EQ(j["channel_list"].size(), j["channels"].get<size_t>()) << path;
    }
    EXPECT_GE(seen, 4);
}

}  // namespace
}  // namespace wavora
