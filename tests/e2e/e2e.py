"""Drives the installed GLIMPA as a user would, through the accessibility
interface (AT-SPI) and real X input, and checks what it shows.

usage: e2e.py GLIMPA SAMPLES CONFIG_HOME
"""
import os
import subprocess
import sys
import time

import pyatspi
from Xlib import X, XK, display, protocol
from Xlib.ext import xtest

GLIMPA, SAMPLES, CONFIG = sys.argv[1:4]
TIMEOUT = 15


def fail(message):
    print("FAILED: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = probe()
        except Exception:  # the tree changes while it is read
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "GLIMPA":
            return app
    return None


def windows():
    app = application()
    return [window for window in app] if app else []


def window(prefix):
    return wait_for("a window titled " + prefix,
                    lambda: next((w for w in windows() if w.name.startswith(prefix)), None))


def find(node, role, name, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    for child in node:
        found = find(child, role, name, depth + 1)
        if found is not None:
            return found
    return None


def find_described(node, role, description, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == role and node.description == description:
        return node
    for child in node:
        found = find_described(child, role, description, depth + 1)
        if found is not None:
            return found
    return None


def control(top, role, name):
    return wait_for(f"{role} '{name}'", lambda: find(top, role, name))


def enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def press(node):
    node.queryAction().doAction(0)


def main_window():
    return wait_for("the main window", lambda: next(
        (w for w in windows() if w.name.startswith("GLIMPA Viewing:") or
         w.name == "GLIMPA No Active Image"), None))


def counter():
    top = main_window()
    return (find_described(top, "label", "Number of the picture on display").name,
            find_described(top, "label", "Number of pictures in the lineup").name)


def expect_counter(active, count):
    wait_for(f"the counter {active} of {count} (now {counter()})", lambda: counter() == (active, count))


# Real input, as a user gives it.
x = display.Display()


def click_on(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xtest.fake_input(x, X.MotionNotify, x=extents.x + extents.width // 2,
                     y=extents.y + min(extents.height // 2, 8))
    xtest.fake_input(x, X.ButtonPress, 1)
    xtest.fake_input(x, X.ButtonRelease, 1)
    x.sync()


def close_window(title_prefix):
    """Asks the window to close, as its close box does."""
    def search(window):
        name = window.get_wm_name()
        if isinstance(name, str) and name.startswith(title_prefix):
            return window
        for child in window.query_tree().children:
            found = search(child)
            if found is not None:
                return found
        return None
    target = wait_for("the X window " + title_prefix, lambda: search(x.screen().root))
    protocols = x.intern_atom("WM_PROTOCOLS")
    event = protocol.event.ClientMessage(window=target, client_type=protocols,
                                         data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime,
                                                    0, 0, 0]))
    target.send_event(event)
    x.sync()


bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
time.sleep(0.5)
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=CONFIG)
program = subprocess.Popen([GLIMPA], cwd=SAMPLES, env=env)
try:
    files = sorted(name for name in os.listdir(SAMPLES)
                   if name.lower().endswith((".jpg", ".bmp", ".gif")))
    total = str(len(files))

    main = main_window()
    if main.name != "GLIMPA No Active Image":
        fail("the program did not start with an empty frame: " + main.name)
    select = control(main, "push button", "Select File(s) for Lineup")
    if not enabled(select) or enabled(control(main, "push button", "Next Image")):
        fail("the empty program's buttons are not as they should be")

    # Select, then Add All: the lineup holds every sample, the last listed first.
    press(select)
    selector = window("GLIMPA Image Selector")
    press(control(selector, "push button", "Add All"))
    expect_counter("1", total)
    main = main_window()
    if not main.name.startswith("GLIMPA Viewing:  " + SAMPLES):
        fail("the main window does not show a sample: " + main.name)
    if enabled(control(main, "push button", "Previous Image")) or not enabled(
            control(main, "push button", "Next Image")):
        fail("paging buttons at the first picture are wrong")

    # Page next and last.
    press(control(main, "push button", "Next Image"))
    expect_counter("2", total)
    press(control(main, "push button", "Last Image"))
    expect_counter(total, total)
    if enabled(control(main_window(), "push button", "Next Image")):
        fail("Next is available at the last picture")

    # The slideshow at one second: two advances, wrapping to the start.
    slider = control(main_window(), "slider", "Select Slideshow Advance Interval")
    slider.queryValue().currentValue = 1
    start = control(main_window(), "push button", "Start the Slideshow")
    wait_for("Start the Slideshow to become available", lambda: enabled(start))
    press(start)
    stop = control(main_window(), "push button", "Stop the Slideshow")
    if enabled(control(main_window(), "push button", "Select File(s) for Lineup")):
        fail("Select is available while the slideshow runs")
    expect_counter("1", total)
    expect_counter("2", total)
    press(stop)
    control(main_window(), "push button", "Start the Slideshow")

    # Show, then a click on the third row of the Lineup Selector.
    press(control(main_window(), "push button", "Select a Lineup Image to View"))
    lineup = window("GLIMPA  Click to View an Image From the Current Lineup")
    rows = control(lineup, "list", "Image Lineup")
    third = wait_for("the lineup's rows", lambda: rows.getChildAtIndex(2))
    shown = third.name
    click_on(third)
    wait_for("the picked picture", lambda: main_window().name == "GLIMPA Viewing:  " + shown)
    expect_counter("3", total)

    # Trash, answered Yes: the picture leaves the lineup and the frame empties.
    # (A click, not an accessibility action: the action would wait for the
    # modal question it opens.)
    click_on(control(main_window(), "push button", "Remove the Current Image from the Lineup"))
    box = wait_for("the confirmation", lambda: next(
        (w for w in windows() if find(w, "push button", "Yes") is not None), None))
    press(find(box, "push button", "Yes"))
    wait_for("the emptied frame", lambda: main_window().name == "GLIMPA No Active Image")
    expect_counter("0", str(len(files) - 1))

    # Closing the main window ends the program and saves the side windows' places.
    close_window("GLIMPA No Active Image")
    try:
        code = program.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        fail("the program did not end when its main window was closed")
    if code != 0:
        fail(f"the program ended with code {code}")
    with open(os.path.join(CONFIG, "GLIMPA", "GLIMPA.conf"), encoding="utf-8") as settings:
        stored = settings.read()
    for key in ("LineupSelectorLeft", "LineupSelectorWidth", "ImageSelectorLeft",
                "ImageSelectorDrive"):
        if key not in stored:
            fail("the settings lack " + key)
    if "ImageSelectorPath=" + SAMPLES not in stored:
        fail("the Image Selector's folder was not saved:\n" + stored)
    print("end-to-end: passed", flush=True)
finally:
    if program.poll() is None:
        program.kill()
    bus.kill()
