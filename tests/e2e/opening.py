"""The ways in from outside, as a desktop user has them: files named on the
command line, a second start ("Open With" while the program runs) handing
its files to the running program, files dropped from a file manager, and a
start after a killed program, and two starts at once.

usage: opening.py GLIMPA SAMPLES CONFIG_HOME
"""
import os
import signal
import sys

import pyatspi
from driver import (SCALE, TIMEOUT, StartupMessages, close_window, drag_and_drop, expect_clean_end,
                    expect_counter, fail, find, iconify, in_front, main_window, press, shown_again_after_iconify,
                    shown_x_window, start_accessibility, start_program, wait_for,
                    window_manager_runs, window_property, windows, x_window)

GLIMPA, SAMPLES, CONFIG = sys.argv[1:4]
first, second, third = (os.path.join(SAMPLES, name)
                        for name in ("meadow.jpg", "waves.gif", "sunset.bmp"))


def showing(path):
    wait_for("the main window showing " + path,
             lambda: main_window().name == "GLIMPA Viewing:  " + path)


bus = start_accessibility()
programs = []
try:
    # The options every Qt program takes are taken here too; others are refused.
    refused = start_program(GLIMPA, SAMPLES, CONFIG, ["--bogus", first])
    if refused.wait(timeout=TIMEOUT) != 1:
        fail("an unknown option was not refused")
    programs.append(start_program(GLIMPA, SAMPLES, CONFIG, ["-platform", "xcb", first, second]))
    showing(first)
    expect_counter("1", "2")

    # A file manager's "Open With" brings a minimized program back to the front.
    main = x_window("GLIMPA Viewing")
    if window_manager_runs():
        iconify(main)
    # The launcher's startup id goes to the running program, whose window
    # the window manager raises with the id's time; the launcher hears that
    # the start is complete.
    launcher = StartupMessages()
    startup_id = "file-manager-7_TIME4242"
    # Named relative to the second start's own folder, not the running one's.
    elsewhere = os.path.dirname(SAMPLES)
    handing = start_program(GLIMPA, SAMPLES, CONFIG, [os.path.relpath(third, elsewhere)],
                            folder=elsewhere, environment={"DESKTOP_STARTUP_ID": startup_id})
    expect_clean_end(handing, "a second start that hands its file over")
    if window_manager_runs():
        wait_for("the main window back in front", lambda: in_front(main))
    wait_for("the startup id on the main window",
             lambda: window_property(main, "_NET_STARTUP_ID") == startup_id.encode())
    launcher.wait_for("remove: ID=" + startup_id)
    showing(third)
    expect_counter("1", "3")

    # Dragged from a file manager and dropped on the main window: files are
    # taken, and the file manager hears at once that the drop is done, even
    # while a box tells of the file that is no picture; text is refused.
    notes = os.path.join(CONFIG, "notes.txt")
    with open(notes, "w", encoding="utf-8") as out:
        out.write("no picture")
    frame = main_window().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    middle = (round((frame.x + frame.width // 2) * SCALE),
              round((frame.y + frame.height // 2) * SCALE))
    if drag_and_drop(main, middle, text="a line of text")[0]:
        fail("dragged text was accepted")
    accepted, finished = drag_and_drop(main, middle, paths=[second, notes])
    if not accepted or not finished:
        fail("the dropped files were not " + ("taken at once" if accepted else "accepted"))
    box = wait_for("the box about the file that is no picture",
                   lambda: next((w for w in windows() if w.name == "GLIMPA"), None))
    if window_manager_runs() and not shown_again_after_iconify(shown_x_window("GLIMPA", exact=True)):
        # Minimized alone, it would leave the program waiting out of sight.
        fail("a message box stayed minimized")
    press(find(box, "push button", "OK"))
    showing(second)
    expect_counter("3", "3")  # already in the lineup: it stays where it was

    programs[0].send_signal(signal.SIGKILL)  # leaves its socket behind
    programs[0].wait(timeout=TIMEOUT)
    programs.append(start_program(GLIMPA, SAMPLES, CONFIG, [second]))
    showing(second)
    expect_counter("1", "1")

    # Two files opened at the same moment (a double-click on each, a script)
    # make one program, past the socket a killed one left.
    programs[-1].send_signal(signal.SIGKILL)
    programs[-1].wait(timeout=TIMEOUT)
    together = [start_program(GLIMPA, SAMPLES, CONFIG, [path]) for path in (first, third)]
    programs += together
    wait_for("one of two starts at once handing its file to the other",
             lambda: [program.poll() for program in together].count(0) == 1)
    expect_counter("1", "2")

    # A program started on its own beside the one that takes the files
    # takes them once that one has closed.
    beside = start_program(GLIMPA, SAMPLES, CONFIG)
    programs.append(beside)
    x_window("GLIMPA No Active Image")
    taker = next(program for program in together if program.poll() is None)
    close_window("GLIMPA Viewing")
    expect_clean_end(taker, "the program that took the files, closed")
    socket = os.path.join(os.environ["XDG_RUNTIME_DIR"],
                          "glimpa-instance-" + os.environ["DISPLAY"].replace("/", "_"))
    wait_for("the program left listening", lambda: os.path.exists(socket))
    expect_clean_end(start_program(GLIMPA, SAMPLES, CONFIG, [second]),
                     "a start handing its file to the program left")
    x_window("GLIMPA Viewing:  " + second)
    print("opening: passed", flush=True)
finally:
    for program in programs:
        if program.poll() is None:
            program.kill()
    bus.kill()
