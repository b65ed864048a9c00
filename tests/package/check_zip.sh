#!/usr/bin/env bash
# The Windows .zip as an author meets it, under wine: unpacked into a fresh folder, with
# a fresh wine prefix; README's author walk runs with scenario.exe from the unpacked
# folder, and "scenario.exe serve" answers the first request for its page.
#
# Usage: check_zip.sh ZIP README.md   (wine64 in /usr/lib/wine or on PATH)
set -euo pipefail
zip=$(realpath "$1")
readme=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The console tool needs no display (and one left set by an earlier stage may be gone).
unset DISPLAY
serve_pid=
finish() {
    [ -z "$serve_pid" ] || kill "$serve_pid" 2>/dev/null || true
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
top=$work/unpacked/$(basename "$zip" .zip)
for f in scenario.exe genera_scenario.exe README.txt CHANGELOG.txt scenario-manual.txt \
         docs/editors.md editors/nvim/ftdetect/scenario.vim editors/emacs/scenario-mode.el; do
    [ -f "$top/$f" ] || { echo "$(basename "$zip") has no $f"; exit 1; }
done
for f in README.txt CHANGELOG.txt scenario-manual.txt; do
    if grep -q $'[^\r]$' "$top/$f"; then
        echo "$f has lines not ended by CR LF"
        exit 1
    fi
done
grep -q "^SCENARIO-CHECK(1)" "$top/scenario-manual.txt" ||
    { echo "scenario-manual.txt holds no page scenario-check(1)"; exit 1; }

"$wine" wineboot -i >/dev/null 2>&1 || true
mkdir "$work/bin"
printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine" "$top/scenario.exe" >"$work/bin/scenario"
chmod +x "$work/bin/scenario"
"$work/bin/scenario" --version
bash "$(dirname "$here")/readme/run_author_walk.sh" "$readme" "$work/bin" >"$work/walk.log" 2>&1 ||
    { tail -20 "$work/walk.log"; echo "README's author walk failed with scenario.exe under wine"; exit 1; }
echo "README's author walk: ran with scenario.exe under wine"

# serve: the first line on standard output is the page's address; its first request
# must be answered with the page.
cd "$work"
"$work/bin/scenario" example -o w >/dev/null 2>&1
"$work/bin/scenario" serve w/Vessana_Pralbo_linea.txt "w/Vessana_Pralbo_5 bis-.txt" \
    >"$work/serve.out" 2>"$work/serve.err" &
serve_pid=$!
address=
for _ in $(seq 600); do
    address=$(head -n 1 "$work/serve.out" | tr -d '\r')
    [[ $address == http://127.0.0.1:*/ ]] && break
    kill -0 "$serve_pid" 2>/dev/null || break
    sleep 0.1
done
[[ $address == http://127.0.0.1:*/ ]] ||
    { echo "scenario.exe serve printed no address:"; cat "$work/serve.out" "$work/serve.err"; exit 1; }
port=${address#http://127.0.0.1:}
port=${port%/}
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET / HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nConnection: close\r\n\r\n' "$port" >&3
answer=$(timeout 30 cat <&3 || true)
exec 3<&-
if ! head -n 1 <<<"$answer" | grep -q "^HTTP/1.1 200" || ! grep -qi "<html" <<<"$answer"; then
    echo "scenario.exe serve at $address answered:"
    head -c 600 <<<"$answer"
    exit 1
fi
echo "scenario.exe serve: $address answered its first request with the page"
