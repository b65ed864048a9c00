#!/usr/bin/env bash
# Emacs with eglot set up as docs/editors.md says, from the installed mode file
# (/usr/share/emacs/site-lisp, or ~/.local/share/emacs/site-lisp for an install under
# ~/.local). On a copy of the example line document with a mistake, Emacs must open it
# in scenario-mode as Windows-1252, start the server, show the diagnostic, answer a
# hover, and format the document into what "scenario fmt" writes.
#
# Usage: check_emacs.sh EDITORS_MD   (the installed scenario first on PATH; HOME the
# author's)
set -euo pipefail
editors_md=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/editor_set_up.sh" "$editors_md" emacs >"$work/init.el"

scenario example -o "$work/docs" >/dev/null 2>&1
doc="$work/docs/Vessana_Pralbo_linea.txt"
sed -i 's/^progressiva chilometrica uno,    24500,    35000/progressiva chilometrica uno, 24510,35000/' "$doc"
scenario fmt --stdout "$doc" >"$work/expected.txt"

# A batch Emacs reads no init file and activates no package: it does both here as an
# interactive start does (packages first: Debian's elpa-eglot is one).
if ! SCENARIO_DOC=$doc timeout 90 emacs --batch --eval '(package-activate-all)' \
        -l "$work/init.el" -l "$here/emacs_session.el" </dev/null >"$work/log.txt" 2>&1; then
    echo "Emacs, set up as $1 says, found:"
    grep -v '^Loading\|^\[eglot\]' "$work/log.txt" | tail -20
    exit 1
fi
if ! cmp "$doc" "$work/expected.txt"; then
    echo "the document formatted through Emacs is not what scenario fmt writes"
    diff <(od -c "$doc") <(od -c "$work/expected.txt") | head -20
    exit 1
fi
echo "Emacs: mode, encoding, diagnostics, hover and formatting as expected"
