#!/usr/bin/env bash
# Takes the README's screenshots of the program under Xvfb into docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa glimpa_make_samples
manager=openbox source tools/xsession/xvfb.sh
build/default/tools/glimpa_make_samples "$work/samples" >/dev/null
mkdir -p docs "$work/config"
dbus-run-session -- /usr/bin/python3 tools/screenshots/screenshots.py "$PWD/build/default/src/glimpa" \
    "$work/samples" "$work/config" "$PWD/docs"
