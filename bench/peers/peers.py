"""The peer benchmark: GLIMPA against the desktop's image viewers, measured as
a user sees them, on one X display with a window manager, in one run.

For every program it measures, from the key press or click to the new
picture's pixels on screen (a strip across the middle of the screen, polled
the same way for every program, until it has not changed for a while):
  next   the next picture in the direction of travel, after the program had
         time to prepare it;
  first  a picture visited for the first time (a jump to the last one);
  start  from the program's start to its first picture on screen;
and, after the twelve pictures of a folder, its peak resident size and its
CPU time per picture shown. A last pass taps the "next" key at 25 per second
for 4 s over HOLD, a folder of 120 links to the 24 MP photos in turn (so that
no program reaches its end), and counts the pictures that reached the screen.

usage: peers.py GLIMPA WORK FOLDER24 FOLDER50 HOLD [--runs N] [--only NAME,...]
Prints a table and writes the figures as JSON to WORK/peers.json.
"""
import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tools", "xsession"))
import driver  # noqa: E402  (AT-SPI and X input, as the end-to-end test drives)
from Xlib import X, XK, protocol  # noqa: E402
from Xlib.ext import xtest  # noqa: E402

x = driver.x
root = x.screen().root
SCREEN_W, SCREEN_H = root.get_geometry().width, root.get_geometry().height
STRIP = (SCREEN_W // 3, SCREEN_H // 2 - 2, SCREEN_W // 3, 4)
STABLE_S = 0.6      # unchanged this long: the picture is complete
SETTLE_S = 1.2      # time given to prepare the next picture
TIMEOUT_S = 15
POLL_S = 0.002      # the screen is read this often: the harness leaves the CPU to the programs


def grab():
    return root.get_image(*STRIP, X.ZPixmap, 0xFFFFFFFF).data


def difference(a, b):
    """Mean absolute difference of two strips, over a sample of their bytes."""
    step = 13
    return sum(abs(a[i] - b[i]) for i in range(0, len(a), step)) / (len(a) / step)


def blank(image):
    """Whether the strip is all of one colour (a window's background while
    a picture loads), which no photo gives."""
    sample = [image[i + channel] for i in range(0, len(image), 4 * 7) for channel in range(3)]
    return max(sample) - min(sample) < 24


def wait_shown(before, t0, timeout=TIMEOUT_S):
    """Seconds from t0 to the last change of the strip before it settled on
    a picture other than `before`, and what it settled on."""
    last, changed = before, None
    while True:
        now = time.perf_counter()
        image = grab()
        if image != last:
            last, changed = image, now
        if (changed is not None and image != before and not blank(image) and
                now - changed >= STABLE_S):
            return changed - t0, image
        if now - t0 > timeout:
            return None, image
        time.sleep(POLL_S)


def save_screen(path):
    """The whole screen as a PPM picture, to see what went wrong."""
    data = root.get_image(0, 0, SCREEN_W, SCREEN_H, X.ZPixmap, 0xFFFFFFFF).data
    with open(path, "wb") as out:
        out.write(b"P6 %d %d 255\n" % (SCREEN_W, SCREEN_H))
        out.write(bytes(b for i in range(0, len(data), 4) for b in (data[i + 2], data[i + 1], data[i])))


def keycode(name):
    return x.keysym_to_keycode(XK.string_to_keysym(name))


def tap(name):
    """Presses and lets go of a key; a capital letter with Shift held."""
    code = keycode(name)
    shift = keycode("Shift_L") if len(name) == 1 and name.isupper() else None
    if shift:
        xtest.fake_input(x, X.KeyPress, shift)
    xtest.fake_input(x, X.KeyPress, code)
    xtest.fake_input(x, X.KeyRelease, code)
    if shift:
        xtest.fake_input(x, X.KeyRelease, shift)
    x.sync()


def reset_peak(pid):
    """Starts the count of the peak resident size afresh."""
    with open(f"/proc/{pid}/clear_refs", "w") as refs:
        refs.write("5")


def process_figures(pid):
    """Peak resident size in MB and CPU seconds so far."""
    with open(f"/proc/{pid}/status") as status:
        peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return peak / 1024, (int(fields[11]) + int(fields[12])) / ticks


def windows_of(pid):
    atom = x.intern_atom("_NET_CLIENT_LIST")
    pid_atom = x.intern_atom("_NET_WM_PID")
    clients = root.get_full_property(atom, X.AnyPropertyType)
    found = []
    for wid in (clients.value if clients else []):
        window = x.create_resource_object("window", wid)
        prop = window.get_full_property(pid_atom, X.AnyPropertyType)
        if prop and prop.value[0] == pid:
            found.append(window)
    return found


def make_fullscreen(pid):
    state = x.intern_atom("_NET_WM_STATE")
    full = x.intern_atom("_NET_WM_STATE_FULLSCREEN")
    for window in windows_of(pid):
        event = protocol.event.ClientMessage(window=window, client_type=state,
                                             data=(32, [1, full, 0, 1, 0]))
        root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    x.sync()


class Program:
    """A viewer started on a folder, fitted to the screen, with its keys for
    the next, the last and the first picture."""
    name = ""
    command = []
    keys = {"next": "Right", "last": "End", "first": "Home"}
    fullscreen_by_request = False
    starts_on_picture = True

    def __init__(self, work):
        self.work = work
        self.process = None

    def environment(self, home):
        # Accessibility is on for every program alike (GTK's always is):
        # GLIMPA is set up through it.
        return dict(os.environ, HOME=home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=os.path.join(home, ".config"),
                    XDG_CACHE_HOME=os.path.join(home, ".cache"),
                    XDG_DATA_HOME=os.path.join(home, ".local", "share"))

    def start(self, folder, files):
        home = os.path.join(self.work, "home-" + self.name)
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(home)
        self.configure(home, folder)
        self.process = subprocess.Popen(self.arguments(folder, files), cwd=folder,
                                        env=self.environment(home),
                                        stdout=subprocess.DEVNULL,
                                        stderr=None if os.environ.get("PEERS_DEBUG") else subprocess.DEVNULL)

    def configure(self, home, folder):
        pass

    def arguments(self, folder, files):
        return self.command + [os.path.join(folder, files[0])]

    def ready(self):
        """After the first picture is on screen: fit it, focus the keys."""
        if self.fullscreen_by_request:
            make_fullscreen(self.process.pid)

    def go(self, where):
        tap(self.keys[where])

    def stop(self):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            self.process = None


class Feh(Program):
    name = "feh"

    def arguments(self, folder, files):
        return ["feh", "--fullscreen", "--auto-zoom"] + [os.path.join(folder, f) for f in files]


class Nsxiv(Program):
    name = "nsxiv"
    keys = {"next": "n", "last": "G", "first": "g"}

    def arguments(self, folder, files):
        return ["nsxiv", "-f", "-s", "f"] + [os.path.join(folder, f) for f in files]


class Eog(Program):
    name = "eog"
    command = ["eog", "--fullscreen", "--new-instance"]


class Qimgv(Program):
    name = "qimgv"
    command = ["qimgv"]
    fullscreen_by_request = True


class Gwenview(Program):
    name = "gwenview"
    command = ["gwenview", "--fullscreen"]


class LxImage(Program):
    name = "lximage-qt"
    command = ["lximage-qt", "--fullscreen"]


class Glimpa(Program):
    """GLIMPA, maximized with "Size to Fit" ticked, walking the Image
    Selector's file list with the arrow keys: on a first run the list shows
    the folder the program starts in."""
    name = "glimpa list"
    starts_on_picture = False  # its first picture is the user's choice
    keys = {"next": "Down", "last": "End", "first": "Home"}

    def __init__(self, work, glimpa):
        super().__init__(work)
        self.glimpa = glimpa

    def arguments(self, folder, files):
        return [self.glimpa]

    def ready(self):
        main = driver.main_window()
        driver.press(driver.control(main, "check box", "Size to Fit"))
        driver.press(driver.control(main, "push button", "Select File(s) for Lineup"))
        selector = driver.window("GLIMPA Image Selector")
        files = driver.control(selector, "list", "Picture files")
        driver.click_on(driver.wait_for("the first file", lambda: files[0]))


class GlimpaKeys(Glimpa):
    """GLIMPA started on the folder (it starts at natural size), then with
    "Size to Fit" ticked and its picture frame clicked, paging with the keys
    the other viewers take: Right, End and Home."""
    name = "glimpa keys"
    starts_on_picture = True
    keys = Program.keys

    def arguments(self, folder, files):
        return [self.glimpa, folder]

    def ready(self):
        main = driver.main_window()
        driver.press(driver.control(main, "check box", "Size to Fit"))
        driver.click_on(driver.control(main, "filler", "Picture frame"))


def run_walk(program, folder, files, blank):
    """One start of a program on a folder: start, next, first visit, and the
    walk over the rest. Returns the figures, or None when it failed."""
    t0 = time.perf_counter()
    program.start(folder, files)
    start_s, shown = wait_shown(blank, t0, timeout=30)
    if start_s is None:
        return None
    program.ready()
    time.sleep(0.5)
    _, shown = wait_shown(b"", time.perf_counter(), timeout=10)  # fitted, settled
    time.sleep(SETTLE_S)
    start_peak, cpu_start = process_figures(program.process.pid)
    reset_peak(program.process.pid)
    figures = {"start": start_s if program.starts_on_picture else None, "next": [], "first": [], "shown": {0: shown},
               "start_peak_mb": start_peak}

    def step(where, index, sample):
        nonlocal shown
        before = shown
        t = time.perf_counter()
        program.go(where)
        took, shown = wait_shown(before, t)
        if took is None:
            save_screen(os.path.join(program.work, "..", f"failed-{program.name}.ppm"))
            raise RuntimeError(f"{program.name}: {where} showed nothing new")
        figures["shown"][index] = shown
        if sample:
            figures[sample].append(took)
        time.sleep(SETTLE_S)

    step("next", 1, "next")
    step("last", len(files) - 1, "first")
    step("first", 0, None)
    for index in range(1, len(files) - 1):
        step("next", index, "next")
    peak, cpu_end = process_figures(program.process.pid)
    figures["peak_mb"] = peak
    figures["cpu_per_picture"] = (cpu_end - cpu_start) / (len(files) + 1)
    return figures


def run_hold(program, folder, files, blank, references):
    """Taps "next" at 25 per second for 4 s; counts the pictures that reached
    the screen and the longest wait of the program's input."""
    t0 = time.perf_counter()
    program.start(folder, files)
    if wait_shown(blank, t0, timeout=30)[0] is None:
        return None
    program.ready()
    time.sleep(0.5)
    wait_shown(b"", time.perf_counter(), timeout=10)
    time.sleep(2 * SETTLE_S)
    seen = []
    begin = time.perf_counter()
    next_tap = begin
    while time.perf_counter() - begin < 4.0 + 2.0:
        now = time.perf_counter()
        if now >= next_tap and now - begin < 4.0:
            program.go("next")
            next_tap += 0.04
        image = grab()
        if not seen or seen[-1][1] != image:
            seen.append((time.perf_counter() - begin, image))
        time.sleep(POLL_S)
    # Neighbouring links are different photos: each change to another
    # recognised photo is one more picture shown.
    shown, last = 0, 0
    for when, image in seen:
        # A picture is recognised when the strip is far nearer to it than to
        # any other (a coarse or half-drawn picture still is).
        (distance, index), (second, _) = sorted(
            (difference(image, ref), index) for index, ref in references.items())[:2]
        if os.environ.get("PEERS_DEBUG"):
            print(f"{program.name} {when * 1000:6.0f} ms: picture {index} at {distance:.1f}"
                  f" (next {second:.1f})", file=sys.stderr)
        if distance < second / 3 and index != last:
            shown, last = shown + 1, index
    return {"distinct": shown}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("glimpa")
    parser.add_argument("work")
    parser.add_argument("folders", nargs=2)
    parser.add_argument("hold")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--only", default="")
    parser.add_argument("--hold-only", action="store_true",
                        help="only the key held down (references from one walk)")
    options = parser.parse_args()

    programs = [Glimpa(options.work, options.glimpa), GlimpaKeys(options.work, options.glimpa),
                Feh(options.work), Nsxiv(options.work), Eog(options.work), Qimgv(options.work),
                Gwenview(options.work), LxImage(options.work)]
    if options.only:
        programs = [p for p in programs if p.name in options.only.split(",")]
    bus = driver.start_accessibility()
    blank = grab()
    results = {}
    references = {}
    order = list(programs)
    for run in range(options.runs):
        random.Random(run).shuffle(order)
        for folder in options.folders[:1] if options.hold_only else options.folders:
            files = sorted(f for f in os.listdir(folder) if f.endswith(".jpg"))
            size = os.path.basename(folder.rstrip("/"))
            for program in order:
                try:
                    figures = run_walk(program, folder, files, blank)
                except Exception as error:  # a peer that misbehaves is reported, not fatal
                    print(f"{program.name} {size} MP: {error}", file=sys.stderr, flush=True)
                    figures = None
                finally:
                    program.stop()
                if figures is None:
                    continue
                entry = results.setdefault(program.name, {}).setdefault(size, {})
                for measure in ("start", "start_peak_mb", "peak_mb", "cpu_per_picture"):
                    if figures[measure] is not None:
                        entry.setdefault(measure, []).append(figures[measure])
                for measure in ("next", "first"):
                    entry.setdefault(measure, []).extend(figures[measure])
                if size == os.path.basename(options.folders[0].rstrip("/")):
                    references.setdefault(program.name, figures["shown"])
                print(f"run {run + 1} {size} MP {program.name}: next "
                      f"{statistics.median(figures['next']) * 1000:.0f} ms, first "
                      f"{figures['first'][0] * 1000:.0f} ms", file=sys.stderr, flush=True)
            time.sleep(0.5)

    folder = options.hold
    files = sorted(f for f in os.listdir(folder) if f.endswith(".jpg"))
    for program in order:
        if program.name not in references:
            continue
        try:
            hold = run_hold(program, folder, files, blank, references[program.name])
        finally:
            program.stop()
        if hold:
            results[program.name]["hold"] = hold

    bus.terminate()
    report(results)
    with open(os.path.join(options.work, "peers.json"), "w") as out:
        json.dump(results, out, indent=1)


def report(results):
    def med(values):
        return statistics.median(values) if values else float("nan")

    for figures in results.values():
        for size, entry in figures.items():
            if size != "hold":
                entry.setdefault("start", [])

    sizes = sorted({size for figures in results.values() for size in figures if size != "hold"})
    print(f"{'program':<12} {'MP':>3} {'start ms':>9} {'next ms':>8} {'first ms':>9} "
          f"{'peak MB':>8} {'CPU ms/pic':>10} {'start peak MB':>13}")
    for name, figures in results.items():
        for size in sizes:
            if size not in figures:
                continue
            f = figures[size]
            print(f"{name:<12} {size:>3} {med(f['start']) * 1000:9.0f} {med(f['next']) * 1000:8.1f} "
                  f"{med(f['first']) * 1000:9.0f} {med(f['peak_mb']):8.0f} "
                  f"{med(f['cpu_per_picture']) * 1000:10.0f} {med(f['start_peak_mb']):13.0f}")
    peers = [name for name in results if not name.startswith("glimpa")]
    for name in (n for n in results if n.startswith("glimpa")):
        for size in sizes:
            if size not in results[name]:
                continue
            for measure in ("next", "first", "peak_mb"):
                mine = med(results[name][size][measure])
                best = min((med(results[p][size][measure]) for p in peers if size in results[p]),
                           default=float("nan"))
                print(f"{name} {size} MP {measure}: {mine / best:.2f} x the best peer")
    print(f"{'hold 24 MP':<12} {'shown':>6}")
    for name, figures in results.items():
        hold = figures.get("hold")
        if hold:
            print(f"{name:<12} {hold['distinct']:>6}")


if __name__ == "__main__":
    main()
