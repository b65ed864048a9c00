#!/usr/bin/env bash
# Runs the Linux and the Windows generator (the latter under wine), each copied alone
# into a fresh folder of its own and started from another working directory, and checks
# that both leave the same files with the same bytes.
#
# Usage: cmake/compare_windows_run.sh LINUX_EXE WINDOWS_EXE
# Needs wine (WINE names the loader; default wine64) and an X display in DISPLAY for the
# window; WINEPREFIX should name a writable prefix. Exit status 0 when the folders match.
set -euo pipefail

if [ "$#" -ne 2 ]; then
    echo "usage: $0 LINUX_EXE WINDOWS_EXE" >&2
    exit 2
fi
linux_exe=$(realpath "$1")
windows_exe=$(realpath "$2")
wine=${WINE:-}
if [ -z "$wine" ]; then
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            wine=$candidate
            break
        fi
    done
fi
if [ -z "$wine" ]; then
    echo "wine not found" >&2
    exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "warning: DISPLAY is not set; the window cannot be created" >&2
fi
export WINEDEBUG=${WINEDEBUG:--all}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows" "$work/elsewhere"
cp "$linux_exe" "$work/linux/"
cp "$windows_exe" "$work/windows/"
linux_name=$(basename "$linux_exe")
windows_name=$(basename "$windows_exe")

# The programs write into their own folder, never into the working directory.
cd "$work/elsewhere"
status=0
timeout 120 "$work/linux/$linux_name" 2>"$work/linux.err" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: the Linux generator ended with status $status" >&2
    cat "$work/linux.err" >&2
    exit 1
fi
timeout 300 "$wine" "$work/windows/$windows_name" 2>"$work/windows.err" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: the Windows generator ended with status $status" >&2
    cat "$work/windows.err" >&2
    exit 1
fi
if [ -n "$(ls -A "$work/elsewhere")" ]; then
    echo "FAIL: files were written into the working directory:" >&2
    ls -A "$work/elsewhere" >&2
    exit 1
fi

list_files() {
    (cd "$1" && find . -mindepth 1 ! -name "$2" -printf '%P\n' | LC_ALL=C sort)
}
list_files "$work/linux" "$linux_name" >"$work/linux.list"
list_files "$work/windows" "$windows_name" >"$work/windows.list"

if [ ! -s "$work/linux.list" ]; then
    echo "FAIL: the Linux generator left no files" >&2
    exit 1
fi
if ! diff -u --label linux "$work/linux.list" --label windows "$work/windows.list"; then
    echo "FAIL: the two generators left different files" >&2
    exit 1
fi

failed=0
while IFS= read -r name; do
    if cmp -s "$work/linux/$name" "$work/windows/$name"; then
        printf 'same  %8d  %s\n' "$(stat -c %s "$work/linux/$name")" "$name"
    else
        printf 'DIFF            %s\n' "$name"
        cmp "$work/linux/$name" "$work/windows/$name" | head -n 1 || true
        failed=1
    fi
done <"$work/linux.list"

if [ "$failed" -ne 0 ]; then
    echo "FAIL: the Windows generator's files differ from the Linux generator's" >&2
    exit 1
fi
echo "OK: $(wc -l <"$work/linux.list") files, identical bytes"
