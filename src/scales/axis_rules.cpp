#include "scales/axis_rules.h"

#include <cmath>
#include <cstdio>

#include "record/text_format.h"

namespace wavora {

namespace {

constexpr double kSeries[] = {1, 2, 2.5, 5};

// Past this the step search has run out of numbers (an infinite maximum or no grid).
constexpr double kLargestStep = 1e38;

double LargestOf(int n, const float* values, bool magnitude, bool* negative) {
    double max = 0;
    for (int i = 0; i < n; ++i) {
        double v = values[i];
        if (negative && v < 0) *negative = true;
        if (magnitude) v = std::fabs(v);
        if (v > max) max = v;
    }
    return max;
}

// First power of ten above the maximum, NGrid decades below it.
void LogScale(AxisFields& axis, double max) {
    double r = 1e-10;
    while (max >= r && r < kLargestStep) r *= 10;
    if (!(max < r)) return;
    axis.SValue = static_cast<float>(r / std::pow(10.0, axis.NGrid));
    axis.VValue = 10;
}

// The smallest step of the series whose g intervals exceed the maximum; false when none does.
bool LinearStep(int g, double max, double& step) {
    for (double r = 1e-10; r < kLargestStep; r *= 10)
        for (double t : kSeries)
            if (g * (t + 0.001) * r > max) {
                step = t * r;
                return true;
            }
    return false;
}

}  // namespace

std::string _round_number(float value) {
    if (value == 0) return "0";
    float a = std::fabs(value);
    if (a < 1e-8) return "0";
    std::string sign = value < 0 ? "-" : "";
    if (a < 0.00001 || a > 100000) return sign + StrPrintf("%.1e", a);
    std::string t = StrPrintf("%.4f", a);
    // A last 9 is taken for a value just under a rounder one.
    if (t.back() == '9') t = StrPrintf("%.4f", static_cast<double>(a) + 0.0001);
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return sign + t;
}

int sub_scale(float step, std::string& format) {
    if (!(step > 0)) return 0;
    float s = step * 1.000001f;
    float m = s;
    int d = 0;
    if (s >= 1) {
        while (m > 1) m /= 10;
        m *= 10;
    } else {
        while (m < 1) m *= 10, ++d;
    }
    int lead = static_cast<int>(m);
    float frac = m - static_cast<float>(lead);
    if (m > 1.4f && m < 1.6f) lead = 3;
    if (m > 2.4f && m < 2.6f) lead = 5;
    if (s < 10 && frac > 0.4f && frac < 0.6f) ++d;
    static constexpr int kSubs[] = {5, 5, 4, 3, 4, 5, 6, 7, 4, 3};
    int subs = lead >= 0 && lead <= 9 ? kSubs[lead] : 5;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%%.%df", d);
    format = buf;
    return subs;
}

bool zero_string(const std::string& text) {
    for (char c : text)
        if (c != '-' && c != '.' && c != '0') return false;
    return true;
}

double GridValue(const AxisFields& axis, int r) {
    if (axis.Linear) return axis.SValue + r * static_cast<double>(axis.VValue);
    return axis.SValue * std::pow(static_cast<double>(axis.VValue), r);
}

std::optional<int> AxisPixel(const AxisFields& axis, int origin, int grid, float value, bool upwards) {
    double position;
    if (axis.Linear) {
        position = (static_cast<double>(value) - axis.SValue) / axis.VValue;
    } else {
        if (!(value > 0) || axis.SValue == 0) return std::nullopt;
        position = std::log10(static_cast<double>(value) / axis.SValue) /
                   std::log10(static_cast<double>(axis.VValue));
    }
    double pixel = upwards ? origin - position * grid : origin + position * grid;
    if (!std::isfinite(pixel)) return std::nullopt;
    // Far beyond any picture; kept within int so a line still heads the right way.
    constexpr double kFar = 1e9;
    if (pixel > kFar) pixel = kFar;
    if (pixel < -kFar) pixel = -kFar;
    return static_cast<int>(pixel);
}

void AxisScaleUnit(AxisFields& axis, int n, const float* values) {
    double max = LargestOf(n, values, false, nullptr);
    if (!axis.Linear) {
        LogScale(axis, max);
        return;
    }
    double step;
    if (!LinearStep(axis.NGrid, max, step)) return;
    axis.SValue = 0;
    axis.VValue = static_cast<float>(step);
}

std::optional<Failure> AxisScaleUnit1(AxisFields& axis, int n, const float* values) {
    bool negative = false;
    double max = LargestOf(n, values, true, &negative);
    if (!axis.Linear) {
        LogScale(axis, max);
        if (negative)
            return Failure{"負のデータを対数目盛りでは表せません", "目盛り設定エラー", MessageIcon::Warning};
        return std::nullopt;
    }
    int g = negative ? (axis.NGrid + 1) / 2 : axis.NGrid;
    double step;
    if (!LinearStep(g, max, step)) return std::nullopt;
    if (negative) axis.NGrid = 2 * g;
    axis.VValue = static_cast<float>(step);
    axis.SValue = negative ? -g * axis.VValue : 0.0f;
    return std::nullopt;
}

std::optional<Failure> LogStartFailure(char axisName, const AxisFields& axis) {
    if (axis.Linear || axis.SValue != 0) return std::nullopt;
    std::string a(1, axisName);
    return Failure{a + " Logarithmic Scale can not be determind.", a + " Scale Error", MessageIcon::None};
}

}  // namespace wavora
