#include "analysis/mem.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "analysis/exact_kernels.h"

namespace wavora {

namespace {

// Two and four doubles handled as one; GCC and Clang lower them to whatever the target has. The
// heavy loops are also built for AVX2, chosen at run time where the processor has it.
typedef double Double2 __attribute__((vector_size(16)));
typedef double Double4 __attribute__((vector_size(32)));

inline Double2 Load2(const double* p) {
    Double2 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Store2(double* p, Double2 v) {
    std::memcpy(p, &v, sizeof v);
}

// The error power, relative to the segment's power, below which the fit has resolved everything
// that float samples can hold (their relative precision squared is about 4e-15).
constexpr double kResolvedPower = 1e-14;

// Σ f[i]·b[i] and Σ (f[i]² + b[i]²) over i < count, in several partial sums.
WAVORA_AVX2_CLONES void BurgSums(const double* f, const double* b, int count, double& num, double& den) {
    Double2 n0 = {0, 0}, n1 = {0, 0}, d0 = {0, 0}, d1 = {0, 0};
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const Double2 fa = Load2(f + i), fb = Load2(f + i + 2);
        const Double2 ba = Load2(b + i), bb = Load2(b + i + 2);
        n0 += fa * ba;
        n1 += fb * bb;
        d0 += fa * fa + ba * ba;
        d1 += fb * fb + bb * bb;
    }
    const Double2 ns = n0 + n1, ds = d0 + d1;
    num = ns[0] + ns[1];
    den = ds[0] + ds[1];
    for (; i < count; ++i) {
        num += f[i] * b[i];
        den += f[i] * f[i] + b[i] * b[i];
    }
}

// f[i] += a·b[i]; b[i] = b[i+1] + a·f[i+1] for i < count, both from the values before this step
// (in increasing i, f[i+1] and b[i+1] are still the old ones when b[i] is formed).
WAVORA_AVX2_CLONES void BurgUpdate(double* f, double* b, int count, double a) {
    const Double2 av = {a, a};
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        const Double2 fi = Load2(f + i), bi = Load2(b + i);
        const Double2 fn = Load2(f + i + 1), bn = Load2(b + i + 1);
        Store2(f + i, fi + av * bi);
        Store2(b + i, bn + av * fn);
    }
    for (; i < count; ++i) {
        const double fNext = f[i + 1];
        f[i] = f[i] + a * b[i];
        b[i] = b[i + 1] + a * fNext;
    }
}

// |1 + Σ a[k]·z^k|² for z = cos w + i·sin w, by Horner's rule on four frequencies at once.
WAVORA_AVX2_CLONES void EvaluateDenominators(const double* a, int m, const double* cosW, const double* sinW,
                                             double* out, int count) {
    int r = 0;
    for (; r + 8 <= count; r += 8) {
        Double4 c0, s0, c1, s1;
        std::memcpy(&c0, cosW + r, sizeof c0);
        std::memcpy(&s0, sinW + r, sizeof s0);
        std::memcpy(&c1, cosW + r + 4, sizeof c1);
        std::memcpy(&s1, sinW + r + 4, sizeof s1);
        Double4 re0 = {}, im0 = {}, re1 = {}, im1 = {};
        for (int k = m; k >= 1; --k) {
            const Double4 re0z = re0 * c0 - im0 * s0 + a[k];
            im0 = re0 * s0 + im0 * c0;
            re0 = re0z;
            const Double4 re1z = re1 * c1 - im1 * s1 + a[k];
            im1 = re1 * s1 + im1 * c1;
            re1 = re1z;
        }
        // The last step multiplies by z once more and adds the leading 1.
        const Double4 R0 = re0 * c0 - im0 * s0 + 1.0, I0 = re0 * s0 + im0 * c0;
        const Double4 R1 = re1 * c1 - im1 * s1 + 1.0, I1 = re1 * s1 + im1 * c1;
        const Double4 q0 = R0 * R0 + I0 * I0, q1 = R1 * R1 + I1 * I1;
        std::memcpy(out + r, &q0, sizeof q0);
        std::memcpy(out + r + 4, &q1, sizeof q1);
    }
    for (; r < count; ++r) {
        double re = 0.0, im = 0.0;
        for (int k = m; k >= 1; --k) {
            const double reZ = re * cosW[r] - im * sinW[r] + a[k];
            im = re * sinW[r] + im * cosW[r];
            re = reZ;
        }
        const double R = re * cosW[r] - im * sinW[r] + 1.0, I = re * sinW[r] + im * cosW[r];
        out[r] = R * R + I * I;
    }
}

}  // namespace

int MemOrder(int n) {
    int m = static_cast<int>(std::sqrt(static_cast<double>(n)) * 2.5);
    if (m >= 500) m = 498;
    return std::max(0, std::min(m, n - 1));
}

double BurgFit(const float* data, int n, int m, std::vector<double>& a) {
    a.assign(static_cast<size_t>(std::max(m, 0)) + 1, 0.0);
    a[0] = 1.0;
    if (n <= 0) return 0.0;
    double squares = 0.0;
    for (int i = 0; i < n; ++i) squares += static_cast<double>(data[i]) * data[i];
    // Kept in double: a signal the model predicts almost perfectly (a clean sine) drives the error
    // power far below the smallest float, and a float would turn its sharp peak into an all-zero
    // spectrum.
    double power = squares / n;
    const double initialPower = power;

    // Forward errors f[i] = data[i], backward errors b[i] = data[i+1], one guard element each.
    std::vector<double> f(static_cast<size_t>(n) + 1, 0.0), b(static_cast<size_t>(n) + 1, 0.0);
    for (int i = 0; i < n; ++i) f[i] = data[i];
    for (int i = 0; i + 1 < n; ++i) b[i] = data[i + 1];

    std::vector<double> p(a.size(), 0.0);
    for (int k = 1; k <= m && k < n; ++k) {
        double num = 0.0, den = 0.0;
        BurgSums(f.data(), b.data(), n - k, num, den);
        // No error left to predict (a segment without variation): the model stops here.
        if (den == 0.0) break;
        a[k] = -2.0 * num / den;
        power *= 1.0 - a[k] * a[k];
        for (int i = 1; i < k; ++i) a[i] = p[i] + a[k] * p[k - i];
        for (int i = 1; i <= k; ++i) p[i] = a[i];
        // The model already predicts the segment to the precision of its float values (a clean
        // periodic signal): further orders would only fit rounding noise, and scatter the peak.
        if (power <= kResolvedPower * initialPower) break;
        if (n - k - 1 > 0) BurgUpdate(f.data(), b.data(), n - k - 1, a[k]);
    }
    return power;
}

void MemSpectrum(float* x, float* freq, float dt, int n, float fmax) {
    if (n <= 0) return;
    const int m = MemOrder(n);
    float* data = x + 1;  // the model sees x[1..n]

    double sum = 0.0;
    for (int i = 0; i < n; ++i) sum += data[i];
    const float mean = static_cast<float>(sum / n);
    for (int i = 0; i < n; ++i) data[i] -= mean;

    std::vector<double> a;
    const double power = BurgFit(data, n, m, a);

    if (!std::isfinite(fmax)) fmax = 0.5f / dt;
    const float df = 2.0f * fmax / static_cast<float>(n);
    std::vector<double> cosW(static_cast<size_t>(n)), sinW(static_cast<size_t>(n)), q(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        freq[r] = static_cast<float>(r) * df;
        const double w = 2.0 * M_PI * static_cast<double>(freq[r]) * dt;
        cosW[r] = std::cos(w);
        sinW[r] = std::sin(w);
    }
    EvaluateDenominators(a.data(), m, cosW.data(), sinW.data(), q.data(), n);

    const double scale = 2.0 * power * dt;
    // A peak beyond the float range is kept as the largest float, so that it still draws and lists.
    constexpr double kLargest = std::numeric_limits<float>::max();
    for (int r = 0; r < n; ++r)
        x[r] = scale == 0.0 ? 0.0f : static_cast<float>(std::min(scale / q[r], kLargest));
}

}  // namespace wavora
