"""One run of the program inside a Session, driven like a person would:
finds its window, takes screenshots of the client area, clicks and types
with xdotool and reads the texts of controls through AT-SPI. Every wait has
a deadline."""

import os
import subprocess
import time

from atspi_reader import AtspiReader
from errors import HarnessError, TestFailure
from images import describe_diff, diff_image, diff_pixels, read_ppm
from processes import _spawn, _stop_group, wait_until

CLIENT_WIDTH = 434
CLIENT_HEIGHT = 275
WINDOW_TITLE = "Tinctara"


def centre(left, top, width, height):
    """The client pixel in the middle of a control at (left, top, width, height)."""
    return (left + width // 2, top + height // 2)


class App:
    """One run of the program inside a Session."""

    def __init__(self, session, exe, scale, env, args):
        self.session = session
        self.exe = exe
        self.folder = os.path.dirname(exe)
        self.scale = scale
        self.window = None
        self.window_rect = None  # x, y, width, height on the screen
        self.client_origin = None  # screen position of client pixel (0, 0)
        n = len(session._apps)
        self._out = os.path.join(session.tmp, "app%d.out" % n)
        self._err = os.path.join(session.tmp, "app%d.err" % n)
        self.proc = _spawn([exe] + list(args), env, cwd=self.folder, stdout_path=self._out,
                           stderr_path=self._err)
        self._env = env
        self._reader = AtspiReader(self.proc.pid, session.child_env({"QT_QPA_PLATFORM": None}),
                                   os.path.join(session.tmp, "atspi%d.err" % n))

    # -- life

    def output(self):
        def read(p):
            try:
                with open(p, "rb") as f:
                    return f.read().decode(errors="replace")
            except OSError:
                return ""
        return read(self._out), read(self._err)

    def _died(self):
        out, err = self.output()
        return TestFailure("the program ended with status %s before expected; stdout:\n%s\nstderr:\n%s"
                           % (self.proc.returncode, out[-3000:], err[-3000:]))

    def wait_exit(self, timeout):
        """Waits for the program to end; returns its exit status."""
        try:
            status = self.proc.wait(timeout=timeout)
            self._reader.close()
            return status
        except subprocess.TimeoutExpired:
            raise TestFailure("the program still runs %.1f s later" % timeout) from None

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        _stop_group(self.proc)
        self._reader.close()

    # -- window

    def wait_window(self, timeout=20):
        """Waits for the visible main window; finds where the client area is."""
        deadline = time.monotonic() + timeout
        while True:
            if self.proc.poll() is not None:
                raise self._died()
            r = self.session.xdotool("search", "--onlyvisible", "--name", "^%s$" % WINDOW_TITLE)
            ids = r.stdout.decode().split()
            if r.returncode == 0 and ids:
                self.window = ids[-1]
                if self._measure():
                    return self.window
            if time.monotonic() >= deadline:
                raise TestFailure("no visible window titled %r within %.0f s" % (WINDOW_TITLE, timeout))
            time.sleep(0.1)

    def _measure(self):
        r = self.session.run(["xwininfo", "-id", self.window], timeout=10)
        if r.returncode != 0:
            return False
        info = {}
        for line in r.stdout.decode().splitlines():
            if ":" in line:
                k, v = line.split(":", 1)
                info[k.strip()] = v.strip()
        try:
            x = int(info["Absolute upper-left X"])
            y = int(info["Absolute upper-left Y"])
            w = int(info["Width"])
            h = int(info["Height"])
        except (KeyError, ValueError):
            return False
        cw, ch = self.client_size()
        if w < cw or h < ch:
            return False  # not laid out yet
        self.window_rect = (x, y, w, h)
        # The client area sits under the menu bar, at the bottom of the window.
        self.client_origin = (x, y + h - ch)
        return True

    def client_size(self):
        return (round(CLIENT_WIDTH * self.scale), round(CLIENT_HEIGHT * self.scale))

    # -- pictures

    def grab_window(self):
        r = self.session.run(["import", "-silent", "-window", self.window, "-depth", "8", "ppm:-"], timeout=20)
        if r.returncode != 0:
            raise HarnessError("import failed: " + r.stderr.decode(errors="replace"))
        return read_ppm(r.stdout)

    def grab_client(self):
        """The client area, in screen pixels (scale x scale per client pixel)."""
        img = self.grab_window()
        wx, wy, _, _ = self.window_rect
        cw, ch = self.client_size()
        return img.crop(self.client_origin[0] - wx, self.client_origin[1] - wy, cw, ch)

    def settle(self, timeout=10, quiet=0.3):
        """Waits until the client area has stopped changing for `quiet` seconds;
        returns the last picture."""
        deadline = time.monotonic() + timeout
        last = self.grab_client()
        since = time.monotonic()
        while True:
            if self.proc.poll() is not None:
                raise self._died()
            time.sleep(0.1)
            now = self.grab_client()
            if now.data != last.data:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return now
            if time.monotonic() >= deadline:
                raise TestFailure("the client area kept changing for %.0f s" % timeout)

    def wait_picture(self, expected, what, region=None, shots=None, name=None, timeout=10):
        """Waits until `region` (client pixels x, y, width, height; the size
        of `expected` at the top left when not given) of the
        client area equals `expected` (an Image in client pixels) in every
        pixel. Saves the last picture as `name`.png in `shots` (and where it
        differs as `name`_diff.png); the failure lists differing pixels in
        client coordinates. Returns the client picture."""
        if region is None:
            region = (0, 0, expected.width, expected.height)
        s = self.scale
        x, y, w, h = (v * s for v in region)
        want = expected.scaled(s) if s != 1 else expected
        deadline = time.monotonic() + timeout
        while True:
            client = self.grab_client()
            actual = client.crop(x, y, w, h)
            diffs = diff_pixels(actual, want)
            if not diffs or time.monotonic() >= deadline:
                break
            time.sleep(0.2)
        if shots and name:
            actual.save_png(os.path.join(shots, name + ".png"))
        if diffs:
            if shots and name:
                diff_image(actual, want).save_png(os.path.join(shots, name + "_diff.png"))
            by_client = {}
            for dx, dy, a, e in diffs:
                by_client.setdefault((dx // s + region[0], dy // s + region[1]), (a, e))
            diffs = [(cx, cy, a, e) for (cx, cy), (a, e) in by_client.items()]
            raise TestFailure(describe_diff(diffs, what, region[2] * region[3]))
        return client

    def wait_color(self, rect, rgb, what, margin=3, timeout=10):
        """Waits until every pixel of the client rectangle (x, y, width,
        height), less `margin` along its border, is `rgb`."""
        rx, ry, rw, rh = rect
        s = self.scale
        deadline = time.monotonic() + timeout
        while True:
            client = self.grab_client()
            wrong = []
            for cy in range(ry + margin, ry + rh - margin):
                for cx in range(rx + margin, rx + rw - margin):
                    for sy in range(cy * s, cy * s + s):
                        for sx in range(cx * s, cx * s + s):
                            px = client.pixel(sx, sy)
                            if px != tuple(rgb):
                                wrong.append((cx, cy, px, tuple(rgb)))
            if not wrong:
                return client
            if time.monotonic() >= deadline:
                total = (rw - 2 * margin) * (rh - 2 * margin) * s * s
                raise TestFailure(describe_diff(wrong, what, total))
            time.sleep(0.2)

    # -- message boxes

    def message_windows(self):
        """Visible windows of this display titled like the main window, other
        than the main window: the program's message boxes."""
        r = self.session.xdotool("search", "--onlyvisible", "--name", "^%s$" % WINDOW_TITLE)
        ids = r.stdout.decode().split() if r.returncode == 0 else []
        return [i for i in ids if i != self.window]

    def wait_message(self, text, timeout=5):
        """Waits for a message box; fails unless exactly one is shown and it
        says `text` (read through AT-SPI)."""
        wait_until(self.message_windows, timeout, 0.05, "a message box")
        # A second box would show within a moment: watch that none does.
        deadline = time.monotonic() + 0.3
        while True:
            windows = self.message_windows()
            if len(windows) != 1:
                raise TestFailure("%d message boxes shown, expected one" % len(windows))
            if time.monotonic() >= deadline:
                break
            time.sleep(0.05)
        found = wait_until(lambda: self.alerts(), 5, 0.1, "the message box on the accessibility bus")
        if len(found) != 1 or text not in found[0]["labels"]:
            raise TestFailure("message box says %r, expected one box saying %r" % (found, text))
        return windows[0]

    def wait_no_message(self, timeout=5, quiet=1.0):
        """Waits until no message box is shown, then watches for `quiet`
        seconds that none comes back."""
        wait_until(lambda: not self.message_windows(), timeout, 0.05, "the message box closing")
        deadline = time.monotonic() + quiet
        while time.monotonic() < deadline:
            windows = self.message_windows()
            if windows:
                raise TestFailure("a message box appeared again after the first was closed (%s)" % windows)
            time.sleep(0.05)

    def close_message(self, key="Return"):
        """Closes the message box with a real key press, gives the focus back
        to the main window as a window manager would (the private X server
        has none), and watches for a second that no box comes back."""
        self.key(key)
        self.wait_no_message(quiet=0)
        self.focus()
        self.wait_no_message(quiet=1.0)

    def alerts(self, timeout=5):
        """Showing message boxes: [{"title": ..., "labels": [texts]}]."""
        return self._ask({"op": "alerts", "timeout": timeout}, timeout, "alerts")

    def press(self, name, roles=None, window=None, timeout=10):
        """Runs the Press action of the accessible object with this name (and
        one of these role names), in the top-level window titled `window`
        when given: a button or menu item used through the accessibility
        interface, on any display server."""
        self._ask({"op": "press", "name": name, "roles": roles or [], "window": window,
                   "timeout": timeout}, timeout, "pressed")

    def descriptions(self, names, timeout=5):
        """What assistive tools say about the showing objects with these
        names, beside their names: {name: description}."""
        return self._ask({"op": "descriptions", "names": list(names), "timeout": timeout}, timeout,
                         "descriptions")

    def focused(self, timeout=5):
        """Accessible objects that have the keyboard focus: [[role, name]]."""
        return self._ask({"op": "focused", "timeout": timeout}, timeout, "focused")

    # -- mouse and keys, in client pixels

    def screen_point(self, x, y):
        """Screen position of client pixel (x, y): inside that pixel at any scale."""
        ox, oy = self.client_origin
        return (ox + int((x + 0.5) * self.scale), oy + int((y + 0.5) * self.scale))

    def mousemove(self, x, y):
        sx, sy = self.screen_point(x, y)
        # The pointer cannot leave the screen: a point beyond it stops at its
        # edge (still beyond the client area's edge when the window touches it).
        sx = min(max(sx, 0), self.session.screen[0] - 1)
        sy = min(max(sy, 0), self.session.screen[1] - 1)
        if self.pointer() != (sx, sy):  # --sync would wait for a move forever
            self._xdo("mousemove", "--sync", sx, sy)

    def pointer(self):
        """Screen position of the pointer."""
        r = self.session.xdotool("getmouselocation", "--shell")
        where = dict(line.split("=", 1) for line in r.stdout.decode().split() if "=" in line)
        try:
            return (int(where["X"]), int(where["Y"]))
        except (KeyError, ValueError):
            raise HarnessError("xdotool getmouselocation: %r" % r.stdout) from None

    def mousedown(self, button=1):
        self._xdo("mousedown", button)

    def mouseup(self, button=1):
        self._xdo("mouseup", button)

    def click(self, x, y, button=1):
        self.mousemove(x, y)
        self.mousedown(button)
        self.mouseup(button)

    def click_screen(self, sx, sy, button=1):
        if self.pointer() != (sx, sy):
            self._xdo("mousemove", "--sync", sx, sy)
        self._xdo("mousedown", button)
        self._xdo("mouseup", button)

    def drag(self, points, button=1, pause=0.02):
        """Presses at the first point, moves through the others and releases at
        the last."""
        self.mousemove(*points[0])
        self.mousedown(button)
        for p in points[1:]:
            time.sleep(pause)
            self.mousemove(*p)
        self.mouseup(button)

    def focus(self):
        self._xdo("windowfocus", "--sync", self.window)

    def key(self, *keys):
        """Key combinations in xdotool's names: "Return", "alt+f", "BackSpace"."""
        self._xdo("key", "--delay", "30", *keys)

    def type(self, text):
        self._xdo("type", "--delay", "30", "--", text)  # "--": text may start with "-"

    def _xdo(self, *args):
        if self.proc.poll() is not None:
            raise self._died()
        r = self.session.xdotool(*args)
        if r.returncode != 0:
            raise HarnessError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                          r.stderr.decode(errors="replace")))

    # -- accessibility

    def _atspi(self, request, timeout):
        return self._reader.ask(request, timeout)

    def texts(self, names, timeout=15):
        """Text of the editable controls with these accessible names, read
        through AT-SPI without focusing them: {name: text}."""
        if self.proc.poll() is not None:
            raise self._died()
        answer = self._atspi({"op": "texts", "names": list(names), "timeout": timeout}, timeout)
        if answer.get("error"):
            raise TestFailure("reading texts: " + answer["error"])
        return answer["texts"]

    def wait_texts(self, expected, timeout=10):
        """Waits until the boxes named in `expected` hold those texts; the
        failure lists each box that differs."""
        deadline = time.monotonic() + timeout
        while True:
            texts = self.texts(expected)
            wrong = ["%s: %r, expected %r" % (n, texts.get(n), v) for n, v in expected.items() if texts.get(n) != v]
            if not wrong:
                return texts
            if time.monotonic() >= deadline:
                raise TestFailure("value boxes differ:\n  " + "\n  ".join(wrong))
            time.sleep(0.1)

    def extents(self, name, roles=None, timeout=15):
        """Screen rectangle (x, y, width, height) in screen pixels of the
        showing accessible object with this name (and one of these AT-SPI
        role names, e.g. "menu item", "push button", "text")."""
        if self.proc.poll() is not None:
            raise self._died()
        answer = self._atspi({"op": "extents", "name": name, "roles": roles or [], "timeout": timeout}, timeout)
        if answer.get("error"):
            raise TestFailure("finding %r: %s" % (name, answer["error"]))
        # Qt answers in its scaled (logical) coordinates.
        return tuple(int(round(v * self.scale)) for v in answer["extents"])

    def click_object(self, name, roles=None, timeout=15, times=1):
        """Clicks the centre of a showing accessible object (a menu item, say);
        `times` clicks in quick succession (3 selects a line edit's text
        without a key)."""
        x, y, w, h = self.extents(name, roles, timeout)
        self.click_screen(x + w // 2, y + h // 2)
        for _ in range(times - 1):
            time.sleep(0.05)
            self.mousedown()
            self.mouseup()

    def selection(self, name, timeout=5):
        """The text of the editable control with this accessible name and the
        part of it selected: {"text": t, "selected": [start, end]}."""
        return self._ask({"op": "selection", "name": name, "timeout": timeout}, timeout, "selection")

    def select_text(self, name, tries=3):
        """Selects all the text of the editable control with this name by
        clicking it three times (no key: some boxes act on every key
        released there), and waits until the selection is really all of it;
        under load three clicks may come too slowly to count as one, so
        then it clicks three times again."""
        def whole():
            s = self.selection(name)
            return s["selected"] == [0, len(s["text"])] or not s["text"]
        for attempt in range(tries):
            self.click_object(name, ["text"], times=3)
            try:
                return wait_until(whole, 2, 0.05, "all the text of %r selected" % name)
            except TestFailure:
                if attempt == tries - 1:
                    raise

    def choose(self, x, y, item, timeout=10):
        """Opens the combo box at client pixel (x, y) with a click and clicks
        `item` in its list once the list shows."""
        self.click(x, y)

        def list_open():
            return any(role == "list" and shown and box and box[2] > 0
                       for role, _, shown, box in self.objects(timeout))
        wait_until(list_open, timeout, 0.1, "the open list of the combo box")
        self.click_object(item, ["list item"], timeout)

    def showing(self, name, role, timeout=15):
        """Whether an accessible object with this name and role shows."""
        return any(r == role and n == name and shown for r, n, shown, _ in self.objects(timeout))

    def _ask(self, request, timeout, key):
        if self.proc.poll() is not None:
            raise self._died()
        answer = self._atspi(request, timeout)
        if answer.get("error"):
            raise TestFailure("%s: %s" % (request["op"], answer["error"]))
        return answer[key]

    def objects(self, timeout=15):
        """Every accessible object of the program: [role, name, showing,
        [x, y, w, h]]; for finding names while writing a test."""
        answer = self._atspi({"op": "dump", "timeout": timeout}, timeout)
        if answer.get("error"):
            raise TestFailure("listing objects: " + answer["error"])
        return answer["objects"]


