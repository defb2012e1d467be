#!/usr/bin/env bash
# Times reading the generated 50 MB drawing as whole processes, side by side in one run:
# `zvdump --dxf` against the peer reader dxflib (bench_dxflib --read, empty callbacks),
# alternating, and prints the median of each and their ratio.
# usage: bench/dxf_process.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
build=${1:-build}
rounds=${2:-9}
zvdump=$build/zvdump
peer=$build/bench/bench_dxflib
[[ -x $zvdump && -x $build/bench/bench_dxf ]] || { echo "build zvdump and bench_dxf first" >&2; exit 2; }
[[ -x $peer ]] || { echo "bench_dxflib is not built (libdxflib-dev missing?)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drawing=$work/drawing.dxf
"$build/bench/bench_dxf" --write "$drawing"
# One untimed round of each puts the file in the page cache and the programs in memory.
"$zvdump" --dxf "$drawing" > /dev/null
"$peer" --read "$drawing"

seconds() { # the wall time of one run of the command, in seconds
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.4f\n", ns / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for ((i = 0; i < rounds; i++)); do
    seconds "$zvdump" --dxf "$drawing" >> "$work/zvdump"
    seconds "$peer" --read "$drawing" >> "$work/dxflib"
done
awk -v z="$(median < "$work/zvdump")" -v d="$(median < "$work/dxflib")" \
    -v mb="$(stat -c %s "$drawing")" -v n="$rounds" 'BEGIN {
    mb /= 1048576
    printf "drawing: %.1f MB, %d rounds each, medians:\n", mb, n
    printf "zvdump --dxf: %.3f s (%.0f MB/s)\n", z, mb / z
    printf "dxflib:       %.3f s (%.0f MB/s)\n", d, mb / d
    printf "zvdump is %.2f times as fast\n", d / z
}'
