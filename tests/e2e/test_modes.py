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


def switch(app, button):
    app.click_object(button, ["radio button"])


# Saturation and brightness modes: the strip stands for the S or the B box,
# the field's vertical axis for the other one. Per mode the strip drag (the
# pointer's path, the row the marks end on) and the field drags (path, where
# the ring ends, what the step is).
SWATCH_MODES = {
    "saturation": ("s", "b", ([(285, 200), (283, 170), (283, 150)], 150), [
        ([(100, 200), (150, 150), (200, 100)], (200, 100), "field drag to (200, 100)"),
        ([(200, 150), (230, 250), (240, 400)], (240, 265), "field drag beyond the bottom"),
        ([(200, 100), (210, 100)], (210, 100), "field drag to (210, 100)"),
    ]),
    "brightness": ("b", "s", ([(280, 100), (290, 80), (290, 60)], 60), [
        ([(200, 180), (260, 180), (400, 180)], (265, 180), "field drag beyond the right edge"),
        ([(100, 100), (60, 220)], (60, 220), "field drag to (60, 220)"),
    ]),
}


def swatch_mode(app, exp, shots, mode, boxes):
    strip_box, down_box, (strip_path, strip_row), field_drags = SWATCH_MODES[mode]
    v = dict(boxes)
    letter = mode[0].upper()

    def check(what, rgb, sample, name):
        ex.expect(app, "%s mode, %s" % (letter, what), p.picture(), ex.boxes(v["h"], v["s"], v["b"], rgb),
                  sample, shots, "modes_%s_%s" % (mode, name))

    switch(app, mode.capitalize())
    # The ring goes to H across and the other box down; the marks to the
    # row of the strip's box.
    p = ex.Picker(exp, mode, (exp.value("field_x_of_hue", v["h"]), exp.value("field_y_of_percent", v[down_box])),
                  exp.value("mark_row_of_percent", v[strip_box]))
    check("switch", boxes["rgb"], boxes["sample"], "switch")

    # Strip pick: the strip's box follows the row, the colour is the strip's.
    app.drag(strip_path)
    p.mark_row, v[strip_box] = strip_row, exp.value("percent_of_row", strip_row)
    rgb = p.strip_color()
    check("strip drag to row %d" % strip_row, rgb, rgb, "strip")

    # Field picks: H and the other box follow the ring, the strip is
    # rendered for the field colour and the colour is taken from it at the
    # marks.
    for n, (path, ring, what) in enumerate(field_drags):
        app.drag(path)
        p.ring = ring
        v["h"], v[down_box] = exp.value("hue_of_field_x", ring[0]), exp.value("percent_of_row", ring[1])
        rgb = p.strip_color()
        check(what, rgb, rgb, "field%d" % n)
    return dict(v, rgb=rgb, sample=rgb)


def hue_mode(app, exp, shots, boxes):
    h, s, b = boxes["h"], boxes["s"], boxes["b"]
    switch(app, "Hue")
    # Marks at the floored strip position of H, the field for the hue found
    # there, the ring from S and B; only the sample follows the ring.
    p = ex.Picker(exp)
    p.mark_row = exp.value("mark_row_of_switched_hue", h)
    p.hue = exp.hue_strip(p.mark_row)
    p.ring = (exp.value("field_x_of_percent", s), exp.value("field_y_of_percent", b))
    ex.expect(app, "switch back to H", p.picture(), ex.boxes(h, s, b, boxes["rgb"]), p.under_ring(),
              shots, "modes_hue")

    # Picks go to the hue-mode field again.
    app.click(120, 90)
    p.ring = (120, 90)
    rgb = p.under_ring()
    ex.expect(app, "H mode, click at (120, 90)", p.picture(),
              ex.boxes(h, exp.value("percent_of_field_x", 120), exp.value("percent_of_row", 90), rgb), rgb,
              shots, "modes_hue_pick")


def test(args):
    with ex.started(args) as (exp, app):
        start = dict(h=0, s=100, b=100, rgb=ex.RED, sample=ex.RED)
        after_s = swatch_mode(app, exp, args.shots, "saturation", start)
        after_b = swatch_mode(app, exp, args.shots, "brightness", after_s)
        hue_mode(app, exp, args.shots, after_b)


if __name__ == "__main__":
    sys.exit(harness.main(test))
