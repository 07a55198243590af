#!/usr/bin/env bash
# Builds GLIMPA and runs every test without a display: the test suite, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# picture-loader fuzzer over its seed corpus, and the tests of the threads
# (the decoder's worker, timers, the instance channel) under ThreadSanitizer.
# The program is also built as packagers build it (a plain Release
# configuration), with clang.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen

cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

scripts/fuzz.sh replay

cmake -S . -B build/plain-clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
    -DGLIMPA_BUILD_TESTS=OFF -DGLIMPA_WERROR=ON >/dev/null
cmake --build build/plain-clang --target glimpa

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

cmake --preset tsan >/dev/null
cmake --build --preset tsan
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" build/tsan/tests/glimpa_qt_tests \
    --gtest_filter='Decoder.*:QtTimerService.*:QtHelpViewer.*:QtInstanceChannel.*:QtViewer.Unfitting*'
