"""Picking with the mouse in hue mode, on the real program.

Drags on the field and the strip with real pointer events, then reads the
six boxes through the accessibility interface (without touching them) and
compares the whole picker region and the new-colour sample with the closed
forms: the field is the saturation-brightness square of the strip colour,
the boxes carry the floored mappings of the ring position and the channels
of the field pixel under the ring. Drags beyond the edges clamp; presses
outside the field and the strip zone, and right-button presses, change
nothing. The samples and the client area tell assistive tools the colour
and the ring's place.
"""

import sys
import time

import expected as ex
import harness


class Picker(ex.Picker):
    """The hue-mode picker after picks: the S and B boxes carry the ring's
    position, R, G, B and the sample the pixel under it."""

    def __init__(self, exp):
        super().__init__(exp)
        self.h = 0

    def saturation_brightness(self):
        x, y = self.ring
        return self.exp.value("percent_of_field_x", x), self.exp.value("percent_of_row", y)

    def texts(self):
        return ex.boxes(self.h, *self.saturation_brightness(), self.under_ring())

    def check(self, app, what, shots, name):
        ex.expect(app, what, self.picture(), self.texts(), self.under_ring(), shots, name)


def field_drags(app, picker, shots):
    # (what, press and moves, where the ring must end)
    drags = [
        ("drag beyond the bottom right corner", [(200, 200), (240, 250), (350, 300)], (265, 265)),
        ("drag beyond the left edge", [(100, 100), (50, 140), (-5, 150)], (10, 150)),
        ("drag beyond the top edge", [(120, 40), (150, 0), (150, -12)], (150, 10)),
        ("drag inside the field", [(40, 200), (100, 150), (180, 60)], (180, 60)),
    ]
    for n, (what, points, ring) in enumerate(drags):
        app.drag(points)
        picker.ring = ring
        picker.check(app, what, shots, "pick_hue_field%d" % n)


def spoken(app, picker):
    """A screen reader hears the picked colour on the samples and what the
    client area shows, through the accessibility interface."""
    def hex_of(rgb):
        return "#%02X%02X%02X" % rgb
    want = {"New colour": hex_of(picker.under_ring()), "Old colour": hex_of(ex.RED),
            "Colour picker": "Hue field, saturation %d, brightness %d" % picker.saturation_brightness()}
    heard = {}

    def as_wanted():
        heard.update(app.descriptions(want))
        return heard == want
    try:
        harness.wait_until(as_wanted, 5, 0.2, "the descriptions")
    except harness.TestFailure:
        raise harness.TestFailure("accessible descriptions %s, expected %s" % (heard, want)) from None
    print("accessible descriptions: %s" % heard)


def strip_drag(app, picker, shots):
    # While the button is held the field and R, G, B stay; the hue and the
    # mixed sample follow the marks.
    s, b = picker.saturation_brightness()
    app.mousemove(285, 200)
    app.mousedown()
    time.sleep(0.05)
    app.mousemove(288, 160)
    time.sleep(0.05)
    app.mousemove(288, 120)
    try:
        picker.mark_row = 120
        picker.h = picker.exp.value("hue_of_strip_row", 120)
        held = ex.boxes(picker.h, s, b, picker.under_ring())
        ex.expect(app, "strip drag, button held", picker.picture(), held,
                  picker.exp.hue_mix(picker.exp.hue_strip(120), s, b), shots, "pick_hue_strip_held")
    finally:
        app.mouseup()
    picker.hue = picker.exp.hue_strip(120)
    picker.check(app, "strip drag released at row 120", shots, "pick_hue_strip_released")


def strip_edges(app, picker, shots):
    # The zone reaches right of the strip over the marks and 2 rows above it.
    app.click(300, 8)
    picker.mark_row, picker.h, picker.hue = 10, 360, picker.exp.hue_strip(10)
    picker.check(app, "press at (300, 8), the strip zone's top right", shots, "pick_hue_strip_top")

    app.drag([(280, 250), (282, 300), (282, 400)])
    picker.mark_row, picker.h, picker.hue = 265, 0, picker.exp.hue_strip(265)
    picker.check(app, "strip drag beyond the bottom", shots, "pick_hue_strip_bottom")


def presses_that_do_nothing(app, picker, shots):
    before = picker.picture()
    for what, action in (
        ("press at x 303, right of the strip zone", lambda: app.click(303, 100)),
        ("press at y 268, below the strip zone", lambda: app.click(285, 268)),
        ("press at x 266, right of the field", lambda: app.click(266, 100)),
        ("right-button drag on the field", lambda: app.drag([(50, 50), (60, 60)], button=3)),
    ):
        action()
        app.settle()
        ex.expect(app, what, before, picker.texts(), picker.under_ring(), shots, "pick_hue_nothing")


def test(args):
    with ex.started(args) as (exp, app):
        picker = Picker(exp)
        picker.check(app, "start", args.shots, "pick_hue_start")
        field_drags(app, picker, args.shots)
        spoken(app, picker)
        strip_drag(app, picker, args.shots)
        strip_edges(app, picker, args.shots)
        presses_that_do_nothing(app, picker, args.shots)


if __name__ == "__main__":
    sys.exit(harness.main(test))
