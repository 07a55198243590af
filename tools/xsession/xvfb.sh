# Starts a virtual X display for the program. Source it with $manager set to
# "openbox" for a window manager on it; it makes a work folder ($work) and
# sets DISPLAY, a private runtime folder in it, and stop_display, which ends
# the display, its window manager and the accessibility bus that ran in that
# folder. At exit the display stops and the work folder goes.
# Leaves the program to find no Qt platform override. $screen, when set,
# gives the display's size (1280x800 otherwise).
work=$(mktemp -d)
trap 'stop_display; rm -rf "$work"' EXIT
mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
unset QT_QPA_PLATFORM
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 "${screen:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
wm=
if [ "${manager:-none}" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi

stop_display() {
    if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; fi
    kill "$xvfb" 2>/dev/null || true
    pkill -f "$work/run/at-spi" 2>/dev/null || true
}
