"""What the end-to-end tests of picking from the screen share: where the
samples, the readout and the picker are, and the checks that a taken colour
shows where it should and that nothing else moved."""

import os
import select
import time

import harness
from expected import NEW_SAMPLE, PRESET, READOUT, RED, REGION as PICKER, crop
from harness import TestFailure

# The colours the tests put on the screen or have the portal answer.
BLUE = (0x33, 0x66, 0xCC)
OCHRE = (0xCC, 0x99, 0x33)
CHANNELS = ["Red", "Green", "Blue"]
HSB = ["Hue", "Saturation", "Brightness"]
PICK_KEYS = "ctrl+shift+p"


class Before:
    """The window before a pick: the H, S, B boxes and the picker's pixels,
    which no pick from the screen may change, and the sample and R, G, B
    that a cancelled pick must put back."""

    def __init__(self, app, sample):
        self.picture = app.settle()
        self.texts = app.texts(HSB + CHANNELS)
        self.sample = tuple(sample)

    def expect_picker_unmoved(self, app, what, shots=None):
        texts = app.texts(HSB)
        moved = ["%s %r, was %r" % (n, texts.get(n), self.texts[n]) for n in HSB if texts.get(n) != self.texts[n]]
        if moved:
            raise TestFailure("%s: the H, S, B boxes changed: %s" % (what, "; ".join(moved)))
        now = crop(app, app.grab_client(), PICKER)
        diffs = harness.diff_pixels(now, crop(app, self.picture, PICKER))
        if diffs:
            if shots:
                now.save_png(os.path.join(shots, "pick_screen_picker_moved.png"))
            raise TestFailure(harness.describe_diff(diffs, "%s: the picker" % what, len(now.data) // 3))

    def expect_as_before(self, app, what):
        """Sample, R, G, B, H, S, B and the picker as they were."""
        app.wait_texts({n: self.texts[n] for n in CHANNELS})
        app.wait_color(NEW_SAMPLE, self.sample, "%s: the new-colour sample" % what)
        self.expect_picker_unmoved(app, what)


def expect_color(app, rgb, what):
    """The new-colour sample and the R, G, B boxes show `rgb`."""
    app.wait_texts(dict(zip(CHANNELS, (str(c) for c in rgb))))
    app.wait_color(NEW_SAMPLE, rgb, "%s: the new-colour sample" % what)


def expect_readout_of_sample(app, what):
    """The readout box holds text, and exactly what a click on the
    new-colour sample prints: the readout of the colour it shows."""
    printed = crop(app, app.settle(), READOUT)
    if all(sum(printed.pixel(x, y)) > 200 for y in range(printed.height) for x in range(printed.width)):
        raise TestFailure("%s: nothing printed in the readout box" % what)
    x, y, w, h = NEW_SAMPLE
    app.click(x + w // 2, y + h // 2)
    again = crop(app, app.settle(), READOUT)
    diffs = harness.diff_pixels(printed, again)
    if diffs:
        raise TestFailure(harness.describe_diff(diffs, "%s: the readout differs from the sample's" % what,
                                                len(again.data) // 3))


def expect_blank_readout(app, what):
    box = crop(app, app.settle(), READOUT)
    first = box.pixel(0, 0)
    if any(box.pixel(x, y) != first for y in range(box.height) for x in range(box.width)):
        raise TestFailure("%s: the readout box is not blank" % what)


def take_message(app, starts, timeout=15, close=True):
    """Waits for one message box whose text starts with `starts`, returns
    its text and closes it with Return (unless told not to)."""
    harness.wait_until(app.message_windows, timeout, 0.05, "a message box")
    alerts = harness.wait_until(app.alerts, 5, 0.1, "the message box on the accessibility bus")
    texts = [label for a in alerts for label in a["labels"] if label.startswith(starts)]
    if len(alerts) != 1 or alerts[0]["title"] != "Tinctara" or len(texts) != 1:
        raise TestFailure("expected one box captioned Tinctara saying %r..., got %r" % (starts, alerts))
    if close:
        app.close_message("Return")
    return texts[0]


def read_line(proc, timeout, what):
    """The next line a helper we started prints, within `timeout` seconds."""
    deadline = time.monotonic() + timeout
    fd = proc.stdout.fileno()
    buf = b""
    while not buf.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or proc.poll() is not None and not select.select([fd], [], [], 0)[0]:
            raise harness.HarnessError("%s: no answer (got %r)" % (what, buf))
        if select.select([fd], [], [], left)[0]:
            chunk = os.read(fd, 1)
            if not chunk:
                raise harness.HarnessError("%s: ended (got %r)" % (what, buf))
            buf += chunk
    return buf.decode().strip()
