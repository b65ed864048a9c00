#!/usr/bin/env bash
# The .tar.gz as an author meets it: unpacked into a fresh folder, its one folder holds
# the install layout, and README's author walk runs with its bin/; its manual pages are
# clean and its own.
#
# Usage: check_tgz.sh TGZ README.md
set -euo pipefail
tgz=$(realpath "$1")
readme=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$tgz" -C "$work"
top=$work/$(basename "$tgz" .tar.gz)
[ -d "$top" ] || { echo "$(basename "$tgz") does not unpack into $(basename "$top")/"; exit 1; }
export PATH="$top/bin:$PATH"
find "$top" | bash "$here/check_layout.sh" "$top"
scenario --version
bash "$here/check_manual.sh" "$top/share/man"
bash "$(dirname "$here")/readme/run_author_walk.sh" "$readme" "$top/bin" >/dev/null 2>&1 ||
    { echo "README's author walk failed with the unpacked bin/"; exit 1; }
echo "README's author walk: ran with the unpacked bin/"
