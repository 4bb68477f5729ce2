#!/usr/bin/python3
"""Spectral peaks: what gathering the peaks costs the automatic skipping analysis.

Runs bench/peaks_bench: one peak detection on an 8192-point spectrum, one gather with its texts,
and the automatic skipping analysis over 1,000,000 samples at 1024 points with and without the
peaks. The difference between the two is the peaks' share beyond the spectrum runs themselves.

Target: under 0.1 s for the whole record. Times are the least CPU time of several repetitions
(the machine may be shared).

Usage: /usr/bin/python3 bench/compare_peaks.py --build BUILD [--repetitions N]
Other arguments (those bench/compare.py passes on for its own benchmarks) are ignored.
Exit status: 0 when the target is met, 1 when it is missed, 2 when the benchmark is missing.
"""

import argparse
import json
import os
import subprocess
import sys

TARGET_S = 0.1


def least_cpu_times(program, repetitions):
    """Least CPU time per benchmark name, in seconds."""
    cmd = [program, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}"]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
        name = b.get("run_name", b["name"])
        t = b["cpu_time"] * scale
        best[name] = min(best.get(name, t), t)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the CMake build folder")
    parser.add_argument("--repetitions", type=int, default=3)
    args, _ = parser.parse_known_args()

    program = os.path.join(args.build, "bench", "peaks_bench")
    if not os.access(program, os.X_OK):
        print(f"compare_peaks: {program} is missing; build the benchmarks first", file=sys.stderr)
        return 2

    t = least_cpu_times(program, args.repetitions)
    runs = t["BM_AutoSkipWholeRecord/0/min_time:1.000"]
    with_peaks = t["BM_AutoSkipWholeRecord/1/min_time:1.000"]
    extra = with_peaks - runs
    print("Spectral peaks (least CPU time of %d repetitions)" % args.repetitions)
    print("  DetectPeaks, 8192 points          %8.1f us" % (t["BM_DetectPeaks/8192"] * 1e6))
    print("  one gather with its texts         %8.1f us" % (t["BM_GatherPeaks/1024"] * 1e6))
    print("  automatic skipping, runs only     %8.3f s" % runs)
    print("  automatic skipping, with peaks    %8.3f s" % with_peaks)
    ok = extra < TARGET_S
    print("  peaks beyond the runs             %8.3f s  (target < %.1f s)  %s"
          % (extra, TARGET_S, "ok" if ok else "MISSED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
