#!/usr/bin/env bash
# Runs every fuzz target of a `make fuzz` build for a bounded time each, from the seed corpus that
# write_fuzz_seeds makes with the tests' builders, the regression inputs of tests/regress/<reader>/
# and what earlier runs kept in BUILD/fuzz-corpus/<reader>/, and reports how many inputs each ran
# clean. A target that finds a fault stops with its report; the input that found it is left in
# BUILD/fuzz-artifacts/, to be kept under tests/regress/<reader>/ once the fault is fixed.
#   tools/run-fuzz.sh [BUILD [SECONDS]]   (defaults: build-fuzz, 60 seconds a target)
# FUZZ_JOBS targets run at a time (default: the number of processors).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
jobs=${FUZZ_JOBS:-$(nproc)}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts
seeds=$build/fuzz-seeds
mkdir -p "$corpus" "$artifacts"
# The targets write each input and the files the checks make; a memory-backed folder keeps the
# file system out of the way.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
"$build/tests/fuzz/write_fuzz_seeds" "$seeds"

# One target: its line of the report goes to BUILD/fuzz-<name>.result.
run_target() {
  local target=$1 name=${1##*/fuzz_}
  local log=$build/fuzz-$name.log result=$build/fuzz-$name.result
  local folders=("$corpus/$name")
  mkdir -p "$corpus/$name"
  [ -d "$seeds/$name" ] && folders+=("$seeds/$name")
  [ -d "$root/tests/regress/$name" ] && folders+=("$root/tests/regress/$name")
  # New inputs go to the first folder only; the seeds and the regression inputs stay as they are.
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 -rss_limit_mb=2560 \
      -artifact_prefix="$artifacts/$name-" "${folders[@]}" > "$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz_$name: ${runs:-?} inputs ran clean in $seconds s" > "$result"
  else
    { echo "fuzz_$name: FOUND A FAULT; its report is in $log and the input in $artifacts/"
      grep -E 'ERROR|SUMMARY|^fuzz_|runtime error' "$log" | head -n 20 || true; } > "$result"
    return 1
  fi
}

shopt -s nullglob
targets=()
for target in "$build"/tests/fuzz/fuzz_*; do [ -x "$target" ] && targets+=("$target"); done
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets in $build/tests/fuzz" >&2; exit 1; fi

status=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for target in "${targets[@]}"; do cat "$build/fuzz-${target##*/fuzz_}.result"; done
exit $status
