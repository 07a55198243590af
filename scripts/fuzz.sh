#!/usr/bin/env bash
# Builds the picture-loader fuzzer with clang and fuzzes it.
#   scripts/fuzz.sh            fuzz for an hour
#   scripts/fuzz.sh SECONDS    fuzz for that long
#   scripts/fuzz.sh replay     only run the seed corpus and the inputs of past
#                              findings in fuzz/regressions (what CI does)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
seeds=build/fuzz/seeds
rm -rf "$seeds"
ASAN_OPTIONS=detect_leaks=0 build/fuzz/fuzz/glimpa_make_corpus "$seeds" >/dev/null
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = replay ]; then
    exec build/fuzz/fuzz/glimpa_loader_fuzzer -runs=0 "$seeds" fuzz/regressions
fi
mkdir -p build/fuzz/corpus build/fuzz/crashes
# A run-length coded BMP may claim hundreds of megapixels in a few bytes, and
# each input is decoded four times under the sanitizers: such inputs take
# over 10 s.
exec build/fuzz/fuzz/glimpa_loader_fuzzer -max_total_time="${1:-3600}" -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/crashes/ -print_final_stats=1 build/fuzz/corpus "$seeds"
