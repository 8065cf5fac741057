#!/usr/bin/env bash
# Fuzzes the parsers of outside input: builds the fuzz targets (fuzz/, clang's
# libFuzzer with the address and undefined-behaviour sanitizers) and runs
# each for a while, one after the other, on a working corpus that starts as a
# copy of its seeds (fuzz/seeds/<target>/) and grows from run to run. Prints
# per target the executions, their rate, the coverage and the findings
# (crash-*, leak-*, timeout-*, oom-* inputs, kept in the build folder), then a
# summary; the status is 1 when anything was found. Not part of the test
# command.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET=60] [TARGET...]
#   e.g. scripts/fuzz.sh 600 FuzzSiteFile FuzzLogFile
# FUZZ_BUILD names the build folder (default build-fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD:-$root/build-fuzz}

"$root/scripts/setup.sh"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/Fuzz*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

echo "== build (libFuzzer, address and undefined-behaviour sanitizers)"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" --parallel 2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
# An empty program folder of the run's own: no target reads the user's files.
export QUORVEL_HOME=$build/fuzz/home
mkdir -p "$QUORVEL_HOME"

echo "== fuzzing, ${seconds} s per target"
printf '%-22s %12s %9s %7s %9s\n' target executions exec/s cov findings
total_findings=0
summary=()
for target in "${targets[@]}"; do
  corpus=$build/fuzz/corpus/$target
  findings=$build/fuzz/findings/$target
  log=$build/fuzz/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  cp -n "$root/fuzz/seeds/$target"/* "$corpus"/ 2>/dev/null || true
  dict=()
  [ -f "$root/fuzz/dicts/$target.dict" ] && dict=(-dict="$root/fuzz/dicts/$target.dict")
  started=$build/fuzz/findings/.started-$target
  touch "$started"
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -artifact_prefix="$findings/" "${dict[@]}" "$corpus" >"$log" 2>&1 || status=$?

  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -n1)
  rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log" | tail -n1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | awk '{print $2}')
  found=$(find "$findings" -maxdepth 1 -newer "$started" \
            \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  # A target that ended badly without leaving an input is a finding too.
  if [ "$status" -ne 0 ] && [ "$found" -eq 0 ]; then
    found=1
  fi
  printf '%-22s %12s %9s %7s %9s\n' "$target" "${executions:-?}" "${rate:-?}" "${coverage:-?}" "$found"
  if [ "$found" -ne 0 ]; then
    summary+=("$target: $found finding(s), see $log and $findings/")
  fi
  total_findings=$((total_findings + found))
done

echo "== summary"
if [ "$total_findings" -eq 0 ]; then
  echo "${#targets[@]} target(s), no findings"
  exit 0
fi
printf '%s\n' "${summary[@]}"
echo "$total_findings finding(s)"
exit 1
