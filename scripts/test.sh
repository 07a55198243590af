#!/usr/bin/env bash
# Builds GLIMPA and runs every test without a display: the test suite, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# picture-loader fuzzer over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

scripts/fuzz.sh replay

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
