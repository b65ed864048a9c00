#!/usr/bin/env bash
# Whole-process `scenario dump` of a generated route's line plan file, against `od` on the
# same file and, when given, an earlier build of the tool.
#
#   bench/compare_dump.sh [-n RUNS] [-b OLD_SCENARIO] [LENGTH ...]
#
# For each route length (default 1000000) it generates the documents, compiles them and
# then runs, in turn, RUNS times each (output thrown away):
#   dump:  `scenario dump PLAN` (the table of every point);
#   od:    `od -A d -t x1 PLAN`, the yardstick: the same file printed byte by byte;
#   old:   `OLD_SCENARIO dump PLAN`, with -b.
# It prints the medians, the median of the per-round ratios dump / od (and old / od),
# the peak resident memory of each dump (GNU time), and the time of
# `scenario dump PLAN | head -3`, which should end at once.
# Binaries come from build/bench/bin (cmake --preset bench && cmake --build --preset bench)
# or from $SCENARIO_BENCH_BIN.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/bench/bin}
runs=11
old=
while getopts "n:b:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        b) old=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] [-b OLD_SCENARIO] [LENGTH ...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- 1000000
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }
# shellcheck source=bench/timing.sh
. "$here/timing.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/dump_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }

printf '%-9s %10s %5s %9s %9s %9s %7s %7s %9s %9s %8s\n' length bytes runs dump_ms od_ms \
    old_ms dump/od old/od dump_MiB old_MiB head_ms
for length in "$@"; do
    docs=$work/docs_$length
    out=$work/out_$length
    mkdir -p "$docs" "$out"
    mapfile -t names < <("$bin/make_scenario" "$length" "$docs")
    "$bin/scenario" compile "$docs/${names[0]}" "$docs/${names[1]}" -o "$out" >/dev/null 2>&1 ||
        { echo "the compile failed" >&2; exit 1; }
    plan=$out/${names[0]%.txt}.dat
    bytes=$(wc -c < "$plan")
    dump=("$bin/scenario" dump "$plan")
    od_cmd=(od -A d -t x1 "$plan")

    dump_times=() od_times=() old_times=() dump_ratios=() old_ratios=()
    for ((i = 0; i < runs; i++)); do
        d=$(time_us "${dump[@]}")
        o=$(time_us "${od_cmd[@]}")
        dump_times+=("$d") od_times+=("$o") dump_ratios+=("$(ratio "$d" "$o")")
        if [ -n "$old" ]; then
            b=$(time_us "$old" dump "$plan")
            old_times+=("$b") old_ratios+=("$(ratio "$b" "$o")")
        fi
    done
    dump_peak=$(peak_kib "${dump[@]}")
    old_md=- old_ratio=- old_peak=-
    if [ -n "$old" ]; then
        old_md=$(awk -v v="$(median "${old_times[@]}")" 'BEGIN { printf "%.1f", v / 1000 }')
        old_ratio=$(median "${old_ratios[@]}")
        old_peak=$(awk -v k="$(peak_kib "$old" dump "$plan")" 'BEGIN { printf "%.1f", k / 1024 }')
    fi
    start=$EPOCHREALTIME
    # The dump ends on the closed pipe (SIGPIPE): that is the point, not a failure.
    { "${dump[@]}" || true; } | head -3 >/dev/null
    end=$EPOCHREALTIME
    head_ms=$(awk -v us=$(( ${end/./} - ${start/./} )) 'BEGIN { printf "%.1f", us / 1000 }')
    awk -v l="$length" -v b="$bytes" -v n="$runs" -v d="$(median "${dump_times[@]}")" \
        -v o="$(median "${od_times[@]}")" -v om="$old_md" -v r="$(median "${dump_ratios[@]}")" \
        -v orr="$old_ratio" -v p="$dump_peak" -v op="$old_peak" -v h="$head_ms" 'BEGIN {
        printf "%-9s %10d %5d %9.1f %9.1f %9s %7.3f %7s %9.1f %9s %8s\n", l, b, n, d / 1000,
            o / 1000, om, r, orr, p / 1024, op, h }'
done
echo "times are medians; dump/od and old/od are medians of the per-round ratios; MiB is the peak" \
    "resident memory; head_ms is one run of \`scenario dump PLAN | head -3\`"
