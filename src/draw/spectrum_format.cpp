#include "draw/spectrum_format.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "record/text_format.h"
#include "scales/scale_labels.h"

namespace wavora {

namespace {

constexpr float kMaxFreqFactors[] = {1.0f, 0.5f, 0.25f, 0.2f, 0.1f};

bool OnlyBlanks(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '\0';
}

// A start value: "%.3f" from 0.001 up and for exactly 0, else "%.2e".
std::string StartText(float value) {
    return (value >= 0.001f || value == 0.0f) ? StrPrintf("%.3f", static_cast<double>(value))
                                              : StrPrintf("%.2e", static_cast<double>(value));
}

Failure NotANumber(const std::string& text) {
    return Failure::Notice("'" + text + "' is not a valid floating point value");
}

Failure NotAnInteger(const std::string& text) {
    return Failure::Notice("'" + text + "' is not a valid integer value");
}

int GridPosition(int position) {
    return std::clamp(position, 1, 10);
}

struct AxisPart {
    bool Valid = false;
    bool Log = false;
    float Start = 0.0f, Step = 0.0f;
    int Grid = 1;
};

AxisPart ReadAxisPart(int scaleItem, float start, float end, int grid) {
    AxisPart part;
    part.Log = scaleItem != 0;
    part.Grid = GridPosition(grid);
    part.Valid = (!part.Log || start > 0.0f) && start < end;
    if (!part.Valid) return part;
    part.Start = start;
    part.Step =
        part.Log
            ? static_cast<float>(std::pow(10.0, std::log10(static_cast<double>(end) / start) / part.Grid))
            : static_cast<float>((static_cast<double>(end) - start) / part.Grid);
    return part;
}

}  // namespace

std::optional<float> FieldNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(begin, &end);
    if (end == begin || !OnlyBlanks(end) || errno == ERANGE) return std::nullopt;
    const float f = static_cast<float>(value);
    if (!std::isfinite(value) || !std::isfinite(f)) return std::nullopt;
    return f;
}

std::optional<int> FieldInteger(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || !OnlyBlanks(end) || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

void WriteBackAxes(const SpectrumAxes& a, SpectrumFormatFields& f) {
    f.EdSX0 = StartText(a.SValueX);
    f.EdSY0 = StartText(a.SValueY);
    f.UpDown2 = a.NGridX;
    f.UpDown1 = a.NGridY;
    f.RadioGroup2 = a.LogX ? 1 : 0;
    f.RadioGroup1 = a.LogY ? 1 : 0;
    // The ends as the axes reach them; the X end in single precision, as the MEM grid reads it.
    const float xMax =
        a.LogX ? static_cast<float>(a.SValueX * std::pow(static_cast<double>(a.VValueX), a.NGridX))
               : static_cast<float>(a.NGridX) * a.VValueX + a.SValueX;
    f.EdSXM = StrPrintf("%.2f", static_cast<double>(xMax));
    if (a.LogY) {
        const double yMax = a.SValueY * std::pow(static_cast<double>(a.VValueY), a.NGridY);
        f.EdSYM = (yMax > 10000.0 || yMax < 0.001) ? StrPrintf("%.2e", yMax) : StrPrintf("%.3f", yMax);
    } else {
        const float yMax = static_cast<float>(a.NGridY) * a.VValueY + a.SValueY;
        f.EdSYM = yMax >= 0.001f ? StrPrintf("%.3f", static_cast<double>(yMax))
                                 : StrPrintf("%.2e", static_cast<double>(yMax));
    }
    f.Edlx = std::to_string(a.WidthX);
    f.Edly = std::to_string(a.HeightY);
}

SpectrumFormatApplied ApplySpectrumFormat(const SpectrumFormatFields& f, SpectrumAxes& axes,
                                          SpectrumDisplayOptions& options) {
    SpectrumFormatApplied out;
    // Every field is read before anything is stored, so a typing error changes nothing.
    const std::optional<float> x0 = FieldNumber(f.EdSX0), xm = FieldNumber(f.EdSXM);
    const std::optional<float> y0 = FieldNumber(f.EdSY0), ym = FieldNumber(f.EdSYM);
    for (const auto& [value, text] : {std::pair{x0, &f.EdSX0}, std::pair{xm, &f.EdSXM},
                                      std::pair{y0, &f.EdSY0}, std::pair{ym, &f.EdSYM}}) {
        if (!value) {
            out.Error = NotANumber(*text);
            return out;
        }
    }
    const std::optional<int> width = FieldInteger(f.Edlx), height = FieldInteger(f.Edly);
    if (!width) {
        out.Error = NotAnInteger(f.Edlx);
        return out;
    }
    if (!height) {
        out.Error = NotAnInteger(f.Edly);
        return out;
    }
    // A plot area narrower than its grid count would have grid intervals of no pixels.
    const int nx = GridPosition(f.UpDown2), ny = GridPosition(f.UpDown1);
    if (*width < nx || *width > kMaxGraphSize) {
        out.Error = Failure::Captioned(StrPrintf("Width must be between %d and %d pixels", nx, kMaxGraphSize),
                                       "Data Error");
        return out;
    }
    if (*height < ny || *height > kMaxGraphSize) {
        out.Error = Failure::Captioned(
            StrPrintf("Height must be between %d and %d pixels", ny, kMaxGraphSize), "Data Error");
        return out;
    }

    const AxisPart x = ReadAxisPart(f.RadioGroup2, *x0, *xm, f.UpDown2);
    if (x.Valid) {
        axes.LogX = x.Log;
        axes.SValueX = x.Start;
        axes.VValueX = x.Step;
        axes.NGridX = x.Grid;
    }
    const AxisPart y = ReadAxisPart(f.RadioGroup1, *y0, *ym, f.UpDown1);
    if (y.Valid) {
        axes.LogY = y.Log;
        axes.SValueY = y.Start;
        axes.VValueY = y.Step;
        axes.NGridY = y.Grid;
    }
    if (!x.Valid || !y.Valid) {
        out.Error = Failure::Captioned("Illegal Lower value for axis", "Data Error");
        return out;
    }
    axes.AutoScale = false;
    axes.WidthX = *width;
    axes.HeightY = *height;
    options.SubAxis = f.CBSubAxis;
    options.BroadLine = f.CBBroad;
    options.RightSideComment = f.CBRight;
    options.ZeroAverage = f.CBZero;
    options.PeriodAxis = f.RadioGroup3 == 1;
    out.Applied = true;
    return out;
}

void RestoreAutomaticAxes(SpectrumAxes& axes) {
    axes.AutoScale = true;
}

void SetMaxFreqToNyquist(SpectrumFormatFields& fields, int item, int step, float samplingInterval) {
    const int i = std::clamp(item, 0, 4);
    fields.RGMaxFreq = i;
    const float nyquist = 0.5f / (static_cast<float>(std::max(step, 1)) * samplingInterval);
    fields.EdSXM = SignificantText(5, nyquist * kMaxFreqFactors[i]);
}

float MemFrequencyMaximum(const SpectrumFormatFields& fields) {
    const std::optional<float> value = FieldNumber(fields.EdSXM);
    if (!value || !(*value > 0.0f)) return std::numeric_limits<float>::quiet_NaN();
    return *value;
}

}  // namespace wavora
