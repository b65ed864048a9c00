#!/usr/bin/env bash
# Neovim set up as docs/editors.md says, from the installed files: the file type comes
# from the package's ftdetect file (where Neovim looks for it: /usr/share/nvim/site, or
# ~/.local/share/nvim/site for an install under ~/.local), the language server from the
# page's init.lua. On a copy of the example line document with a mistake, Neovim must
# show its diagnostic, answer a hover, and format the document, through the page's own
# key, into what "scenario fmt" writes.
#
# Usage: check_neovim.sh EDITORS_MD   (the installed scenario first on PATH; HOME the
# author's, whose ~/.config is not read)
set -euo pipefail
editors_md=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/nvim"
bash "$here/editor_set_up.sh" "$editors_md" neovim >"$work/config/nvim/init.lua"

scenario example -o "$work/docs" >/dev/null 2>&1
doc="$work/docs/Vessana_Pralbo_linea.txt"
sed -i 's/^progressiva chilometrica uno,    24500,    35000/progressiva chilometrica uno, 24510,35000/' "$doc"
scenario fmt --stdout "$doc" >"$work/expected.txt"

XDG_CONFIG_HOME="$work/config" SCENARIO_OUT="$work/result.txt" \
    timeout 60 nvim --headless -n -i NONE -c "luafile $here/neovim_session.lua" "$doc" \
    </dev/null >/dev/null 2>&1 || true
if [ "$(cat "$work/result.txt" 2>/dev/null)" != "ok" ]; then
    echo "Neovim, set up as $1 says, found:"
    cat "$work/result.txt" 2>/dev/null || echo "(no result: Neovim did not finish)"
    exit 1
fi
if ! cmp "$doc" "$work/expected.txt"; then
    echo "the document formatted through Neovim is not what scenario fmt writes"
    diff <(od -c "$doc") <(od -c "$work/expected.txt") | head -20
    exit 1
fi
echo "Neovim: file type, diagnostics, hover and formatting as expected"
