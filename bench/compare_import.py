#!/usr/bin/python3
"""Times the arbitrary CSV import against the standard CSV reader on the same values, in the same run.

    bench/compare_import.py --build BUILD [--rows N] [--fresh]

Takes the reader benchmark's 8-channel file (BUILD/bench-data/reader_N.csv, written as
bench/compare.py writes it) and the same rows with a time column in front, then runs
BUILD/bench/import_bench on both and checks the targets:
  - the line index of the preview at least 5 times faster than the reader's full read;
  - the import (from the index, columns 2 to 9) within 1.5 times the reader's full read;
  - the memory the preview holds under 16 bytes a line plus 64 MB.
The exit status is 1 when a target is missed.
"""

import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from compare import generate_csv  # noqa: E402

INDEX_TARGET = 5.0
IMPORT_LIMIT = 1.5


def timed_copy(source, target):
    """The rows of `source` with the sample time (1000 per second) in front of every data row."""
    tmp = target + ".part"
    with open(source, "r", newline="") as inp, open(tmp, "w", newline="\n") as out:
        out.write("TIME," + inp.readline())
        inp.readline()
        out.write("recorded 1000 per second\n")
        out.write(inp.readline())
        out.write("s," + inp.readline())
        for i, line in enumerate(inp):
            out.write("%.3f,%s" % (i / 1000.0, line))
    os.replace(tmp, target)


def run(program, args):
    out = subprocess.run([program, "--benchmark_format=json", "--benchmark_repetitions=3"] + args,
                         capture_output=True, text=True)
    if out.returncode != 0:
        print("  %s failed (exit %d):\n%s" % (program, out.returncode, out.stderr.strip()))
        return None
    return json.loads(out.stdout)["benchmarks"]


def best(benchmarks, name):
    """The least real time in seconds of a benchmark's repetitions."""
    times = []
    for b in benchmarks:
        if b.get("run_name", b["name"]).split("/")[0] != name or b.get("run_type") != "iteration":
            continue
        if b.get("error_occurred"):
            continue
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
        times.append(b["real_time"] * scale)
    return min(times) if times else None


def counters(benchmarks, name):
    for b in benchmarks:
        if b.get("run_name", b["name"]).split("/")[0] == name and b.get("run_type") == "iteration":
            return b
    return None


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
    timed_path = os.path.join(data_dir, "import_%d.csv" % args.rows)
    if args.fresh or not os.path.exists(csv_path):
        print("Generating %s ..." % csv_path, flush=True)
        generate_csv(csv_path, args.rows)
    if args.fresh or not os.path.exists(timed_path) or os.path.getmtime(timed_path) < os.path.getmtime(csv_path):
        timed_copy(csv_path, timed_path)

    program = os.path.join(build, "bench", "import_bench")
    if not os.access(program, os.X_OK):
        print("  %s is not built" % program)
        return 1
    subprocess.run("cat '%s' '%s' > /dev/null" % (csv_path, timed_path), shell=True, check=True)
    benchmarks = run(program, ["--csv=" + csv_path, "--timed=" + timed_path])
    if benchmarks is None:
        return 1
    reader = best(benchmarks, "BM_ReadStandardCsv")
    index = best(benchmarks, "BM_IndexCsv")
    imported = best(benchmarks, "BM_ImportCsv")
    both = best(benchmarks, "BM_IndexAndImportCsv")
    memory = counters(benchmarks, "BM_PreviewMemory")
    print("CSV import, %d rows, time column + 8 channels, %.1f MB (reader file %.1f MB)"
          % (args.rows, os.path.getsize(timed_path) / 1e6, os.path.getsize(csv_path) / 1e6))
    ok = True
    if None in (reader, index, imported, both) or memory is None:
        print("  not every benchmark reported a time")
        return 1
    print("  standard reader, full read     %8.3f s" % reader)
    print("  line index (preview)           %8.3f s" % index)
    print("  import from the index          %8.3f s" % imported)
    print("  index and import               %8.3f s" % both)
    ratio = reader / index
    met = ratio >= INDEX_TARGET
    ok &= met
    print("  %-34s %6.2fx faster (target %.0fx: %s)" % ("index vs reader", ratio, INDEX_TARGET,
                                                         "met" if met else "NOT MET"))
    ratio = imported / reader
    met = ratio <= IMPORT_LIMIT
    ok &= met
    print("  %-34s %6.2fx the time (limit %.1fx: %s)" % ("import vs reader", ratio, IMPORT_LIMIT,
                                                          "met" if met else "NOT MET"))
    print("  %-34s %6.2fx the time" % ("index and import vs reader", both / reader))
    peak, limit, lines = memory["peak_bytes"], memory["limit_bytes"], memory["lines"]
    met = peak <= limit
    ok &= met
    print("  preview memory %.1f MB for %d lines (%.1f bytes a line; limit %.1f MB: %s)"
          % (peak / 1e6, lines, peak / max(lines, 1), limit / 1e6, "met" if met else "NOT MET"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
