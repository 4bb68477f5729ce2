#!/usr/bin/python3
"""Times WAVORA's CSV reader and 999-tap filter against numpy on the same data, in the same run.

    bench/compare.py --build BUILD [--rows N] [--fresh]

Generates the data once (kept in BUILD/bench-data), then times, as wall-clock time, the best
of three runs (numpy.convolve once: it takes seconds)
  - `cat FILE > /dev/null`, numpy.loadtxt (and pandas.read_csv when installed) against
    BUILD/bench/reader_bench on an 8-channel CSV data file of N rows;
  - numpy.convolve in float32 with the same 999 taps against BUILD/bench/filter_bench on
    8 channels of 1,000,000 samples;
prints the ratios and whether the targets are met (reader at least 3 times numpy.loadtxt,
filter at least 5 times numpy.convolve). Every other bench/compare_*.py is run afterwards with
the same arguments. The exit status is 1 when a target is missed or a script fails.
"""

import argparse
import glob
import json
import os
import subprocess
import sys
import time

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
CHANNELS = 8
FILTER_SAMPLES = 1_000_000
READER_TARGET = 3.0
FILTER_TARGET = 5.0


def generate_csv(path, rows):
    """A standard CSV data file as the program writes it: four header lines, then "%10.3e" values."""
    rng = np.random.default_rng(1)
    t = np.arange(rows, dtype=np.float64) / 1000.0
    columns = []
    for c in range(CHANNELS):
        v = (c + 1) * 3.0 * np.sin(2 * np.pi * (c + 2) * t) + rng.normal(0.0, 0.5, rows)
        columns.append(np.char.mod("%10.3e", v))
    tmp = path + ".part"
    with open(tmp, "w", newline="\n") as f:
        f.write(",".join("CH%d" % (c + 1) for c in range(CHANNELS)) + "\n")
        f.write("1000,s\n")
        f.write("FILTER,Unfiltered\n")
        f.write(",".join(["Gal"] * CHANNELS) + "\n")
        step = 100_000
        for start in range(0, rows, step):
            block = [col[start:start + step] for col in columns]
            f.write("\n".join(",".join(r) for r in zip(*block)))
            f.write("\n")
    os.replace(tmp, path)


def generate_samples(path):
    rng = np.random.default_rng(2)
    i = np.arange(FILTER_SAMPLES, dtype=np.float64)
    data = np.empty((CHANNELS, FILTER_SAMPLES), dtype=np.int16)
    for c in range(CHANNELS):
        v = 15000.0 * np.sin(0.001 * (c + 1) * i) + rng.normal(0.0, 1000.0, FILTER_SAMPLES)
        data[c] = np.clip(v, -32768, 32767).astype(np.int16)
    data.tofile(path)


def best_of(repeats, fn):
    best = None
    for _ in range(repeats):
        start = time.perf_counter()
        fn()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def run_benchmark(program, extra, repetitions=3):
    """Runs a Google Benchmark program; the least real time of its repetitions, in seconds."""
    if not os.access(program, os.X_OK):
        print("  %s is not built" % program)
        return None
    command = [program, "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions] + extra
    out = subprocess.run(command, capture_output=True, text=True)
    if out.returncode != 0:
        print("  %s failed (exit %d):\n%s" % (program, out.returncode, out.stderr.strip()))
        return None
    report = json.loads(out.stdout)
    times = []
    for bench in report["benchmarks"]:
        if bench.get("run_type", "iteration") != "iteration" or bench.get("error_occurred"):
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[bench.get("time_unit", "ns")]
        times.append(bench["real_time"] * scale)
    if not times:
        print("  %s reported no time:\n%s" % (program, out.stdout.strip()))
        return None
    return min(times)


def verdict(name, ours, theirs, target):
    if ours is None or theirs is None:
        print("  %-34s not measured" % name)
        return False
    ratio = theirs / ours
    met = ratio >= target
    print("  %-34s %6.2fx  (target %.0fx: %s)" % (name, ratio, target, "met" if met else "NOT MET"))
    return met


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="CMake build folder")
    parser.add_argument("--rows", type=int, default=1_000_000, help="rows of the CSV file")
    parser.add_argument("--fresh", action="store_true", help="generate the data again")
    args, _ = parser.parse_known_args()

    build = os.path.abspath(args.build)
    data_dir = os.path.join(build, "bench-data")
    os.makedirs(data_dir, exist_ok=True)
    csv_path = os.path.join(data_dir, "reader_%d.csv" % args.rows)
    samples_path = os.path.join(data_dir, "filter_samples.bin")
    taps_path = os.path.join(data_dir, "filter_taps.bin")

    if args.fresh or not os.path.exists(csv_path):
        print("Generating %s (%d rows × %d channels) ..." % (csv_path, args.rows, CHANNELS), flush=True)
        generate_csv(csv_path, args.rows)
    if args.fresh or not os.path.exists(samples_path):
        generate_samples(samples_path)
    size_mb = os.path.getsize(csv_path) / 1e6

    ok = True
    print("\nCSV reader, %d rows × %d channels, %.1f MB" % (args.rows, CHANNELS, size_mb), flush=True)
    subprocess.run("cat '%s' > /dev/null" % csv_path, shell=True, check=True)  # into the page cache
    t_cat = best_of(3, lambda: subprocess.run("cat '%s' > /dev/null" % csv_path, shell=True, check=True))
    t_reader = run_benchmark(os.path.join(build, "bench", "reader_bench"), ["--csv=" + csv_path])
    t_loadtxt = best_of(3, lambda: np.loadtxt(csv_path, delimiter=",", skiprows=4))
    t_pandas = None
    try:
        import pandas

        t_pandas = best_of(3, lambda: pandas.read_csv(csv_path, skiprows=4, header=None))
    except ImportError:
        pass
    print("  cat FILE > /dev/null        %8.3f s" % t_cat)
    print("  numpy.loadtxt               %8.3f s" % t_loadtxt)
    if t_pandas is not None:
        print("  pandas.read_csv             %8.3f s" % t_pandas)
    else:
        print("  pandas.read_csv             (pandas not installed)")
    if t_reader is not None:
        print("  WAVORA reader_bench         %8.3f s  (%.0f MB/s; cat reads at %.0f MB/s)"
              % (t_reader, size_mb / t_reader, size_mb / t_cat))
    ok &= verdict("reader vs numpy.loadtxt", t_reader, t_loadtxt, READER_TARGET)
    if t_pandas is not None and t_reader is not None:
        print("  %-34s %6.2fx" % ("reader vs pandas.read_csv", t_pandas / t_reader))

    print("\n999-tap filter, %d channels × %d samples" % (CHANNELS, FILTER_SAMPLES), flush=True)
    t_filter = run_benchmark(os.path.join(build, "bench", "filter_bench"),
                             ["--samples=" + samples_path, "--write-taps=" + taps_path])
    t_convolve = None
    if os.path.exists(taps_path):
        half = np.fromfile(taps_path, dtype=np.float32)
        taps = np.concatenate([half[:0:-1], half]).astype(np.float32)  # the symmetric 999 taps
        signals = np.fromfile(samples_path, dtype=np.int16).reshape(CHANNELS, FILTER_SAMPLES).astype(np.float32)

        def convolve_all():
            for c in range(CHANNELS):
                np.convolve(signals[c], taps, mode="same")

        t_convolve = best_of(1, convolve_all)
        print("  numpy.convolve float32      %8.3f s" % t_convolve)
    if t_filter is not None:
        print("  WAVORA filter_bench         %8.3f s" % t_filter)
    ok &= verdict("filter vs numpy.convolve", t_filter, t_convolve, FILTER_TARGET)

    others = sorted(glob.glob(os.path.join(HERE, "compare_*.py")))
    for script in others:
        print("\n== %s" % os.path.basename(script), flush=True)
        result = subprocess.run([sys.executable, script] + sys.argv[1:])
        if result.returncode != 0:
            print("  %s exited with %d" % (os.path.basename(script), result.returncode))
            ok = False

    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
