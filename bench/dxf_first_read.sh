#!/usr/bin/env bash
# Times the first read of a drawing in a fresh process, as a user starts one, for two builds of
# zvdump in one run: every `zvdump --dxf` follows an idle pause, the builds take turns, on
# generated drawings of about 5, 50 and 200 MB. dxflib (bench_dxflib --read) reads the same
# drawings, and where python3 is at hand the old build runs once more with transparent huge
# pages off for its process. Prints medians of wall, user and system time and their ratios.
# usage: bench/dxf_first_read.sh OLD_ZVDUMP NEW_ZVDUMP [BUILD_DIR] [ROUNDS]
#        (environment: PAUSE seconds before each run, default 3; SIZES in MB, default "5 50 200")
set -euo pipefail
[[ $# -ge 2 ]] || { echo "usage: $0 OLD_ZVDUMP NEW_ZVDUMP [BUILD_DIR] [ROUNDS]" >&2; exit 2; }
old=$1
new=$2
build=${3:-build}
rounds=${4:-7}
pause=${PAUSE:-3}
sizes=${SIZES:-5 50 200}
writer=$build/bench/bench_dxf
peer=$build/bench/bench_dxflib
[[ -x $old && -x $new ]] || { echo "both zvdump builds must be programs" >&2; exit 2; }
[[ -x $writer ]] || { echo "build bench_dxf first" >&2; exit 2; }
[[ -x $peer ]] || { echo "bench_dxflib is not built (libdxflib-dev missing?)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the rest of its arguments with transparent huge pages off for the process and its
# children (the setting is kept across exec).
thp_off=(python3 -c 'import ctypes, os, sys
if ctypes.CDLL(None).prctl(41, 1, 0, 0, 0) != 0:  # PR_SET_THP_DISABLE
    sys.exit("prctl(PR_SET_THP_DISABLE) failed")
os.execvp(sys.argv[1], sys.argv[1:])')
reference=0
if command -v python3 > /dev/null &&
    "${thp_off[@]}" grep -q '^THP_enabled:[[:space:]]*0' /proc/self/status 2> /dev/null; then
    reference=1
fi

load() { cut -d' ' -f1 /proc/loadavg; }
# Appends "wall user sys load" of one run of the command, after the pause, to the file $1.
timed() {
    local out=$1 TIMEFORMAT='%3R %3U %3S'
    shift
    sleep "$pause"
    local before
    before=$(load)
    { time "$@" > /dev/null 2> "$work/err"; } 2> "$work/time" ||
        { echo "failed: $* ($(cat "$work/err"))" >&2; exit 1; }
    echo "$(cat "$work/time") $before" >> "$out"
}
# As timed, with transparent huge pages off; the inner shell's start is not timed.
timed_thp_off() {
    local out=$1
    shift
    sleep "$pause"
    local before
    before=$(load)
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    "${thp_off[@]}" bash -c 'TIMEFORMAT="%3R %3U %3S"; { time "$@" > /dev/null 2> "$0.err"; } 2> "$0"' \
        "$work/time" "$@" || { echo "failed: $* ($(cat "$work/time.err"))" >&2; exit 1; }
    echo "$(cat "$work/time") $before" >> "$out"
}
# The median of column $2 of file $1.
median() { awk -v c="$2" '{ print $c }' "$1" | sort -g | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# One line of the table: name, then median wall (lowest-highest), user and system time.
row() {
    local name=$1 file=$2 mb=$3
    awk -v name="$name" -v mb="$mb" -v w="$(median "$file" 1)" -v u="$(median "$file" 2)" \
        -v s="$(median "$file" 3)" '
        NR == 1 || $1 < lo { lo = $1 } NR == 1 || $1 > hi { hi = $1 }
        END { printf "  %-12s %7.3f (%.3f-%.3f) %7.3f %7.3f %8.0f\n", name, w, lo, hi, u, s, mb / w }' \
        "$file"
}
# The ratio of the medians of two files in each column, and the lowest and highest ratio of
# the runs paired by round in wall time.
ratio() {
    local name=$1 a=$2 b=$3
    local wr ur sr
    wr=$(awk -v x="$(median "$a" 1)" -v y="$(median "$b" 1)" 'BEGIN { printf "%.2f", x / y }')
    ur=$(awk -v x="$(median "$a" 2)" -v y="$(median "$b" 2)" 'BEGIN { printf "%.2f", x / y }')
    sr=$(awk -v x="$(median "$a" 3)" -v y="$(median "$b" 3)" 'BEGIN { printf "%.2f", (y > 0 ? x / y : 0) }')
    paste -d' ' "$a" "$b" | awk -v name="$name" -v wr="$wr" -v ur="$ur" -v sr="$sr" '
        { r = $1 / $5 } NR == 1 || r < lo { lo = r } NR == 1 || r > hi { hi = r }
        END { printf "  %-12s wall %s (pairs %.2f-%.2f), user %s, sys %s\n", name, wr, lo, hi, ur, sr }'
}

echo "old: $old"
echo "new: $new"
echo "transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2> /dev/null ||
    echo unknown), defrag: $(cat /sys/kernel/mm/transparent_hugepage/defrag 2> /dev/null ||
    echo unknown)"
echo "$rounds rounds, a pause of $pause s before each run, load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for mb in $sizes; do
    drawing=$work/drawing-$mb.dxf
    "$writer" --write "$drawing" "$mb"
    sync
    # One untimed round of each puts the file in the page cache and the programs in memory; the
    # two builds must tell the same of the drawing.
    "$old" --dxf "$drawing" > "$work/old.out"
    "$new" --dxf "$drawing" > "$work/new.out"
    cmp -s "$work/old.out" "$work/new.out" || { echo "old and new differ on $mb MB" >&2; exit 1; }
    "$peer" --read "$drawing"
    rm -f "$work"/*.runs
    for ((i = 0; i < rounds; i++)); do
        # The builds take turns at going first.
        if ((i % 2 == 0)); then
            timed "$work/old.runs" "$old" --dxf "$drawing"
            timed "$work/new.runs" "$new" --dxf "$drawing"
        else
            timed "$work/new.runs" "$new" --dxf "$drawing"
            timed "$work/old.runs" "$old" --dxf "$drawing"
        fi
        if ((reference)); then
            timed_thp_off "$work/nothp.runs" "$old" --dxf "$drawing"
        fi
        timed "$work/dxflib.runs" "$peer" --read "$drawing"
    done
    size=$(awk -v b="$(stat -c %s "$drawing")" 'BEGIN { printf "%.1f", b / 1048576 }')
    echo
    echo "drawing of $size MB, 1-min load before the runs: $(cat "$work"/*.runs | awk '
        NR == 1 || $4 < lo { lo = $4 } NR == 1 || $4 > hi { hi = $4 } END { print lo "-" hi }')"
    echo "  median of $rounds runs: wall s (lowest-highest)   user s   sys s     MB/s"
    row "old" "$work/old.runs" "$size"
    row "new" "$work/new.runs" "$size"
    if ((reference)); then
        row "old, THP off" "$work/nothp.runs" "$size"
    fi
    row "dxflib" "$work/dxflib.runs" "$size"
    ratio "old/new" "$work/old.runs" "$work/new.runs"
    if ((reference)); then
        ratio "new/THP off" "$work/new.runs" "$work/nothp.runs"
    fi
    ratio "dxflib/new" "$work/dxflib.runs" "$work/new.runs"
    rm -f "$drawing"
done
