#!/usr/bin/env bash
# The installed program in a real X display (Xvfb), driven as a user through
# the accessibility interface. Arguments: the build folder, and "openbox" for
# a window manager on the display (none by default).
set -euo pipefail
build=$(cd "$1" && pwd)
manager=${2:-none}
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
dbus-run-session -- /usr/bin/python3 "$here/e2e.py" "$work/root/usr/bin/glimpa" "$work/samples" "$work/config"
