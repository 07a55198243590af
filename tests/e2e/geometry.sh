#!/usr/bin/env bash
# The side windows' places across runs of the installed program, in a virtual
# X display with a window manager (openbox) and without one.
# Arguments: the build folder, and "openbox" or "none".
set -euo pipefail
build=$(cd "$1" && pwd)
manager=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
    if declare -f stop_display >/dev/null; then
        stop_display
    fi
    rm -rf "$work"
}
trap cleanup EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
"$build/tools/glimpa_make_samples" "$work/samples" >/dev/null
mkdir -p "$work/config" "$work/home"
export HOME="$work/home"
source "$here/xvfb.sh"
dbus-run-session -- /usr/bin/python3 "$here/geometry.py" "$work/root/usr/bin/glimpa" \
    "$work/samples" "$work/config"
