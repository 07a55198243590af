#!/usr/bin/env bash
# Fails when a layer includes what it must not know: the Qt backend and the
# decoding library know no window and not the application context; the
# headless tests and the logic know no Qt.
set -uo pipefail
cd "$1"
status=0
forbid() {
    local what=$1 pattern=$2
    shift 2
    if grep -rnE "$pattern" "$@"; then
        echo "layer broken: $what" >&2
        status=1
    fi
}
windows='#include "(app|viewer|image_selector|lineup_selector)/'
forbid "the Qt backend includes a window or the application" "$windows" src/platform/qt
forbid "decoding includes a window, the application or the backend" \
    "$windows|#include \"platform/qt/" src/decoding
forbid "the logic includes Qt or decoding" '#include <Q|#include "(decoding|platform/qt)/' \
    src/platform/controls src/platform/services src/platform/files src/app src/viewer \
    src/image_selector src/lineup_selector src/platform/Numbers.* src/platform/Twips.h
forbid "the headless tests include Qt" '#include <Q|#include "(decoding|platform/qt|pictures/(Image|Bad))' \
    tests/core
exit $status
