#!/usr/bin/env bash
# Shared by the editor checks: prints the set-up block of docs/editors.md for an editor,
# the lines of the fenced block after "<!-- editor set-up: EDITOR -->".
#
# Usage: editor_set_up.sh EDITORS_MD EDITOR
set -euo pipefail
block=$(awk -v editor="$2" '
    $0 == "<!-- editor set-up: " editor " -->" { marked = 1; next }
    /^<!-- end of the editor set-up -->$/ { marked = 0 }
    marked && /^```/ { fence = !fence; next }
    marked && fence { print }
' "$1")
if [ -z "$block" ]; then
    echo "$1 has no set-up block for $2" >&2
    exit 1
fi
printf '%s\n' "$block"
