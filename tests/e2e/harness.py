"""Runs the real program in a private X server and drives it like a person.

A Session owns a private Xvfb display, a private D-Bus session with the
accessibility bus, and a temporary folder (home, runtime dir, working
copies). Inside it, App runs the program once: finds its window, takes
screenshots of the client area, clicks and types with xdotool and reads the
texts of controls through AT-SPI. Everything started here is ended when the
Session closes, also when a test fails or is interrupted. Every wait has a
deadline.

Only the Python standard library is used here; the accessibility queries run
in a child /usr/bin/python3 with pyatspi (atspi_query.py).

A test script:

    def test(args):
        with harness.Session(keep_temp=args.keep_temp) as session:
            app = session.start_app(args.app, scale=args.scale, working_copy=True)
            app.wait_window()
            app.settle()
            app.drag([(100, 100), (120, 140)])         # client pixels
            app.wait_texts({"Saturation": "43"})       # polls, reports what differs
            picture = app.grab_client()                # Image, screen pixels
            app.click(397, 189)                        # OK
            status = app.wait_exit(5)

    if __name__ == "__main__":
        sys.exit(harness.main(test))
"""

import ctypes
import json
import os
import select
import shutil
import signal
import stat
import struct
import subprocess
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
# Debian's own interpreter, not the first python3 on PATH: python3-pyatspi,
# python3-dbus and python3-gi are installed for it only.
SYSTEM_PYTHON = "/usr/bin/python3"

CLIENT_WIDTH = 434
CLIENT_HEIGHT = 275
WINDOW_TITLE = "Tinctara"

# Variables through which a real desktop would reach the program.
_LEAKING = (
    "DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XAUTHORITY",
    "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
    "SESSION_MANAGER", "DESKTOP_SESSION", "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION",
    "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR",
    "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING",
    "QT_FONT_DPI", "QT_ACCESSIBILITY", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_IM_MODULE",
    "XMODIFIERS", "GTK_MODULES", "NO_AT_BRIDGE",
)


class HarnessError(Exception):
    """Something around the program failed (not a finding about the program)."""


class TestFailure(Exception):
    """The program did not behave as expected."""


# ---------------------------------------------------------------- images


class Image:
    """An RGB pixel grid, 3 bytes per pixel, rows top to bottom."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise HarnessError("image data of %d bytes for %dx%d" % (len(data), width, height))
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, x, y, width, height):
        if x < 0 or y < 0 or x + width > self.width or y + height > self.height:
            raise HarnessError("crop %dx%d+%d+%d outside %dx%d image"
                               % (width, height, x, y, self.width, self.height))
        rows = []
        for row in range(y, y + height):
            start = (row * self.width + x) * 3
            rows.append(self.data[start:start + width * 3])
        return Image(width, height, b"".join(rows))

    def scaled(self, factor):
        """Nearest-neighbour enlargement by a whole factor."""
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                row += bytes(self.pixel(x, y)) * factor
            rows.extend([bytes(row)] * factor)
        return Image(self.width * factor, self.height * factor, b"".join(rows))

    def save_png(self, path):
        write_png(path, self.width, self.height, self.data)

    @staticmethod
    def from_ppm(blob):
        return read_ppm(blob)

    @staticmethod
    def load_ppm(path):
        with open(path, "rb") as f:
            return read_ppm(f.read())


def read_ppm(blob):
    """Parses a binary 8-bit PPM (P6)."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while pos < len(blob) and blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            while pos < len(blob) and blob[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while pos < len(blob) and not blob[pos:pos + 1].isspace():
            pos += 1
        if start == pos:
            raise HarnessError("truncated PPM header")
        fields.append(blob[start:pos])
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise HarnessError("not an 8-bit binary PPM: %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    pos += 1  # the single whitespace after maxval
    return Image(width, height, blob[pos:pos + width * height * 3])


def write_png(path, width, height, rgb):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    stride = width * 3
    raw = b"".join(b"\x00" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 6))
           + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def diff_pixels(actual, expected, offset=(0, 0)):
    """Pixels where two equally sized images differ: [(x, y, actual, expected)],
    coordinates shifted by `offset`."""
    if (actual.width, actual.height) != (expected.width, expected.height):
        raise HarnessError("comparing %dx%d with %dx%d"
                           % (actual.width, actual.height, expected.width, expected.height))
    out = []
    if actual.data == expected.data:
        return out
    a, e, w = actual.data, expected.data, actual.width
    for i in range(0, len(a), 3):
        if a[i:i + 3] != e[i:i + 3]:
            p = i // 3
            out.append((p % w + offset[0], p // w + offset[1], tuple(a[i:i + 3]), tuple(e[i:i + 3])))
    return out


def describe_diff(diffs, what, total, limit=20):
    lines = ["%s: %d of %d pixels differ; first %d (x, y: actual != expected):"
             % (what, len(diffs), total, min(limit, len(diffs)))]
    for x, y, got, want in diffs[:limit]:
        lines.append("  (%d, %d): %s != %s" % (x, y, got, want))
    return "\n".join(lines)


def diff_image(actual, expected):
    """Expected image, dimmed, with differing pixels in full magenta."""
    out = bytearray()
    for i in range(0, len(actual.data), 3):
        if actual.data[i:i + 3] == expected.data[i:i + 3]:
            out += bytes(c // 3 + 170 for c in expected.data[i:i + 3])
        else:
            out += b"\xff\x00\xff"
    return Image(actual.width, actual.height, out)


# ---------------------------------------------------------------- processes


def _die_with_parent():
    # Children go when the test process goes, even if it is killed outright.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG; TERM lets helpers end theirs
    except Exception:
        pass


def _spawn(argv, env, stdout=subprocess.DEVNULL, stderr_path=None, stdout_path=None, **kw):
    """Starts a process in a process group of its own, with its output in
    files (or stdout a pipe)."""
    files = []
    try:
        if stdout_path:
            stdout = open(stdout_path, "wb")
            files.append(stdout)
        stderr = subprocess.DEVNULL
        if stderr_path:
            stderr = open(stderr_path, "wb")
            files.append(stderr)
        return subprocess.Popen(argv, env=env, start_new_session=True, preexec_fn=_die_with_parent,
                                close_fds=True, stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr, **kw)
    finally:
        for f in files:
            f.close()


def _stop_group(proc, grace=2.0):
    """Ends a process we started and whatever it left in its process group."""
    if proc is None:
        return
    try:
        pgid = os.getpgid(proc.pid) if proc.poll() is None else proc.pid
    except ProcessLookupError:
        pgid = proc.pid
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 2.0)):
        try:
            os.killpg(pgid, sig)
        except (ProcessLookupError, PermissionError):
            pass
        try:
            proc.wait(timeout=wait)
            break
        except subprocess.TimeoutExpired:
            continue
    # Anything else left in the group.
    try:
        os.killpg(pgid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


def _reap_orphans():
    """Collects descendants that daemonised and ended (ours as subreaper)."""
    deadline = time.monotonic() + 2.0
    while time.monotonic() < deadline:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            time.sleep(0.05)


def _read_line(stream, timeout, what):
    deadline = time.monotonic() + timeout
    buf = b""
    fd = stream.fileno()
    while not buf.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            raise HarnessError("%s: nothing within %.0f s" % (what, timeout))
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            continue
        chunk = os.read(fd, 4096)
        if not chunk:
            raise HarnessError("%s: closed before answering (got %r)" % (what, buf))
        buf += chunk
    return buf.decode().strip()


def centre(left, top, width, height):
    """The client pixel in the middle of a control at (left, top, width, height)."""
    return (left + width // 2, top + height // 2)


def wait_until(fn, timeout, interval=0.05, what="condition"):
    """Calls fn until it returns something true; returns that value. Raises
    TestFailure with the last value when the deadline passes."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = fn()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise TestFailure("%s not reached within %.1f s (last: %r)" % (what, timeout, last))
        time.sleep(interval)


def _raise_on_term(signum, _frame):
    raise SystemExit("interrupted by signal %d" % signum)


# ---------------------------------------------------------------- session


# Tools the harness runs, with the Debian packages that bring them.
_TOOLS = {
    "Xvfb": "xvfb", "xdotool": "xdotool", "xwininfo": "x11-utils", "import": "imagemagick",
    "dbus-daemon": "dbus", "dbus-send": "dbus", "/usr/libexec/at-spi-bus-launcher": "at-spi2-core",
    SYSTEM_PYTHON: "python3",
}


def check_tools():
    missing = sorted({pkg for tool, pkg in _TOOLS.items() if not shutil.which(tool)})
    if missing:
        raise HarnessError("missing tools; install the Debian packages: " + " ".join(missing))
    r = subprocess.run([SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True, timeout=30)
    if r.returncode != 0:
        raise HarnessError("%s cannot import pyatspi; install python3-pyatspi" % SYSTEM_PYTHON)


class Session:
    """A private X server and D-Bus session with the accessibility bus.

    Use as a context manager; everything is ended on exit."""

    platform = "xcb"  # the Qt platform the program is started on

    def __init__(self, screen=(1280, 1024), keep_temp=False):
        self.screen = screen
        self.keep_temp = keep_temp
        self.tmp = None
        self.display = None
        self.env = None
        self._display_server = None
        self._dbus = None
        self._a11y = None
        self._apps = []
        self._helpers = []

    def __enter__(self):
        for sig in (signal.SIGTERM, signal.SIGHUP):
            signal.signal(sig, _raise_on_term)
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start_display(self, env):
        """Starts the display server and adds its address to `env`."""
        # X server: it writes its display number to the pipe once it accepts
        # connections.
        rfd, wfd = os.pipe()
        try:
            w, h = self.screen
            self._display_server = _spawn(
                ["Xvfb", "-displayfd", str(wfd), "-screen", "0", "%dx%dx24" % (w, h),
                 "-nolisten", "tcp", "-noreset", "+extension", "XTEST"],
                env, pass_fds=(wfd,), stderr_path=os.path.join(self.tmp, "xvfb.log"))
            os.close(wfd)
            wfd = -1
            with os.fdopen(rfd, "rb", buffering=0) as r:
                rfd = -1
                number = _read_line(r, 20, "Xvfb -displayfd")
        finally:
            if wfd >= 0:
                os.close(wfd)
            if rfd >= 0:
                os.close(rfd)
        self.display = ":" + number
        env["DISPLAY"] = self.display

    def _start(self):
        check_tools()
        # Helpers that daemonise (the accessibility registry) stay our
        # descendants, so a test runner that ends our process tree ends them.
        try:
            ctypes.CDLL(None).prctl(36, 1)  # PR_SET_CHILD_SUBREAPER
            self._subreaper = True
        except Exception:
            self._subreaper = False
        self.tmp = tempfile.mkdtemp(prefix="tinctara-e2e-")
        home = os.path.join(self.tmp, "home")
        runtime = os.path.join(self.tmp, "runtime")
        os.makedirs(home)
        os.makedirs(runtime)
        os.chmod(runtime, stat.S_IRWXU)

        env = {k: v for k, v in os.environ.items() if k not in _LEAKING and not k.startswith("XDG_")}
        env["HOME"] = home
        env["XDG_RUNTIME_DIR"] = runtime
        env["XDG_CONFIG_HOME"] = os.path.join(home, ".config")
        env["XDG_DATA_HOME"] = os.path.join(home, ".local", "share")
        env["XDG_CACHE_HOME"] = os.path.join(home, ".cache")
        env["LC_ALL"] = "C.UTF-8"
        env["LANG"] = "C.UTF-8"
        env.pop("LANGUAGE", None)
        env["NO_AT_BRIDGE"] = "1"  # no GTK helper of ours should join the bus

        self._start_display(env)

        # Session bus; the accessibility bus launcher joins it below.
        self._dbus = _spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1",
                             "--address=unix:dir=" + runtime],
                            env, stdout=subprocess.PIPE, stderr_path=os.path.join(self.tmp, "dbus.log"))
        env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(self._dbus.stdout, 20, "dbus-daemon address")
        self.env = env

        self._a11y = _spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
                            env, stderr_path=os.path.join(self.tmp, "a11y.log"))
        # Ready once the launcher owns its name on the session bus.
        wait_until(lambda: self._a11y.poll() is not None or self._bus_has("org.a11y.Bus"),
                   20, 0.05, "accessibility bus launcher")
        if self._a11y.poll() is not None:
            raise HarnessError("at-spi-bus-launcher ended: " + self._log("a11y.log"))

    def _bus_has(self, name):
        r = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                            "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name],
                           env=self.env, capture_output=True, text=True, timeout=10)
        return r.returncode == 0 and "boolean true" in r.stdout

    def _log(self, name):
        try:
            with open(os.path.join(self.tmp, name), "rb") as f:
                return f.read().decode(errors="replace")[-2000:]
        except OSError:
            return ""

    def close(self):
        for app in self._apps:
            app.kill()
        for proc in self._helpers:
            _stop_group(proc)
            for pipe in (proc.stdin, proc.stdout):
                try:
                    pipe.close()
                except OSError:
                    pass
        for proc in (self._a11y, self._dbus, self._display_server):
            _stop_group(proc)
            if proc is not None and proc.stdout:
                proc.stdout.close()
        self._a11y = self._dbus = self._display_server = None
        if getattr(self, "_subreaper", False):
            _reap_orphans()
        if self.tmp and self.keep_temp:
            print("kept the session folder (logs, program output): " + self.tmp)
        elif self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
        self.tmp = None

    def child_env(self, extra=None):
        env = dict(self.env)
        env["QT_QPA_PLATFORM"] = self.platform
        for k, v in (extra or {}).items():
            if v is None:
                env.pop(k, None)
            else:
                env[k] = str(v)
        return env

    def run(self, argv, extra_env=None, timeout=30):
        """Runs a helper program on this display to its end."""
        try:
            return subprocess.run(argv, env=self.child_env(extra_env), capture_output=True,
                                  timeout=timeout, start_new_session=True, preexec_fn=_die_with_parent)
        except subprocess.TimeoutExpired as e:
            raise HarnessError("%s did not finish within %d s" % (argv[0], timeout)) from e

    def xdotool(self, *args, timeout=10):
        r = self.run(["xdotool"] + [str(a) for a in args], timeout=timeout)
        return r

    def start_helper(self, argv):
        """Starts a helper program on this display that stays up for the
        session, its stdin and stdout pipes; ended when the session closes."""
        with open(os.path.join(self.tmp, "helper%d.err" % len(self._helpers)), "wb") as err:
            proc = subprocess.Popen(argv, env=self.child_env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                    stderr=err, start_new_session=True, preexec_fn=_die_with_parent,
                                    close_fds=True)
        self._helpers.append(proc)
        return proc

    def desktop_theme(self, scheme=None, font=None):
        """A desktop's look through qt6ct: a colour scheme of its own (a name
        like "darker") and a font (Qt's font text, "DejaVu Sans,16,-1,5,50,0,0,0,0,0").
        Returns the variables that give it to a program, for start_app's env,
        and the scheme's active colours as {QPalette role number: (r, g, b)}."""
        path = "/usr/share/qt6ct/colors/%s.conf" % scheme if scheme else None
        if not shutil.which("qt6ct") or (path and not os.path.isfile(path)):
            raise HarnessError("qt6ct or its scheme %s is missing; install the Debian package qt6ct" % scheme)
        colours = {}
        folder = os.path.join(self.env["XDG_CONFIG_HOME"], "qt6ct")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "qt6ct.conf"), "w", encoding="utf-8") as f:
            f.write("[Appearance]\n")
            if path:
                f.write("color_scheme_path=%s\ncustom_palette=true\n" % path)
                with open(path, encoding="utf-8") as conf:
                    line = next(l for l in conf if l.startswith("active_colors="))
                for role, value in enumerate(line.split("=", 1)[1].split(",")):
                    rgb = int(value.strip()[-6:], 16)  # #AARRGGBB
                    colours[role] = (rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF)
            if font:
                f.write('[Fonts]\ngeneral="%s"\n' % font)
        return {"QT_QPA_PLATFORMTHEME": "qt6ct"}, colours

    def start_app(self, program, scale=1, env=None, working_copy=False, args=()):
        """Starts the program. `working_copy` runs a copy in a fresh folder, so
        files the program keeps beside itself start empty. `scale` sets
        QT_SCALE_FACTOR; `env` adds (or, with None, removes) variables."""
        extra = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
        if scale != 1:
            extra["QT_SCALE_FACTOR"] = str(scale)
        extra.update(env or {})
        exe = os.path.abspath(program)
        if working_copy:
            folder = tempfile.mkdtemp(prefix="app-", dir=self.tmp)
            exe = os.path.join(folder, os.path.basename(program))
            shutil.copy2(program, exe)
        app = App(self, exe, scale, self.child_env(extra), args)
        self._apps.append(app)
        return app


# ---------------------------------------------------------------- one run


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
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("the program still runs %.1f s later" % timeout) from None

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        _stop_group(self.proc)

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

    def wait_picture(self, expected, what, region=(0, 0, 302, 275), shots=None, name=None, timeout=10):
        """Waits until `region` (client pixels x, y, width, height) of the
        client area equals `expected` (an Image in client pixels) in every
        pixel. Saves the last picture as `name`.png in `shots` (and where it
        differs as `name`_diff.png); the failure lists differing pixels in
        client coordinates. Returns the client picture."""
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

    def wait_colour(self, rect, rgb, what, margin=3, timeout=10):
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
        time.sleep(0.3)  # a second box would show by now
        windows = self.message_windows()
        if len(windows) != 1:
            raise TestFailure("%d message boxes shown, expected one" % len(windows))
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
        r = self.session.run([SYSTEM_PYTHON, os.path.join(HERE, "atspi_query.py"),
                              str(self.proc.pid), json.dumps(request)],
                             extra_env={"QT_QPA_PLATFORM": None}, timeout=timeout + 10)
        if r.returncode != 0:
            raise HarnessError("AT-SPI query failed: " + r.stderr.decode(errors="replace")[-2000:])
        return json.loads(r.stdout)

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


# ---------------------------------------------------------------- scripts


def main(test):
    """Runs test(args) with the common command line; exit 0 on success, 1 on a
    finding, 2 when the harness itself failed."""
    import argparse
    p = argparse.ArgumentParser()
    p.add_argument("--app", required=True, help="the built program")
    p.add_argument("--shots", help="folder for screenshots")
    p.add_argument("--expectations", help="program that answers expected pictures and values (expected.py)")
    p.add_argument("--scale", type=int, default=1)
    p.add_argument("--keep-temp", action="store_true")
    args = p.parse_args()
    if not os.access(args.app, os.X_OK):
        print("not an executable: %s" % args.app)
        return 2
    try:
        test(args)
    except TestFailure as e:
        print("FAIL: %s" % e)
        return 1
    except (HarnessError, OSError) as e:
        print("HARNESS ERROR: %s" % e)
        return 2
    print("PASS")
    return 0
