#!/usr/bin/env bash
# Builds GLIMPA and starts the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa
exec build/default/src/glimpa "$@"
