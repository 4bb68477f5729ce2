// wavora-batch spectrum --png and wavora-batch stats: the real program on a small generated record.
// The pictures are compared pixel for pixel (exactly) with the picture the window's drawing makes
// in this process for the same record and settings: a first drawing with the automatic axes, then
// the format dialog's fields or the menu options changed and the spectrum drawn again.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "analysis/load_pipeline.h"
#include "analysis/spectrum_run.h"
#include "batch/run_batch.h"
#include "draw/image_canvas.h"
#include "draw/spectrum_display.h"
#include "draw/spectrum_format.h"
#include "draw/startup_picture.h"
#include "draw/wave_display.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::Ran;
using test::RunBatch;
using test::TempDir;

// Channel A: 2·sin(π i / 8), 6.25 Hz at 100 Hz. B: the same sine halved with a cosine of 0.3 rad
// per sample. C: a slow ramp in another unit.
std::string SineCsv(const TempDir& dir) {
    std::vector<std::string> rows;
    char line[128];
    for (int i = 0; i < 2000; ++i) {
        const double s = std::sin(M_PI * i / 8);
        std::snprintf(line, sizeof line, "%.6f,%.6f,%.6f", 2 * s, s + 0.5 * std::cos(0.3 * i), 0.001 * i);
        rows.push_back(line);
    }
    return dir.Write("wave.csv", test::StandardCsvFile("A,B,C", "100,s", "Gal,Gal,mkine", rows));
}

AnalysisSettings Channels(std::initializer_list<int> oneBased) {
    AnalysisSettings s;
    s.ChannelFlags.fill(false);
    for (int c : oneBased) s.ChannelFlags[c - 1] = true;
    return s;
}

// What the window shows after a run at `position`: drawn with the automatic axes, then, when
// `change` is given, with its changes to the display (the format dialog's fields and OK, or the
// menu options) drawn again.
QImage WindowPicture(const std::string& path, AnalysisSettings settings, int position,
                     const std::function<void(SpectrumDisplay&)>& change = {}) {
    WaveRecord record;
    FilterState filter;
    LoadOptions options;
    EXPECT_TRUE(LoadRecord(path, options, filter, record).Result.Ok());
    if (settings.Mem && std::isnan(settings.MemFmax))
        settings.MemFmax = AutomaticFrequencyMaximum(record.SamplingInterval);
    SpectrumResult result;
    SpectrumRun run(record, settings, result);
    EXPECT_EQ(run.Begin(position).Status, RunStartStatus::Ready);
    SpectrumRunPicture picture;
    for (int k : run.Channels())
        if (run.AnalyseChannel(k).Status == ChannelStatus::Shown)
            picture.Add(record, result, k, DefaultChannelColors()[k]);
    const SpectrumFrameInfo info = FrameInfoOf(record, result, position, {filter.Active, 1.0f, 0.0f});
    ImageCanvas canvas(kMainPictureWidth, kMainPictureHeight);
    canvas.SetFont(kPictureFont, 12);
    SpectrumDisplay display;
    WaveView view;
    EXPECT_FALSE(picture.Draw(canvas, display, view, info));
    if (change) {
        change(display);
        EXPECT_FALSE(picture.Draw(canvas, display, view, info));
    }
    return canvas.ToImage().convertToFormat(QImage::Format_RGB32);
}

// The format dialog's OK after the fields were changed.
std::function<void(SpectrumDisplay&)> Dialog(const std::function<void(SpectrumFormatFields&)>& edit) {
    return [edit](SpectrumDisplay& d) {
        edit(d.Format);
        ASSERT_TRUE(ApplySpectrumFormat(d.Format, d.Axes, d.Options).Applied);
    };
}

QImage ReadPng(const std::string& path) {
    QImage image(QString::fromStdString(path));
    EXPECT_FALSE(image.isNull()) << path;
    return image.convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage& image, QRgb colour, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += image.pixel(x, y) == colour;
    return n;
}

TEST(BatchSpectrumPicture, TheWindowsPictureOfTheSameRun) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    struct Case {
        std::vector<std::string> Args;
        AnalysisSettings Settings;
        std::function<void(SpectrumDisplay&)> Change;
    };
    auto mem = Channels({1, 2});
    mem.Mem = true;
    mem.MemFmax = 25.0f;
    auto ratio = Channels({1, 2});
    ratio.RatioMode = 2;
    const std::vector<Case> cases = {
        {{}, Channels({1}), {}},
        {{"--channels", "1,2,3", "--styled-lines"},
         Channels({1, 2, 3}),
         [](SpectrumDisplay& d) { d.Format.CBSolid = false; }},
        {{"--channels", "1,2", "--broad-line", "--no-sub-axis"},
         Channels({1, 2}),
         [](SpectrumDisplay& d) {
             d.Options.BroadLine = d.Format.CBBroad = true;
             d.Options.SubAxis = d.Format.CBSubAxis = false;
         }},
        {{"--x-axis", "1:50:2:log", "--y-axis", "0.001:10:4:log"},
         Channels({1}),
         Dialog([](SpectrumFormatFields& f) {
             f.EdSX0 = "1", f.EdSXM = "50", f.UpDown2 = 2, f.RadioGroup2 = 1;
             f.EdSY0 = "0.001", f.EdSYM = "10", f.UpDown1 = 4, f.RadioGroup1 = 1;
         })},
        {{"--size", "300:200", "--channels", "2"}, Channels({2}), Dialog([](SpectrumFormatFields& f) {
             f.Edlx = "300", f.Edly = "200";
         })},
        {{"--period", "--x-axis", "0:2:4"}, Channels({1}), Dialog([](SpectrumFormatFields& f) {
             f.EdSX0 = "0", f.EdSXM = "2", f.UpDown2 = 4, f.RadioGroup3 = 1;
         })},
        {{"--channels", "1,2", "--ratio", "b-to-a", "--position", "300"}, ratio, {}},
        {{"--channels", "1,2", "--mem", "--x-axis", "0:25:5"}, mem, Dialog([](SpectrumFormatFields& f) {
             f.EdSX0 = "0", f.EdSXM = "25", f.UpDown2 = 5;
         })},
    };
    int n = 0;
    for (const Case& k : cases) {
        const std::string png = dir.File("p" + std::to_string(n++));
        std::vector<std::string> args = {"spectrum", path, "--png", png};
        args.insert(args.end(), k.Args.begin(), k.Args.end());
        const Ran r = RunBatch(dir, args);
        ASSERT_EQ(r.Status, 0) << args.back() << "\n" << r.Err;
        EXPECT_EQ(r.Err, "");
        const QImage batch = ReadPng(png + ".png");  // ".png" added
        int position = 0;
        for (size_t i = 0; i + 1 < k.Args.size(); ++i)
            if (k.Args[i] == "--position") position = std::stoi(k.Args[i + 1]);
        const QImage window = WindowPicture(path, k.Settings, position, k.Change);
        ASSERT_EQ(batch.size(), QSize(433, 417));
        EXPECT_TRUE(batch == window) << "spectrum picture differs with " << (k.Args.empty() ? "" : k.Args[0]);
    }
}

TEST(BatchSpectrumPicture, FrameAndCurveWhereTheyBelong) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    const Ran r = RunBatch(dir, {"spectrum", path, "--png", dir.File("one.png"), "-o", dir.File("one.csv")});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(test::Exists(dir.File("one.csv")));
    const QImage image = ReadPng(dir.File("one.png"));
    // The left and right frame lines; the plot area is white away from its lines and curve.
    EXPECT_EQ(image.pixel(70, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(390, 200), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(305, 250), qRgb(255, 255, 255));
    // The 6.25 Hz peak of 5.12 Gal·s: x = 70 + 6.25 / 10 · 64, up to 390 − 5.12 / 5 · 160 in red.
    EXPECT_GT(CountPixels(image, qRgb(255, 0, 0), 108, 226, 111, 232), 0);
    // Elsewhere the spectrum stays on the bottom line (the legend's sample line is above 130).
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0), 112, 130, 380, 380), 0);
}

TEST(BatchSpectrumPicture, DisplayOptionsTheDialogRefusesAreDataErrors) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    struct Case {
        std::vector<std::string> Args;
        std::string Err;
    };
    const std::vector<Case> cases = {
        {{"--x-axis", "0:100:2:log"}, "wavora-batch: Data Error: Illegal Lower value for axis\n"},
        {{"--y-axis", "5:1:2"}, "wavora-batch: Data Error: Illegal Lower value for axis\n"},
        {{"--x-axis", "low:50:2"}, "wavora-batch: 'low' is not a valid floating point value\n"},
        {{"--size", "wide:200"}, "wavora-batch: 'wide' is not a valid integer value\n"},
        {{"--size", "3:200"}, "wavora-batch: Data Error: Width must be between 5 and 32767 pixels\n"},
    };
    for (const Case& k : cases) {
        std::vector<std::string> args = {"spectrum",          path, "--png",
                                         dir.File("bad.png"), "-o", dir.File("bad.csv")};
        args.insert(args.end(), k.Args.begin(), k.Args.end());
        const Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, 1) << k.Args[1];
        EXPECT_EQ(r.Err, k.Err);
        EXPECT_FALSE(test::Exists(dir.File("bad.png")));
        EXPECT_FALSE(test::Exists(dir.File("bad.csv")));
    }
}

TEST(BatchSpectrumPicture, UsageErrorsAndExistingFiles) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"spectrum", path},
             {"spectrum", path, "--png", dir.File("u.png"), "--x-axis", "0:50"},
             {"spectrum", path, "--png", dir.File("u.png"), "--x-axis", "0:50:11"},
             {"spectrum", path, "--png", dir.File("u.png"), "--y-axis", "0:50:2:ln"},
             {"spectrum", path, "--png", dir.File("u.png"), "--size", "300"},
             {"spectrum", path, "--png", dir.File("u.png"), "-o", dir.File("u.png")},
         }) {
        const Ran r = RunBatch(dir, args);
        EXPECT_EQ(r.Status, 2) << args.back() << "\n" << r.Err;
        EXPECT_FALSE(test::Exists(dir.File("u.png")));
    }
    const std::string kept = dir.Write("kept.png", "mine");
    Ran r = RunBatch(dir, {"spectrum", path, "--png", kept, "-o", dir.File("new.csv")});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err,
              "wavora-batch: File Name Error: " + kept + " already exists; use --force to overwrite it\n");
    EXPECT_EQ(test::ReadAll(kept), "mine");
    EXPECT_FALSE(test::Exists(dir.File("new.csv")));
    r = RunBatch(dir, {"spectrum", path, "--png", kept, "--force"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_FALSE(ReadPng(kept).isNull());
}

TEST(BatchStats, TheStatisticsWindowsTexts) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    Ran r = RunBatch(dir, {"stats", path, "--channels", "1,3", "--position", "100"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    // A: 2·sin(π i / 8) from sample 100, where it peaks (12.5 half periods on), and dips 8 samples
    // later; its mean square is 2 up to the 16-bit quantisation. C: the ramp centred by "Zero
    // Average", a variance of (1024² − 1) / 12 · 10⁻⁶.
    EXPECT_EQ(r.Out,
              "CH1  A\n"
              "  Position     100\n"
              "  Data         1024\n"
              "  Duration     10.24 s\n"
              "  Mean         0.000 Gal\n"
              "  Max          2.000 Gal at 100\n"
              "  Min          -2.000 Gal at 108\n"
              "  Mean Square  1.999953 Gal^2\n"
              "\n"
              "CH3  C\n"
              "  Position     100\n"
              "  Data         1024\n"
              "  Duration     10.24 s\n"
              "  Mean         0.000 mkine\n"
              "  Max          0.511 mkine at 1123\n"
              "  Min          -0.512 mkine at 100\n"
              "  Mean Square  0.087381 mkine^2\n");
}

TEST(BatchStats, JsonHoldsTheSameTexts) {
    TempDir dir;
    const std::string path = SineCsv(dir);
    // With a ratio both channels of the pair are listed; --step 2 does not multiply the index.
    Ran r = RunBatch(dir, {"stats", path, "--channels", "1,2", "--ratio", "a-to-b", "--points", "512",
                           "--step", "2", "--no-zero-average", "--json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const nlohmann::json j = nlohmann::json::parse(r.Out, nullptr, false);
    ASSERT_TRUE(j.is_array());
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["channel"], 1);
    EXPECT_EQ(j[0]["name"], "A");
    EXPECT_EQ(j[0]["position"], "0");
    EXPECT_EQ(j[0]["data"], "512");
    EXPECT_EQ(j[0]["duration"], "10.24 s");
    EXPECT_EQ(j[0]["max"], "2.000 Gal at 2");
    EXPECT_EQ(j[0]["min"], "-2.000 Gal at 6");
    EXPECT_EQ(j[1]["channel"], 2);
    EXPECT_EQ(j[1]["name"], "B");
    EXPECT_TRUE(j[1].contains("mean") && j[1].contains("mean_square"));
    // The keys in the order of the window's labels.
    const nlohmann::ordered_json o = nlohmann::ordered_json::parse(r.Out);
    std::vector<std::string> order;
    for (auto it = o[0].begin(); it != o[0].end(); ++it) order.push_back(it.key());
    EXPECT_EQ(order, (std::vector<std::string>{"channel", "name", "position", "data", "duration", "mean",
                                               "max", "min", "mean_square"}));
    // The run's own messages end it as for the spectrum.
    r = RunBatch(dir, {"stats", path, "--position", "1500"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err,
              "wavora-batch: Data Size Error: Data size is not sufficient. Add Trailing 0?\n"
              "wavora-batch: use --pad to analyse the segment with trailing zeros\n");
}

}  // namespace
}  // namespace wavora
