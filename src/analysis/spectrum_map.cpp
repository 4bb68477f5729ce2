#include "analysis/spectrum_map.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

// A pixel offset from a computed value: truncated toward zero and held within a range no
// picture reaches, so that a tiny time span or frequency range cannot overflow.
int Truncate(double value) {
    if (!(value > -1.0e9)) return -1000000000;
    if (value > 1.0e9) return 1000000000;
    return static_cast<int>(value);
}

bool IsRatio(const SpectrumResult& result) {
    return result.Settings.RatioMode != 0 && result.SelectedChannelCount == 2;
}

// The frequency of line p as the run lists it: the MEM grid for a MEM spectrum, else p ÷ T.
float LineFrequency(const SpectrumResult& result, int p) {
    if (result.Settings.Mem && p < static_cast<int>(result.MemFrequency.size()))
        return result.MemFrequency[static_cast<size_t>(p)];
    return static_cast<float>(p) / result.Duration;
}

// The spacing of the lines a row is drawn on: the MEM grid's for a MEM spectrum.
float LineSpacing(const SpectrumResult& result) {
    if (result.Settings.Mem && result.MemFrequency.size() > 1)
        return result.MemFrequency[1] - result.MemFrequency[0];
    return result.FrequencyStep;
}

const std::string& ChannelUnit(const WaveRecord& record, const SpectrumResult& result) {
    static const std::string none;
    const int k = result.CurrentChannel - 1;
    if (k < 0 || k >= kMaxChannels) return none;
    return record.Channels[static_cast<size_t>(k)].DisplayUnit;
}

// The automatic colour maximum as its field shows it: four decimals, or the exponent form for a
// maximum too small to show in four decimals (so the colour bar never reads 0 … 0).
std::string ColourMaxText(float maximum) {
    if (maximum >= 0.001f || maximum == 0.0f) return StrPrintf("%.4f", static_cast<double>(maximum));
    return StrPrintf("%.3e", static_cast<double>(maximum));
}

}  // namespace

PaletteColour MapPaletteColour(int level) {
    const int i = std::clamp(level, 0, kMapLevels - 1);
    if (i < 85) return {0, static_cast<uint8_t>(3 * i), 255};
    if (i < 170) return {static_cast<uint8_t>(3 * i - 255), 255, static_cast<uint8_t>(510 - 3 * i)};
    return {255, static_cast<uint8_t>(765 - 3 * i), 0};
}

int MapLevel(float value, float colourMax) {
    if (!(value > 0.0f)) return 0;
    if (!(colourMax > 0.0f)) return kMapLevels - 1;
    const double level = static_cast<double>(value) / colourMax * kMapLevels;
    if (!(level < kMapLevels - 1)) return kMapLevels - 1;
    return static_cast<int>(level);
}

SkipProposal ProposedSkip(float analysisInterval) {
    static constexpr int kChoices[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000};
    constexpr int kLast = static_cast<int>(std::size(kChoices)) - 1;
    // Single precision, as the interval is kept: 1 ÷ 0.2 gives 5, not 4.
    const float perTimeUnit = 1.0f / analysisInterval;
    SkipProposal proposal;
    if (!(perTimeUnit < 1.0e9f)) {  // no interval: the largest Skip of the list
        proposal.Item = kLast;
        proposal.Skip = kChoices[kLast];
        return proposal;
    }
    const int s = std::max(static_cast<int>(perTimeUnit), 1);
    if (s < 10) {
        proposal.EditBox = true;
        proposal.Skip = s;
        return proposal;
    }
    proposal.Item = kLast;
    for (int i = 0; i <= kLast; ++i) {
        if (kChoices[i] >= s) {
            proposal.Item = i;
            break;
        }
    }
    proposal.Skip = kChoices[proposal.Item];
    return proposal;
}

float MapRowCount(float timeSpan, int skip, float analysisInterval) {
    const float interval = static_cast<float>(skip) * analysisInterval;
    return timeSpan / interval;
}

std::optional<Failure> MapRowCountCheck(float timeSpan, int skip, float analysisInterval) {
    const float rows = MapRowCount(timeSpan, skip, analysisInterval);
    if (!(rows >= static_cast<float>(kMapRowsMin)))
        return Failure::Captioned("Skip time interval for 2D Spectrum plot is too large!!   ",
                                  "Skip time error");
    if (rows > static_cast<float>(kMapRowsMax))
        return Failure::Captioned("Skip time interval for 2D Spectrum plot is too small!!   ",
                                  "Skip time error");
    return std::nullopt;
}

std::string CrossHairText(const MapFrame& frame, int x, int y, const char* frequencyUnit,
                          const char* timeUnit) {
    const double f =
        static_cast<double>(frame.NGridX) * frame.VValueX * (x - frame.OriginX) / std::max(frame.WidthX, 1) +
        frame.SValueX;
    const double t =
        static_cast<double>(frame.NGridY) * frame.VValueY * (frame.OriginY - y) / std::max(frame.HeightY, 1);
    return StrPrintf("( f, t )=( %.3f%s, %.3f%s )", f, frequencyUnit, t, timeUnit);
}

bool CrossHairInside(const MapFrame& frame, int x, int y) {
    return x >= frame.OriginX - 1 && x <= frame.OriginX + frame.WidthX &&
           y >= frame.OriginY - frame.HeightY - 1 && y <= frame.OriginY;
}

std::string MapValueTitle(const WaveRecord& record, const SpectrumResult& result) {
    const std::string lead(10, ' ');
    const bool ratio = IsRatio(result);
    const AnalysisSettings& s = result.Settings;
    const char* unit = ChannelUnit(record, result).c_str();
    const char* time = record.TimeText();
    if (s.Mem) return lead + (ratio ? "MEM Spectrum Ratio" : "MEM Spectrum");
    if (s.Type == SpectrumType::Power)
        return lead + (ratio ? std::string("Fourier Power Spectrum Ratio")
                             : StrPrintf("Fourier Power Spectrum [%s^2*%s]", unit, time));
    if (s.AbsCoeffMode)
        return lead +
               (ratio ? std::string("Fourier Coeff Ratio") : StrPrintf("Fourier Coeff Spectrum [%s]", unit));
    return lead + (ratio ? std::string("Fourier Amplitude Ratio")
                         : StrPrintf("Fourier Amplitude Spectrum [%s*%s]", unit, time));
}

std::string MapValueUnit(const WaveRecord& record, const SpectrumResult& result) {
    // A ratio has no unit.
    if (IsRatio(result)) return "";
    const AnalysisSettings& s = result.Settings;
    const char* unit = ChannelUnit(record, result).c_str();
    const char* time = record.TimeText();
    if (s.Mem || s.Type == SpectrumType::Power) return StrPrintf("[%s^2*%s]", unit, time);
    if (s.AbsCoeffMode) return StrPrintf("[%s]", unit);
    return StrPrintf("[%s*%s]", unit, time);
}

// ---------------------------------------------------------------------------------------------
// SpectrumMap

std::optional<SkipProposal> SpectrumMap::Prepare(bool twoD, float analysisInterval) {
    AutoColourScale = Fields.Auto;
    if (!twoD || !FirstSet) return std::nullopt;
    return ProposedSkip(analysisInterval);
}

void SpectrumMap::Begin(int skip, float analysisInterval) {
    // The rows the time span holds, as the row-count check counts them.
    const float rows = MapRowCount(Fields.TimeSpan, skip, analysisInterval);
    MapRowTotal = rows >= 0.0f && rows < 2.0e9f ? static_cast<int>(rows) : 0;
    TimeSpan = Fields.TimeSpan;
}

MapFrame SpectrumMap::ApplySet(const SpectrumAxisFields& axis) {
    limitsTaken_ = false;
    if (FirstSet) {
        UpperFrequency = axis.XMax;
        LowerFrequency = axis.XStart;
        Fields.UpperFrequency = UpperFrequency;
        Fields.LowerFrequency = LowerFrequency;
        Fields.FrequencyGrid = std::clamp(axis.XDivisions, 1, 10);
        FirstSet = false;
        limitsTaken_ = true;
    } else {
        UpperFrequency = Fields.UpperFrequency;
        LowerFrequency = Fields.LowerFrequency;
    }
    const int frequencyGrid = std::max(Fields.FrequencyGrid, 1);
    const int timeGrid = std::max(Fields.TimeGrid, 1);
    TimeSpan = Fields.TimeSpan;

    std::string format;
    Frame.WidthX = std::max(axis.Width, 1);
    Frame.HeightY = std::max(axis.Height, 1);
    Frame.NGridX = frequencyGrid;
    Frame.SValueX = LowerFrequency;
    Frame.VValueX = (UpperFrequency - LowerFrequency) / static_cast<float>(frequencyGrid);
    Frame.SubX = SubScale(Frame.VValueX, format);
    Frame.NGridY = timeGrid;
    Frame.SValueY = 0.0f;
    Frame.VValueY = TimeSpan / static_cast<float>(timeGrid);
    Frame.SubY = SubScale(Frame.VValueY, format);
    ColourMax = Fields.ColourMax;
    return Frame;
}

std::optional<MapFrame> SpectrumMap::Set(const SpectrumAxisFields& axis) {
    if (MapRunning) return std::nullopt;
    return ApplySet(axis);
}

ColourBar SpectrumMap::Bar() const {
    ColourBar bar;
    bar.Divisions = std::max(Fields.ColourGrid, 1);
    bar.Maximum = Fields.ColourMax > 0.0f ? Fields.ColourMax : 0.0f;
    bar.Unit = ValueUnit;
    return bar;
}

std::string SpectrumMap::RowTotalText() const {
    return StrPrintf("%d", MapRowTotal);
}

MapStartPlan SpectrumMap::Start(const WaveRecord& record, const SpectrumResult& result,
                                const SpectrumAxisFields& axis, const BandPassNote& filter, int skip) {
    MapStartPlan plan;
    const int half = result.Points / 2;
    const float* values = result.RealPart.data();
    if (AutoColourScale) {
        // The largest value inside the limits the map is about to show (the first Set takes
        // them from the spectrum graph).
        const float lower = FirstSet ? axis.XStart : Fields.LowerFrequency;
        const float upper = FirstSet ? axis.XMax : Fields.UpperFrequency;
        float maximum = 0.0f;
        for (int p = 0; p < half && p < static_cast<int>(result.RealPart.size()); ++p) {
            const float f = LineFrequency(result, p);
            if (f > upper) break;
            if (f >= lower && values[p] > maximum) maximum = values[p];
        }
        ColourMax = maximum;
        plan.ColourMaxText = ColourMaxText(maximum);
        // The field holds the text; the colour bar shows what it holds.
        const float shown = AxisFieldValue(*plan.ColourMaxText);
        Fields.ColourMax = std::isfinite(shown) ? shown : maximum;
        AutoColourScale = false;
        MapColourMax = maximum;
    } else {
        // The maximum the colour bar will show.
        MapColourMax = Fields.ColourMax;
    }
    plan.Frame = ApplySet(axis);
    plan.LimitsTaken = limitsTaken_;
    MapInitialPosition = result.Position;

    const char* frequencyUnit = record.FrequencyText();
    const char* timeUnit = record.TimeText();
    ValueUnit = MapValueUnit(record, result);
    plan.TitleY = MapValueTitle(record, result);
    plan.TitleX = StrPrintf("Frequency f[%s]", frequencyUnit);
    plan.StartTime =
        SignificantText(5, static_cast<float>(result.Position) * record.SamplingInterval) + " + ";
    plan.Bar = Bar();
    MapRunning = true;

    const float analysisInterval = result.AnalysisInterval;
    plan.Notes.push_back({10, GraphHeight - 16,
                          filter.Checked
                              ? StrPrintf("Bandpass %.2f - %.2f %s", static_cast<double>(filter.Lower),
                                          static_cast<double>(filter.Upper), frequencyUnit)
                              : std::string("Unfiltered")});
    plan.Notes.push_back(
        {300, GraphHeight - 16,
         StrPrintf("%d Points %s[%s]", result.Points,
                   RoundText(static_cast<float>(result.Points) * analysisInterval).c_str(), timeUnit)});
    plan.Notes.push_back({10, 35, StrPrintf("Time t[%s]", timeUnit)});
    plan.Notes.push_back(
        {330, Frame.OriginY - Frame.HeightY - 17,
         StrPrintf("Skip %s[%s]", RoundText(static_cast<float>(skip) * analysisInterval).c_str(), timeUnit)});
    plan.Notes.push_back({2, 4, record.FileName});
    plan.Notes.push_back({12, 18,
                          IsRatio(result)
                              ? StrPrintf("%dCH / %dCH Init %d", result.RatioChannelA, result.RatioChannelB,
                                          MapInitialPosition)
                              : StrPrintf("%d CH Init %d", result.CurrentChannel, MapInitialPosition)});
    plan.Notes.push_back({375, 4, StrPrintf("smooth %d", result.Settings.SmoothPasses)});
    plan.TimeUnit = timeUnit;
    plan.FrequencyUnit = frequencyUnit;
    return plan;
}

MapRowPlan SpectrumMap::Row(const WaveRecord& record, const SpectrumResult& result, int skip) const {
    MapRowPlan plan;
    plan.Position = result.Position;
    const double rate = record.SamplingRate > 0          ? static_cast<double>(record.SamplingRate)
                        : record.SamplingInterval > 0.0f ? 1.0 / record.SamplingInterval
                                                         : 0.0;
    // The time axis counts Skip × analysis interval per row.
    plan.Time = static_cast<double>(result.Position - MapInitialPosition) * result.Step / rate;
    if (!(plan.Time < TimeSpan)) {
        plan.Stop = true;
        return plan;
    }
    // No frequency range, no row.
    if (!(UpperFrequency > LowerFrequency)) return plan;

    const int width = Frame.WidthX, height = Frame.HeightY;
    const double span = static_cast<double>(UpperFrequency) - LowerFrequency;
    const int bottom = Truncate(plan.Time / TimeSpan * height);
    const int rowHeight = Truncate(static_cast<double>(skip) * result.AnalysisInterval / TimeSpan * height);
    const int lineWidth = Truncate(LineSpacing(result) / span * width);

    const int half = std::min(result.Points / 2, static_cast<int>(result.RealPart.size()));
    plan.Bands.reserve(static_cast<size_t>(half));
    for (int p = 0; p < half; ++p) {
        const float f = LineFrequency(result, p);
        if (f < LowerFrequency) continue;
        if (f > UpperFrequency) break;
        MapBand band;
        band.Line = p;
        band.Level = MapLevel(result.RealPart[static_cast<size_t>(p)], MapColourMax);
        const int x = Truncate((static_cast<double>(f) - LowerFrequency) / span * width);
        // Bands are one pixel wider and higher than their share, so neighbours overlap by a pixel;
        // nothing is drawn above the chart or right of it.
        if (bottom >= 0 && bottom < height && x >= 0 && x <= width) {
            const int rows = std::min(std::max(rowHeight, 0), height - 1 - bottom);
            const int columns = std::min(std::max(lineWidth, 0), width - x);
            band.Left = Frame.OriginX + x;
            band.Right = band.Left + columns + 1;
            band.Bottom = Frame.OriginY - bottom + 1;
            band.Top = Frame.OriginY - bottom - rows;
        }
        plan.Bands.push_back(band);
    }
    return plan;
}

}  // namespace wavora
