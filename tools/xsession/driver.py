"""Helpers to drive GLIMPA as a user would: the accessibility interface
(AT-SPI) to find and press controls and read what they show, and real X input
(XTest) where a user would click or close a window."""
import os
import subprocess
import sys
import time
import urllib.parse

import pyatspi
from Xlib import X, XK, display, protocol
from Xlib.ext import xtest

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


def expect_clean_end(process, what):
    """Waits for a process to end; fails unless it ends, with code 0."""
    try:
        code = process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        fail(what + " did not end")
    if code != 0:
        fail(f"{what} ended with code {code}")


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


def find_where(node, role, matches, depth=0):
    """The first node under node of this role that matches."""
    if node is None or depth > 12:
        return None
    if node.getRoleName() == role and matches(node):
        return node
    for child in node:
        found = find_where(child, role, matches, depth + 1)
        if found is not None:
            return found
    return None


def find(node, role, name):
    return find_where(node, role, lambda candidate: candidate.name == name)


def find_described(node, role, description):
    return find_where(node, role, lambda candidate: candidate.description == description)


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


# Device pixels a logical pixel: Qt's accessibility bridge tells places in
# logical pixels, X input takes device pixels.
SCALE = float(os.environ.get("QT_SCALE_FACTOR", "1"))


def move_pointer_into(node, most_down=None):
    """Moves the pointer to the middle of a control, or as far down in it as
    `most_down` logical pixels when that is less."""
    wait_in_place(node)
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    down = extents.height // 2 if most_down is None else min(extents.height // 2, most_down)
    xtest.fake_input(x, X.MotionNotify, x=round((extents.x + extents.width // 2) * SCALE),
                     y=round((extents.y + down) * SCALE))


def click_on(node):
    move_pointer_into(node, 8)
    xtest.fake_input(x, X.ButtonPress, 1)
    xtest.fake_input(x, X.ButtonRelease, 1)
    x.sync()


def press_key(name):
    """Presses and lets go of a key, as on the keyboard."""
    code = x.keysym_to_keycode(XK.string_to_keysym(name))
    xtest.fake_input(x, X.KeyPress, code)
    xtest.fake_input(x, X.KeyRelease, code)
    x.sync()


def turn_wheel(node, notches):
    """Turns the mouse wheel towards the user over the middle of a control."""
    move_pointer_into(node)
    for _ in range(notches):
        xtest.fake_input(x, X.ButtonPress, 5)
        xtest.fake_input(x, X.ButtonRelease, 5)
    x.sync()


def title_of(window):
    """A window's title as the window manager shows it (UTF-8), or as older
    ones read it."""
    utf8 = window.get_full_text_property(x.intern_atom("_NET_WM_NAME"),
                                         x.intern_atom("UTF8_STRING"))
    if isinstance(utf8, bytes):
        utf8 = utf8.decode("utf-8", "replace")
    return utf8 if isinstance(utf8, str) else window.get_wm_name()


def shown_x_window(title_prefix, exact=False):
    """The program's X window whose title starts so (or is exactly that),
    if it is shown; None otherwise."""
    def search(window):
        name = title_of(window)
        if (isinstance(name, str) and (name == title_prefix if exact else
                                       name.startswith(title_prefix)) and
                window.get_attributes().map_state == X.IsViewable):
            return window
        for child in window.query_tree().children:
            found = search(child)
            if found is not None:
                return found
        return None
    return search(x.screen().root)


def x_window(title_prefix):
    """The program's X window whose title starts so."""
    return wait_for("the X window " + title_prefix, lambda: shown_x_window(title_prefix))


def wait_in_place(node):
    """Waits until the window that holds a control is shown where the
    program has put it: a window just opened may not be mapped or placed by
    the window manager yet, and input meant for it would go to what lies
    below."""
    top = node
    while top.parent is not None and top.parent.getRoleName() != "application":
        top = top.parent

    def in_place():
        window = shown_x_window(top.name, exact=True)
        if window is None:
            return False
        origin = window.translate_coords(x.screen().root, 0, 0)
        extents = top.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (abs(-origin.x - extents.x * SCALE) <= max(1, SCALE) and
                abs(-origin.y - extents.y * SCALE) <= max(1, SCALE))
    wait_for(f"the window '{top.name}' shown in place", in_place)


def outer_geometry(window):
    """The window's frame on the screen (left, top, width, height): the window
    manager's frame around it, or the window itself without one."""
    root = x.screen().root
    while True:
        parent = window.query_tree().parent
        if parent == root:
            break
        window = parent
    g = window.get_geometry()
    return (g.x, g.y, g.width + 2 * g.border_width, g.height + 2 * g.border_width)


def window_property(window, name):
    """The bytes of a window's property; None when it has none."""
    found = window.get_full_property(x.intern_atom(name), X.AnyPropertyType)
    return None if found is None else bytes(found.value)


def window_manager_runs():
    return x.screen().root.get_full_property(x.intern_atom("_NET_SUPPORTING_WM_CHECK"),
                                             X.AnyPropertyType) is not None


def ask_to_iconify(window):
    """Asks the window manager to minimize the window, as its minimize box
    does."""
    event = protocol.event.ClientMessage(window=window, client_type=x.intern_atom("WM_CHANGE_STATE"),
                                         data=(32, [3, 0, 0, 0, 0]))  # IconicState
    x.screen().root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    x.sync()


def iconify(window):
    """Minimizes the window as its minimize box does; needs a window manager."""
    ask_to_iconify(window)
    wait_for("the window minimized", lambda: window.get_attributes().map_state != X.IsViewable)


def shown_again_after_iconify(window):
    """Minimizes the window as its minimize box does and tells whether it
    then came back on screen of itself; needs a window manager."""
    watcher = display.Display()
    watched = watcher.create_resource_object("window", window.id)
    watched.change_attributes(event_mask=X.StructureNotifyMask)
    watcher.sync()
    ask_to_iconify(window)
    seen = []
    deadline = time.time() + TIMEOUT
    while time.time() < deadline and seen[-2:] != [X.UnmapNotify, X.MapNotify]:
        while watcher.pending_events():
            event = watcher.next_event()
            if event.type in (X.UnmapNotify, X.MapNotify):
                seen.append(event.type)
        time.sleep(0.02)
    watcher.close()
    return seen[-2:] == [X.UnmapNotify, X.MapNotify]


def unmaximize(window):
    """Restores a maximized window as its title bar's button does; needs a
    window manager."""
    event = protocol.event.ClientMessage(
        window=window, client_type=x.intern_atom("_NET_WM_STATE"),
        data=(32, [0, x.intern_atom("_NET_WM_STATE_MAXIMIZED_HORZ"),
                   x.intern_atom("_NET_WM_STATE_MAXIMIZED_VERT"), 1, 0]))  # remove both
    x.screen().root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    x.sync()


class StartupMessages:
    """Listens to the startup-notification messages broadcast on the root
    window, as a launcher does to end the busy feedback of a start."""

    def __init__(self):
        self.d = display.Display()
        self.d.screen().root.change_attributes(event_mask=X.PropertyChangeMask)
        self.begin = self.d.intern_atom("_NET_STARTUP_INFO_BEGIN")
        self.more = self.d.intern_atom("_NET_STARTUP_INFO")
        self.d.sync()
        self.partial = b""
        self.heard = []

    def _take(self):
        while self.d.pending_events():
            event = self.d.next_event()
            if event.type != X.ClientMessage or event.client_type not in (self.begin, self.more):
                continue
            if event.client_type == self.begin:
                self.partial = b""
            self.partial += bytes(event.data[1])
            if b"\0" in self.partial:
                self.heard.append(self.partial.split(b"\0")[0].decode())
                self.partial = b""
        return self.heard

    def wait_for(self, text):
        wait_for("the startup message " + text, lambda: text in self._take())


def in_front(window):
    """Whether the window is on screen and the active one."""
    active = x.screen().root.get_full_property(x.intern_atom("_NET_ACTIVE_WINDOW"), X.AnyPropertyType)
    return (window.get_attributes().map_state == X.IsViewable and active is not None and
            active.value[0] == window.id)


_drag_display = None


def drag_and_drop(window, at, paths=(), text=None):
    """Drags from a source of its own onto the program's window and drops over
    the point (screen coordinates), as a file manager does (XDND): file paths
    as a URI list, or else plain text. Returns whether the window accepted the
    drop, and whether it then said within a second that it had finished."""
    global _drag_display
    if _drag_display is None:
        # One connection for every drag, whose source windows stay until the
        # end: a window id used again would receive the answers still on
        # their way to the drag before.
        _drag_display = display.Display()
    d = _drag_display
    atom = d.intern_atom
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)
    kind = atom("text/uri-list") if paths else atom("text/plain")
    body = (b"".join(b"file://" + urllib.parse.quote(os.fsencode(path)).encode() + b"\r\n"
                     for path in paths) if paths else text.encode())
    target = d.create_resource_object("window", window.id)

    def send(name, data):
        target.send_event(protocol.event.ClientMessage(window=target, client_type=atom(name),
                                                       data=(32, data)))
        d.flush()

    def serve_until(name, seconds):
        """Answers the window's requests for the dragged data until it sends
        the message named; returns that message, or None."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.SelectionRequest:
                    into = event.property or event.target
                    if event.target == kind:
                        event.requestor.change_property(into, kind, 8, body)
                    else:
                        into = X.NONE
                    event.requestor.send_event(protocol.event.SelectionNotify(
                        time=event.time, requestor=event.requestor, selection=event.selection,
                        target=event.target, property=into))
                    d.flush()
                elif (event.type == X.ClientMessage and event.client_type == atom(name) and
                      event.window.id == source.id):
                    return event
            time.sleep(0.01)
        return None

    send("XdndEnter", [source.id, 5 << 24, kind, 0, 0])
    send("XdndPosition", [source.id, 0, (at[0] << 16) | at[1], X.CurrentTime,
                          atom("XdndActionCopy")])
    status = serve_until("XdndStatus", TIMEOUT)
    accepted = status is not None and bool(status.data[1][1] & 1)
    finished = False
    if accepted:
        send("XdndDrop", [source.id, 0, X.CurrentTime, 0, 0])
        finished = serve_until("XdndFinished", 1) is not None
    else:
        send("XdndLeave", [source.id, 0, 0, 0, 0])
    return accepted, finished


def client_size(window):
    g = window.get_geometry()
    return (g.width, g.height)


def close_window(title_prefix):
    """Asks the window to close, as its close box does."""
    target = x_window(title_prefix)
    protocols = x.intern_atom("WM_PROTOCOLS")
    event = protocol.event.ClientMessage(window=target, client_type=protocols,
                                         data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime,
                                                    0, 0, 0]))
    target.send_event(event)
    x.sync()



def start_accessibility():
    """Starts the accessibility bus; returns its process."""
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    return bus


def start(glimpa, samples, config):
    """Starts the accessibility bus and the program; returns both processes."""
    return start_accessibility(), start_program(glimpa, samples, config)


def start_program(glimpa, samples, config, arguments=(), folder=None, environment=None):
    """Starts the program on the accessibility bus that runs already, in the
    samples' folder or the one given, with more environment if given."""
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=config,
               **(environment or {}))
    return subprocess.Popen([glimpa, *arguments], cwd=folder or samples, env=env)
