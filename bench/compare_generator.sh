#!/usr/bin/env bash
# The generator's whole run on the built-in scenario against copying its six output files.
#
#   bench/compare_generator.sh [-n RUNS]
#
# genera_scenario is copied into a fresh folder and run there (it writes into its own
# folder); the floor is one `cp` of the six files it leaves into a new folder beside them.
# Runs alternate; before each, the outputs of the previous run are removed. Prints the
# medians and the median of the per-pair ratios.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/bench/bin}
runs=11
while getopts "n:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS]" >&2; exit 2 ;;
    esac
done
# shellcheck source=bench/timing.sh
. "$here/timing.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/generator_floor.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run" "$work/reference" "$work/copies"
cp "$bin/genera_scenario" "$work/run/"
"$work/run/genera_scenario" 2>/dev/null
mapfile -t outputs < <(cd "$work/run" && ls | grep -v '^genera_scenario$')
(cd "$work/run" && cp -- "${outputs[@]}" "$work/reference/")
bytes=$(cd "$work/reference" && cat -- "${outputs[@]}" | wc -c)
floor=("cp" "--" "${outputs[@]/#/$work/reference/}" "$work/copies/")

generator_times=() floor_times=() ratios=()
for ((i = 0; i < runs; i++)); do
    (cd "$work/run" && rm -f -- "${outputs[@]}") && rm -f "$work/copies/"*
    if ((i % 2 == 0)); then
        g=$(time_us "$work/run/genera_scenario")
        f=$(time_us "${floor[@]}")
    else
        f=$(time_us "${floor[@]}")
        g=$(time_us "$work/run/genera_scenario")
    fi
    generator_times+=("$g") floor_times+=("$f")
    ratios+=("$(awk -v g="$g" -v f="$f" 'BEGIN { printf "%.4f", g / f }')")
done
printf 'files %d, bytes %d, runs %d\n' "${#outputs[@]}" "$bytes" "$runs"
awk -v g="$(median "${generator_times[@]}")" -v f="$(median "${floor_times[@]}")" \
    -v r="$(median "${ratios[@]}")" 'BEGIN {
    printf "generator %.2f ms, cp %.2f ms, ratio %.3f (median of pairs), %.3f (of medians)\n",
        g / 1000, f / 1000, r, g / f }'
