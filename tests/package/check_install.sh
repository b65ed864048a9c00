#!/usr/bin/env bash
# "cmake --install" of a build into ~/.local of a fresh home, as an author without root
# does, then the author's tools from there: the layout, the version, "man" finding the
# pages beside the programs on PATH, bash-completion finding the completion in the
# user's folder, README's author walk, and the editors set up as docs/editors.md says
# (Neovim, Emacs with eglot: each when installed).
#
# Usage: check_install.sh BUILD_DIR README.md
set -euo pipefail
build=$(realpath "$1")
readme=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
HOME=$(mktemp -d)
export HOME
trap 'rm -rf "$HOME"' EXIT
prefix=$HOME/.local
cmake --install "$build" --prefix "$prefix" >"$HOME/install.log"
export PATH="$prefix/bin:$PATH"
unset MANPATH XDG_DATA_HOME XDG_CONFIG_HOME

bash "$here/check_layout.sh" "$prefix" <"$build/install_manifest.txt"
[ "$(command -v scenario)" = "$prefix/bin/scenario" ] || { echo "scenario is not the installed one"; exit 1; }
scenario --version
[ "$(man -w scenario-check)" = "$prefix/share/man/man1/scenario-check.1" ] ||
    { echo "man finds no scenario-check beside the programs on PATH"; exit 1; }
bash "$here/check_manual.sh" "$prefix/share/man"
bash "$here/check_completion.sh" && echo "bash completion: found in ~/.local, as expected"
bash "$(dirname "$here")/readme/run_author_walk.sh" "$readme" "$prefix/bin" >/dev/null 2>&1 ||
    { echo "README's author walk failed with $prefix/bin"; exit 1; }
echo "README's author walk: ran with $prefix/bin"
editors=$prefix/share/doc/scenario/docs/editors.md
if command -v nvim >/dev/null; then
    bash "$here/check_neovim.sh" "$editors"
else
    echo "Neovim not installed: its set-up is not checked"
fi
if command -v emacs >/dev/null &&
    emacs --batch --eval '(kill-emacs (progn (package-activate-all) (if (locate-library "eglot") 0 1)))' 2>/dev/null; then
    bash "$here/check_emacs.sh" "$editors"
else
    echo "Emacs with eglot not installed: its set-up is not checked"
fi
