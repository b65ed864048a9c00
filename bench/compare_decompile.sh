#!/usr/bin/env bash
# Whole-process `scenario decompile` and `scenario diff` of generated routes, timed from
# outside by farm-bench against the yardsticks their targets name.
#
#   bench/compare_decompile.sh [-n RUNS] [LENGTH ...]
#
# For each route length (default 1000000) it generates the documents, compiles them, and
# makes a second pair of documents with one signal moved by 50 m. Then, RUNS times each
# in turn (farm-bench pairs the runs and takes the ratio pair by pair):
#   decompile:  `scenario decompile DIR -o OUT --force` of the compiled files, against
#               `scenario compile LINE TRAIN -o DIR` of the same route (target: 3 x);
#   diff:       `scenario diff` of the two pairs of documents, against compiling both
#               pairs one after the other (target: 2 x).
# It prints farm-bench's medians (wall and processor time, and their ratios), and the
# peak resident memory of one decompile from GNU time beside its limit, twice the plan
# file's size plus 16 MiB. Without farm-bench the runs are timed here (wall time only:
# processor time "-").
# Binaries come from build/bench/bin (cmake --preset bench && cmake --build --preset bench)
# or from $SCENARIO_BENCH_BIN.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/bench/bin}
runs=11
while getopts "n:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] [LENGTH ...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- 1000000
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }
# shellcheck source=bench/timing.sh
. "$here/timing.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/decompile_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
scenario=$bin/scenario

# The medians of a farm-bench report: "wall cpu wall_ratio cpu_ratio".
medians() {
    awk '$1 == "A" && $2 == "wall" { aw = $5 } $1 == "A" && $2 == "cpu" { ac = $5 }
         $1 == "A/B" && $2 == "wall" { rw = $4 } $1 == "A/B" && $2 == "cpu" { rc = $4 }
         END { print aw * 1000, ac * 1000, rw, rc }'
}

# Runs command A (the arguments) and B (a string for sh) in turn, RUNS times each, and
# prints "wall cpu wall_ratio cpu_ratio" in milliseconds (the processor times "-" without
# farm-bench). A must end with status 0.
compare() {
    local b=$1
    shift
    if command -v farm-bench >/dev/null; then
        local report
        report=$(farm-bench -n "$runs" --vs "$b" -- "$@" 2>&1)
        grep -q '^A exit 0' <<<"$report" || { echo "failed: $*" >&2; return 1; }
        medians <<<"$report"
        return
    fi
    local as=() ratios=() a_us b_us
    for ((i = 0; i < runs; i++)); do
        a_us=$(time_us "$@")
        b_us=$(time_us sh -c "$b")
        as+=("$a_us")
        ratios+=("$(awk -v a="$a_us" -v b="$b_us" 'BEGIN { printf "%.4f", a / b }')")
    done
    awk -v a="$(median "${as[@]}")" -v r="$(median "${ratios[@]}")" 'BEGIN { print a / 1000, "-", r, "-" }'
}

printf '%-9s %10s %5s %-9s %9s %9s %8s %8s %9s %9s\n' length plan_bytes runs command wall_ms \
    cpu_ms wall_x cpu_x peak_MiB limit_MiB
for length in "$@"; do
    docs=$work/docs_$length
    moved=$work/moved_$length
    out=$work/out_$length
    mkdir -p "$docs" "$moved" "$out"
    mapfile -t names < <("$bin/make_scenario" "$length" "$docs")
    line=$docs/${names[0]}
    train=$docs/${names[1]}
    "$scenario" compile "$line" "$train" -o "$out" >/dev/null 2>&1 ||
        { echo "the compile failed" >&2; exit 1; }
    plan=$out/${names[0]%.txt}.dat
    bytes=$(wc -c < "$plan")
    # The same documents with the tenth signal 50 m further back.
    cp "$line" "$moved/"
    awk '/^segnale,/ && ++n == 10 { sub(/,[ ]*[0-9]+,/, sprintf(", %d,", $2 - 50)) } { print }' \
        FS=',' "$train" > "$moved/${names[1]}"
    cmp -s "$train" "$moved/${names[1]}" && { echo "no signal was moved" >&2; exit 1; }

    read -r wall cpu wall_x cpu_x <<<"$(compare \
        "$(printf '%q compile %q %q -o %q' "$scenario" "$line" "$train" "$work/scratch")" \
        "$scenario" decompile "$out" -o "$work/decompiled" --force)"
    peak=$(peak_kib "$scenario" decompile "$out" -o "$work/decompiled" --force)
    awk -v l="$length" -v b="$bytes" -v n="$runs" -v w="$wall" -v c="$cpu" -v rw="$wall_x" \
        -v rc="$cpu_x" -v p="$peak" 'BEGIN {
        printf "%-9s %10d %5d %-9s %9.1f %9s %8.3f %8s %9.1f %9.1f\n", l, b, n, "decompile",
               w, c, rw, rc, p / 1024, 2 * b / 1048576 + 16 }'

    both=$(printf '%q compile %q %q -o %q 2>/dev/null && %q compile %q %q -o %q 2>/dev/null' \
        "$scenario" "$line" "$train" "$work/a" \
        "$scenario" "$moved/${names[0]}" "$moved/${names[1]}" "$work/b")
    # diff ends with status 1 (they differ): the shell turns that into success.
    read -r wall cpu wall_x cpu_x <<<"$(compare "sh -c $(printf '%q' "$both")" sh -c \
        "$(printf '%q diff %q %q %q %q' "$scenario" "$line" "$train" "$moved/${names[0]}" "$moved/${names[1]}") >/dev/null; test \$? -eq 1")"
    awk -v l="$length" -v b="$bytes" -v n="$runs" -v w="$wall" -v c="$cpu" -v rw="$wall_x" \
        -v rc="$cpu_x" 'BEGIN {
        printf "%-9s %10d %5d %-9s %9.1f %9s %8.3f %8s %9s %9s\n", l, b, n, "diff", w, c,
               rw, rc, "-", "-" }'
done
