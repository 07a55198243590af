#!/usr/bin/env bash
# Builds GLIMPA and runs 10,000 slideshow advances over good and damaged files,
# printing the resident size every 1,000 advances (it must stay flat).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa_soak
QT_QPA_PLATFORM=offscreen exec build/default/bench/glimpa_soak "${1:-10000}"
