#!/usr/bin/env bash
# Whole-process compile of generated scenarios against the I/O floor.
#
#   bench/compare_io_floor.sh [-n RUNS] [-m fresh|replace] [-f write|cp|cat] [LENGTH ...]
#
# For each route length (default 1000000) it generates the line and train documents,
# then runs, alternately, RUNS times each:
#   compile: `scenario compile LINE TRAIN -o DIR` (or bench's compile_files where the
#            tool is not built), writing the binary files into DIR;
#   floor:   bench's write_floor writing the same sizes into new files of the same names
#            from one reused 256 KiB buffer (-f write, the default: one static process
#            that writes what the compile writes and computes nothing); `cp` of the same
#            files into a folder beside them in DIR (-f cp; cp copies inside the kernel,
#            so it is no floor for bytes a program makes); or `cat` of each file into a
#            new file (-f cat: four processes).
# With -m fresh (default) both write new files (earlier outputs removed before each run);
# with -m replace both overwrite the files of the previous run. It prints the medians,
# the median of the per-pair ratios compile / floor, and the peak resident memory of the
# compile (GNU time) against the bytes written + 8 MiB.
# Binaries come from build/bench/bin (cmake --preset bench && cmake --build --preset bench)
# or from $SCENARIO_BENCH_BIN.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/bench/bin}
runs=11
mode=fresh
floor_tool=write
while getopts "n:m:f:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        m) mode=$OPTARG ;;
        f) floor_tool=$OPTARG ;;
        *) echo "usage: $0 [-n RUNS] [-m fresh|replace] [-f write|cp|cat] [LENGTH ...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- 1000000
[ -x /usr/bin/time ] || { echo "GNU time is missing (apt-get install time)" >&2; exit 2; }
# shellcheck source=bench/timing.sh
. "$here/timing.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/io_floor.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%-9s %10s %6s %10s %10s %8s %8s %9s %9s\n' length bytes runs compile_ms floor_ms \
    ratio ratio_md peak_MiB limit_MiB
for length in "$@"; do
    docs=$work/docs_$length
    out=$work/out_$length
    mkdir -p "$docs" "$out"
    mapfile -t names < <("$bin/make_scenario" "$length" "$docs")
    line=$docs/${names[0]}
    train=$docs/${names[1]}
    scenario_name=${names[0]%_linea.txt}
    train_name=${names[1]#"${scenario_name}_"}
    train_name=${train_name%-.txt}
    if [ -x "$bin/scenario" ]; then
        compile=("$bin/scenario" compile "$line" "$train" -o "$out")
    else
        compile=("$bin/compile_files" "$docs" "$scenario_name" "$train_name" "$out")
    fi
    "${compile[@]}" >/dev/null 2>&1 || { echo "the compile failed: ${compile[*]}" >&2; exit 1; }
    mapfile -t outputs < <(cd "$out" && ls)
    bytes=$(cd "$out" && cat -- "${outputs[@]}" | wc -c)
    reference=$work/reference_$length
    mkdir -p "$reference"
    (cd "$out" && cp -- "${outputs[@]}" "$reference/")
    if [ "$floor_tool" = write ]; then
        sizes=()
        for f in "${outputs[@]}"; do
            sizes+=("$f" "$(stat -c %s "$reference/$f")")
        done
        floor=("$bin/write_floor" "$out/copies" "${sizes[@]}")
    elif [ "$floor_tool" = cat ]; then
        floor=(bash -c 'dest=$1; shift; for f; do cat -- "$f" > "$dest/${f##*/}"; done' _
            "$out/copies" "${outputs[@]/#/$reference/}")
    else
        floor=("cp" "--" "${outputs[@]/#/$reference/}" "$out/copies/")
    fi
    mkdir -p "$out/copies"

    compile_times=() floor_times=() ratios=()
    for ((i = 0; i < runs; i++)); do
        if [ "$mode" = fresh ]; then
            (cd "$out" && rm -f -- "${outputs[@]}" && rm -f copies/*)
        fi
        if ((i % 2 == 0)); then
            c=$(time_us "${compile[@]}")
            f=$(time_us "${floor[@]}")
        else
            f=$(time_us "${floor[@]}")
            c=$(time_us "${compile[@]}")
        fi
        compile_times+=("$c") floor_times+=("$f")
        ratios+=("$(awk -v c="$c" -v f="$f" 'BEGIN { printf "%.4f", c / f }')")
    done
    peak=$(peak_kib "${compile[@]}")
    c_md=$(median "${compile_times[@]}")
    f_md=$(median "${floor_times[@]}")
    awk -v l="$length" -v b="$bytes" -v n="$runs" -v c="$c_md" -v f="$f_md" \
        -v r="$(median "${ratios[@]}")" -v p="$peak" 'BEGIN {
        printf "%-9s %10d %6d %10.2f %10.2f %8.3f %8.3f %9.1f %9.1f\n", l, b, n, c / 1000,
            f / 1000, r, c / f, p / 1024, b / 1048576 + 8 }'
done
echo "compile: ${compile[0]##*/}; floor: $floor_tool; mode: $mode; ratio = median of per-pair compile/floor;" \
    "ratio_md = ratio of the medians"
