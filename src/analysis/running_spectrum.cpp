#include "analysis/running_spectrum.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

// A pixel from a projected coordinate: truncated toward zero, held within ±1 000 000 so that a
// huge value cannot overflow (such a point lies far outside any picture).
int PixelCoordinate(double value) {
    if (!(value > -1.0e6)) return -1000000;
    if (value > 1.0e6) return 1000000;
    return static_cast<int>(value);
}

bool IsRatio(const SpectrumResult& result) {
    return result.Settings.RatioMode != 0 && result.SelectedChannelCount == 2;
}

Failure SkipFailure() {
    return Failure::Captioned("Skip must be a whole number of samples, 1 or more.", "Skip Error");
}

// The field text of a spectrum-axis value as the format dialog writes it, read back.
float DialogValue(const char* format, float value) {
    return AxisFieldValue(StrPrintf(format, static_cast<double>(value)));
}

}  // namespace

std::optional<int> WholeNumber(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    size_t end = text.find_last_not_of(" \t") + 1;
    const std::string digits = text.substr(begin, end - begin);
    const char* first = digits.c_str();
    size_t at = (*first == '+' || *first == '-') ? 1 : 0;
    if (at >= digits.size()) return std::nullopt;
    for (size_t i = at; i < digits.size(); ++i)
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
    errno = 0;
    char* stop = nullptr;
    const long value = std::strtol(first, &stop, 10);
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

std::string SkipTimeText(int skip, float analysisInterval, const char* timeUnit) {
    return StrPrintf("Skip Time %s [%s]", RoundText(static_cast<float>(skip) * analysisInterval).c_str(),
                     timeUnit);
}

std::string CountText(int count) {
    return StrPrintf("Count  %d", count);
}

RunningScale AutomaticRunningScale(const SpectrumResult& result) {
    RunningScale scale;
    const int half = std::min(result.Points / 2, static_cast<int>(result.RealPart.size()));
    const bool mem = result.Settings.Mem && static_cast<int>(result.MemFrequency.size()) >= half;
    const float fmax =
        mem && half > 0 ? result.MemFrequency[static_cast<size_t>(half - 1)] : 0.5f / result.AnalysisInterval;
    const AxisScale x = AxisUnit(false, fmax);
    scale.NGridX = x.NGrid;
    scale.SValueX = x.Start;
    scale.VValueX = x.Step;
    float ymax = 0.0f;
    for (int i = 0; i < half; ++i) {
        const float f =
            mem ? result.MemFrequency[static_cast<size_t>(i)]
                : static_cast<float>(i) / (static_cast<float>(result.Points) * result.AnalysisInterval);
        const float v = result.RealPart[static_cast<size_t>(i)];
        if (f >= 0.0f && f <= fmax && v > ymax) ymax = v;
    }
    const AxisScale y = AxisUnit(false, ymax);
    scale.NGridY = y.NGrid;
    scale.SValueY = y.Start;
    scale.VValueY = y.Step;
    return scale;
}

SpectrumAxisFields AxisFieldsOf(const RunningScale& scale) {
    SpectrumAxisFields fields;
    const float start = scale.SValueX;
    fields.XStart = DialogValue(start >= 0.001f || start == 0.0f ? "%.3f" : "%.2e", start);
    fields.XMax = DialogValue("%.2f", scale.UpperFrequency());
    fields.XDivisions = scale.NGridX;
    fields.Width = scale.WidthX;
    fields.Height = scale.HeightY;
    return fields;
}

// ---------------------------------------------------------------------------------------------
// Projection and hidden lines

RunningProjection RunningProjection::For(const RunningScale& scale, const RunningFrameGeometry& geometry,
                                         int skip, float analysisInterval, int step) {
    RunningProjection p;
    p.XStart = scale.SValueX;
    p.XStep = scale.VValueX;
    p.YStep = scale.VValueY;
    p.DivisionWidth = geometry.Width / std::max(scale.NGridX, 1);
    p.DivisionHeight = geometry.Height / std::max(scale.NGridY, 1);
    p.TimeStepPixels = skip > 0 ? 6400 / skip : 0;
    p.TimeUnitPerMs = analysisInterval * 1000.0f / static_cast<float>(std::max(step, 1));
    p.OriginX = geometry.OriginX;
    p.OriginY = geometry.OriginY;
    return p;
}

PlotPoint RunningProjection::Project(float f, float v, float t) const {
    const double along = static_cast<double>(t) / TimeUnitPerMs * TimeStepPixels;
    const double angle = PlotAngle;
    const double x =
        std::cos(angle) * along + (static_cast<double>(f) - XStart) / XStep * DivisionWidth + OriginX;
    const double y = OriginY - static_cast<double>(v) / YStep * DivisionHeight - std::sin(angle) * along;
    return {PixelCoordinate(x), PixelCoordinate(y)};
}

bool HiddenLineHorizon::Segment(PlotPoint a, PlotPoint b, std::vector<PlotSegment>& out) {
    if (b.X < a.X) std::swap(a, b);
    if (b.X >= Width()) return false;
    auto visibleAt = [&](int x, int y) { return x >= 0 && y < horizon_[static_cast<size_t>(x)]; };

    if (a.X == b.X) {
        if (!visibleAt(a.X, a.Y) || !visibleAt(b.X, b.Y)) return true;
        horizon_[static_cast<size_t>(a.X)] = std::max(a.Y, b.Y);
        out.push_back({a, b});
        return true;
    }

    // The slope once, in single precision; each column's y truncated toward zero.
    const float slope = static_cast<float>(b.Y - a.Y) / static_cast<float>(b.X - a.X);
    auto yAt = [&](int i) {
        return PixelCoordinate(static_cast<float>(a.Y) + slope * static_cast<float>(i - a.X));
    };
    bool visible = visibleAt(a.X, a.Y);
    PlotPoint runStart = a, lastVisible = a;
    for (int i = a.X + 1; i <= b.X; ++i) {
        const int g = yAt(i);
        if (i >= 0 && g < horizon_[static_cast<size_t>(i)]) {
            horizon_[static_cast<size_t>(i)] = g + 1;
            if (!visible) runStart = {i, g};
            lastVisible = {i, g};
            visible = true;
        } else if (visible) {
            // A run of the start point alone draws nothing (the end pixel of a line is left out).
            const PlotPoint runEnd = {i - 1, yAt(i - 1)};
            if (!(runEnd == runStart)) out.push_back({runStart, runEnd});
            visible = false;
        }
    }
    if (visible) out.push_back({runStart, lastVisible});
    return true;
}

// ---------------------------------------------------------------------------------------------
// The activity

RunningStart RunningSpectrum::Start(const RunningStartInput& input, SpectrumMap& map) {
    RunningStart out;
    // A run in progress is not started again (its Run buttons are disabled); nothing changes.
    if (active_) return out;
    // The channels the first step's run will analyse: one, or two for a spectral ratio.
    const int wanted = input.RatioMode != 0 ? 2 : 1;
    if (input.CheckedChannels != wanted) {
        out.Error = Failure::Captioned(
            "Sufficient Channel(s) not Selected or Extra Channel(s) selected !!    ", "Channel Select Error");
        out.DisableStartControls = true;
        return out;
    }

    std::optional<int> skip;
    if (input.EditBoxSkip) {
        skip = WholeNumber(input.SkipText);
    } else {
        const int item = std::clamp(input.SkipItem, 0, static_cast<int>(kRunningSkipChoices.size()) - 1);
        skip = kRunningSkipChoices[static_cast<size_t>(item)];
    }
    const float analysisInterval = static_cast<float>(std::max(input.Step, 1)) * input.SamplingInterval;

    // The 2-D map may propose a Skip from the list, which takes effect at once.
    out.Proposal = map.Prepare(input.TwoD, analysisInterval);
    if (out.Proposal && !out.Proposal->EditBox) skip = out.Proposal->Skip;
    if (!skip || *skip < 1) {
        out.Error = SkipFailure();
        return out;
    }
    if (input.TwoD) {
        if (auto refused = MapRowCountCheck(map.Fields.TimeSpan, *skip, analysisInterval)) {
            out.Error = refused;
            return out;
        }
    }

    const int position = std::max(input.InitPosition, 0);
    const int64_t end =
        static_cast<int64_t>(position) + static_cast<int64_t>(input.Points) * std::max(input.Step, 1);
    if (end > input.SampleCount) {
        out.Status = RunningStartStatus::BeyondData;
        out.Position = 0;
        return out;
    }
    if (input.Multi && input.LogAxis) {
        out.Error =
            Failure::Captioned("Axis type must be linear for Multi Plot Running Spectrum", "Axis Type Error");
        return out;
    }

    skip_ = *skip;
    active_ = true;
    timerOn_ = true;
    setUp_ = false;
    count_ = 0;
    added_ = 0;
    points_ = input.Points;
    sums_.assign(static_cast<size_t>(std::max(input.Points / 2, 0)), 0.0f);
    analysisInterval_ = analysisInterval;
    multiPlot_ = input.Multi;
    hiddenLine_ = input.Hidden;
    selectedChannels_ = input.CheckedChannels;
    startPosition_ = position;
    map.Begin(skip_, analysisInterval);

    out.Status = RunningStartStatus::Started;
    out.Skip = skip_;
    out.Position = position;
    out.SkipTimeText = SkipTimeText(skip_, analysisInterval, TimeText(input.Time));
    out.CountText = CountText(0);
    return out;
}

RunningTick RunningSpectrum::Tick(int displayPosition, int sampleCount) {
    if (!active_ || !timerOn_) return RunningTick::Idle;
    if (displayPosition < sampleCount) return RunningTick::Run;
    timerOn_ = false;
    return RunningTick::Finished;
}

int RunningSpectrum::PositionAfterStep(int positionAfterRun, int sampleCount) const {
    const int64_t next = static_cast<int64_t>(positionAfterRun) + skip_;
    return static_cast<int>(std::clamp<int64_t>(next, 0, std::max(sampleCount, 0)));
}

void RunningSpectrum::SetUp(const WaveRecord& record, const SpectrumResult& result,
                            const RunningStepView& view, RunningStep& step) {
    setUp_ = true;
    startPosition_ = result.Position;
    multiPlot_ = view.Multi;
    selectedChannels_ = std::max(result.SelectedChannelCount, 1);
    projection_ =
        RunningProjection::For(view.Scale, view.Geometry, skip_, result.AnalysisInterval, result.Step);
    lowerFrequency_ = view.Scale.SValueX;
    upperFrequency_ = view.Scale.UpperFrequency();
    if (hiddenLine_) horizon_ = HiddenLineHorizon(view.ImageWidth, view.ImageHeight);

    RunningFrame frame;
    frame.Geometry = view.Geometry;
    for (int p = 0; p <= view.Scale.NGridX; ++p) {
        frame.TickXs.push_back(view.Geometry.OriginX + projection_.DivisionWidth * p);
        frame.TickLabels.push_back(
            RoundText(view.Scale.SValueX + static_cast<float>(p) * view.Scale.VValueX));
    }
    const char* timeUnit = record.TimeText();
    frame.FrequencyUnit = record.FrequencyText();
    const bool ratio = IsRatio(result);
    frame.Heading = ratio ? "Running Plot" : "Running Spectrum";
    frame.TimeUnit = StrPrintf("[%s]", timeUnit);
    frame.FileName = record.FileName;
    const std::string time =
        SignificantText(5, static_cast<float>(result.Position) * record.SamplingInterval);
    if (ratio) {
        // The channels in the order of the ratio.
        const bool aFirst = result.Settings.RatioMode == 1;
        frame.TitleLine = StrPrintf("%s   CH%d/CH%d  Init Position  %d  %s [%s]", record.FileName.c_str(),
                                    aFirst ? result.RatioChannelA : result.RatioChannelB,
                                    aFirst ? result.RatioChannelB : result.RatioChannelA, result.Position,
                                    time.c_str(), timeUnit);
    } else {
        frame.TitleLine = StrPrintf("%s   CH %d   Init Position  %d  %s [%s]", record.FileName.c_str(),
                                    result.CurrentChannel, result.Position, time.c_str(), timeUnit);
    }
    frame.SkipLine =
        StrPrintf("Skip Time  %s [%s] ",
                  RoundText(static_cast<float>(skip_) * result.AnalysisInterval).c_str(), timeUnit);
    frame.PointsLine =
        StrPrintf("%d Points %.4f [%s]", result.Points,
                  static_cast<double>(static_cast<float>(result.Points) * result.AnalysisInterval), timeUnit);
    frame.SmoothLine = StrPrintf("Smooth %d", result.Settings.SmoothPasses);
    frame.FilterNote = view.Filter.Checked
                           ? StrPrintf("%.2f - %.2f %s", static_cast<double>(view.Filter.Lower),
                                       static_cast<double>(view.Filter.Upper), record.FrequencyText())
                           : std::string("Unfiltered");
    step.Frame = std::move(frame);
}

RunningCurve RunningSpectrum::PlanCurve(const WaveRecord& record, const SpectrumResult& result,
                                        const RunningStepView& view) {
    RunningCurve curve;
    // The axes as the spectrum graph has them now.
    projection_.XStart = view.Scale.SValueX;
    projection_.XStep = view.Scale.VValueX;
    projection_.YStep = view.Scale.VValueY;

    const int half = std::min(result.Points / 2, static_cast<int>(result.RealPart.size()));
    const bool mem = result.Settings.Mem && static_cast<int>(result.MemFrequency.size()) >= half;
    const float* values = result.RealPart.data();
    const float elapsed = static_cast<float>(result.Position - startPosition_) * record.SamplingInterval;
    const float time = static_cast<float>(view.TimeScale) * elapsed;
    const float magnification = view.WaveMagnification;
    auto frequency = [&](int p) {
        return mem ? result.MemFrequency[static_cast<size_t>(p)]
                   : static_cast<float>(p) * result.FrequencyStep;
    };

    curve.Black = count_ % (kRunningMarkEvery * selectedChannels_) == 0;
    bool first = true;
    PlotPoint previous;
    curve.Segments.reserve(static_cast<size_t>(half));
    for (int p = 0; p < half; ++p) {
        const float f = frequency(p);
        if (f < lowerFrequency_) continue;
        if (f > upperFrequency_) break;
        const PlotPoint point = projection_.Project(f, values[p] * magnification, time);
        if (!hiddenLine_) {
            if (!first) curve.Segments.push_back({previous, point});
            previous = point;
            first = false;
            continue;
        }
        if (first) {
            // The curve rises from its base, in front of everything.
            curve.Segments.push_back({projection_.Project(f, 0.0f, time), point});
            first = false;
        }
        if (p == half - 1) break;
        // The next line: on the MEM grid for a MEM spectrum.
        const float next = mem ? frequency(p + 1) : f + result.FrequencyStep;
        const PlotPoint to = projection_.Project(next, values[p + 1] * magnification, time);
        if (!horizon_.Segment(point, to, curve.Segments)) {
            curve.Halted = true;
            break;
        }
    }
    if (curve.Black) {
        curve.Base = projection_.Project(lowerFrequency_, 0.0f, time);
        curve.TimeLabel = SignificantText(5, static_cast<float>(result.Position) * record.SamplingInterval);
        curve.BaseLength = view.Geometry.Width;
        for (int p = 0; p <= view.Scale.NGridX; ++p)
            curve.TickXs.push_back(curve.Base.X + projection_.DivisionWidth * p);
    }
    return curve;
}

RunningStep RunningSpectrum::AddSpectrum(const WaveRecord& record, const SpectrumResult& result,
                                         const RunningStepView& view, SpectrumMap& map) {
    RunningStep step;
    if (!active_) return step;
    step.Handled = true;
    if (!setUp_) SetUp(record, result, view, step);
    lastMem_ = result.Settings.Mem;
    lastRatio_ = IsRatio(result);
    lastType_ = result.Settings.Type;
    analysisInterval_ = result.AnalysisInterval;

    if (view.TwoD) {
        // "2D" may be checked after the run began: the map starts with the first row it gets.
        if (!map.MapRunning) step.MapStart = map.Start(record, result, view.Axis, view.Filter, skip_);
        MapRowPlan row = map.Row(record, result, skip_);
        if (row.Stop) {
            // The time span is full: this step is neither drawn nor counted.
            step.Stop = true;
            return step;
        }
        step.Row = std::move(row);
    }
    if (view.Multi) {
        if (!view.TwoD && (count_ + 1) % (kRunningCurveLimit + 1) == 0) {
            step.Stop = true;
            step.CurveLimit = true;
            return step;
        }
        step.Curve = PlanCurve(record, result, view);
        if (step.Curve->Halted) {
            timerOn_ = false;
            step.Halt = true;
        }
    } else {
        step.DrawSingle = true;
        if (!view.TwoD && count_ == view.Max) step.Stop = true;
    }

    // Only the drawn curve (for a ratio, the ratio) joins the average.
    const size_t n = std::min(sums_.size(), result.RealPart.size());
    for (size_t i = 0; i < n; ++i) sums_[i] += result.RealPart[i];
    ++added_;
    ++count_;
    step.CountText = CountText(count_);
    return step;
}

std::string RunningAverage::Cell(int row) const {
    if (row < 0 || row >= static_cast<int>(Values.size())) return "";
    return StrPrintf(Format, static_cast<double>(Values[static_cast<size_t>(row)]));
}

RunningStop RunningSpectrum::Stop(int displayPosition, bool twoD, bool multi, SpectrumMap& map) {
    RunningStop out;
    out.WasActive = active_;
    timerOn_ = false;
    const int64_t init = twoD ? static_cast<int64_t>(displayPosition) - skip_ - points_
                              : static_cast<int64_t>(displayPosition);
    out.InitPosition = static_cast<int>(std::clamp<int64_t>(init, 0, INT_MAX));
    if (active_ && added_ > 0) {
        RunningAverage average;
        average.Values.resize(sums_.size());
        for (size_t i = 0; i < sums_.size(); ++i) average.Values[i] = sums_[i] / static_cast<float>(added_);
        if (lastMem_ && !lastRatio_) {
            // A MEM listing has three columns: the average takes the place of the MEM values.
            average.Column = 2;
            average.Format = "%9.3e";
            average.EmptyColumns23 = false;
        } else {
            average.Column = 4;
            average.Format = lastMem_ ? "%9.3e" : lastType_ == SpectrumType::Power ? "%10.3e" : "%9.4f";
        }
        out.Average = std::move(average);
        out.DrawAverage = !multi;
        out.Points = points_;
        out.AnalysisInterval = analysisInterval_;
    }
    active_ = false;
    added_ = 0;
    map.Idle();
    return out;
}

void RunningSpectrum::Close() {
    active_ = false;
    timerOn_ = false;
    added_ = 0;
    sums_.clear();
    sums_.shrink_to_fit();
}

}  // namespace wavora
