#!/usr/bin/env bash
# Runs every fuzz target of a `make fuzz` build for a bounded time each, from the seed corpus that
# write_fuzz_seeds makes with the tests' builders, the regression inputs of tests/regress/<reader>/
# and what earlier runs kept in BUILD/fuzz-corpus/<reader>/, and reports how many inputs each ran
# clean. A target that finds a fault stops with its report; the input that found it is left in
# BUILD/fuzz-artifacts/, to be kept under tests/regress/<reader>/ once the fault is fixed.
#   tools/run-fuzz.sh [BUILD [SECONDS]]     (defaults: build-fuzz, 60 seconds a target)
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts
seeds=$build/fuzz-seeds
mkdir -p "$corpus" "$artifacts"
# The targets write each input and the files the checks make; a memory-backed folder keeps the
# file system out of the way.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
"$build/tests/fuzz/write_fuzz_seeds" "$seeds"

status=0
shopt -s nullglob
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=${target##*/fuzz_}
  folders=("$corpus/$name")
  mkdir -p "$corpus/$name"
  [ -d "$seeds/$name" ] && folders+=("$seeds/$name")
  [ -d "$root/tests/regress/$name" ] && folders+=("$root/tests/regress/$name")
  log=$build/fuzz-$name.log
  # New inputs go to the first folder only; the seeds and the regression inputs stay as they are.
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 -rss_limit_mb=2560 \
      -artifact_prefix="$artifacts/$name-" "${folders[@]}" > "$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz_$name: ${runs:-?} inputs ran clean in ${seconds} s"
  else
    echo "fuzz_$name: found a fault; its report is in $log and the input in $artifacts/"
    grep -E 'ERROR|SUMMARY|fuzz_|runtime error' "$log" | head -n 20 || true
    status=1
  fi
done
exit $status
