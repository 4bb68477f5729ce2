// The regression inputs of tests/regress/ through the real wavora-batch: every command ends with
// the data (exit 0) or the program's message (exit 1), never a crash, and no file or document it
// writes holds inf, nan or null for a number. The inputs named below also give the outcome they
// were kept for.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/run_batch.h"
#include "support/reader_check.h"
#include "support/test_files.h"

namespace wavora {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::Ran;
using test::RunBatch;
using test::TempDir;

std::string RegressFile(const std::string& relative) {
    return std::string(WAVORA_REGRESS_DIR) + "/" + relative;
}

// A number that a document gives as null (how JSON writes nan and inf).
bool HasNull(const json& j) {
    if (j.is_null()) return true;
    if (j.is_structured())
        for (const auto& item : j)
            if (HasNull(item)) return true;
    return false;
}

void ExpectDataOrMessage(const Ran& r, const std::string& what) {
    EXPECT_TRUE(r.Status == 0 || r.Status == 1) << what << " ended with " << r.Status << "\n" << r.Err;
    if (r.Status == 1) {
        EXPECT_EQ(r.Err.rfind("wavora-batch: ", 0), 0u) << what << ": " << r.Err;
    }
}

TEST(BatchRegress, EveryInputGivesDataOrAMessage) {
    TempDir dir;
    int replayed = 0;
    for (const test::ReaderEntry& reader : test::Readers()) {
        const fs::path folder = fs::path(WAVORA_REGRESS_DIR) / reader.Name;
        if (reader.BatchFormat.empty() || !fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string file = entry.path().string();
            const std::vector<std::string> format = {"--format", reader.BatchFormat};
            auto with = [&](std::vector<std::string> args) {
                args.insert(args.begin() + 2, format.begin(), format.end());
                return args;
            };
            Ran info = RunBatch(dir, with({"info", file, "--json"}));
            ExpectDataOrMessage(info, "info " + file);
            int64_t samples = 0;
            if (info.Status == 0) {
                json j = json::parse(info.Out, nullptr, false);
                ASSERT_FALSE(j.is_discarded()) << file;
                EXPECT_FALSE(HasNull(j)) << file << "\n" << info.Out;
                samples = j["samples"].get<int64_t>();
            }
            // A record of millions of zero-filled samples makes a file of as many lines: not here.
            if (samples <= 100000) {
                const std::string out = dir.File("data.csv");
                Ran data = RunBatch(dir, with({"data", file, "--all", "--dc-cut", "-o", out, "--force"}));
                ExpectDataOrMessage(data, "data " + file);
                EXPECT_EQ(data.Status, info.Status) << file;
                if (data.Status == 0) {
                    EXPECT_EQ(test::NonNumbersIn(test::ReadAll(out), 4), "") << file;
                }
                std::filesystem::remove(out);
            }
            for (const char* type : {"amp", "power"}) {
                const std::string out = dir.File("spectrum.csv");
                Ran spectrum = RunBatch(dir, with({"spectrum", file, "--type", type, "--points", "512",
                                                   "--pad", "-o", out, "--force"}));
                ExpectDataOrMessage(spectrum, "spectrum " + file);
                if (spectrum.Status == 0) {
                    EXPECT_EQ(test::NonNumbersIn(test::ReadAll(out), 13), "") << file;
                }
                std::filesystem::remove(out);
            }
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 19);
}

TEST(BatchRegress, UnusableScaleFactorIsADataErrorNamingTheChannel) {
    TempDir dir;
    Ran r = RunBatch(dir, {"info", RegressFile("spc51/scale-nan.dbl"), "--json"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err,
              "wavora-batch: File Error: The scale factor of channel 2 (Up) is nan; it must be a number from "
              "1.17549e-38 to 3.05176e+22.\n");
}

TEST(BatchRegress, ValueBeyondTheRangeAndHeaderOnlyFileAreDataErrors) {
    TempDir dir;
    Ran beyond = RunBatch(dir, {"spectrum", RegressFile("standard_csv/value-beyond-float-range.csv"), "-o",
                                dir.File("sp.csv")});
    EXPECT_EQ(beyond.Status, 1);
    EXPECT_NE(beyond.Err.find("File Error: The value in line 6, column 2 is beyond"), std::string::npos)
        << beyond.Err;
    EXPECT_FALSE(test::Exists(dir.File("sp.csv")));

    Ran empty = RunBatch(dir, {"info", RegressFile("standard_csv/header-only.csv")});
    EXPECT_EQ(empty.Status, 1);
    EXPECT_EQ(
        empty.Err,
        "wavora-batch: File Error: The file has no data rows: nothing follows its four header lines.\n");
}

TEST(BatchRegress, NamesWithCommasAndLineBreaksReadBackFromTheDataFile) {
    TempDir dir;
    const std::string out = dir.File("names.csv");
    Ran data = RunBatch(
        dir, {"data", RegressFile("spc51/names-with-commas-and-line-breaks.dbl"), "--all", "-o", out});
    ASSERT_EQ(data.Status, 0) << data.Err;
    Ran info = RunBatch(dir, {"info", out, "--json"});
    ASSERT_EQ(info.Status, 0) << info.Err;
    json j = json::parse(info.Out);
    ASSERT_EQ(j["channels"], 3);
    EXPECT_EQ(j["samples"], 8);
    EXPECT_EQ(j["channel_list"][0]["name"], "North 1");
    EXPECT_EQ(j["channel_list"][1]["name"], "Up  Down");
    EXPECT_EQ(j["channel_list"][2]["name"], "CH3");
    EXPECT_EQ(j["channel_list"][0]["unit"], "Gal");
    EXPECT_EQ(j["channel_list"][1]["unit"], "mkine");
    EXPECT_EQ(j["channel_list"][2]["unit"], "micron");

    Ran spectrum = RunBatch(dir, {"spectrum", RegressFile("spc51/names-with-commas-and-line-breaks.dbl"),
                                  "--channels", "1,2", "--points", "512", "--pad", "-o", dir.File("sp.csv")});
    ASSERT_EQ(spectrum.Status, 0) << spectrum.Err;
    const std::string text = test::ReadAll(dir.File("sp.csv"));
    EXPECT_NE(text.find("TITLE,Bridge  test\r\n"), std::string::npos);
    EXPECT_NE(text.find("COMMENT,,North 1,,,Up  Down,,,\r\n"), std::string::npos);
}

TEST(BatchRegress, EmptyOutputNameIsRefused) {
    TempDir dir;
    const std::string input = RegressFile("standard_csv/plain.csv");
    fs::create_directories(dir.File("out"));
    struct Case {
        std::string Output, Message;
    } cases[] = {
        {"", "No file name was given."},
        {"out/", "\"out/\" names a folder, not a file."},
        {".", "\".\" names a folder, not a file."},
    };
    // Every command's output options; NAME stands for the name tried. A picture left out is no
    // picture, so an empty --png name is tried only where the picture is the command's output.
    const std::vector<std::vector<std::string>> commands = {
        {"data", input, "--all", "-o", "NAME"},
        {"spectrum", input, "-o", "NAME"},
        {"peaks", input, "-o", "NAME"},
        {"running", input, "--init", "0", "-o", "NAME"},
        {"correlation", input, "--channels", "1", "-o", "NAME"},
        {"map", input, "--init", "0", "--png", "NAME"},
        {"peaks", input, "-o", "p.csv", "--png", "NAME"},
        {"running", input, "--init", "0", "-o", "r.csv", "--png", "NAME"},
        {"correlation", input, "--channels", "1", "-o", "c.csv", "--png", "NAME"},
        {"map", input, "--init", "0", "--png", "m.png", "--levels", "NAME"},
    };
    for (const Case& c : cases) {
        for (std::vector<std::string> args : commands) {
            const bool optional = args[args.size() - 2] != "-o" && args[0] != "map";
            const bool optionalLevels = args[args.size() - 2] == "--levels";
            if (c.Output.empty() && (optional || optionalLevels)) continue;
            args.back() = c.Output;
            // Run inside the folder, where a nameless ".csv" would have appeared.
            Ran r = test::RunShell(dir, "cd " + test::Quote(dir.Path()) + " && " + test::BatchCommand(args));
            EXPECT_EQ(r.Status, 1) << args[0] << " " << args[args.size() - 2] << " '" << c.Output << "'";
            EXPECT_EQ(r.Err, "wavora-batch: File Name Error: " + c.Message + "\n") << args[0];
            for (const char* hidden : {".csv", ".png", "out/.csv", "out/.png"})
                EXPECT_FALSE(test::Exists(dir.File(hidden))) << args[0] << " wrote " << hidden;
        }
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define WAVORA_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WAVORA_UNDER_ASAN 1
#endif
#endif

TEST(BatchRegress, SamplesOfAHundredMillionFrameHeaderAreWrittenWithinAMemoryLimit) {
#ifdef WAVORA_UNDER_ASAN
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
    TempDir dir;
    // The limit of the report: 3 GB of address space. The samples (200 MB) fit; a document of one
    // JSON value per sample did not, and ended the program with std::bad_alloc.
    const std::string command =
        "ulimit -v 3145728 && " +
        test::BatchCommand(
            {"info", RegressFile("spc51/header-claims-100m-samples.dbl"), "--json", "--samples"}) +
        " > /dev/null";
    Ran r = test::RunShell(dir, command);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    // The document itself is the one of a short record (BatchInfo tests), written as it goes.
#endif
}

}  // namespace
}  // namespace wavora
