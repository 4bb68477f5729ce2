#include "scales/scale_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "record/text_format.h"

namespace wavora {

namespace {

// "%.<d>f", as made by formatting "%%.%df" with d.
std::string FixedFormat(int decimals) {
    return StrPrintf("%%.%df", decimals);
}

// inf, -inf and nan as the C library writes them, without its sign on a NaN.
std::string NonFiniteText(float value) {
    if (std::isnan(value)) return "nan";
    return value < 0 ? "-inf" : "inf";
}

}  // namespace

ScaleStep ScaleUnit(bool logarithmic, int ngrid, float value) {
    if (ngrid < 1) ngrid = 1;
    if (!std::isfinite(value)) value = 0.0f;
    float r = 1e-10f;  // single precision on purpose: the steps carry its rounding
    if (logarithmic) {
        while (value >= r) r = r * 10.0f;
        return {static_cast<float>(r / std::pow(10.0, ngrid)), 10.0f};
    }
    static constexpr float kSeries[] = {1.0f, 2.0f, 2.5f, 5.0f};
    for (;;) {
        for (float t : kSeries) {
            if (ngrid * (t + 0.001) * r > value) return {0.0f, t * r};
        }
        r = r * 10.0f;
    }
}

AxisScale AxisUnit(bool logarithmic, float value) {
    if (logarithmic) {
        ScaleStep s = ScaleUnit(true, 3, value);
        return {3, s.Start, s.Step};
    }
    // A zero, negative or non-finite maximum has no mantissa; it is drawn like a maximum of 1.
    if (value == 1.0f || !(value > 0.0f) || !std::isfinite(value)) return {2, 0.0f, 0.5f};
    float m = value;
    if (m > 1.0f) {
        while (m > 10.0f) m = static_cast<float>(m * 0.1);
    } else {
        while (m < 1.0f) m = static_cast<float>(m * 10.0);
    }
    int ngrid = (m > 2.0f && m <= 5.0f) ? 5 : 2;
    ScaleStep s = ScaleUnit(false, ngrid, value);
    return {ngrid, s.Start, s.Step};
}

int SubScale(float step, std::string& format) {
    if (step == 0.0f || !std::isfinite(step)) {
        format = "%.0f";
        return 0;
    }
    if (step < 0.0f) return 0;
    // Slightly above the step, so that an exact power of ten counts as the top of its decade.
    const float s = static_cast<float>(step * 1.000001);
    float m = s;
    int decimals = 0;
    if (s >= 1.0f) {
        while (m > 1.0f) m = m / 10.0f;
        m = m * 10.0f;
    } else {
        while (m < 1.0f) {
            m = m * 10.0f;
            ++decimals;
        }
    }
    int lead = static_cast<int>(m);
    const float frac = m - static_cast<float>(lead);
    if (m > 1.4 && m < 1.6) lead = 3;
    if (m > 2.4 && m < 2.6) lead = 5;
    if (s < 10.0f && frac > 0.4 && frac < 0.6) ++decimals;  // 2.5, 0.15: one decimal more
    int count;
    switch (lead) {
        case 1:
            count = 5;
            break;
        case 2:
            count = 4;
            break;
        case 3:
            count = 3;
            break;
        case 4:
            count = 4;
            break;
        case 5:
            count = 5;
            break;
        case 6:
            count = 6;
            break;
        case 7:
            count = 7;
            break;
        case 8:
            count = 4;
            break;
        case 9:
            count = 3;
            break;
        default:
            count = 5;
            break;
    }
    format = FixedFormat(decimals);
    return count;
}

bool ZeroString(std::string_view text) {
    for (char c : text) {
        if (c != '-' && c != '.' && c != '0') return false;
    }
    return true;
}

std::string SignificantText(int digits, float value) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0.0f) return "0";  // also for -0, which "%.0f" would write as "-0"
    digits = std::max(digits, 0);
    const float a = std::fabs(value);

    // i: the digits of the whole part beyond the first (0 up to 10, 1 up to 100, ...).
    int i = 0;
    for (float b = a; b / 10.0f > 1.0f; b = b / 10.0f) ++i;

    int d = 0;
    float f = a - std::trunc(a);
    if (f != 0.0f) {
        // q: the zeros right after the decimal point.
        int q = 0;
        while (f < 0.1f) {
            f = f * 10.0f;
            ++q;
        }
        if (a > 1.0f && q > 2) {
            d = 0;  // a whole number with a tiny fraction: 100.001 reads 100
        } else {
            // k: the leading non-zero digits of the fraction, found by writing it with more and more
            // decimals until a '0' shows after the point (0.999 written with one decimal is "1.0").
            int k = 0;
            for (int n = 1; n < 80; ++n) {
                const std::string t = StrPrintf(FixedFormat(n).c_str(), static_cast<double>(f));
                const size_t point = t.find('.');
                const size_t zero = point == std::string::npos ? point : t.find('0', point + 1);
                if (zero != std::string::npos) {
                    k = static_cast<int>(zero - point - 1);
                    break;
                }
            }
            if (i == 0) {
                d = q + std::min(k, digits);
            } else if (i + q + k < digits) {
                d = k;
            } else {
                d = std::max(digits - i - 1, 0);
            }
        }
    }
    return StrPrintf(FixedFormat(d).c_str(), static_cast<double>(value));
}

std::string RoundText(float value) {
    if (!std::isfinite(value)) return NonFiniteText(value);
    const double x = value;
    if (x == 0.0) return "0";
    if (x < 0.0001 || x > 10000.0) return StrPrintf("%.1e", x);
    if (x >= 10.0) return StrPrintf("%.0f", x);
    std::string t = StrPrintf("%.4f", x);
    if (t.back() == '9') t = StrPrintf("%.4f", x + 0.0001);  // 0.1999 reads 0.2
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
}

std::string FormatNumber(const std::string& format, double value) {
    // Only a format with exactly one floating-point conversion is used; anything else would read
    // arguments that are not there.
    int conversions = 0;
    bool valid = true;
    for (size_t p = 0; p < format.size() && valid; ++p) {
        if (format[p] != '%') continue;
        if (p + 1 < format.size() && format[p + 1] == '%') {
            ++p;
            continue;
        }
        size_t e = p + 1;
        while (e < format.size() && std::string_view("-+ #0").find(format[e]) != std::string_view::npos) ++e;
        while (e < format.size() && format[e] >= '0' && format[e] <= '9') ++e;
        if (e < format.size() && format[e] == '.') {
            ++e;
            while (e < format.size() && format[e] >= '0' && format[e] <= '9') ++e;
        }
        if (e < format.size() && std::string_view("fFeEgG").find(format[e]) != std::string_view::npos) {
            ++conversions;
            p = e;
        } else {
            valid = false;
        }
    }
    if (!valid || conversions != 1) return StrPrintf("%.0f", value);
    return StrPrintf(format.c_str(), value);
}

}  // namespace wavora
