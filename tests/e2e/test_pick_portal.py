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


def colour_taken(app, portal, shots):
    before = sp.Before(app, sp.RED)
    ask(app)
    portal.wait_calls(2)
    sp.expect_colour(app, BLUE, "the portal's colour")
    before.expect_picker_unmoved(app, "the portal's colour", shots)
    print("the portal's colour (0.2, 0.4, 0.8) is taken as 51, 102, 204; H, S, B and the picker did not move")


def colour_in_the_panel(app, portal):
    app.click(*sp.PRESET)
    sp.expect_blank_readout(app, "the custom panel just opened")
    ask(app)
    portal.wait_calls(3)
    app.wait_colour(sp.NEW_SAMPLE, OCHRE, "panel: the new-colour sample")
    sp.expect_readout_of_sample(app, "panel")
    # Back at the picker, the hue mode puts the colour under the ring into
    # the sample again.
    app.click(*sp.PRESET)
    app.wait_colour(sp.NEW_SAMPLE, sp.RED, "back at the picker: the new-colour sample")
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
    text = sp.take_message(app, UNAVAILABLE)
    before.expect_as_before(app, "without a portal")
    print("no portal on the bus: %r" % text)


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        portal = StandIn(session, ANSWERS)
        try:
            # Not a socket anywhere: Qt still uses X11, as under XWayland.
            app = session.start_app(args.app, working_copy=True, env={"WAYLAND_DISPLAY": "wayland-tinctara-test"})
            app.wait_window()
            app.settle()
            first_request_changes_nothing(app, portal, args.shots)
            colour_taken(app, portal, args.shots)
            colour_in_the_panel(app, portal)
            failures(app, portal)
        finally:
            portal.stop()
        no_portal(app)


if __name__ == "__main__":
    sys.exit(harness.main(test))
