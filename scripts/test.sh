#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: once in a plain build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer. Any failure or
# sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen

echo "== build"
"$root/scripts/build.sh" "$root/build"
echo "== tests"
(cd "$root/build" && ctest --output-on-failure --parallel "$jobs" --timeout 300)

# The Debian package of the plain build's programs: built, its fields and files
# shown, unpacked into a temporary root and run from there.
echo "== package"
"$root/scripts/package.sh" "$root/build"

echo "== build (address and undefined-behaviour sanitizers)"
BUILD_TYPE=Debug "$root/scripts/build.sh" "$root/build-asan" -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF
echo "== tests (address and undefined-behaviour sanitizers)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$jobs" --timeout 600)

# The job runner is where the worker and the UI thread share jobs and models;
# its tests, and those of the unit EE image that the worker's EE job and the
# user's edits share, run under ThreadSanitizer, in a build of just their
# programs.
echo "== build (thread sanitizer: job runner, EE image)"
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_TSAN=ON -DQUORVEL_BENCH=OFF >/dev/null
cmake --build "$root/build-tsan" --target test_jobs test_site --parallel "$jobs"
echo "== tests (thread sanitizer: job runner, EE image)"
export TSAN_OPTIONS="halt_on_error=1 suppressions=$root/scripts/tsan.supp"
"$root/build-tsan/tests/test_jobs" --gtest_brief=1
"$root/build-tsan/tests/test_site" --gtest_brief=1 --gtest_filter='EEBlockGuard.*'
