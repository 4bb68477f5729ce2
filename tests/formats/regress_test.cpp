// The regression inputs of tests/regress/<reader>/: files that once found a fault. Every one is
// replayed through its reader with the checks the fuzz targets make (support/reader_check.h), and
// the ones named below must also give the outcome they were kept for.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/data_readers.h"
#include "support/reader_check.h"
#include "support/test_files.h"

namespace wavora {
namespace {

namespace fs = std::filesystem;

std::string RegressFile(const std::string& relative) {
    return std::string(WAVORA_REGRESS_DIR) + "/" + relative;
}

TEST(Regress, EveryInputKeepsTheReadersPromises) {
    test::TempDir scratch;
    int replayed = 0;
    for (const test::ReaderEntry& reader : test::Readers()) {
        const fs::path folder = fs::path(WAVORA_REGRESS_DIR) / reader.Name;
        if (!fs::is_directory(folder)) continue;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            // The processing options and spectrum kinds the fuzz targets pick from the input.
            for (unsigned variant : {0u, 0x0Fu, 0x31u, 0xF6u}) {
                test::ReplayResult r = test::ReplayFile(reader, file.string(), variant, scratch.Path());
                EXPECT_EQ(r.Problem, "") << file << " variant " << variant;
            }
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 19);
}

// What the inputs were kept for: "" for a file that loads, else a part of its message.
struct Expected {
    const char* File;
    const char* Message;
};

class RegressOutcome : public testing::TestWithParam<Expected> {};

TEST_P(RegressOutcome, AsKept) {
    const Expected& e = GetParam();
    const std::string relative = e.File;
    const test::ReaderEntry* reader = test::FindReader(relative.substr(0, relative.find('/')));
    ASSERT_NE(reader, nullptr);
    WaveRecord record = test::PreviousRecord();
    Outcome o = reader->Read(RegressFile(relative), record, {});
    if (*e.Message == '\0') {
        EXPECT_TRUE(o.Ok()) << (o.Error ? o.Error->Text : "");
    } else {
        ASSERT_FALSE(o.Ok());
        EXPECT_EQ(o.Error->Caption, "File Error");
        EXPECT_NE(o.Error->Text.find(e.Message), std::string::npos) << o.Error->Text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RegressOutcome,
    testing::Values(
        Expected{"spc51/header-claims-100m-samples.dbl", ""},
        Expected{"spc51/scale-nan.dbl", "scale factor of channel 2 (Up) is nan;"},
        Expected{"spc51/scale-infinity.dbl", "scale factor of channel 2 (Up) is inf;"},
        Expected{"spc51/scale-1e38-times-1000.dbl", "scale factor of channel 2 (Up) is 1e+38;"},
        Expected{"spc51/scale-negative.dbl", "scale factor of channel 2 (Up) is -0.01;"},
        Expected{"spc51/scale-denormal.dbl", "scale factor of channel 2 (Up) is 9.99995e-41;"},
        Expected{"spc51/scale-zero.dbl", "scale factor of channel 2 (Up) is 0;"},
        Expected{"spc51/names-with-commas-and-line-breaks.dbl", ""},
        Expected{"spc51/short-file-loads-zero-filled.dbl", ""},
        Expected{"standard_csv/value-beyond-float-range.csv", "The value in line 6, column 2 is beyond"},
        Expected{"standard_csv/value-near-float-max.csv", "The value in line 15, column 1 is beyond"},
        Expected{"standard_csv/header-only.csv", "no data rows"},
        Expected{"standard_csv/name-with-carriage-return.csv", ""},
        Expected{"standard_csv/column-below-normal-scale.csv", ""},
        Expected{"dspcsv/total-of-no-sample.csv", "2 values for 3 channels"},
        Expected{"dspcsv/short-file-loads-zero-filled.csv", ""},
        Expected{"spc35/no-samples.dbl", "0 samples per channel"}));

TEST(Regress, LongHeaderCountsLoadZeroFilled) {
    WaveRecord r;
    ASSERT_TRUE(ReadSpc51(RegressFile("spc51/header-claims-100m-samples.dbl"), r).Ok());
    EXPECT_EQ(r.SampleCount, 100'000'000);
    EXPECT_EQ(r.Channels[0].Samples[7], -800);
    EXPECT_EQ(r.Channels[0].Samples[99'999'999], 0);

    Outcome gpl = ReadDspCsv(RegressFile("dspcsv/short-file-loads-zero-filled.csv"), r);
    ASSERT_TRUE(gpl.Ok());
    EXPECT_EQ(gpl.Warnings.size(), 1u);
    EXPECT_EQ(r.SampleCount, 3'000'000);
    EXPECT_EQ(r.Channels[1].Samples[15], 10);
    EXPECT_EQ(r.Channels[1].Samples[16], 0);
}

}  // namespace
}  // namespace wavora
