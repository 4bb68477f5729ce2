#include "analysis/spectrum_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "analysis/running_session.h"
#include "analysis/running_spectrum.h"
#include "support/record_builder.h"

namespace wavora {
namespace {

// A record of `rate` samples per second; channel 1 a sine of 5 Hz.
WaveRecord Record(int rate, int samples) {
    WaveRecord r = test::SyntheticRecord(1, samples, [rate](int, int i) {
        return static_cast<int16_t>(std::lround(1000.0 * std::sin(2.0 * M_PI * 5.0 * i / rate)));
    });
    r.SamplingRate = rate;
    r.SamplingInterval = 1.0f / static_cast<float>(rate);
    r.FileName = "wave.csv";
    r.Channels[0].DisplayUnit = "Gal";
    return r;
}

// A run's result made by hand at `rate`: 1024 points, line p holding value(p).
SpectrumResult Result(int rate, int position, float (*value)(int)) {
    SpectrumResult r;
    r.Points = 1024;
    r.Step = 1;
    r.Position = position;
    r.SelectedChannelCount = 1;
    r.CurrentChannel = 1;
    r.AnalysisInterval = 1.0f / static_cast<float>(rate);
    r.Duration = 1024.0f * r.AnalysisInterval;
    r.FrequencyStep = 1.0f / r.Duration;
    r.RealPart.assign(1025, 0.0f);
    r.MemFrequency.assign(1025, 0.0f);
    for (int p = 0; p < 512; ++p) r.RealPart[static_cast<size_t>(p)] = value(p);
    return r;
}

TEST(MapPalette, AnchorsAndLevels) {
    EXPECT_EQ(MapPaletteColour(0), (PaletteColour{0, 0, 255}));        // blue
    EXPECT_EQ(MapPaletteColour(85), (PaletteColour{0, 255, 255}));     // cyan
    EXPECT_EQ(MapPaletteColour(128), (PaletteColour{129, 255, 126}));  // about green
    EXPECT_EQ(MapPaletteColour(170), (PaletteColour{255, 255, 0}));    // yellow
    EXPECT_EQ(MapPaletteColour(255), (PaletteColour{255, 0, 0}));      // red
    EXPECT_EQ(MapPaletteColour(84), (PaletteColour{0, 252, 255}));
    EXPECT_EQ(MapPaletteColour(-3), MapPaletteColour(0));
    EXPECT_EQ(MapPaletteColour(300), MapPaletteColour(255));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float Value, Max;
        int Level;
    };
    for (const Case& c :
         {Case{0, 20, 0}, Case{-1, 20, 0}, Case{nan, 20, 0}, Case{10, 20, 128}, Case{19.99f, 20, 255},
          Case{20, 20, 255}, Case{1e30f, 20, 255}, Case{0.07f, 20, 0}, Case{0.08f, 20, 1}, Case{5, 0, 255},
          Case{5, -1, 255}, Case{5, nan, 255}, Case{0, 0, 0}}) {
        EXPECT_EQ(MapLevel(c.Value, c.Max), c.Level) << c.Value << " / " << c.Max;
    }
}

TEST(MapChecks, RowCountLimitsAndMessages) {
    const Failure large =
        Failure::Captioned("Skip time interval for 2D Spectrum plot is too large!!   ", "Skip time error");
    const Failure small =
        Failure::Captioned("Skip time interval for 2D Spectrum plot is too small!!   ", "Skip time error");
    struct Case {
        float Span;
        int Skip;
        std::optional<Failure> Error;
    };
    // 60 s at 0.01 s: Skip 120 gives 50 rows, 12 gives 500.
    for (const Case& c :
         {Case{60, 120, std::nullopt}, Case{60, 12, std::nullopt}, Case{60, 100, std::nullopt},
          Case{60, 121, large}, Case{60, 11, small}, Case{60, 200, large}, Case{60, 10, small},
          Case{0, 100, large}, Case{-5, 100, large}}) {
        EXPECT_EQ(MapRowCountCheck(c.Span, c.Skip, 0.01f), c.Error) << c.Span << " " << c.Skip;
    }
    EXPECT_EQ(MapRowCountCheck(60, 100, 0.0f), small);  // no interval: endless rows
}

TEST(MapChecks, ProposedSkip) {
    struct Case {
        float Interval;
        SkipProposal Proposal;
    };
    for (const Case& c :
         {Case{0.01f, {false, 3, 100}}, Case{0.001f, {false, 6, 1000}}, Case{0.0001f, {false, 8, 5000}},
          Case{0.09f, {false, 1, 20}}, Case{0.1f, {false, 0, 10}}, Case{0.2f, {true, 0, 5}},
          Case{0.5f, {true, 0, 2}}, Case{2.0f, {true, 0, 1}}, Case{0.0f, {false, 8, 5000}}}) {
        EXPECT_EQ(ProposedSkip(c.Interval), c.Proposal) << c.Interval;
    }
}

TEST(MapRows, BandsOfARow) {
    // 128 Hz: lines 0.125 Hz apart, limits 0 … 20 Hz on 320 pixels (2 pixels per line), 60 s of
    // rows of 100 samples (0.78125 s, 4 pixels).
    const WaveRecord record = Record(128, 100000);
    SpectrumMap map;
    map.FirstSet = false;
    map.Fields.Auto = false;
    map.Fields.ColourMax = 10.0f;
    EXPECT_FALSE(map.Prepare(true, 1.0f / 128));  // takes "Auto"; no proposal after the first Set
    SpectrumAxisFields axis;
    axis.Width = axis.Height = 320;
    SpectrumResult first = Result(128, 1000, [](int p) { return p == 8 ? 5.0f : 20.0f; });
    const MapStartPlan start = map.Start(record, first, axis, {}, 100);
    EXPECT_TRUE(map.MapRunning);
    EXPECT_EQ(map.MapInitialPosition, 1000);
    EXPECT_FLOAT_EQ(map.MapColourMax, 10.0f);

    const MapRowPlan row0 = map.Row(record, first, 100);
    ASSERT_FALSE(row0.Stop);
    ASSERT_EQ(row0.Bands.size(), 161u);  // lines 0 … 160 (20 Hz exactly)
    EXPECT_EQ(row0.Bands[0], (MapBand{0, 255, 70, 376, 73, 381}));
    EXPECT_EQ(row0.Bands[8], (MapBand{8, 128, 86, 376, 89, 381}));
    // The last line stands on the right edge: one pixel wide.
    EXPECT_EQ(row0.Bands[160], (MapBand{160, 255, 390, 376, 391, 381}));

    // 59.5 s later: e = 317, the band is cut at the chart's top row (y 61).
    SpectrumResult late = first;
    late.Position = 1000 + 7616;
    const MapRowPlan row = map.Row(record, late, 100);
    ASSERT_FALSE(row.Stop);
    EXPECT_DOUBLE_EQ(row.Time, 59.5);
    EXPECT_EQ(row.Bands[0].Bottom, 380 - 317 + 1);
    EXPECT_EQ(row.Bands[0].Top, 61);
    // At 60 s the time span is full.
    late.Position = 1000 + 7680;
    EXPECT_TRUE(map.Row(record, late, 100).Stop);

    // Equal limits: the row is not drawn (no division by the empty range).
    map.Idle();
    map.Fields.UpperFrequency = map.Fields.LowerFrequency = 5.0f;
    ASSERT_TRUE(map.Set(axis));
    const MapRowPlan empty = map.Row(record, first, 100);
    EXPECT_FALSE(empty.Stop);
    EXPECT_TRUE(empty.Bands.empty());
}

TEST(MapStart, AutomaticColourScaleTitlesAndNotes) {
    WaveRecord record = Record(100, 100000);
    SpectrumMap map;  // the first Set takes the frequency axis 0 … 50 from the spectrum graph
    SpectrumAxisFields axis;
    axis.XStart = 0.0f;
    axis.XMax = 50.0f;
    axis.XDivisions = 5;
    axis.Width = axis.Height = 320;
    ASSERT_FALSE(map.Prepare(true, 0.01f)->EditBox);
    // The peak at line 400 (39 Hz) lies outside the default 0 … 20 Hz but inside what the map shows.
    SpectrumResult r = Result(100, 2000, [](int p) { return p == 400 ? 7.25f : p == 100 ? 3.0f : 0.5f; });
    const MapStartPlan plan = map.Start(record, r, axis, {true, 1.0f, 20.0f}, 100);
    ASSERT_TRUE(plan.ColourMaxText);
    EXPECT_EQ(*plan.ColourMaxText, "7.2500");
    EXPECT_FLOAT_EQ(map.MapColourMax, 7.25f);
    EXPECT_TRUE(plan.LimitsTaken);
    EXPECT_FALSE(map.FirstSet);
    EXPECT_FLOAT_EQ(map.Fields.UpperFrequency, 50.0f);
    EXPECT_EQ(plan.Frame.NGridX, 5);
    EXPECT_FLOAT_EQ(plan.Frame.VValueX, 10.0f);
    EXPECT_FLOAT_EQ(plan.Frame.VValueY, 15.0f);
    EXPECT_EQ(plan.TitleX, "Frequency f[Hz]");
    EXPECT_EQ(plan.TitleY, "          Fourier Amplitude Spectrum [Gal*s]");
    EXPECT_EQ(plan.StartTime, "20 + ");
    EXPECT_EQ(plan.Bar.Unit, "[Gal*s]");
    EXPECT_FLOAT_EQ(plan.Bar.Maximum, 7.25f);
    std::vector<std::string> notes;
    for (const MapText& t : plan.Notes)
        notes.push_back(std::to_string(t.X) + "," + std::to_string(t.Y) + " " + t.Text);
    EXPECT_EQ(notes, (std::vector<std::string>{"10,401 Bandpass 1.00 - 20.00 Hz", "300,401 1024 Points 10[s]",
                                               "10,35 Time t[s]", "330,43 Skip 1[s]", "2,4 wave.csv",
                                               "12,18 1 CH Init 2000", "375,4 smooth 0"}));
    // A second run keeps the limits the user has and no longer proposes a Skip.
    EXPECT_FALSE(map.Prepare(true, 0.01f));
    EXPECT_FALSE(map.Set(axis));  // not while the map is drawn
    map.Idle();
    EXPECT_TRUE(map.Set(axis));
    EXPECT_FALSE(map.LimitsTakenByLastSet());

    // A tiny maximum is written so that it still reads as a number.
    map.Idle();
    map.AutoColourScale = true;
    SpectrumResult tiny = Result(100, 0, [](int) { return 0.00012345f; });
    EXPECT_EQ(*map.Start(record, tiny, axis, {}, 100).ColourMaxText, "1.234e-04");
    EXPECT_GT(map.Fields.ColourMax, 0.0f);
}

TEST(MapStart, TitlesAndUnitsByKind) {
    WaveRecord record = Record(100, 1000);
    struct Case {
        bool Mem, Power, Abs;
        int Ratio;
        const char* Title;
        const char* Unit;
    };
    for (const Case& c : {Case{false, false, false, 0, "Fourier Amplitude Spectrum [Gal*s]", "[Gal*s]"},
                          Case{false, false, true, 0, "Fourier Coeff Spectrum [Gal]", "[Gal]"},
                          Case{false, true, false, 0, "Fourier Power Spectrum [Gal^2*s]", "[Gal^2*s]"},
                          Case{true, false, false, 0, "MEM Spectrum", "[Gal^2*s]"},
                          Case{false, false, false, 1, "Fourier Amplitude Ratio", ""},
                          Case{false, false, true, 2, "Fourier Coeff Ratio", ""},
                          Case{false, true, false, 1, "Fourier Power Spectrum Ratio", ""},
                          Case{true, false, false, 1, "MEM Spectrum Ratio", ""}}) {
        SpectrumResult r = Result(100, 0, [](int) { return 1.0f; });
        r.Settings.Mem = c.Mem;
        r.Settings.Type = c.Power ? SpectrumType::Power : SpectrumType::Amp;
        r.Settings.AbsCoeffMode = c.Abs;
        r.Settings.RatioMode = c.Ratio;
        r.SelectedChannelCount = c.Ratio ? 2 : 1;
        EXPECT_EQ(MapValueTitle(record, r), std::string(10, ' ') + c.Title);
        EXPECT_EQ(MapValueUnit(record, r), c.Unit);
    }
}

TEST(MapCrossHair, ReadOutAndArea) {
    MapFrame f;  // origin (70, 380), 300 × 300, 4 × 4
    f.SValueX = 0.0f;
    f.VValueX = 5.0f;
    f.VValueY = 15.0f;
    EXPECT_EQ(CrossHairText(f, 70, 380, "Hz", "s"), "( f, t )=( 0.000Hz, 0.000s )");
    EXPECT_EQ(CrossHairText(f, 220, 80, "Hz", "s"), "( f, t )=( 10.000Hz, 60.000s )");
    EXPECT_EQ(CrossHairText(f, 145, 305, "kHz", "ms"), "( f, t )=( 5.000kHz, 15.000ms )");
    EXPECT_TRUE(CrossHairInside(f, 69, 79));
    EXPECT_TRUE(CrossHairInside(f, 370, 380));
    EXPECT_FALSE(CrossHairInside(f, 68, 200));
    EXPECT_FALSE(CrossHairInside(f, 371, 200));
    EXPECT_FALSE(CrossHairInside(f, 200, 78));
    EXPECT_FALSE(CrossHairInside(f, 200, 381));
}

TEST(MapRun, ARunningSpectrumWithTwoDFillsTheMapAndStopsAtTheTimeSpan) {
    const WaveRecord record = Record(100, 100000);
    RunningSpectrum running;
    SpectrumMap map;
    map.Fields.TimeSpan = 10.0f;  // with the proposed Skip of 100 (1 s), 10 rows…
    RunningSession session;
    session.Start.TwoD = true;
    session.Start.Multi = false;
    session.Start.Hidden = false;
    RunningOutcome refused = DriveRunningSpectrum(record, session, running, map);
    ASSERT_TRUE(refused.Start.Error);  // …are too few
    EXPECT_EQ(refused.Start.Error->Text, "Skip time interval for 2D Spectrum plot is too large!!   ");
    ASSERT_TRUE(refused.Start.Proposal);
    EXPECT_EQ(refused.Start.Proposal->Skip, 100);

    map.Fields.TimeSpan = 60.0f;
    std::vector<MapRowPlan> rows;
    int starts = 0;
    RunningObserver observer;
    observer.Step = [&](const RunningStep& step, const SpectrumResult&, const RunningStepView&) {
        if (step.MapStart) ++starts;
        if (step.Row) rows.push_back(*step.Row);
    };
    RunningOutcome out = DriveRunningSpectrum(record, session, running, map, observer);
    ASSERT_EQ(out.Start.Status, RunningStartStatus::Started);
    EXPECT_EQ(out.Start.Skip, 100);
    EXPECT_EQ(map.MapRowTotal, 60);
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[59].Position, 5900);
    EXPECT_EQ(out.CountText, "Count  60");
    EXPECT_FALSE(map.MapRunning);
    ASSERT_TRUE(out.Stop.Average);
    // With "2D" Stop leaves Init at Position − Skip − Points.
    EXPECT_EQ(out.Stop.InitPosition, 6000 - 100 - 1024);
}

}  // namespace
}  // namespace wavora
