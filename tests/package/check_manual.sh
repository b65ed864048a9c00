#!/usr/bin/env bash
# The manual pages under MANDIR (its man1/ and man5/): one for the tool, for each
# command "scenario --help" lists, for the generator and for the documents; each clean
# under "groff -ww" and "man --warnings", with a NAME line apropos can read, made for the
# scenario on PATH (its version in the footer), and each command's page naming every
# option and warning the command's --help names.
#
# Usage: check_manual.sh MANDIR   (scenario on PATH)
set -uo pipefail
root=$1
failed=0
fault() {
    echo "$*"
    failed=1
}
version=$(scenario --version)
commands=$(scenario --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { on = 0 }')
[ -n "$commands" ] || fault "scenario --help lists no command"
pages=("$root/man1/scenario.1" "$root/man1/genera_scenario.1" "$root/man5/scenario-documents.5")
for c in $commands; do
    pages+=("$root/man1/scenario-$c.1")
done
for page in "${pages[@]}"; do
    if [ ! -f "$page" ]; then
        fault "no page $page"
        continue
    fi
    complaints=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$complaints" ] || fault "groff -ww $page: $complaints"
    complaints=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$complaints" ] || fault "man --warnings $page: $complaints"
    lexgrog "$page" >/dev/null 2>&1 || fault "no NAME line apropos can read in $page"
    MANWIDTH=300 man -l "$page" 2>/dev/null | tail -n 1 | grep -qF "$version" ||
        fault "$page is not the manual of $version"
done
for c in $commands; do
    page="$root/man1/scenario-$c.1"
    [ -f "$page" ] || continue
    text=$(MANWIDTH=300 man -l "$page" 2>/dev/null)
    # The options (lines "  -o DIR  ...") and the warnings ("  name  ..." after
    # "Warnings") of the command's help.
    names=$(scenario "$c" --help | awk '
        /^Warnings/ { warnings = 1; next }
        /^$/ { warnings = 0 }
        /^  -/ || (warnings && /^  [a-z]/) { print $1 }')
    for name in $names; do
        grep -qF -- "$name" <<<"$text" || fault "scenario-$c(1) does not name $name"
    done
done
[ "$failed" = 0 ] && echo "manual pages: ${#pages[@]} pages, clean, matching the help of $version"
exit "$failed"
