#!/usr/bin/env bash
# The peer benchmark: builds and installs GLIMPA, makes the 24 MP and 50 MP
# folders of photos, and runs peers.py on a 1920 x 1080 virtual display with
# openbox. Extra arguments go to peers.py (--runs N, --only NAME,...).
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/setup.sh feh nsxiv eog qimgv gwenview lximage-qt plasma-workspace-wallpapers
cmake --preset default >/dev/null
cmake --build --preset default --target glimpa glimpa_make_photos glimpa_bench_display
data="${TMPDIR:-/tmp}/glimpa-peers"
sources=()
for wallpaper in /usr/share/wallpapers/*/contents/images/2560x1600.jpg; do
    sources+=("$wallpaper")
done
mkdir -p "$data/24" "$data/50"
build/default/bench/glimpa_make_photos 6200 "$data/24" "${sources[@]:0:12}"
build/default/bench/glimpa_make_photos 8944 "$data/50" "${sources[@]:0:12}"
# The key held down walks 120 links to the 24 MP photos in turn.
rm -rf "$data/hold-peers" && mkdir "$data/hold-peers"
photos=("$data"/24/*.jpg)
for i in $(seq 0 119); do
    ln "${photos[i % ${#photos[@]}]}" "$data/hold-peers/photo$((1000 + i)).jpg"
done

here=$(pwd)
screen=1920x1080 manager=openbox source tools/xsession/xvfb.sh
DESTDIR="$work/root" cmake --install build/default --prefix /usr >/dev/null
dbus-run-session -- /usr/bin/python3 bench/peers/peers.py "$work/root/usr/bin/glimpa" "$work" \
    "$data/24" "$data/50" "$data/hold-peers" "$@"
cp "$work/peers.json" "$here/peers-results.json"

# The key held down, measured inside the program: the longest wait of input.
build/default/bench/glimpa_bench_display --hold "$data/24:$data/50" "$data" "$here/hold-results.json" |
    grep -i "hold"
