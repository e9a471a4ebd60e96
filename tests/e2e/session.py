"""The private desktop a test runs in: an X server of its own (Xvfb), a
D-Bus session with the accessibility bus, and a temporary folder (home,
runtime dir, working copies). Everything started here is ended when the
Session closes, also when a test fails or is interrupted."""

import ctypes
import os
import shutil
import signal
import stat
import subprocess
import tempfile

from app_driver import App
from errors import HarnessError
from processes import SYSTEM_PYTHON, _die_with_parent, _reap_orphans, _read_line, _spawn, _stop_group, wait_until

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



def _raise_on_term(signum, _frame):
    raise SystemExit("interrupted by signal %d" % signum)


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
        colors = {}
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
                    colors[role] = (rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF)
            if font:
                f.write('[Fonts]\ngeneral="%s"\n' % font)
        return {"QT_QPA_PLATFORMTHEME": "qt6ct"}, colors

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


