#!/usr/bin/env bash
# A bounded, repeatable fuzz run: fixed seed, fixed time, the kept corpus as seeds.
# Usage: fuzz/run_bounded.sh FUZZER [SECONDS [CORPUS DICT]] (default: the compile's
# corpus and keywords)
set -euo pipefail
fuzzer=$1
seconds=${2:-120}
here=$(cd "$(dirname "$0")" && pwd)
corpus=${3:-$here/corpus}
dict=${4:-$here/keywords.dict}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$corpus"/* "$work"/ 2>/dev/null || true
mkdir -p "$work/artifacts"
"$fuzzer" "$work" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -dict="$dict" -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" 2>&1 | grep -E '^(#[0-9]+.*DONE|Done|stat::|INFO: seed|==|SUMMARY|.*ERROR|.*crash|.*leak|.*timeout)' || true
if ls "$work"/artifacts/* >/dev/null 2>&1; then
    echo "fuzz run found a failing input:"
    for f in "$work"/artifacts/*; do echo "--- $f"; od -c "$f" | head -20; done
    exit 1
fi
