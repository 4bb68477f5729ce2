#include "analysis/fft.h"

#include <cmath>
#include <cstring>
#include <new>

// The butterflies must round exactly as written (a product, a product, their sum), also when the
// compiler may use fused multiply-add instructions.
#if defined(__clang__)
#pragma clang fp contract(off)
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

namespace wavora {

namespace {

// Four floats handled as one; the element-wise operations round exactly as the scalar ones.
typedef float Float4 __attribute__((vector_size(16)));

inline Float4 Load4(const float* p) {
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store4(float* p, Float4 v) {
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

// A stage of span k ≥ 4: the butterflies of each group run over contiguous j, four at a time.
inline void WideStage(float* re, float* im, int n, int k, const float* cosines, const float* sines) {
    for (int base = 0; base < n; base += 2 * k) {
        float* r0 = re + base;
        float* i0 = im + base;
        float* r1 = r0 + k;
        float* i1 = i0 + k;
        for (int j = 0; j < k; j += 4) {
            const Float4 co = Load4(cosines + j), si = Load4(sines + j);
            const Float4 xr = Load4(r1 + j), xi = Load4(i1 + j);
            const Float4 ar = Load4(r0 + j), ai = Load4(i0 + j);
            const Float4 dx = si * xi + co * xr;
            const Float4 dy = co * xi - si * xr;
            Store4(r1 + j, ar - dx);
            Store4(r0 + j, ar + dx);
            Store4(i1 + j, ai - dy);
            Store4(i0 + j, ai + dy);
        }
    }
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

    const int32_t* reverse = tables.BitReverse();
    for (int i = 0; i < n; ++i) {
        const int j = reverse[i];
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }

    const float* cosines = tables.StageCos();
    const float* sines = tables.StageSin();
    for (int k = 1; k < n; k *= 2) {
        if (k < 4)
            SmallStage(re, im, n, k, cosines + k, sines + k);
        else
            WideStage(re, im, n, k, cosines + k, sines + k);
    }

    // n is a power of two, so multiplying by 1/n rounds exactly as dividing by n.
    const float scale = 1.0f / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        re[i] *= scale;
        im[i] *= scale;
    }
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

void HanningSmooth(float* spec, int n) {
    const int h = n / 2;
    if (h < 2) return;
    spec[h] = 0.5f * spec[0] + 0.25f * spec[1];
    spec[2 * h - 1] = 0.5f * spec[h - 1] + 0.25f * spec[h - 2];
    for (int i = 1; i <= h - 2; ++i) spec[h + i] = 0.25f * (spec[i - 1] + spec[i + 1]) + 0.5f * spec[i];
    std::memcpy(spec, spec + h, sizeof(float) * static_cast<size_t>(h));
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
