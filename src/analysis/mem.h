#pragma once
// Maximum-entropy (MEM) power spectrum: an autoregressive model fitted by Burg's recursion and
// evaluated on a frequency grid that follows the spectrum graph's frequency axis.

#include <vector>

namespace wavora {

// Model order for n points: trunc(2.5·sqrt(n)), 498 from 500 on, and never n or more.
int MemOrder(int n);

// x holds n + 1 floats; the model is fitted to x[1..n] (x[0], the first sample of the segment,
// is not used, and x[n] is the spare last element, normally 0). The mean of x[1..n] is removed
// first. On return x[0..n−1] holds the spectrum S[r] = 2·P·dt / |1 + Σ a[k]·e^(ik·w)|² at the
// frequencies freq[r] = r·2·fmax/n, w = 2π·freq[r]·dt. An fmax that is not a finite number
// falls back to the Nyquist frequency 1/(2·dt). A segment without variation (all values equal)
// gives an all-zero spectrum.
void MemSpectrum(float* x, float* freq, float dt, int n, float fmax);

// Burg's recursion of order m on data[0..n−1] (mean already removed): fills a[1..m] (a[0] = 1)
// with the prediction-error filter 1 + a[1]·z + … + a[m]·z^m and returns the error power P.
float BurgFit(const float* data, int n, int m, std::vector<double>& a);

}  // namespace wavora
