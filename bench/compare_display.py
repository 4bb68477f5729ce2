#!/usr/bin/python3
"""The spectrum run with listing and drawing, and the mouse read-out, against their time targets.

Runs bench/spectrum_display_bench and prints the least CPU time of several repetitions (the
machine may be shared, so wall-clock time says little) of
  - a run of 8 channels x 8192 points with the grid listing and the picture drawn: at most 25 ms;
  - a run of 1 channel x 1024 points with drawing, the running spectrum's step: at most 1 ms;
  - one mouse read-out with its text drawn: at most 50 us.

Usage: /usr/bin/python3 bench/compare_display.py --build BUILD [--repetitions N]
Other arguments (those bench/compare.py passes on for its own benchmarks) are ignored.
Exit status: 0 when every target is met, 1 when one is missed, 2 when the benchmark is missing.
"""

import argparse
import json
import os
import subprocess
import sys

TARGETS_US = [
    ("BM_RunListDraw8x8192", "Run, list and draw 8 x 8192", 25000.0),
    ("BM_RunListDraw1x1024", "Run, list and draw 1 x 1024", 1000.0),
    ("BM_MouseReadout", "Mouse read-out", 50.0),
]


def least_cpu_us(program, repetitions):
    cmd = [program, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}"]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "ns")]
        name = b.get("run_name", b["name"])
        t = b["cpu_time"] * scale
        best[name] = min(best.get(name, t), t)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the CMake build folder")
    parser.add_argument("--repetitions", type=int, default=5)
    args, _ = parser.parse_known_args()
    program = os.path.join(args.build, "bench", "spectrum_display_bench")
    if not os.access(program, os.X_OK):
        print(f"compare_display: {program} is missing; build the benchmarks first", file=sys.stderr)
        return 2
    times = least_cpu_us(program, args.repetitions)
    print("Spectrum display (least CPU time of %d repetitions)" % args.repetitions)
    missed = []
    for name, what, target in TARGETS_US:
        t = times.get(name)
        if t is None:
            print(f"  {what:30s} not measured")
            missed.append(what)
            continue
        ok = t <= target
        if not ok:
            missed.append(what)
        print(f"  {what:30s} {t:10.1f} us   (target <= {target:.0f} us) {'ok' if ok else 'MISSED'}")
    if missed:
        print("  Targets missed: " + ", ".join(missed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
