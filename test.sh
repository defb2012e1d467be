#!/usr/bin/env bash
# Installs what is needed, builds Zorv and runs every test: the whole program headless, then
# the Qt-free layers again under AddressSanitizer and UndefinedBehaviorSanitizer, then a short
# run of every parser fuzz target.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
ctest --test-dir build --output-on-failure -j"$jobs" | tee "$log"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORV_QT=OFF -DZORV_BENCH=OFF \
    -DZORV_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" | tee -a "$log"

# The parsers' fuzz targets (clang, libFuzzer) build and take a short seeded run each.
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORV_FUZZ=ON \
    -DZORV_QT=OFF -DZORV_TESTS=OFF -DZORV_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
for f in build-fuzz/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    "$f" -seed=1 -runs=20000 -max_total_time=60 >/dev/null 2>&1 || { echo "fuzz target $f failed"; exit 1; }
done
echo "fuzz targets: all ran clean"

# One closing line for both test runs.
total=$(grep -Eo 'tests failed out of [0-9]+' "$log" | awk '{s += $5} END {print s + 0}')
failed=$(grep -Eo '[0-9]+ tests failed' "$log" | awk '{s += $1} END {print s + 0}')
echo "tests: $((total - failed)) passed, $failed failed"
