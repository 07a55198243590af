#!/usr/bin/env bash
# Takes the README's screenshots of the program under Xvfb into docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa glimpa_make_samples
work=$(mktemp -d)
trap 'kill "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
build/default/tools/glimpa_make_samples "$work/samples" >/dev/null
mkdir -p docs "$work/config" "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
dbus-run-session -- /usr/bin/python3 tests/e2e/screenshots.py "$PWD/build/default/src/glimpa" \
    "$work/samples" "$work/config" "$PWD/docs"
