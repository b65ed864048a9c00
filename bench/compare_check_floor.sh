#!/usr/bin/env bash
# Whole-process check of generated scenarios against its floor.
#
#   bench/compare_check_floor.sh [-n RUNS] [LENGTH ...]
#
# For each route length (default 1000000) it generates the line and train documents,
# then runs, alternately, RUNS times each:
#   check: `scenario check LINE TRAIN` (every warning on, as by default), writing nothing;
#   floor: bench's read_floor reading the same two documents whole, computing nothing.
# It prints the medians, the median of the per-pair ratios check / floor, and the check's
# peak resident memory (GNU time).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/bench/bin}
runs=21
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

work=$(mktemp -d "${TMPDIR:-/tmp}/check_floor.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%-9s %6s %9s %9s %8s %9s\n' length runs check_ms floor_ms ratio peak_MiB
for length in "$@"; do
    docs=$work/docs_$length
    mkdir -p "$docs"
    mapfile -t names < <("$bin/make_scenario" "$length" "$docs")
    check=("$bin/scenario" check "$docs/${names[0]}" "$docs/${names[1]}")
    floor=("$bin/read_floor" "$docs/${names[0]}" "$docs/${names[1]}")
    "${check[@]}" >/dev/null 2>&1 || { echo "the check failed: ${check[*]}" >&2; exit 1; }
    check_times=() floor_times=() ratios=()
    for ((i = 0; i < runs; i++)); do
        if ((i % 2 == 0)); then
            c=$(time_us "${check[@]}")
            f=$(time_us "${floor[@]}")
        else
            f=$(time_us "${floor[@]}")
            c=$(time_us "${check[@]}")
        fi
        check_times+=("$c") floor_times+=("$f")
        ratios+=("$(awk -v c="$c" -v f="$f" 'BEGIN { printf "%.4f", c / f }')")
    done
    awk -v l="$length" -v n="$runs" -v c="$(median "${check_times[@]}")" \
        -v f="$(median "${floor_times[@]}")" -v r="$(median "${ratios[@]}")" \
        -v p="$(peak_kib "${check[@]}")" 'BEGIN {
        printf "%-9s %6d %9.2f %9.2f %8.3f %9.1f\n", l, n, c / 1000, f / 1000, r, p / 1024 }'
done
echo "ratio = median of the per-pair ratios check / floor"
