"""Takes the README's screenshots of GLIMPA in use.

usage: screenshots.py GLIMPA SAMPLES CONFIG_HOME OUTPUT_FOLDER
"""
import os
import struct
import sys
import time
import zlib

# The driver works the program as a user would.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "xsession"))
from driver import (click_on, control, expect_counter, main_window, press, start, wait_for, window,
                    x)

GLIMPA, SAMPLES, CONFIG, OUTPUT = sys.argv[1:5]


def save_screen(name):
    """Writes the whole screen as a PNG."""
    time.sleep(0.7)  # let the windows finish painting
    root = x.screen().root
    geometry = root.get_geometry()
    width, height = geometry.width, geometry.height
    raw = root.get_image(0, 0, width, height, 2, 0xFFFFFFFF).data  # ZPixmap: B, G, R, X
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        line = raw[y * width * 4:(y + 1) * width * 4]
        for i in range(0, len(line), 4):
            rows += bytes((line[i + 2], line[i + 1], line[i]))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
    with open(os.path.join(OUTPUT, name), "wb") as out:
        out.write(png)
    print("wrote", name, flush=True)


bus, program = start(GLIMPA, SAMPLES, CONFIG)
try:
    main = main_window()
    save_screen("idle.png")
    press(control(main, "push button", "Select File(s) for Lineup"))
    selector = window("GLIMPA Image Selector")
    press(control(selector, "push button", "Add All"))
    expect_counter("1", str(len([n for n in os.listdir(SAMPLES)])))
    save_screen("image-selector.png")
    # The panorama, wider than the screen, picked in the Lineup Selector.
    press(control(main_window(), "push button", "Select a Lineup Image to View"))
    lineup = window("GLIMPA  Click to View an Image From the Current Lineup")
    rows = control(lineup, "list", "Image Lineup")
    wait_for("the lineup's rows", lambda: rows.getChildAtIndex(0))
    panorama = [row for row in rows if row.name.endswith("panorama.jpg")][0]
    click_on(panorama)
    wait_for("the panorama", lambda: main_window().name.endswith("panorama.jpg"))
    press(control(main_window(), "check box", "Size to Fit"))
    save_screen("size-to-fit-and-lineup.png")
finally:
    program.kill()
    bus.kill()
