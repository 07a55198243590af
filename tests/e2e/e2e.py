"""Drives the installed GLIMPA as a user would, through the accessibility
interface (AT-SPI) and real X input, and checks what it shows. Run with and
without a window manager, and at a screen density of 1.5 (QT_SCALE_FACTOR).

usage: e2e.py GLIMPA SAMPLES CONFIG_HOME
"""
import array
import os
import sys

import pyatspi
from driver import (click_on, close_window, control, enabled, expect_clean_end, expect_counter,
                    fail, find, find_where, in_front, main_window, outer_geometry, press, press_key,
                    start, turn_wheel, unmaximize, wait_for, window, window_manager_runs,
                    window_property, windows, x, x_window)

GLIMPA, SAMPLES, CONFIG = sys.argv[1:4]

bus, program = start(GLIMPA, SAMPLES, CONFIG)
try:
    files = sorted(name for name in os.listdir(SAMPLES)
                   if name.lower().endswith((".jpg", ".bmp", ".gif")))
    total = str(len(files))

    main = main_window()
    if main.name != "GLIMPA No Active Image":
        fail("the program did not start with an empty frame: " + main.name)
    # The window carries the program's logo for the window manager to show: at
    # 64 px, its dark frame below the landscape (not Qt's stock window icon).
    icons = array.array("I", window_property(x_window("GLIMPA No Active Image"), "_NET_WM_ICON"))
    sizes = {}
    while icons:
        width, height = icons[0], icons[1]
        sizes[width] = icons[2:2 + width * height]
        icons = icons[2 + width * height:]
    if 64 not in sizes or sizes[64][46 * 64 + 32] & 0xFFFFFF != 0x1E2846:
        fail(f"the window's icon is not the program's logo (sizes {sorted(sizes)})")
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

    # F1 opens the help in the program's own window.
    press_key("F1")
    window("GLIMPA Help")
    close_window("GLIMPA Help")

    # Page next and last.
    press(control(main, "push button", "Next Image"))
    expect_counter("2", total)
    press(control(main, "push button", "Last Image"))
    expect_counter(total, total)
    if enabled(control(main_window(), "push button", "Next Image")):
        fail("Next is available at the last picture")
    # A click on the picture frame focuses it for the paging keys.
    click_on(control(main_window(), "filler", "Picture frame"))
    if window_manager_runs():  # which makes the window active when it gets to it
        viewing = x_window("GLIMPA Viewing")
        wait_for("the main window active", lambda: in_front(viewing))
    press_key("Home")
    expect_counter("1", total)
    press_key("End")
    expect_counter(total, total)

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

    # The wheel over the picture (taller than the frame) scrolls it down.
    def upright(bar):
        extents = bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return extents.height > extents.width
    down = find_where(main_window(), "scroll bar", upright)
    before = down.queryValue().currentValue
    turn_wheel(main_window(), 2)
    wait_for("the picture scrolled down by the wheel",
             lambda: down.queryValue().currentValue > before)

    # Trash, answered Yes: the picture leaves the lineup and the frame empties.
    # (A click, not an accessibility action: the action would wait for the
    # modal question it opens.)
    click_on(control(main_window(), "push button", "Remove the Current Image from the Lineup"))
    box = wait_for("the confirmation", lambda: next(
        (w for w in windows() if find(w, "push button", "Yes") is not None), None))
    press(find(box, "push button", "Yes"))
    wait_for("the emptied frame", lambda: main_window().name == "GLIMPA No Active Image")
    expect_counter("0", str(len(files) - 1))

    # Restored from maximized (its title bar's button), the main window takes
    # a size of its own, narrower than the screen, its title bar on the screen
    # (its border may stand a pixel beyond the edge).
    if window_manager_runs():
        viewing = x_window("GLIMPA No Active Image")
        unmaximize(viewing)
        screen = x.screen().root.get_geometry()

        def restored():
            left, top, width, _ = outer_geometry(viewing)
            return left >= -1 and top >= -1 and width < screen.width
        wait_for("the main window restored to a size of its own", restored)

    # Closing the main window ends the program and saves the side windows' places.
    close_window("GLIMPA No Active Image")
    expect_clean_end(program, "the program whose main window was closed")
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
