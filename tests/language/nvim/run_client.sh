#!/usr/bin/env bash
# Neovim's built-in language client against "scenario lsp" on a copy of the example
# line document with two mistakes; after a quick fix mends one and the buffer is
# formatted, the document must be what the formatter makes of it with the other.
# Usage: run_client.sh SCENARIO FORMAT_HELPER
set -euo pipefail
scenario=$1
format=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$scenario" example -o "$work" >/dev/null 2>&1
doc="$work/Vessana_Pralbo_linea.txt"
sed -i 's/^progressiva chilometrica uno,    24500,    35000/progressiva chilometrica uno, 24510,35000/' "$doc"
"$format" line "$doc" >"$work/expected.txt"
# A misspelt keyword on line 11, which the client mends with the server's quick fix
# before it formats: the result is the layout of the document without it.
sed -i '11s/^curvas4,/curvs4,/' "$doc"
cp "$doc" "$work/before.txt"
SCENARIO_BIN=$scenario SCENARIO_DOC=$doc SCENARIO_OUT="$work/result.txt" \
    timeout 20 nvim --headless -n -u NONE -i NONE -c "luafile $here/client.lua" </dev/null >/dev/null 2>&1 || true
if [ "$(tr -d '\0' <"$work/result.txt" 2>/dev/null)" != "ok" ]; then
    echo "the Neovim client found:"
    tr '\0' '\n' <"$work/result.txt" 2>/dev/null || echo "(no result: Neovim did not finish)"
    exit 1
fi
if ! cmp "$doc" "$work/expected.txt"; then
    echo "the document formatted through Neovim is not what the formatter makes of it"
    diff "$doc" "$work/expected.txt" | head -20
    exit 1
fi
if cmp -s "$work/before.txt" "$doc"; then
    echo "the document is as it was: neither the quick fix nor the formatting reached it"
    exit 1
fi
echo "Neovim client: diagnostics, hover, outline and a quick fix as expected; the document was mended and formatted through it"
