#!/usr/bin/env bash
# The live server from a save to the new result, and its peak memory:
#
#   bench/live_latency.sh [-n ROUNDS] [LENGTH ...]
#
# For the built-in example and each route length given (default 1000000, made by
# make_scenario) it starts `scenario serve`, saves the train document ROUNDS times with
# live_latency (save to event, save to /result read whole), prints the server's peak
# resident memory (VmHWM) and ends it with SIGTERM.
# Binaries come from build/default/bin or from $SCENARIO_BENCH_BIN.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${SCENARIO_BENCH_BIN:-$here/../build/default/bin}
rounds=20
while getopts "n:" opt; do
    case $opt in
        n) rounds=$OPTARG ;;
        *) echo "usage: $0 [-n ROUNDS] [LENGTH ...]" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- 1000000

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

serve_and_save() {  # LINE TRAIN
    local out=$work/serve.out
    "$bin/scenario" serve "$1" "$2" >"$out" 2>/dev/null &
    local pid=$!
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.05
    done
    local port
    port=$(head -n 1 "$out" | sed 's#.*:\([0-9]*\)/#\1#')
    "$bin/live_latency" "$port" "$2" "$rounds"
    awk '/VmHWM/ { printf "server peak memory     %d KiB\n", $2 }' "/proc/$pid/status"
    kill -TERM "$pid"
    wait "$pid"
}

echo "== example"
mkdir -p "$work/ex"
"$bin/scenario" example -o "$work/ex" 2>/dev/null
serve_and_save "$work/ex/Vessana_Pralbo_linea.txt" "$work/ex/Vessana_Pralbo_5 bis-.txt"

for length in "$@"; do
    echo "== route of $length m"
    mkdir -p "$work/$length"
    mapfile -t names < <("$bin/make_scenario" "$length" "$work/$length")
    serve_and_save "$work/$length/${names[0]}" "$work/$length/${names[1]}"
done
