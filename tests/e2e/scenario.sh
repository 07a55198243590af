#!/usr/bin/env bash
# Runs one scenario of the installed program (e2e.py, geometry.py,
# opening.py), driven as a user through the accessibility interface, in a
# virtual X display with a window manager (openbox) or without one.
# Arguments: the build folder, "openbox" or "none", and the scenario
# (geometry.py by default).
set -euo pipefail
build=$(cd "$1" && pwd)
manager=$2
here=$(cd "$(dirname "$0")" && pwd)
tools="$here/../../tools/xsession"
source "$tools/xvfb.sh"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
"$build/tools/glimpa_make_samples" "$work/samples" >/dev/null
mkdir -p "$work/config" "$work/home"
export HOME="$work/home"
PYTHONPATH="$tools" dbus-run-session -- /usr/bin/python3 "$here/${3:-geometry.py}" "$work/root/usr/bin/glimpa" \
    "$work/samples" "$work/config"
