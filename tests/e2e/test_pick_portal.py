"""Picking from the screen where the program may not read it: the desktop
portal's colour picker is asked instead.

The real program runs as it would inside a Wayland session (X11 through
the compatibility server, WAYLAND_DISPLAY set), so it must not read the
screen itself. A stand-in portal (portal_standin.py) on the session's bus
answers each request in turn, sending its answer before the call's reply:
a cancel changes nothing; a colour is taken as from a swatch (sample and
R, G, B; the readout in the custom panel); an ending without a colour, an
answer without a usable colour and a portal that never replies bring a
message box and change nothing; with no portal on the bus at all, too.
Each of these requests first asks the portal for a screenshot, which the
stand-in refuses, so the colour picker is what the program falls back to.

Where the stand-in gives a screenshot (a PNG it wrote in the user's
Pictures folder), it shows still over the screen: two arrow presses and
Enter take the pixel two to the right of the pointer, A and Enter the mean
of the 3 x 3 square, and the file is gone afterwards. A Response sent on
the request's path by another bus client is not taken.
"""

import json
import os
import subprocess
import sys
import time

import harness
import screen_pick as sp
from harness import TestFailure
from screen_pick import BLUE, OCHRE

ANSWERS = ["cancel", "colour:0.2,0.4,0.8", "colour:0.8,0.6,0.2", "ended", "badcolour", "silent"]
UNAVAILABLE = "Picking a colour from the screen is not available here"
NO_PORTAL = ("Picking from the screen needs the desktop's screenshot service (xdg-desktop-portal), "
             "which is not running.")
FROZEN = "^Tinctara: pick from the screen$"


class StandIn:
    """The stand-in portal, ended with the test."""

    def __init__(self, session, answers):
        self.log = os.path.join(session.tmp, "portal.log")
        self.proc = subprocess.Popen(
            [harness.SYSTEM_PYTHON, os.path.join(harness.HERE, "portal_standin.py"), self.log] + answers,
            env=session.child_env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
        line = sp.read_line(self.proc, 20, "the stand-in portal")
        if line != "ready":
            raise harness.HarnessError("the stand-in portal said %r" % line)

    def entries(self):
        try:
            with open(self.log) as f:
                return [json.loads(line) for line in f if line.strip()]
        except FileNotFoundError:
            return []

    def calls(self):
        return [e for e in self.entries() if "parent" in e]

    def wait_calls(self, n):
        return harness.wait_until(lambda: len(self.calls()) >= n and self.calls(), 10, 0.05,
                                  "%d requests at the portal" % n)

    def stop(self):
        self.proc.kill()
        self.proc.wait(10)
        for stream in (self.proc.stdout, self.proc.stderr):
            stream.close()


def ask(app):
    app.focus()
    app.key(sp.PICK_KEYS)


def first_request_changes_nothing(app, portal, shots):
    before = sp.Before(app, sp.RED)
    ask(app)
    call = portal.wait_calls(1)[0]
    # The portal knows which window asks and the token names the request.
    want_parent = "x11:%x" % int(app.window)
    if call["parent"] != want_parent:
        raise TestFailure("the portal was told the window %r, expected %r" % (call["parent"], want_parent))
    if not call["options"].get("handle_token") or not call["path"].endswith("/" + call["options"]["handle_token"]):
        raise TestFailure("the request carries no handle token: %r" % call)
    # A cancel shows nothing to wait for: the window stays still a second.
    app.settle(quiet=1.0)
    before.expect_as_before(app, "after a cancelled request")
    before.expect_picker_unmoved(app, "after a cancelled request", shots)
    print("cancelled at the portal: nothing changed (request from %s)" % call["parent"])


def color_taken(app, portal, shots):
    before = sp.Before(app, sp.RED)
    ask(app)
    portal.wait_calls(2)
    sp.expect_color(app, BLUE, "the portal's colour")
    before.expect_picker_unmoved(app, "the portal's colour", shots)
    print("the portal's colour (0.2, 0.4, 0.8) is taken as 51, 102, 204; H, S, B and the picker did not move")


def color_in_the_panel(app, portal):
    app.click(*sp.PRESET)
    sp.expect_blank_readout(app, "the custom panel just opened")
    ask(app)
    portal.wait_calls(3)
    app.wait_color(sp.NEW_SAMPLE, OCHRE, "panel: the new-colour sample")
    sp.expect_readout_of_sample(app, "panel")
    # Back at the picker, the hue mode puts the colour under the ring into
    # the sample again.
    app.click(*sp.PRESET)
    app.wait_color(sp.NEW_SAMPLE, sp.RED, "back at the picker: the new-colour sample")
    print("custom panel: the portal's colour is printed in the readout")


def failures(app, portal):
    for n, why in ((4, "ended without a colour"), (5, "answered without a colour"),
                   (6, "did not answer within")):
        before = sp.Before(app, sp.RED)
        ask(app)
        portal.wait_calls(n)
        text = sp.take_message(app, UNAVAILABLE, timeout=20)
        if why not in text:
            raise TestFailure("answer %s: the message %r does not say %r" % (ANSWERS[n - 1], text, why))
        before.expect_as_before(app, "after answer %s" % ANSWERS[n - 1])
        print("answer %s: %r" % (ANSWERS[n - 1], text))


def no_portal(app):
    before = sp.Before(app, sp.RED)
    ask(app)
    text = sp.take_message(app, NO_PORTAL)
    before.expect_as_before(app, "without a portal")
    print("no portal on the bus: %r" % text)


def shot_pixel(x, y):
    """The stand-in's screenshot at (x, y)."""
    return (x % 256, y % 256, 255 * ((x + y) % 2))


def frozen_shown(app):
    r = app.session.xdotool("search", "--onlyvisible", "--name", FROZEN)
    return r.returncode == 0 and r.stdout.split()


def pick_in_screenshot(app, point, keys, want, what):
    before = sp.Before(app, sp.RED)
    ask(app)
    harness.wait_until(lambda: frozen_shown(app), 10, 0.05, "%s: the screenshot over the screen" % what)
    app.session.xdotool("mousemove", "--sync", point[0], point[1] + 1, "mousemove", "--sync", *point)
    app.key(*keys)
    harness.wait_until(lambda: not frozen_shown(app), 10, 0.05, "%s: the screenshot gone" % what)
    sp.expect_color(app, want, what)
    before.expect_picker_unmoved(app, what)
    print("%s: %s took %s" % (what, " ".join(keys), want))


def screenshots(session, app):
    portal = StandIn(session, ["shot:%dx%d" % session.screen] * 2 + ["impostor:cancel"])
    try:
        pick_in_screenshot(app, (700, 500), ["Right", "Right", "Return"], shot_pixel(702, 500),
                           "screenshot, two pixels right")
        # Red and green the middle's; blue 255 in the middle and corners.
        mean = (189, 244, round(5 * 255 / 9))
        pick_in_screenshot(app, (701, 500), ["a", "Return"], mean, "screenshot, 3 x 3 mean")
        if os.listdir(os.path.join(session.env["HOME"], "Pictures")):
            raise TestFailure("the screenshots were left behind")
        # The log goes on from the first stand-in, whose screenshots were all refused.
        shots = [e for e in portal.entries() if "screenshot" in e]
        if any(e["options"].get("interactive") != "0" for e in shots) or \
                [e["answer"] for e in shots].count("shot:%dx%d" % session.screen) != 2:
            raise TestFailure("expected non-interactive screenshot requests, two answered, got %r" % shots)

        # Refused: the colour picker is asked, and another client's answer
        # on its path (a colour) is not the portal's.
        before = sp.Before(app, mean)
        calls = len(portal.calls())
        ask(app)
        portal.wait_calls(calls + 1)
        app.settle(quiet=1.0)
        before.expect_as_before(app, "after another client's answer")
        print("screenshot refused: the colour picker asked; another client's Response changed nothing")
    finally:
        portal.stop()


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        portal = StandIn(session, ANSWERS)
        try:
            # Not a socket anywhere: Qt still uses X11, as under XWayland.
            app = session.start_app(args.app, working_copy=True, env={"WAYLAND_DISPLAY": "wayland-tinctara-test"})
            app.wait_window()
            app.settle()
            first_request_changes_nothing(app, portal, args.shots)
            color_taken(app, portal, args.shots)
            color_in_the_panel(app, portal)
            failures(app, portal)
        finally:
            portal.stop()
        no_portal(app)
        screenshots(session, app)


if __name__ == "__main__":
    sys.exit(harness.main(test))
