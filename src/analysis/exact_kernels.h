#pragma once
// The heavy kernels (filter, FFT, MEM) must round exactly as their formulas are written: each
// product rounded before it is added. Their sources are built without fused multiply-add (see
// CMakeLists.txt). On x86 their hot loops are also built for AVX2 and chosen at run time; AVX2
// without FMA changes only how many values go at once, never a result.

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define WAVORA_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define WAVORA_AVX2_CLONES
#endif
