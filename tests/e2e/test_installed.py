"""An installed copy: `cmake --install` lays out the program, its desktop
entry and icons; run from a prefix its user cannot write, the program keeps
the custom colours in the user's data folder, and they survive a restart."""

import os
import shutil
import subprocess
import sys
import tempfile

import expected as ex
import harness
from harness import TestFailure

NOBODY = 65534


def install(build_dir, prefix):
    r = subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix],
                       capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        raise TestFailure("cmake --install failed:\n" + r.stdout + r.stderr)
    expected = ["bin/tinctara", "share/applications/tinctara.desktop",
                "share/icons/hicolor/32x32/apps/tinctara.png",
                "share/icons/hicolor/scalable/apps/tinctara.svg"]
    for rel in expected:
        if not os.path.isfile(os.path.join(prefix, rel)):
            raise TestFailure("not installed: " + rel)
    r = subprocess.run(["desktop-file-validate", os.path.join(prefix, "share/applications/tinctara.desktop")],
                       capture_output=True, text=True, timeout=30)
    if r.returncode != 0 or r.stdout.strip():
        raise TestFailure("desktop-file-validate: " + r.stdout + r.stderr)
    print("installed and the desktop entry validates")


class User:
    """Who runs the installed copy: an unprivileged user when we are root (CI
    is, and root writes anywhere), else ourselves with the prefix made
    read-only."""

    def __init__(self, root, prefix):
        self.home = os.path.join(root, "home")
        os.makedirs(os.path.join(self.home, "runtime"))
        self.as_nobody = os.geteuid() == 0
        if self.as_nobody:
            for folder, _, files in os.walk(self.home):
                os.chown(folder, NOBODY, NOBODY)
            os.chmod(os.path.join(self.home, "runtime"), 0o700)
        else:
            for folder, _, _ in os.walk(prefix):
                os.chmod(folder, 0o555)
        bindir = os.path.join(prefix, "bin")
        if os.access(bindir, os.W_OK) and not self.as_nobody:
            raise TestFailure("could not make %s read-only" % bindir)

    def env(self):
        share = os.path.join(self.home, ".local", "share")
        return {"HOME": self.home, "XDG_DATA_HOME": share,
                "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
                "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
                "XDG_RUNTIME_DIR": os.path.join(self.home, "runtime"),
                # The private bus belongs to root; nothing here needs it. An
                # address with no bus behind it, because without one the
                # D-Bus library launches a session bus of its own that
                # outlives the test.
                "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(self.home, "runtime", "no-bus"),
                "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": None}

    def start(self, session, exe):
        if self.as_nobody:
            argv = ["/usr/bin/setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups", "--", exe]
        else:
            argv = [exe]
        app = harness.App(session, argv[0], 1, session.child_env(self.env()), argv[1:])
        session._apps.append(app)
        app.wait_window()
        app.settle()
        return app

    def data_file(self):
        return os.path.join(self.home, ".local", "share", "Tinctara", "usercolors.cps")


def test(args):
    build_dir = os.path.dirname(os.path.abspath(args.app))
    root = tempfile.mkdtemp(prefix="tinctara-install-")
    os.chmod(root, 0o755)
    try:
        prefix = os.path.join(root, "prefix")
        install(build_dir, prefix)
        user = User(root, prefix)
        exe = os.path.join(prefix, "bin", "tinctara")
        with harness.Session(keep_temp=args.keep_temp) as session:
            exp = ex.Expectations.start(session, args.expectations)
            cell5 = exp.cell_centre(5)
            app = user.start(session, exe)
            app.click(*harness.centre(370, 208, 55, 27))  # Preset: the custom panel
            app.settle()
            app.click(*cell5)
            app.settle()
            app.click(*harness.centre(304, 240, 57, 27))  # << Add: the start colour, red
            picture = app.settle()
            if picture.pixel(*cell5) != ex.RED:
                raise TestFailure("cell 5 shows %s after the add, not red" % (picture.pixel(*cell5),))
            app.click(*harness.centre(370, 240, 55, 27))  # Cancel
            if app.wait_exit(10) != 0:
                raise TestFailure("exit status %s; %s" % (app.proc.returncode, app.output()[1][-2000:]))

            if os.path.exists(os.path.join(prefix, "bin", "usercolors.cps")):
                raise TestFailure("the file was written into the read-only prefix")
            path = user.data_file()
            try:
                with open(path, "rb") as f:
                    data = f.read()
            except OSError as e:
                raise TestFailure("no custom colours in the user's data folder: %s" % e) from None
            if data != exp.custom_colours_file({5: ex.RED}):
                raise TestFailure("unexpected file bytes: %r" % data[:200])
            print("the colour was saved in %s" % path)

            again = user.start(session, exe)
            again.click(*harness.centre(370, 208, 55, 27))
            picture = again.settle()
            if picture.pixel(*cell5) != ex.RED:
                raise TestFailure("after a restart cell 5 shows %s, not red" % (picture.pixel(*cell5),))
            again.click(*harness.centre(370, 240, 55, 27))
            again.wait_exit(10)
            print("and it is there after a restart")
    finally:
        for folder, _, _ in os.walk(root):
            try:
                os.chmod(folder, 0o755)
            except OSError:
                pass
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(harness.main(test))
