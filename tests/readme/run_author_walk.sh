#!/usr/bin/env bash
# Runs README's author walk as it stands: the shell block after the line
# "<!-- author walk: ..." and before "<!-- end of the author walk -->", in a fresh
# empty folder, with the built tool first on the PATH. Every command must succeed.
#
# Usage: tests/readme/run_author_walk.sh README.md BIN_DIR
set -euo pipefail

if [ "$#" -ne 2 ]; then
    echo "usage: $0 README.md BIN_DIR" >&2
    exit 2
fi
readme=$(realpath "$1")
bin=$(realpath "$2")
[ -x "$bin/scenario" ] || { echo "no scenario program in $bin" >&2; exit 1; }

walk=$(awk '
    /^<!-- author walk:/ { marked = 1; next }
    /^<!-- end of the author walk -->$/ { marked = 0 }
    marked && /^```/ { fence = !fence; next }
    marked && fence { print }
' "$readme")
if [ -z "$walk" ]; then
    echo "README has no author walk between its markers" >&2
    exit 1
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
PATH="$bin:$PATH" bash -euxo pipefail -c "$walk"
