"""The side windows' places across runs, as a user meets them: a first run
puts them where the program says; a run that changes nothing saves what it
restored, to the twip; a window moved and resized by the user opens there
again. Run with and without a window manager, and at screen densities other
than 1 (QT_SCALE_FACTOR).

usage: geometry.py GLIMPA SAMPLES CONFIG_HOME
"""
import configparser
import os
import sys
import time

from driver import (TIMEOUT, client_size, close_window, control, fail, main_window,
                    outer_geometry, press, start_accessibility, start_program, wait_for, window, x,
                    x_window)

GLIMPA, SAMPLES, CONFIG = sys.argv[1:4]
# Device pixels a logical pixel (twips are logical: 15 a logical pixel).
SCALE = float(os.environ.get("QT_SCALE_FACTOR", "1"))
SELECTOR = "GLIMPA Image Selector"
LINEUP = "GLIMPA  Click to View an Image From the Current Lineup"
KEYS = ("ImageSelectorLeft", "ImageSelectorTop", "ImageSelectorDrive", "ImageSelectorPath",
        "ImageSelectorFiles", "LineupSelectorLeft", "LineupSelectorTop", "LineupSelectorWidth",
        "LineupSelectorHeight")


def settled(title):
    """The window's outer frame once it has stopped changing."""
    last = None
    for _ in range(15):
        time.sleep(0.2)
        now = outer_geometry(x_window(title))
        if now == last:
            return now
        last = now
    return last


def run(with_window):
    """Starts the program and opens the Image Selector, then (adding every
    sample and pressing Show, which hides the Image Selector) the Lineup
    Selector, giving each to `with_window` on the way; closes the program and
    gives back the stored settings."""
    program = start_program(GLIMPA, SAMPLES, CONFIG)
    try:
        press(control(main_window(), "push button", "Select File(s) for Lineup"))
        selector = window(SELECTOR)
        with_window(SELECTOR)
        press(control(selector, "push button", "Add All"))
        wait_for("a lineup", lambda: main_window().name.startswith("GLIMPA Viewing:"))
        press(control(main_window(), "push button", "Select a Lineup Image to View"))
        window(LINEUP)
        with_window(LINEUP)
        close_window("GLIMPA Viewing:")
        if program.wait(timeout=TIMEOUT) != 0:
            fail("the program did not end cleanly")
    finally:
        if program.poll() is None:
            program.kill()
    stored = configparser.ConfigParser()
    stored.optionxform = str
    stored.read(os.path.join(CONFIG, "GLIMPA", "GLIMPA.conf"))
    return {key: stored["Settings"].get(key) for key in KEYS}


def expect_near(what, got, wanted):
    """Within a logical pixel, as device pixels go."""
    if any(abs(a - b) > max(1, SCALE) for a, b in zip(got, wanted)):
        fail(f"{what}: {got}, wanted {wanted}")


def first_run_then_move(title):
    """A first run: the window stands at 1000 twips from the screen's corner,
    the Image Selector with its design client area; then the user moves it
    (and resizes the Lineup Selector)."""
    left, top, _, _ = settled(title)
    expect_near(title + " first placed at", (left, top), (round(1000 / 15 * SCALE),) * 2)
    target = x_window(title)
    if title == SELECTOR:
        expect_near("the Image Selector's client area", client_size(target),
                    (round(244 * SCALE), round(358 * SCALE)))
        target.configure(x=300, y=150)
    else:
        target.configure(x=520, y=260, width=420, height=300)
    x.sync()
    settled(title)


seen = {}
bus = start_accessibility()
try:
    first = run(first_run_then_move)
    second = run(lambda title: seen.setdefault(title, settled(title)))
finally:
    bus.kill()
if first != second:
    fail(f"a run that changed nothing changed the settings:\n{first}\n{second}")
if first["LineupSelectorWidth"] in (None, "3000") or first["ImageSelectorLeft"] in (None, "1000"):
    fail(f"the user's move and resize were not saved: {first}")


def pixels(key):
    return round(float(first[key]) / 15 * SCALE)


expect_near("the Image Selector reopened at", seen[SELECTOR][:2],
            (pixels("ImageSelectorLeft"), pixels("ImageSelectorTop")))
expect_near("the Lineup Selector reopened at", seen[LINEUP],
            tuple(pixels("LineupSelector" + k) for k in ("Left", "Top", "Width", "Height")))
print("geometry: passed", flush=True)
