#!/usr/bin/env bash
# The .deb as an author meets it on a Debian 12 machine (run as root, scenario not
# installed): "dpkg -i", then the tool from any folder, "man scenario-check", the
# completion found by bash-completion, README's author walk with the installed programs,
# the editors set up as docs/editors.md says from the installed files, and "dpkg -r",
# which must leave none of the files the package installed.
#
# Usage: check_deb.sh DEB README.md
set -euo pipefail
deb=$(realpath "$1")
readme=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if dpkg-query -W -f='${Status}' scenario 2>/dev/null | grep -q "install ok installed"; then
    echo "scenario is installed on this machine already: remove it first"
    exit 1
fi
# A machine whose dpkg leaves out documentation (as slimmed container images do) would
# leave out the manual pages too.
if grep -rhsE '^path-exclude.*/usr/share/(man|doc)' /etc/dpkg/dpkg.cfg.d/; then
    echo "dpkg on this machine leaves out /usr/share/man or /usr/share/doc (above): the package cannot be checked here"
    exit 1
fi
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "$(basename "$deb"): version $version, depends on: ${depends:-nothing}"
dpkg -i "$deb" >/dev/null
trap 'dpkg -r scenario >/dev/null 2>&1 || true' EXIT
installed=$(dpkg -L scenario)

bash "$here/check_layout.sh" /usr <<<"$installed"
[ "$(command -v scenario)" = /usr/bin/scenario ] || { echo "scenario is not /usr/bin/scenario"; exit 1; }
scenario --version | grep -q "^scenario $version\( (git .*)\)\?$" ||
    { echo "scenario --version says \"$(scenario --version)\", the package $version"; exit 1; }
anywhere=$(mktemp -d)
(cd "$anywhere" && scenario example -o w >/dev/null 2>&1 && scenario check w/*_linea.txt w/*-.txt 2>/dev/null) ||
    { echo "scenario example and check failed in $anywhere"; exit 1; }
rm -rf "$anywhere"
echo "scenario example -o w && scenario check w/*_linea.txt w/*-.txt: works in any folder"
for page in scenario scenario-check; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1" ] ||
        { echo "man finds no /usr/share/man/man1/$page.1"; exit 1; }
done
MANWIDTH=80 man scenario-check 2>/dev/null | grep -q "scenario check LINE TRAIN" ||
    { echo "man scenario-check does not show the page"; exit 1; }
bash "$here/check_manual.sh" /usr/share/man
HOME=$(mktemp -d) bash "$here/check_completion.sh" && echo "bash completion: found in /usr, as expected"
bash "$(dirname "$here")/readme/run_author_walk.sh" "$readme" /usr/bin >/dev/null 2>&1 ||
    { echo "README's author walk failed with /usr/bin"; exit 1; }
echo "README's author walk: ran with /usr/bin"
for editor in neovim emacs; do
    home=$(mktemp -d)
    HOME=$home bash "$here/check_$editor.sh" /usr/share/doc/scenario/docs/editors.md
    rm -rf "$home"
done

dpkg -r scenario >/dev/null
trap - EXIT
left=$(while IFS= read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || echo "$path"
done <<<"$installed")
[ ! -e /usr/share/doc/scenario ] || left+=$'\n/usr/share/doc/scenario'
if [ -n "$left" ]; then
    printf 'dpkg -r left:\n%s\n' "$left"
    exit 1
fi
echo "dpkg -r removed every file the package installed"
