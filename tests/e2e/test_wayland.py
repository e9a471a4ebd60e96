"""The program on a Wayland compositor, without any X server.

Started with QT_QPA_PLATFORM=wayland, the boxes read the same start values
as under X11; the About dialog opens and closes (the compositor places it)
without a warning; OK ends the program with status 0. Started as a desktop
in a Wayland session would start it, with no platform named, Qt chooses
Wayland by itself.
"""

import sys

import harness
from harness import TestFailure
from test_startup import EXPECTED_TEXTS
from wayland import WaylandSession

ABOUT = "About Tinctara"


def about_shows(app):
    return any(role == "dialog" and name == ABOUT and shown for role, name, shown, _ in app.objects())


def open_and_close_about(app):
    app.press(ABOUT, ["menu item"])
    harness.wait_until(lambda: about_shows(app), 10, 0.1, "the About dialog showing")
    if not app.showing("Version 1.0", "label"):
        raise TestFailure("the About dialog does not show its version")
    app.press("OK", ["push button"], window=ABOUT)
    harness.wait_until(lambda: not about_shows(app), 10, 0.1, "the About dialog closing")
    print("About dialog opened and closed")


def end_with_ok(app, what):
    app.press("OK", ["push button"], window="Tinctara")
    status = app.wait_exit(10)
    out, err = app.output()
    if status != 0:
        raise TestFailure("%s: exit status %d, expected 0; stderr:\n%s" % (what, status, err[-3000:]))
    # Qt reports what a platform cannot do (placing or activating a window,
    # say) on stderr; a clean run has nothing to report.
    if err.strip():
        raise TestFailure("%s: the program wrote to stderr:\n%s" % (what, err[-3000:]))
    print("%s: OK ends the program with status 0, nothing on stderr" % what)


def test(args):
    with WaylandSession(keep_temp=args.keep_temp) as session:
        app = session.start_app(args.app, working_copy=True)
        app.wait_texts(EXPECTED_TEXTS, timeout=20)
        print("QT_QPA_PLATFORM=wayland: the boxes read %s" % EXPECTED_TEXTS)
        open_and_close_about(app)
        end_with_ok(app, "QT_QPA_PLATFORM=wayland")

        # There is no X server, so a window at all means Wayland was chosen.
        app = session.start_app(args.app, working_copy=True,
                                env={"QT_QPA_PLATFORM": None, "XDG_SESSION_TYPE": "wayland"})
        app.wait_texts(EXPECTED_TEXTS, timeout=20)
        end_with_ok(app, "no platform named")


if __name__ == "__main__":
    sys.exit(harness.main(test))
