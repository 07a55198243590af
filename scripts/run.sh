#!/usr/bin/env bash
# Builds GLIMPA and starts the viewer in the folder of sample pictures, so that
# the Image Selector opens on them the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa glimpa_make_samples
[ -d samples ] || build/default/tools/glimpa_make_samples samples
cd samples
exec ../build/default/src/glimpa "$@"
