#!/usr/bin/python3
"""Running spectrum and 2-D map: step rate of the waterfall and the map's own cost.

Runs bench/running_bench: a whole 51-curve multi plot with hidden lines, drawn on an offscreen
picture, at 1024 and 8192 points (targets: at least 200 and 30 steps per second), and a full
320 × 320 map of 500 rows from spectra already computed (target: at most 10 ms beyond the runs).
Times are the least CPU time of several repetitions (the machine may be shared).

Usage: /usr/bin/python3 bench/compare_running.py --build BUILD [--repetitions N]
Other arguments (those bench/compare.py passes on for its own benchmarks) are ignored.
Exit status: 0 when the targets are met, 1 when one is missed, 2 when the benchmark is missing.
"""

import argparse
import json
import os
import subprocess
import sys

STEPS_PER_S = {1024: 200.0, 8192: 30.0}
MAP_TARGET_S = 0.010


def least_cpu_times(program, repetitions):
    """Least CPU time per benchmark name, in seconds, and the largest steps_per_s counter."""
    cmd = [program, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}"]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    best, rate = {}, {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
        name = b.get("run_name", b["name"])
        t = b["cpu_time"] * scale
        best[name] = min(best.get(name, t), t)
        if "steps_per_s" in b:
            rate[name] = max(rate.get(name, 0.0), b["steps_per_s"])
    return best, rate


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the CMake build folder")
    parser.add_argument("--repetitions", type=int, default=3)
    args, _ = parser.parse_known_args()

    program = os.path.join(args.build, "bench", "running_bench")
    if not os.access(program, os.X_OK):
        print(f"compare_running: {program} is missing; build the benchmarks first", file=sys.stderr)
        return 2

    t, rate = least_cpu_times(program, args.repetitions)
    ok = True
    print("Running spectrum and 2-D map (least CPU time of %d repetitions)" % args.repetitions)
    for points, target in STEPS_PER_S.items():
        name = "BM_RunningWaterfall/%d" % points
        met = rate[name] >= target
        ok &= met
        print("  waterfall, %4d points: %7.0f steps/s, 51 curves in %6.1f ms  (target >= %.0f/s)  %s"
              % (points, rate[name], t[name] * 1e3, target, "ok" if met else "MISSED"))
    map_s = t["BM_MapRows"]
    met = map_s <= MAP_TARGET_S
    ok &= met
    print("  map of 500 rows, 320 x 320:  %6.1f ms beyond the runs  (target <= %.0f ms)  %s"
          % (map_s * 1e3, MAP_TARGET_S * 1e3, "ok" if met else "MISSED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
