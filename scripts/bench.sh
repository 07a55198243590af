#!/usr/bin/env bash
# Builds GLIMPA and runs the end-to-end display benchmark; the table goes to
# stdout, the figures to bench-results.json.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa_bench_display glimpa_startup_probe
exec build/default/bench/glimpa_bench_display "${TMPDIR:-/tmp}/glimpa-bench" bench-results.json
