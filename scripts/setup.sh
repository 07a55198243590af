#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named as
# arguments (the peer benchmark's viewers), when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev ccache pkg-config qt6-base-dev
          qt6-qpa-plugins libfontconfig-dev libxcb1-dev libgtest-dev libbenchmark-dev
          libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs
          xvfb openbox dbus at-spi2-core python3-pyatspi python3-xlib desktop-file-utils appstream dpkg-dev
          "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
