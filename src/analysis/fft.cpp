#include "analysis/fft.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "analysis/exact_kernels.h"

namespace wavora {

namespace {

// Four or eight floats handled as one; the element-wise operations round exactly as the scalar ones.
typedef float Float4 __attribute__((vector_size(16)));
typedef float Float8 __attribute__((vector_size(32)));

inline Float4 Load4(const float* p) {
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store4(float* p, Float4 v) {
    std::memcpy(p, &v, sizeof v);
}

// Eight-float values are passed by reference: returning them by value would tie the calling
// convention to AVX.
inline void Load8(Float8& v, const float* p) {
    std::memcpy(&v, p, sizeof v);
}
inline void Store8(float* p, const Float8& v) {
    std::memcpy(p, &v, sizeof v);
}

// Sine table by recurrence in single precision, so that every size is built the same way without
// a sine call per entry.
void BuildSineTable(float* table, int n) {
    const int quarter = n / 4, eighth = n / 8, half = n / 2;
    float t = static_cast<float>(std::sin(M_PI / n));
    float dc = 2.0f * t * t;
    float ds = std::sqrt(dc * (2.0f - dc));
    float t2 = 2.0f * dc;
    float co = 1.0f, si = 0.0f;
    table[quarter] = 1.0f;
    table[0] = 0.0f;
    for (int i = 1; i < eighth; ++i) {
        co = co - dc;
        dc = dc + t2 * co;
        si = si + ds;
        ds = ds - t2 * si;
        table[i] = si;
        table[quarter - i] = co;
    }
    if (eighth > 0) table[eighth] = std::sqrt(0.5f);
    for (int i = 0; i < quarter; ++i) table[half - i] = table[i];
    // In increasing order: the upper entries copy (negated) what this loop has just written.
    for (int i = 0; i < half + quarter; ++i) table[i + half] = -table[i];
}

void BuildBitReverse(int32_t* table, int n) {
    int i = 0, j = 0;
    for (;;) {
        table[i] = j;
        if (++i == n) break;
        int k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
}

// One butterfly stage of span k with the stage's own cosine and sine (k = 1 and 2).
inline void SmallStage(float* re, float* im, int n, int k, const float* cosines, const float* sines) {
    for (int j = 0; j < k; ++j) {
        const float co = cosines[j], si = sines[j];
        for (int i = j; i < n; i += 2 * k) {
            const int p = i + k;
            const float dx = si * im[p] + co * re[p];
            const float dy = co * im[p] - si * re[p];
            re[p] = re[i] - dx;
            re[i] = re[i] + dx;
            im[p] = im[i] - dy;
            im[i] = im[i] + dy;
        }
    }
}

// A stage of span k ≥ 8: the butterflies of each group run over contiguous j, eight at a time.
__attribute__((always_inline)) inline void WideStage(float* re, float* im, int n, int k, const float* cosines,
                                                     const float* sines) {
    for (int base = 0; base < n; base += 2 * k) {
        float* r0 = re + base;
        float* i0 = im + base;
        float* r1 = r0 + k;
        float* i1 = i0 + k;
        for (int j = 0; j < k; j += 8) {
            Float8 co, si;
            Load8(co, cosines + j);
            Load8(si, sines + j);
            Float8 xr, xi;
            Load8(xr, r1 + j);
            Load8(xi, i1 + j);
            Float8 ar, ai;
            Load8(ar, r0 + j);
            Load8(ai, i0 + j);
            const Float8 dx = si * xi + co * xr;
            const Float8 dy = co * xi - si * xr;
            Store8(r1 + j, ar - dx);
            Store8(r0 + j, ar + dx);
            Store8(i1 + j, ai - dy);
            Store8(i0 + j, ai + dy);
        }
    }
}

// The stage of span 4, four butterflies at a time.
__attribute__((always_inline)) inline void Span4Stage(float* re, float* im, int n, const float* cosines,
                                                      const float* sines) {
    const Float4 co = Load4(cosines), si = Load4(sines);
    for (int base = 0; base < n; base += 8) {
        const Float4 xr = Load4(re + base + 4), xi = Load4(im + base + 4);
        const Float4 ar = Load4(re + base), ai = Load4(im + base);
        const Float4 dx = si * xi + co * xr;
        const Float4 dy = co * xi - si * xr;
        Store4(re + base + 4, ar - dx);
        Store4(re + base, ar + dx);
        Store4(im + base + 4, ai - dy);
        Store4(im + base, ai + dy);
    }
}

// The stages of span 1 and 2 on one group of eight elements, given as its even (0 2 4 6) and odd
// (1 3 5 7) elements, stored as eight consecutive outputs.
__attribute__((always_inline)) inline void FirstTwoStages(Float4 er, Float4 orr, Float4 ei, Float4 oi,
                                                          float* outRe, float* outIm, const Float4& co1,
                                                          const Float4& si1, const Float4& co2,
                                                          const Float4& si2) {
    // Span 1: (0,1), (2,3), (4,5), (6,7).
    Float4 dx = si1 * oi + co1 * orr;
    Float4 dy = co1 * oi - si1 * orr;
    const Float4 ar = er + dx, br = er - dx, ai = ei + dy, bi = ei - dy;
    // Span 2: (0,2), (1,3), (4,6), (5,7).
    const Float4 ur = __builtin_shufflevector(ar, br, 0, 4, 2, 6),
                 vr = __builtin_shufflevector(ar, br, 1, 5, 3, 7);
    const Float4 ui = __builtin_shufflevector(ai, bi, 0, 4, 2, 6),
                 vi = __builtin_shufflevector(ai, bi, 1, 5, 3, 7);
    dx = si2 * vi + co2 * vr;
    dy = co2 * vi - si2 * vr;
    const Float4 ur2 = ur + dx, vr2 = ur - dx, ui2 = ui + dy, vi2 = ui - dy;
    Store4(outRe, __builtin_shufflevector(ur2, vr2, 0, 1, 4, 5));
    Store4(outRe + 4, __builtin_shufflevector(ur2, vr2, 2, 3, 6, 7));
    Store4(outIm, __builtin_shufflevector(ui2, vi2, 0, 1, 4, 5));
    Store4(outIm + 4, __builtin_shufflevector(ui2, vi2, 2, 3, 6, 7));
}

// Rows r[0..7] of eight floats turned into columns: column j holds r[0][j] … r[7][j].
#define WAVORA_TRANSPOSE8(r)                                                               \
    do {                                                                                   \
        const Float8 t0 = __builtin_shufflevector(r[0], r[1], 0, 8, 1, 9, 4, 12, 5, 13);   \
        const Float8 t1 = __builtin_shufflevector(r[0], r[1], 2, 10, 3, 11, 6, 14, 7, 15); \
        const Float8 t2 = __builtin_shufflevector(r[2], r[3], 0, 8, 1, 9, 4, 12, 5, 13);   \
        const Float8 t3 = __builtin_shufflevector(r[2], r[3], 2, 10, 3, 11, 6, 14, 7, 15); \
        const Float8 t4 = __builtin_shufflevector(r[4], r[5], 0, 8, 1, 9, 4, 12, 5, 13);   \
        const Float8 t5 = __builtin_shufflevector(r[4], r[5], 2, 10, 3, 11, 6, 14, 7, 15); \
        const Float8 t6 = __builtin_shufflevector(r[6], r[7], 0, 8, 1, 9, 4, 12, 5, 13);   \
        const Float8 t7 = __builtin_shufflevector(r[6], r[7], 2, 10, 3, 11, 6, 14, 7, 15); \
        const Float8 u0 = __builtin_shufflevector(t0, t2, 0, 1, 8, 9, 4, 5, 12, 13);       \
        const Float8 u1 = __builtin_shufflevector(t0, t2, 2, 3, 10, 11, 6, 7, 14, 15);     \
        const Float8 u2 = __builtin_shufflevector(t1, t3, 0, 1, 8, 9, 4, 5, 12, 13);       \
        const Float8 u3 = __builtin_shufflevector(t1, t3, 2, 3, 10, 11, 6, 7, 14, 15);     \
        const Float8 u4 = __builtin_shufflevector(t4, t6, 0, 1, 8, 9, 4, 5, 12, 13);       \
        const Float8 u5 = __builtin_shufflevector(t4, t6, 2, 3, 10, 11, 6, 7, 14, 15);     \
        const Float8 u6 = __builtin_shufflevector(t5, t7, 0, 1, 8, 9, 4, 5, 12, 13);       \
        const Float8 u7 = __builtin_shufflevector(t5, t7, 2, 3, 10, 11, 6, 7, 14, 15);     \
        r[0] = __builtin_shufflevector(u0, u4, 0, 1, 2, 3, 8, 9, 10, 11);                  \
        r[1] = __builtin_shufflevector(u1, u5, 0, 1, 2, 3, 8, 9, 10, 11);                  \
        r[2] = __builtin_shufflevector(u2, u6, 0, 1, 2, 3, 8, 9, 10, 11);                  \
        r[3] = __builtin_shufflevector(u3, u7, 0, 1, 2, 3, 8, 9, 10, 11);                  \
        r[4] = __builtin_shufflevector(u0, u4, 4, 5, 6, 7, 12, 13, 14, 15);                \
        r[5] = __builtin_shufflevector(u1, u5, 4, 5, 6, 7, 12, 13, 14, 15);                \
        r[6] = __builtin_shufflevector(u2, u6, 4, 5, 6, 7, 12, 13, 14, 15);                \
        r[7] = __builtin_shufflevector(u3, u7, 4, 5, 6, 7, 12, 13, 14, 15);                \
    } while (0)

// The bit-reversal permutation and the stages of span 1 and 2, from (re, im) into the work arrays.
// Output i = a·n/8 + m + c (a, c = 0 .. 7, m a multiple of 8) comes from input
// rev(c)·n/8 + rev(m/8)·8 + rev(a), the three-bit and the remaining bits reversed. So for one m the
// 64 outputs come from eight runs of eight consecutive inputs: they are loaded as eight rows,
// transposed, and column rev(a) is the group a·n/8 + m. Below 64 points the groups are gathered
// one element at a time.
__attribute__((always_inline)) inline void PermuteAndFirstStages(const float* re, const float* im,
                                                                 float* outRe, float* outIm,
                                                                 const int32_t* reverse, int n,
                                                                 const float* cosines, const float* sines) {
    const float c1 = cosines[1], s1 = sines[1];
    const Float4 co1 = {c1, c1, c1, c1}, si1 = {s1, s1, s1, s1};
    const Float4 co2 = {cosines[2], cosines[3], cosines[2], cosines[3]};
    const Float4 si2 = {sines[2], sines[3], sines[2], sines[3]};
    if (n < 64) {
        for (int i = 0; i < n; i += 8) {
            const int32_t* r = reverse + i;
            const Float4 er = {re[r[0]], re[r[2]], re[r[4]], re[r[6]]},
                         orr = {re[r[1]], re[r[3]], re[r[5]], re[r[7]]};
            const Float4 ei = {im[r[0]], im[r[2]], im[r[4]], im[r[6]]},
                         oi = {im[r[1]], im[r[3]], im[r[5]], im[r[7]]};
            FirstTwoStages(er, orr, ei, oi, outRe + i, outIm + i, co1, si1, co2, si2);
        }
        return;
    }
    static constexpr int kReverse3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    const int eighth = n / 8;
    for (int m = 0; m < eighth; m += 8) {
        Float8 rowsRe[8], rowsIm[8];
        for (int c = 0; c < 8; ++c) {
            const int start = reverse[m + c];  // the input of output m + c, whose a is 0
            Load8(rowsRe[c], re + start);
            Load8(rowsIm[c], im + start);
        }
        WAVORA_TRANSPOSE8(rowsRe);
        WAVORA_TRANSPOSE8(rowsIm);
        for (int a = 0; a < 8; ++a) {
            const Float8& vr = rowsRe[kReverse3[a]];
            const Float8& vi = rowsIm[kReverse3[a]];
            const int i = a * eighth + m;
            FirstTwoStages(
                __builtin_shufflevector(vr, vr, 0, 2, 4, 6), __builtin_shufflevector(vr, vr, 1, 3, 5, 7),
                __builtin_shufflevector(vi, vi, 0, 2, 4, 6), __builtin_shufflevector(vi, vi, 1, 3, 5, 7),
                outRe + i, outIm + i, co1, si1, co2, si2);
        }
    }
}

#undef WAVORA_TRANSPOSE8

// The stage of span n/2 (n ≥ 16) from the work arrays back into (re, im), with the division by n
// (a power of two: multiplying by 1/n rounds exactly as dividing by n).
__attribute__((always_inline)) inline void LastStage(const float* wr, const float* wi, float* re, float* im,
                                                     int n, const float* cosines, const float* sines) {
    const int k = n / 2;
    const float s = 1.0f / static_cast<float>(n);
    const Float8 scale = {s, s, s, s, s, s, s, s};
    for (int j = 0; j < k; j += 8) {
        Float8 co, si;
        Load8(co, cosines + j);
        Load8(si, sines + j);
        Float8 xr, xi;
        Load8(xr, wr + k + j);
        Load8(xi, wi + k + j);
        Float8 ar, ai;
        Load8(ar, wr + j);
        Load8(ai, wi + j);
        const Float8 dx = si * xi + co * xr;
        const Float8 dy = co * xi - si * xr;
        Store8(re + k + j, (ar - dx) * scale);
        Store8(re + j, (ar + dx) * scale);
        Store8(im + k + j, (ai - dy) * scale);
        Store8(im + j, (ai + dy) * scale);
    }
}

// Every stage for n ≥ 16; built for AVX2 too where the processor has it (no fused multiply-add,
// so the rounding is the same).
WAVORA_AVX2_CLONES void AllStages(float* re, float* im, float* wr, float* wi, const int32_t* reverse, int n,
                                  const float* cosines, const float* sines) {
    PermuteAndFirstStages(re, im, wr, wi, reverse, n, cosines, sines);
    Span4Stage(wr, wi, n, cosines + 4, sines + 4);
    for (int k = 8; k < n / 2; k *= 2) WideStage(wr, wi, n, k, cosines + k, sines + k);
    LastStage(wr, wi, re, im, n, cosines + n / 2, sines + n / 2);
}

}  // namespace

FftTables& FftTables::Instance() {
    static FftTables tables;
    return tables;
}

bool IsFftSize(int n) {
    return n >= 4 && n <= (1 << 24) && (n & (n - 1)) == 0;
}

void FftTables::Release() {
    tableSize_ = 0;
    std::vector<float>().swap(sine_);
    std::vector<int32_t>().swap(bitReverse_);
    std::vector<float>().swap(stageCos_);
    std::vector<float>().swap(stageSin_);
    std::vector<float>().swap(workRe_);
    std::vector<float>().swap(workIm_);
}

bool FftTables::Allocate(int n) {
    if (failAllocations_ > 0) {
        --failAllocations_;
        return false;
    }
    try {
        sine_.assign(static_cast<size_t>(n) + n / 4, 0.0f);
        bitReverse_.assign(static_cast<size_t>(n), 0);
        stageCos_.assign(static_cast<size_t>(n), 0.0f);
        stageSin_.assign(static_cast<size_t>(n), 0.0f);
        workRe_.assign(static_cast<size_t>(n), 0.0f);
        workIm_.assign(static_cast<size_t>(n), 0.0f);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

int FftTables::Prepare(int n) {
    if (!IsFftSize(n)) return 1;
    if (n == tableSize_) return 0;
    Release();
    if (!Allocate(n)) {
        Release();
        return 1;
    }
    BuildSineTable(sine_.data(), n);
    BuildBitReverse(bitReverse_.data(), n);
    // Stage k reads the sine table at h = j·n/(2k), j = 0 .. k−1.
    for (int k = 1; k < n; k *= 2) {
        const int d = n / (2 * k);
        for (int j = 0; j < k; ++j) {
            stageCos_[k + j] = sine_[j * d + n / 4];
            stageSin_[k + j] = sine_[j * d];
        }
    }
    tableSize_ = n;
    ++buildCount_;
    return 0;
}

int FftTransform(float* re, float* im, int n) {
    FftTables& tables = FftTables::Instance();
    if (tables.Prepare(n) != 0) return 1;
    const float* cosines = tables.StageCos();
    const float* sines = tables.StageSin();

    if (n < 16) {
        const int32_t* reverse = tables.BitReverse();
        for (int i = 0; i < n; ++i) {
            const int j = reverse[i];
            if (i < j) {
                std::swap(re[i], re[j]);
                std::swap(im[i], im[j]);
            }
        }
        for (int k = 1; k < n; k *= 2) SmallStage(re, im, n, k, cosines + k, sines + k);
        for (int i = 0; i < n; ++i) {
            re[i] /= static_cast<float>(n);
            im[i] /= static_cast<float>(n);
        }
        return 0;
    }

    // The butterflies are those of the in-place transform, each rounded as written; only the
    // order in which independent butterflies run differs, and the stages in between work on the
    // tables' work arrays.
    AllStages(re, im, tables.WorkRe(), tables.WorkIm(), tables.BitReverse(), n, cosines, sines);
    return 0;
}

void ScaleSpectrum(float* re, const float* im, int n, SpectrumType type, bool absMode, float T) {
    const int half = n / 2;
    for (int k = 0; k < half; ++k) {
        const double power = static_cast<double>(re[k]) * re[k] + static_cast<double>(im[k]) * im[k];
        if (type == SpectrumType::Power) {
            re[k] = static_cast<float>(power * T);
        } else {
            const float a = static_cast<float>(std::sqrt(power));
            re[k] = absMode ? a * 2.0f : a * T * 0.5f;
        }
    }
}

void HanningSmooth(float* values, int n) {
    const int h = n / 2;
    if (h < 2) return;
    values[h] = 0.5f * values[0] + 0.25f * values[1];
    values[2 * h - 1] = 0.5f * values[h - 1] + 0.25f * values[h - 2];
    for (int i = 1; i <= h - 2; ++i)
        values[h + i] = 0.25f * (values[i - 1] + values[i + 1]) + 0.5f * values[i];
    std::memcpy(values, values + h, sizeof(float) * static_cast<size_t>(h));
}

void SpectralRatio(const float* a, const float* b, int mode, float* out, int count) {
    for (int k = 0; k < count; ++k) {
        if (a[k] != 0.0f && b[k] != 0.0f)
            out[k] = mode == 2 ? b[k] / a[k] : a[k] / b[k];
        else
            out[k] = 0.0f;
    }
}

void RemoveSegmentMean(float* x, int m) {
    if (m <= 0) return;
    double sum = 0.0;
    for (int i = 0; i < m; ++i) sum += x[i];
    const float mean = static_cast<float>(sum / m);
    for (int i = 0; i < m; ++i) x[i] -= mean;
}

}  // namespace wavora
