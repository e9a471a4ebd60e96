"""The three picker modes of the real program.

Switches modes with the option buttons, picks on field and strip in each
mode, and compares every pixel of the picker region with the closed forms of
the mode's field and strip (the ring and the marks inverted over them), the
six boxes read through the accessibility interface and the new-colour
sample. In saturation and brightness modes the strip is the ramp of the
field colour under the ring and a pick takes its colour from the strip at
the marks; on a switch the ring goes where the boxes say.
"""

import sys

import expected as ex
import harness
from harness import TestFailure


class SwatchModePicker:
    """Saturation ("S") or brightness ("B") mode: the mode's field, the ring
    at `ring`, the strip ramp of the colour under it, marks at `mark_row`."""

    def __init__(self, parts, mode, ring, mark_row):
        self.parts = parts
        self.field = ex.sat_field if mode == "S" else ex.bright_field
        self.ramp = ex.sat_strip if mode == "S" else ex.bright_strip
        self.ring = ring
        self.mark_row = mark_row

    def strip(self):
        return self.ramp(self.field(*self.ring))

    def picture(self):
        return ex.picker_picture(self.parts, self.field, self.strip(), self.ring, self.mark_row)

    def strip_colour(self):
        return self.strip()(self.mark_row)


def switch(app, button):
    app.click_object(button, ["radio button"])


def saturation_mode(app, parts, shots, boxes):
    h, s, b = boxes["h"], boxes["s"], boxes["b"]
    switch(app, "Saturation")
    # Ring from H and B; the marks go to the S box's row.
    p = SwatchModePicker(parts, "S", (ex.hue_to_field_x(h), ex.brightness_to_field_y(b)),
                         round(ex.percent_strip_y(s)))
    ex.expect(app, "switch to S", p.picture(), ex.boxes(h, s, b, boxes["rgb"]), boxes["sample"],
              shots, "modes_saturation")

    # Strip pick: S follows the row, the colour is the strip's.
    app.drag([(285, 200), (283, 170), (283, 150)])
    p.mark_row, s = 150, ex.strip_y_to_percent(150)
    rgb = p.strip_colour()
    ex.expect(app, "S mode, strip drag to row 150", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_saturation_strip")

    # Field pick: H and B follow the ring, the strip is rendered for the
    # field colour and the colour is taken from it at the marks.
    app.drag([(100, 200), (150, 150), (200, 100)])
    p.ring = (200, 100)
    h, b = ex.field_x_to_hue(200), ex.field_y_to_brightness(100)
    rgb = p.strip_colour()
    ex.expect(app, "S mode, field drag to (200, 100)", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_saturation_field")

    app.drag([(200, 150), (230, 250), (240, 400)])
    p.ring = (240, 265)
    h, b = ex.field_x_to_hue(240), 0
    rgb = p.strip_colour()
    ex.expect(app, "S mode, field drag beyond the bottom", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_saturation_bottom")

    app.drag([(200, 100), (210, 100)])
    p.ring = (210, 100)
    h, b = ex.field_x_to_hue(210), ex.field_y_to_brightness(100)
    rgb = p.strip_colour()
    ex.expect(app, "S mode, field drag to (210, 100)", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_saturation_field2")
    return dict(h=h, s=s, b=b, rgb=rgb, sample=rgb)


def brightness_mode(app, parts, shots, boxes):
    h, s, b = boxes["h"], boxes["s"], boxes["b"]
    switch(app, "Brightness")
    # Ring from H and S (the field's vertical axis is saturation here); the
    # marks go to the B box's row.
    p = SwatchModePicker(parts, "B", (ex.hue_to_field_x(h), ex.saturation_to_field_y(s)),
                         round(ex.percent_strip_y(b)))
    ex.expect(app, "switch to B", p.picture(), ex.boxes(h, s, b, boxes["rgb"]), boxes["sample"],
              shots, "modes_brightness")

    app.drag([(280, 100), (290, 80), (290, 60)])
    p.mark_row, b = 60, ex.strip_y_to_percent(60)
    rgb = p.strip_colour()
    ex.expect(app, "B mode, strip drag to row 60", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_brightness_strip")

    app.drag([(200, 180), (260, 180), (400, 180)])
    p.ring = (265, 180)
    h, s = 360, ex.field_y_to_saturation(180)
    rgb = p.strip_colour()
    ex.expect(app, "B mode, field drag beyond the right edge", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_brightness_right")

    app.drag([(100, 100), (60, 220)])
    p.ring = (60, 220)
    h, s = ex.field_x_to_hue(60), ex.field_y_to_saturation(220)
    rgb = p.strip_colour()
    ex.expect(app, "B mode, field drag to (60, 220)", p.picture(), ex.boxes(h, s, b, rgb), rgb,
              shots, "modes_brightness_field")
    return dict(h=h, s=s, b=b, rgb=rgb, sample=rgb)


def hue_mode(app, parts, shots, boxes):
    h, s, b = boxes["h"], boxes["s"], boxes["b"]
    switch(app, "Hue")
    # Marks at the floored strip position of H, the field for the hue found
    # there, the ring from S and B; only the sample follows the ring.
    p = ex.HuePicker(parts)
    p.mark_row = round(ex.switched_hue_strip_y(h))
    p.hue = ex.hue_strip(p.mark_row)
    p.ring = (ex.saturation_to_field_x(s), ex.brightness_to_field_y(b))
    ex.expect(app, "switch back to H", p.picture(), ex.boxes(h, s, b, boxes["rgb"]), p.under_ring(),
              shots, "modes_hue")

    # Picks go to the hue-mode field again.
    app.click(120, 90)
    p.ring = (120, 90)
    rgb = p.under_ring()
    ex.expect(app, "H mode, click at (120, 90)", p.picture(),
              ex.boxes(h, ex.field_x_to_saturation(120), ex.field_y_to_brightness(90), rgb), rgb,
              shots, "modes_hue_pick")


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        parts = ex.Parts.generate(session, args.parts_generator)
        app = session.start_app(args.app, working_copy=True)
        app.wait_window()
        app.settle()
        start = dict(h=0, s=100, b=100, rgb=(255, 0, 0), sample=(255, 0, 0))
        after_s = saturation_mode(app, parts, args.shots, start)
        after_b = brightness_mode(app, parts, args.shots, after_s)
        hue_mode(app, parts, args.shots, after_b)
        if not app.running():
            raise TestFailure("the program ended during the checks")


if __name__ == "__main__":
    sys.exit(harness.main(test))
