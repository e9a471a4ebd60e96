"""An installed copy run by a user who cannot write the program's folder:
the custom colours go to the user's data folder and survive a restart.

Shared by the tests of `cmake --install` into a prefix and of the Debian
package in /usr.
"""

import os

import expected as ex
import harness
from harness import TestFailure

NOBODY = 65534

APP_ID = "com.example.tinctara"
# What an install lays out, relative to its prefix.
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
FILES = ["bin/tinctara",
         "share/applications/%s.desktop" % APP_ID,
         "share/metainfo/%s.metainfo.xml" % APP_ID,
         "share/man/man1/tinctara.1.gz",
         "share/doc/tinctara/copyright",
         "share/doc/tinctara/changelog.gz",
         "share/icons/hicolor/scalable/apps/tinctara.svg"] + \
    ["share/icons/hicolor/%dx%d/apps/tinctara.png" % (n, n) for n in ICON_SIZES]


ADD = harness.centre(304, 240, 57, 27)
CANCEL = harness.centre(370, 240, 55, 27)


class User:
    """Who runs the installed copy: an unprivileged user when we are root (root
    writes anywhere), else ourselves; then the caller must make the
    program's folder read-only. Home and runtime folder are under `root`."""

    def __init__(self, root):
        self.home = os.path.join(root, "home")
        os.makedirs(os.path.join(self.home, "runtime"))
        self.as_nobody = os.geteuid() == 0
        if self.as_nobody:
            for folder, _, _ in os.walk(self.home):
                os.chown(folder, NOBODY, NOBODY)
            os.chmod(os.path.join(self.home, "runtime"), 0o700)

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


def check_color_kept(session, exp, user, exe, first_run=None):
    """Adds the start colour, red, as custom colour 5 and cancels; the file
    is in the user's data folder with exactly that colour, not beside the
    program, and cell 5 is red again after a restart. `first_run(app)`, if
    given, looks at the first run before anything is clicked."""
    cell5 = exp.cell_centre(5)
    app = user.start(session, exe)
    if first_run:
        first_run(app)
    app.click(*ex.PRESET)  # the custom panel
    app.settle()
    app.click(*cell5)
    app.settle()
    app.click(*ADD)
    picture = app.settle()
    if picture.pixel(*cell5) != ex.RED:
        raise TestFailure("cell 5 shows %s after the add, not red" % (picture.pixel(*cell5),))
    app.click(*CANCEL)
    if app.wait_exit(10) != 0:
        raise TestFailure("exit status %s; %s" % (app.proc.returncode, app.output()[1][-2000:]))

    beside = os.path.join(os.path.dirname(exe), "usercolors.cps")
    if os.path.exists(beside):
        raise TestFailure("the file was written beside the program: " + beside)
    path = user.data_file()
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise TestFailure("no custom colours in the user's data folder: %s" % e) from None
    if data != exp.custom_colors_file({5: ex.RED}):
        raise TestFailure("unexpected file bytes: %r" % data[:200])
    print("the colour was saved in %s" % path)

    again = user.start(session, exe)
    again.click(*ex.PRESET)
    picture = again.settle()
    if picture.pixel(*cell5) != ex.RED:
        raise TestFailure("after a restart cell 5 shows %s, not red" % (picture.pixel(*cell5),))
    again.click(*CANCEL)
    again.wait_exit(10)
    print("and it is there after a restart")



class Runner(User):
    """Whoever runs the test, root included, who may write beside the program."""

    def __init__(self, root):
        self.home = os.path.join(root, "runner-home")
        os.makedirs(os.path.join(self.home, "runtime"), mode=0o700)
        self.as_nobody = False
