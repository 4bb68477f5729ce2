#include "analysis/spectrum_run.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "analysis/mem.h"
#include "scales/scale_labels.h"
#include "record/text_format.h"

namespace wavora {

namespace {

std::string ReadOut(float value, const char* unit) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.4f (%s)", static_cast<double>(value), unit);
    return buffer;
}

std::string FrequencyHeading(const WaveRecord& record) {
    return std::string("Freq(") + record.FrequencyText() + ")";
}

}  // namespace

int AnalysisSettings::SelectedChannelCount(int channelCount) const {
    int count = 0;
    for (int k = 0; k < std::min(channelCount, kMaxChannels); ++k)
        if (ChannelFlags[k]) ++count;
    return count;
}

int PointsForItem(int item, bool memMin) {
    const int size = kPointsChoices[std::clamp(item, 0, static_cast<int>(kPointsChoices.size()) - 1)];
    return memMin ? size / kMemMinDivisor : size;
}

float AxisFieldValue(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(begin, &end);
    if (end == begin) return std::numeric_limits<float>::quiet_NaN();
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || errno == ERANGE) return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(value);
}

// ---------------------------------------------------------------------------------------------
// GridListing

std::string GridListing::Cell(int row, int column) const {
    if (row < 0 || row >= Rows || column < 0 || column >= Columns) return "";
    const Column& c = columns_[column];
    switch (c.kind) {
        case Kind::Index: {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%6d", row);
            return buffer;
        }
        case Kind::Number:
            if (row >= static_cast<int>(c.values.size())) return "";
            return StrPrintf(c.format, c.values[row]);
        case Kind::Empty:
            break;
    }
    return "";
}

void GridListing::SetIndexColumn(int column) {
    columns_[column] = Column{Kind::Index, "", {}};
}

void GridListing::SetNumberColumn(int column, const char* format, std::vector<float> values) {
    columns_[column] = Column{Kind::Number, format, std::move(values)};
}

void GridListing::SetEmptyColumn(int column) {
    columns_[column] = Column{};
}

// ---------------------------------------------------------------------------------------------
// SpectrumRun

float AutomaticFrequencyMaximum(float analysisInterval) {
    const AxisScale axis = AxisUnit(false, 0.5f / analysisInterval);
    const float maximum = static_cast<float>(axis.NGrid) * axis.Step + axis.Start;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(maximum));
    return AxisFieldValue(text);
}

SpectrumRun::SpectrumRun(const WaveRecord& record, const AnalysisSettings& settings, SpectrumResult& result)
    : record_(record), settings_(settings), result_(result) {}

RunStart SpectrumRun::Begin(int position) {
    RunStart start;
    ready_ = false;
    failed_ = false;
    channels_.clear();

    result_.SkipAllowed = true;
    result_.RatioChannelA = 100;
    result_.RatioChannelB = 200;

    const int selected = settings_.SelectedChannelCount(record_.ChannelCount);
    if (selected == 0) {
        start.Error = Failure::Captioned("No Channel Selected!!", "Channel Error");
        return start;
    }
    if (settings_.RatioMode != 0 && selected != 2) {
        start.Error =
            Failure::Captioned("Two Channels not Selected for Spectral Ratio !!  ", "Channel Error");
        return start;
    }

    result_.Settings = settings_;
    result_.Points = settings_.Points();
    result_.Step = std::max<int>(settings_.Step, 1);
    result_.Position = std::max(position, 0);
    result_.SelectedChannelCount = selected;
    result_.StoredChannelCount = 0;
    result_.CurrentChannel = 0;
    result_.RatioFirstStored = false;

    const int points = result_.Points;
    result_.ResultStore.assign(static_cast<size_t>(points) * selected * 3, 0.0f);
    result_.AnalysisInterval = static_cast<float>(result_.Step) * record_.SamplingInterval;
    result_.Duration = static_cast<float>(points) * result_.AnalysisInterval;
    result_.FrequencyStep = 1.0f / result_.Duration;
    start.IntervalText = ReadOut(result_.AnalysisInterval, record_.TimeText());
    start.DurationText = ReadOut(result_.Duration, record_.TimeText());

    if (result_.Position >= record_.SampleCount) {
        start.ReturnToStart = true;
        // The automatic skipping analysis gets here when the record ends exactly where its last
        // segment ended: that is the end of its data, not a message inside its timer.
        if (settings_.AutoSkipActive)
            start.AutoSkipFinished = true;
        else
            start.Error = Failure::Captioned("Data exhasuted. Return to initial point.", "Data Exhasuted");
        return start;
    }

    for (int k = 0; k < std::min(record_.ChannelCount, kMaxChannels); ++k)
        if (settings_.ChannelFlags[k]) channels_.push_back(k);

    const int64_t end = static_cast<int64_t>(result_.Position) + static_cast<int64_t>(result_.Step) * points;
    if (end > record_.SampleCount) {
        if (settings_.AutoSkipActive) {
            start.ReturnToStart = true;
            start.AutoSkipFinished = true;
            channels_.clear();
            return start;
        }
        if (!settings_.RunningActive) {
            start.Status = RunStartStatus::AskPadding;
            start.Question = Failure{"Data size is not sufficient. Add Trailing 0?", "Data Size Error",
                                     MessageIcon::Question};
            return start;
        }
    }
    AnswerPadding(true);
    start.Status = RunStartStatus::Ready;
    return start;
}

bool SpectrumRun::AnswerPadding(bool ok) {
    if (!ok || channels_.empty()) {
        channels_.clear();
        ready_ = false;
        return false;
    }
    const size_t size = static_cast<size_t>(result_.Points) + 1;
    result_.RealPart.assign(size, 0.0f);
    result_.ImagPart.assign(size, 0.0f);
    result_.MemFrequency.assign(size, 0.0f);
    result_.RatioA.assign(size, 0.0f);
    result_.RatioB.assign(size, 0.0f);
    ready_ = true;
    return true;
}

ChannelOutcome SpectrumRun::AnalyseChannel(int k) {
    ChannelOutcome out;
    if (!ready_ || failed_ || std::find(channels_.begin(), channels_.end(), k) == channels_.end()) {
        out.Status = ChannelStatus::Failed;
        out.Error = Failure::Notice("No spectrum run is in progress for this channel.");
        return out;
    }
    const int points = result_.Points, half = points / 2, step = result_.Step;
    const ChannelInfo& channel = record_.Channels[k];
    float* re = result_.RealPart.data();
    float* im = result_.ImagPart.data();
    result_.CurrentChannel = k + 1;

    // The segment: every Step-th sample from Position while the data lasts; the rest of the
    // array (and the spare last element) is 0 for every channel, not only the first.
    const int available = record_.SampleCount - result_.Position;
    const int taken = std::min(points, available <= 0 ? 0 : (available + step - 1) / step);
    const int16_t* samples = channel.Samples.data();
    for (int j = 0; j < taken; ++j)
        re[j] = static_cast<float>(samples[result_.Position + j * step]) * channel.ScaleFactor;
    std::fill(re + taken, re + points + 1, 0.0f);
    std::fill(im, im + points + 1, 0.0f);
    if (settings_.ZeroAverageEnabled) RemoveSegmentMean(re, taken);

    GridListing& grid = out.Listing;
    grid.Rows = half;
    grid.Columns = 5;
    grid.Headings[1] = FrequencyHeading(record_);
    grid.Headings[2] = "FFT real";
    grid.Headings[3] = "FFT imag";
    grid.SetIndexColumn(0);
    std::vector<float> frequencies(half);
    for (int i = 0; i < half; ++i) frequencies[i] = static_cast<float>(i) / result_.Duration;
    grid.SetNumberColumn(1, "%9.2f", std::move(frequencies));

    out.Statistics =
        ComputeSegmentStatistics(std::span<const float>(re, static_cast<size_t>(points)), points);

    const int ordinal = result_.StoredChannelCount;
    const std::string number = std::to_string(k + 1);
    const char* spectrumFormat = "%9.4f";
    if (settings_.Mem) {
        MemSpectrum(re, result_.MemFrequency.data(), result_.AnalysisInterval, points, settings_.MemFmax);
        grid.Title = "MEM Spectrum for " + number + " ch";
        grid.Headings[2] = "MEM Spec";
        grid.Headings[3] = "";
        grid.Headings[4] = "";
        grid.Columns = 3;
        grid.SetNumberColumn(
            1, "%9.3f",
            std::vector<float>(result_.MemFrequency.begin(), result_.MemFrequency.begin() + half));
        grid.SetNumberColumn(2, "%9.3e", std::vector<float>(re, re + half));
        if (settings_.FileSave) {
            for (int i = 0; i < half; ++i) {
                const size_t at = result_.StoreIndex(i, ordinal);
                result_.ResultStore[at] = re[i];
                result_.ResultStore[at + 1] = 0.0f;
            }
        }
        spectrumFormat = "%9.3e";
    } else {
        if (FftTransform(re, im, points) != 0) {
            failed_ = true;
            out.Status = ChannelStatus::Failed;
            out.Error = Failure::Captioned("Insufficient Memory for FFT", "FFT Table Error");
            return out;
        }
        if (!settings_.RunningActive && settings_.FileSave) {
            for (int i = 0; i < half; ++i) {
                const size_t at = result_.StoreIndex(i, ordinal);
                result_.ResultStore[at] = re[i];
                result_.ResultStore[at + 1] = im[i];
            }
        }
        if (settings_.Type == SpectrumType::Amp) {
            grid.Title = "Fourier Amplitude Spectrum for " + number + " ch";
            grid.Headings[4] = settings_.AbsCoeffMode ? "Abs F Coeff" : "Fourier Spectrum";
            grid.SetNumberColumn(2, "%9.4f", std::vector<float>(re, re + half));
            grid.SetNumberColumn(3, "%9.4f", std::vector<float>(im, im + half));
        } else {
            grid.Title = "Fourier Power Spectrum for " + number + " ch";
            grid.Headings[2] = "";
            grid.Headings[3] = "";
            grid.Headings[4] = "Power Spec";
            grid.SetEmptyColumn(2);
            grid.SetEmptyColumn(3);
            spectrumFormat = "%10.3e";
        }
        ScaleSpectrum(re, im, points, settings_.Type, settings_.AbsCoeffMode, result_.Duration);
        for (int pass = 0; pass < settings_.SmoothPasses; ++pass) HanningSmooth(re, points);
        grid.SetNumberColumn(4, spectrumFormat, std::vector<float>(re, re + half));
        for (int i = 0; i < half; ++i) result_.ResultStore[result_.StoreIndex(i, ordinal) + 2] = re[i];
    }
    result_.StoredChannelCount += 1;

    if (settings_.RatioMode != 0 && result_.SelectedChannelCount == 2) {
        if (!result_.RatioFirstStored) {
            std::copy(re, re + half, result_.RatioA.begin());
            result_.RatioFirstStored = true;
            result_.RatioChannelA = k + 1;
            out.Status = ChannelStatus::RatioHeld;
            return out;
        }
        result_.RatioChannelB = k + 1;
        std::copy(re, re + half, result_.RatioB.begin());
        const std::string a = std::to_string(result_.RatioChannelA),
                          b = std::to_string(result_.RatioChannelB);
        const char* kind = settings_.Type == SpectrumType::Amp ? "AmpSP[" : "PwrSP[";
        grid.Headings[2] = kind + a + "]";
        grid.Headings[3] = kind + b + "]";
        if (settings_.RatioMode == 1) {
            grid.Title = "Spectral Ratio " + a + " ch to " + b + " ch";
            grid.Headings[4] = "Ratio [" + a + "]/[" + b + "]";
        } else {
            grid.Title = "Spectral Ratio " + b + " ch to " + a + " ch";
            grid.Headings[4] = "Ratio [" + b + "]/[" + a + "]";
        }
        SpectralRatio(result_.RatioA.data(), result_.RatioB.data(), settings_.RatioMode, re, half);
        grid.Columns = 5;
        grid.SetNumberColumn(2, spectrumFormat,
                             std::vector<float>(result_.RatioA.begin(), result_.RatioA.begin() + half));
        grid.SetNumberColumn(3, spectrumFormat,
                             std::vector<float>(result_.RatioB.begin(), result_.RatioB.begin() + half));
        grid.SetNumberColumn(4, spectrumFormat, std::vector<float>(re, re + half));
        result_.RatioFirstStored = false;
    }
    return out;
}

bool SpectrumRun::WantsResultFile() const {
    return ready_ && !failed_ && !settings_.RunningActive && settings_.FileSave;
}

int PositionAfterSkip(const SpectrumResult& result, int position, int sampleCount) {
    const AnalysisSettings& s = result.Settings;
    if (s.RunningActive || !result.SkipAllowed || !s.Skip || s.SkipDivisor == 0) return position;
    const int64_t moved =
        static_cast<int64_t>(position) + static_cast<int64_t>(result.Step) * result.Points / s.SkipDivisor;
    return static_cast<int>(std::min<int64_t>(moved, std::max(sampleCount, 0)));
}

int PositionAfterBack(const AnalysisSettings& settings, int position) {
    if (settings.SkipDivisor == 0) return position;
    const int64_t moved = static_cast<int64_t>(position) -
                          static_cast<int64_t>(settings.Step) * settings.Points() / settings.SkipDivisor;
    return static_cast<int>(std::max<int64_t>(moved, 0));
}

}  // namespace wavora
