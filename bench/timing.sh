# Helpers shared by the whole-process comparison scripts (sourced, not run).

# Wall time of one command in microseconds, its output discarded. Dirty pages of
# earlier runs are flushed first, outside the timed part, so every run starts alike.
time_us() {
    sync
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    local end=$EPOCHREALTIME
    echo $(( ${end/./} - ${start/./} ))
}

# Median of the numbers given as arguments.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Peak resident set size of one run, in KiB.
peak_kib() {
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}
