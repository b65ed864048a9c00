#!/usr/bin/env bash
# eglot, Emacs's language client, in batch against "scenario lsp" on a copy of the example
# line document with a mistake and LF line ends: the diagnostics arrive, hover answers,
# and the buffer formatted and saved keeps LF line ends, is what the formatter makes of
# the document (with LF line ends) and compiles to the same files as the document before.
# Usage: run_client.sh SCENARIO FORMAT_HELPER
set -euo pipefail
scenario=$1
format=$2
here=$(cd "$(dirname "$0")" && pwd)
# Without Debian's eglot (elpa-eglot) there is no client to drive: skipped (77).
if [ ! -d /usr/share/emacs/site-lisp/elpa ] || ! ls -d /usr/share/emacs/site-lisp/elpa/eglot-* >/dev/null 2>&1; then
    echo "elpa-eglot is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$scenario" example -o "$work" >/dev/null 2>&1
doc="$work/Vessana_Pralbo_linea.txt"
train="$work/Vessana_Pralbo_5 bis-.txt"
sed -i 's/^progressiva chilometrica uno,    24500,    35000/progressiva chilometrica uno, 24510,35000/; s/\r$//' "$doc"
"$format" line "$doc" | sed 's/\r$//' >"$work/expected.txt"
cp "$doc" "$work/before.txt"
SCENARIO_BIN=$scenario SCENARIO_DOC=$doc SCENARIO_OUT="$work/result.txt" \
    timeout 40 emacs --batch -Q -l "$here/client.el" </dev/null >"$work/emacs.log" 2>&1 || true
if [ "$(cat "$work/result.txt" 2>/dev/null)" != "ok" ]; then
    echo "the eglot client found:"
    cat "$work/result.txt" 2>/dev/null || { echo "(no result: Emacs did not finish)"; tail -20 "$work/emacs.log"; }
    exit 1
fi
if grep -q $'\r' "$doc"; then
    echo "the document saved through Emacs holds a CR: its LF line ends were not kept"
    exit 1
fi
if ! cmp "$doc" "$work/expected.txt"; then
    echo "the document formatted through Emacs is not what the formatter makes of it"
    diff "$work/expected.txt" "$doc" | head -20
    exit 1
fi
if cmp -s "$work/before.txt" "$doc"; then
    echo "the formatting left the document as it was"
    exit 1
fi
mkdir "$work/before" "$work/after"
cp "$work/before.txt" "$work/before/Vessana_Pralbo_linea.txt"
cp "$doc" "$work/after/Vessana_Pralbo_linea.txt"
for side in before after; do
    cp "$train" "$work/$side/"
    "$scenario" compile "$work/$side/Vessana_Pralbo_linea.txt" "$work/$side/Vessana_Pralbo_5 bis-.txt" \
        -o "$work/$side/out" >/dev/null 2>&1 || true
done
if ! diff -r "$work/before/out" "$work/after/out" >/dev/null || [ -z "$(ls "$work/after/out")" ]; then
    echo "the document saved through Emacs does not compile to the same files"
    exit 1
fi
echo "eglot client: diagnostics, hover as expected; the LF document formatted through it keeps LF line ends and compiles the same"
