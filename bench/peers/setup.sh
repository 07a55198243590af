#!/usr/bin/env bash
# Installs what the peer benchmark needs beyond the build: the peer viewers it
# compares against and the wallpaper photos its test pictures are made from.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/setup.sh
packages=(feh nsxiv eog qimgv gwenview lximage-qt plasma-workspace-wallpapers)
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
