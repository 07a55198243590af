#!/usr/bin/env bash
# What the program answers on its command line when there is no display: the
# help and the version, and a plain word, not an abort, when it has nowhere
# to open its windows, or cannot open the one named. Arguments: the program, its version.
set -uo pipefail
program=$1 version=$2
status=0
fail() {
    echo "$1" >&2
    status=1
}
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@" >"$work/out" 2>"$work/err"
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run --version
code=$?
[[ $code == 0 ]] || fail "--version ended with $code"
grep -q "$version" "$work/out" || fail "--version does not print $version: $(cat "$work/out")"

run --help
code=$?
[[ $code == 0 ]] || fail "--help ended with $code"
grep -q "FILE|FOLDER" "$work/out" || fail "--help does not tell the arguments: $(cat "$work/out")"

run "$work/picture.jpg"
code=$?
[[ $code == 1 ]] || fail "without a display the program ended with $code, not 1"
grep -q "no display" "$work/err" || fail "without a display the program said: $(cat "$work/err")"
# A display that is named but cannot be reached.
unused=99
while [[ -e /tmp/.X11-unix/X$unused ]]; do unused=$((unused + 1)); done
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$unused "$program" "$work/picture.jpg" >"$work/out" 2>"$work/err"
code=$?
[[ $code == 1 ]] || fail "with an unreachable display the program ended with $code, not 1"
grep -q "no display" "$work/err" || fail "with an unreachable display the program said: $(cat "$work/err")"
exit $status
