#!/usr/bin/env bash
# The bash completion of scenario, driven through bash-completion's functions as bash
# drives it on TAB: bash-completion loads it from where it looks for completions (an
# install under /usr or ~/.local), or FILE when given; each case sets the words of a
# command line and calls the completion function, and its answer is compared with what
# an author expects there.
#
# Usage: tests/package/check_completion.sh [FILE]
set -uo pipefail
# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
if [ "$#" -eq 1 ]; then
    # shellcheck source=/dev/null
    source "$1"
else
    __load_completion scenario || { echo "bash-completion finds no completion for scenario"; exit 1; }
fi
[ "$(complete -p scenario)" = "complete -F _scenario scenario" ] ||
    { echo "scenario is completed by: $(complete -p scenario)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch a_linea.txt "a_5 bis-.txt" B_LINEA.TXT notes.txt pic.svg

# The sorted answer to a command line whose last word is being completed. The words are
# given as bash splits them: "--kind=p" is three words, "--kind" "=" "p".
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE=$1
    local i
    for ((i = 1; i < $#; i++)); do
        if [ "${COMP_WORDS[i]}" = "=" ] || [ "${COMP_WORDS[i - 1]}" = "=" ]; then
            COMP_LINE+=${COMP_WORDS[i]}
        else
            COMP_LINE+=" ${COMP_WORDS[i]}"
        fi
    done
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _scenario scenario "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd'|'
}

failed=0
expect() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    if [ "$got" != "$want" ]; then
        echo "completing \"$*\": got \"$got\", expected \"$want\""
        failed=1
    fi
}

# Commands and options.
expect "check|compile" scenario c
expect "--help|--version" scenario --
expect "--port" scenario serve --p
expect "--no-plan" scenario check --n
expect "-Wno-value-ignored|-Wno-value-packed|-Wno-value-rounded|-Wno-value-wrapped" scenario check -Wno-val
expect "" scenario dump -Wno-
# Positionals: a line document, then a train document, in any case; folders too.
expect "B_LINEA.TXT|a_linea.txt|sub" scenario check ""
expect "a_5 bis-.txt|sub" scenario check a_linea.txt ""
expect "a_5 bis-.txt|sub" scenario compile --scenario S -o out a_linea.txt ""
expect "a_5 bis-.txt|sub" scenario render --train=T --json a_linea.txt ""
expect "" scenario check a_linea.txt "a_5 bis-.txt" ""
expect "B_LINEA.TXT|a_5 bis-.txt|a_linea.txt|notes.txt|pic.svg|sub" scenario fmt a_linea.txt notes.txt ""
expect "a_5 bis-.txt|sub" scenario check -- a_linea.txt ""
expect "documents" scenario help ""
# Option values: folders, pictures, fixed sets (also after "="), nothing for a name.
expect "sub" scenario example -o ""
expect "pic.svg|sub" scenario render a_linea.txt "a_5 bis-.txt" -o ""
expect "grid|header|plan" scenario dump --kind ""
expect "plan" scenario dump --kind = p
expect "utf-8" scenario compile --input-encoding u
expect "" scenario check --scenario ""
expect "" scenario unknown ""
exit "$failed"
