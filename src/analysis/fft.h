#pragma once
// Fourier spectra: the in-place radix-2 transform with its cached tables, the scalings that turn
// coefficients into the displayed spectrum, the 1:2:1 smoothing, the spectral ratio and the
// segment mean removal. Every array is 32-bit floats.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wavora {

enum class SpectrumType : int { Amp = 0, Power = 1 };

// The one process-wide cache of the transform: a sine table of N + N/4 entries (sin 2πk/N, the
// cosine of 2πk/N at k + N/4) and the bit-reversal table of N entries, built for the N of the
// last transform and kept until a transform of another N comes. Used from one thread only.
class FftTables {
  public:
    static FftTables& Instance();

    // Makes the tables hold N = n. Returns 0 when they do (built now or kept), 1 when the memory
    // cannot be had; the cache is then empty, so the next call tries again.
    int Prepare(int n);
    // Frees the tables; the next Prepare builds them again.
    void Release();

    int TableSize() const { return tableSize_; }
    const float* SineTable() const { return sine_.data(); }
    const int32_t* BitReverse() const { return bitReverse_.data(); }
    // How often the tables have been built since the program started.
    int64_t BuildCount() const { return buildCount_; }

    // The cosines and sines of every butterfly stage laid out contiguously: stage k (1, 2, 4, …)
    // uses entries k .. 2k−1, copied from the sine table.
    const float* StageCos() const { return stageCos_.data(); }
    const float* StageSin() const { return stageSin_.data(); }
    // Two arrays of N floats the transform works in between its first and last stage.
    float* WorkRe() { return workRe_.data(); }
    float* WorkIm() { return workIm_.data(); }

    // Makes the next `count` allocations fail, so the tests can see how a failure leaves the cache.
    void FailNextAllocationsForTesting(int count) { failAllocations_ = count; }

  private:
    FftTables() = default;
    bool Allocate(int n);

    int tableSize_ = 0;
    std::vector<float> sine_;
    std::vector<int32_t> bitReverse_;
    std::vector<float> stageCos_, stageSin_;
    std::vector<float> workRe_, workIm_;
    int64_t buildCount_ = 0;
    int failAllocations_ = 0;
};

// True for the sizes the transform takes: a power of two from 4 to 2^24.
bool IsFftSize(int n);

// Forward transform of re[0..n−1] + i·im[0..n−1] in place, divided by n:
// X[k] = (1/n) Σ x[j]·e^(−2πi·jk/n). Returns 0 on success, 1 when the tables cannot be had
// (or n is not a size the transform takes); the arrays are then unchanged.
int FftTransform(float* re, float* im, int n);

// Overwrites re[k], k = 0 .. n/2−1, with the spectrum of bin k; im is left as it is.
//   Amp with absMode: 2·A; Amp: A·T·0.5; Power: (re² + im²)·T, where A = |X[k]| (in double).
void ScaleSpectrum(float* re, const float* im, int n, SpectrumType type, bool absMode, float T);

// One 1:2:1 smoothing pass over values[0..n/2−1], using values[n/2..n−1] as scratch. The end values
// keep the 0.5 and 0.25 weights of their one neighbour (total weight 0.75).
void HanningSmooth(float* values, int n);

// out[k] = a[k]/b[k] (mode 1) or b[k]/a[k] (mode 2); 0 where either spectrum is exactly 0.
void SpectralRatio(const float* a, const float* b, int mode, float* out, int count);

// Subtracts the mean of x[0..m−1] from those m values.
void RemoveSegmentMean(float* x, int m);

}  // namespace wavora
