"""A program killed at any moment of its closing leaves the settings file
whole: all the old values or all the new ones, never a mix.

usage: killing.py GLIMPA SAMPLES CONFIG_HOME
"""
import configparser
import os
import signal
import sys
import time

from driver import (close_window, control, fail, main_window, press, start_accessibility,
                    start_program, window, x, x_window)

GLIMPA, SAMPLES, CONFIG = sys.argv[1:4]
SETTINGS = os.path.join(CONFIG, "GLIMPA", "GLIMPA.conf")
OLD = {"ImageSelectorLeft": "1500", "ImageSelectorTop": "1500", "ImageSelectorDrive": "/",
       "ImageSelectorPath": SAMPLES, "ImageSelectorFiles": SAMPLES}


def write_old():
    os.makedirs(os.path.dirname(SETTINGS), exist_ok=True)
    with open(SETTINGS, "w", encoding="utf-8") as settings:
        settings.write("[Settings]\n" + "".join(f"{k}={v}\n" for k, v in OLD.items()))


def stored():
    parser = configparser.ConfigParser()
    parser.optionxform = str
    if not parser.read(SETTINGS) or "Settings" not in parser:
        fail("the settings file is not whole")
    return {key: parser["Settings"].get(key) for key in OLD}


bus = start_accessibility()
try:
    for delay_ms in (0, 2, 5, 10, 20, 40):
        write_old()
        program = start_program(GLIMPA, SAMPLES, CONFIG)
        try:
            press(control(main_window(), "push button", "Select File(s) for Lineup"))
            window("GLIMPA Image Selector")
            x_window("GLIMPA Image Selector").configure(x=300 + delay_ms, y=200)
            x.sync()
            time.sleep(0.5)
            close_window("GLIMPA No Active Image")
            time.sleep(delay_ms / 1000)
            program.send_signal(signal.SIGKILL)
            program.wait(timeout=10)
        finally:
            if program.poll() is None:
                program.kill()
        now = stored()
        moved = now["ImageSelectorLeft"] != OLD["ImageSelectorLeft"]
        if moved and now["ImageSelectorTop"] == OLD["ImageSelectorTop"]:
            fail(f"killed {delay_ms} ms into closing, the file mixes old and new: {now}")
        if not moved and now != OLD:
            fail(f"killed {delay_ms} ms into closing, the file mixes old and new: {now}")
    print("killing: passed", flush=True)
finally:
    bus.kill()
