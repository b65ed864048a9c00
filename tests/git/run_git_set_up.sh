#!/usr/bin/env bash
# Runs README's git set-up as it stands (the shell block after the line
# "<!-- git set-up: ..." and before "<!-- end of the git set-up -->") in a new
# repository holding the built-in scenario's documents and compiled files, commits a
# change of one speed row, and checks what git then shows: the grid's changed rows
# through the textconv, the change through the alias for the compiled files and for the
# documents, and nothing between a commit and itself.
#
# Usage: tests/git/run_git_set_up.sh README.md BIN_DIR
set -euo pipefail

if [ "$#" -ne 2 ]; then
    echo "usage: $0 README.md BIN_DIR" >&2
    exit 2
fi
readme=$(realpath "$1")
bin=$(realpath "$2")
[ -x "$bin/scenario" ] || { echo "no scenario program in $bin" >&2; exit 1; }

set_up=$(awk '
    /^<!-- git set-up:/ { marked = 1; next }
    /^<!-- end of the git set-up -->$/ { marked = 0 }
    marked && /^```/ { fence = !fence; next }
    marked && fence { print }
' "$readme")
if [ -z "$set_up" ]; then
    echo "README has no git set-up between its markers" >&2
    exit 1
fi

repo=$(mktemp -d)
trap 'rm -rf "$repo"' EXIT
cd "$repo"
export PATH="$bin:$PATH"
fail() { echo "git set-up: $*" >&2; exit 1; }

git init -q
git config user.name "Scenario Test"
git config user.email "scenario-test@localhost"
train="work/Vessana_Pralbo_5 bis-.txt"
scenario example -o work 2>/dev/null
scenario compile work/Vessana_Pralbo_linea.txt "$train" -o out 2>/dev/null
bash -euo pipefail -c "$set_up"
git add -A
git commit -qm "the built-in scenario"
sed -i 's/^velocita,   15000,   130/velocita,   15000,   120/' "$train"
scenario compile work/Vessana_Pralbo_linea.txt "$train" -o out 2>/dev/null
git add -A
git commit -qm "120 km/h from 15,000 m"

# The grid through the textconv: text rows, the cells from 15,000 m at 120 km/h (vel_limite
# 24) where they were at 130 (26); cell 319 holds a station's approach marker.
grid_diff=$(git diff HEAD~1 HEAD -- "out/Vessana_Pralbo_5 bis.dat")
grep -q '^Binary files' <<<"$grid_diff" && fail "the grid file shows as binary"
grep -Eq '^-  319   15950 .* 26        130 ' <<<"$grid_diff" || fail "no row of cell 319 at 130 km/h: $grid_diff"
grep -Eq '^\+  319   15950 .* 24        120 ' <<<"$grid_diff" || fail "no row of cell 319 at 120 km/h"
grep -q '^[-+]# ' <<<"$grid_diff" && fail "the dump's title line shows"

# The alias: the same change for the compiled files and for the documents, status 1.
expected="speed limit from 15,000 m: 130 -> 120 km/h"
for folder in out work; do
    status=0
    said=$(git scenario-diff HEAD~1 HEAD "$folder") || status=$?
    [ "$status" -eq 1 ] || fail "scenario-diff of $folder: status $status, not 1"
    [ "$said" = "$expected" ] || fail "scenario-diff of $folder said: $said"
done
said=$(git scenario-diff HEAD HEAD out) || fail "a commit against itself differs: $said"
[ -z "$said" ] || fail "a commit against itself: $said"
echo "git set-up: textconv and scenario-diff as README says"
