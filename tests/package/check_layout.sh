#!/usr/bin/env bash
# What an install put under its prefix: every file of installed_files.txt, one page
# share/man/man1/scenario-COMMAND.1 for each command "scenario --help" lists, and
# nothing else (nothing outside the prefix either).
#
# Usage: check_layout.sh PREFIX < INSTALLED   (INSTALLED: the installed files, one
# absolute path a line, as install_manifest.txt or "dpkg -L" give them; scenario on PATH)
set -euo pipefail
prefix=${1%/}
here=$(cd "$(dirname "$0")" && pwd)
expected=$(
    cat "$here/installed_files.txt"
    scenario --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print "share/man/man1/scenario-" $1 ".1" } on && /^$/ { on = 0 }'
)
installed=$(while IFS= read -r path || [ -n "$path" ]; do
    [ -d "$path" ] && continue
    case $path in
        "$prefix"/*) echo "${path#"$prefix"/}" ;;
        *) echo "outside the prefix: $path" ;;
    esac
done)
missing=$(comm -23 <(sort <<<"$expected") <(sort <<<"$installed"))
extra=$(comm -13 <(sort <<<"$expected") <(sort <<<"$installed"))
if [ -n "$missing$extra" ]; then
    [ -z "$missing" ] || printf 'not installed under %s:\n%s\n' "$prefix" "$missing"
    [ -z "$extra" ] || printf 'installed but not expected (tests/package/installed_files.txt):\n%s\n' "$extra"
    exit 1
fi
echo "installed under $prefix: $(wc -l <<<"$installed") files, as expected"
