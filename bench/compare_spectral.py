#!/usr/bin/python3
"""Spectral benchmarks against their references.

Runs bench/fft_bench (FftTransform against FFTW's complex single-precision transform of the same
size, and the spectrum run over eight channels) and bench/mem_bench (MemSpectrum at 8192 points),
evaluates the same MEM formula with vectorised numpy on the same data, and prints the ratios.

Targets: FftTransform within 4x of FFTW; MemSpectrum at least 5x faster than numpy.
Times are the least CPU time of several repetitions (the machine may be shared), single-threaded
on both sides.

Usage: /usr/bin/python3 bench/compare_spectral.py --build BUILD [--repetitions N] [--strict]
"""

import os

# One thread for numpy's matrix products, as for the C++ code.
for _name in ("OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ.setdefault(_name, "1")

import argparse  # noqa: E402
import json  # noqa: E402
import subprocess  # noqa: E402
import sys  # noqa: E402
import tempfile  # noqa: E402
import time  # noqa: E402

import numpy as np  # noqa: E402

FFT_TARGET = 4.0  # FftTransform may take at most this many times FFTW's time
MEM_TARGET = 5.0  # MemSpectrum must be at least this many times faster than numpy
MEM_N = 8192
MEM_DT = 0.01
MEM_FMAX = 50.0


def run_benchmark(program, repetitions, extra=()):
    """Least CPU time per benchmark name, in nanoseconds."""
    cmd = [program, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}", *extra]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        name = b.get("run_name", b["name"])
        t = b["cpu_time"] * scale
        best[name] = min(best.get(name, t), t)
    return best


def mem_numpy(x, dt, fmax):
    """The MEM spectrum of x[1..n] (x holds n + 1 values), as MemSpectrum defines it."""
    n = len(x) - 1
    data = x[1 : n + 1]
    mean = np.float32(np.sum(data, dtype=np.float64) / n)
    d = (data - mean).astype(np.float32).astype(np.float64)
    m = int(np.sqrt(n) * 2.5)
    if m >= 500:
        m = 498
    m = min(m, n - 1)
    power = np.dot(d, d) / n
    f = d.copy()
    b = np.zeros(n)
    b[: n - 1] = d[1:]
    a = np.zeros(m + 1)
    p = np.zeros(m + 1)
    for k in range(1, m + 1):
        length = n - k
        fk, bk = f[:length], b[:length]
        num = np.dot(fk, bk)
        den = np.dot(fk, fk) + np.dot(bk, bk)
        if den == 0.0:
            break
        ak = -2.0 * num / den
        power *= 1.0 - ak * ak
        a[1:k] = p[1:k] + ak * p[k - 1 : 0 : -1]
        a[k] = ak
        p[1 : k + 1] = a[1 : k + 1]
        u = length - 1
        if u > 0:
            f_new = f[:u] + ak * b[:u]
            b_new = b[1 : u + 1] + ak * f[1 : u + 1]
            f[:u] = f_new
            b[:u] = b_new
    df = np.float32(2.0 * fmax / n)
    freq = np.arange(n, dtype=np.float32) * df
    w = 2.0 * np.pi * freq.astype(np.float64) * dt
    kw = np.outer(w, np.arange(1, m + 1, dtype=np.float64))
    re = 1.0 + np.cos(kw) @ a[1:]
    im = np.sin(kw) @ a[1:]
    return 2.0 * power * dt / (re * re + im * im), freq


def least_cpu_time(func, repetitions):
    best = float("inf")
    for _ in range(repetitions):
        start = time.process_time()
        func()
        best = min(best, time.process_time() - start)
    return best * 1e9


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the CMake build folder")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--strict", action="store_true", help="exit 1 when a target is missed")
    args = parser.parse_args()

    fft_bench = os.path.join(args.build, "bench", "fft_bench")
    mem_bench = os.path.join(args.build, "bench", "mem_bench")
    for program in (fft_bench, mem_bench):
        if not os.access(program, os.X_OK):
            print(f"compare_spectral: {program} is missing; build the benchmarks first", file=sys.stderr)
            return 2

    missed = []
    print("Spectral kernels (least CPU time of %d repetitions)" % args.repetitions)

    fft = run_benchmark(fft_bench, args.repetitions)
    for n in (1024, 8192):
        ours = fft.get(f"BM_FftTransform/{n}")
        ref = fft.get(f"BM_Fftw/{n}")
        if ours is None:
            continue
        if ref is None:
            print(f"  FftTransform N={n:5d}: {ours / 1e3:9.2f} us   (FFTW not built in)")
            continue
        ratio = ours / ref
        ok = ratio <= FFT_TARGET
        if not ok:
            missed.append(f"FftTransform N={n}")
        print(
            f"  FftTransform N={n:5d}: {ours / 1e3:9.2f} us   FFTW complex float {ref / 1e3:9.2f} us   "
            f"ratio {ratio:5.2f}x (target <= {FFT_TARGET:.0f}x) {'ok' if ok else 'MISSED'}"
        )
    run8 = fft.get("BM_SpectrumRun8Channels")
    if run8 is not None:
        print(f"  Spectrum run, 8 channels x 8192 points: {run8 / 1e6:8.3f} ms")

    mem = run_benchmark(mem_bench, args.repetitions)
    ours = mem.get(f"BM_MemSpectrum/{MEM_N}")
    with tempfile.TemporaryDirectory() as folder:
        dump = os.path.join(folder, "mem.bin")
        subprocess.run([mem_bench, f"--dump={dump}"], check=True)
        raw = np.fromfile(dump, dtype="<f4")
    x = raw[: MEM_N + 1]
    spectrum = raw[MEM_N + 1 : 2 * MEM_N + 1].astype(np.float64)
    frequencies = raw[2 * MEM_N + 1 :]
    expected, expected_freq = mem_numpy(x, MEM_DT, MEM_FMAX)
    half = MEM_N // 2
    rel = np.max(np.abs(spectrum[:half] - expected[:half]) / np.abs(expected[:half]))
    freq_ok = np.array_equal(frequencies, expected_freq)
    reference = least_cpu_time(lambda: mem_numpy(x, MEM_DT, MEM_FMAX), args.repetitions)
    speedup = reference / ours
    ok = speedup >= MEM_TARGET
    if not ok:
        missed.append("MemSpectrum")
    print(
        f"  MemSpectrum N={MEM_N} (order {min(int(np.sqrt(MEM_N) * 2.5), 498)}): {ours / 1e6:8.3f} ms   "
        f"numpy {reference / 1e6:8.3f} ms   speed-up {speedup:5.1f}x (target >= {MEM_TARGET:.0f}x) "
        f"{'ok' if ok else 'MISSED'}"
    )
    print(
        f"  MemSpectrum against numpy: largest relative difference {rel:.2e} over {half} bins, "
        f"frequency grid {'identical' if freq_ok else 'DIFFERENT'}"
    )
    if missed:
        print("  Targets missed: " + ", ".join(missed))
        if args.strict:
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
