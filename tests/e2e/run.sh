#!/usr/bin/env bash
# The installed program in a real X display (Xvfb), driven as a user through
# the accessibility interface. Argument: the build folder.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
"$build/tools/glimpa_make_samples" "$work/samples" >/dev/null
mkdir -p "$work/config" "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
dbus-run-session -- /usr/bin/python3 "$here/e2e.py" "$work/root/usr/bin/glimpa" "$work/samples" "$work/config"
