"""High-density screens: at scale factors 2 and 1.5 the window keeps its
layout, shows the surface sharp (at 2 every client pixel is a 2 x 2 block)
and a click picks the same client pixel, colour and boxes as at factor 1."""

import sys

import expected as ex
import harness
from harness import TestFailure

PICKS = [(100, 200), (265, 10), (11, 264), (138, 138)]
BOXES = ["Hue", "Saturation", "Brightness", "Red", "Green", "Blue"]


def run(session, exp, program, scale):
    app = session.start_app(program, scale=scale, working_copy=True)
    app.wait_window()
    base = app.settle()
    results = []
    for x, y in PICKS:
        app.click(x, y)
        want_s = exp.value("percent_of_field_x", x)
        want_b = exp.value("percent_of_row", y)
        results.append(app.wait_texts({"Saturation": str(want_s), "Brightness": str(want_b)}))
        results[-1] = app.texts(BOXES)
    app.kill()
    return base, results


def check_blocks(picture):
    bad = 0
    for y in range(ex.REGION[3]):
        for x in range(ex.REGION[2]):
            p = picture.pixel(2 * x, 2 * y)
            if not (picture.pixel(2 * x + 1, 2 * y) == p == picture.pixel(2 * x, 2 * y + 1)
                    == picture.pixel(2 * x + 1, 2 * y + 1)):
                bad += 1
    if bad:
        raise TestFailure("%d client pixels are not whole 2 x 2 blocks at factor 2" % bad)


def check_sharp(picture, reference, scale):
    """Every screen pixel of the field shows the colour of a client pixel it
    covers or touches: nothing blended."""
    bad = []
    for sy in range(int(12 * scale), int(263 * scale)):
        for sx in range(int(12 * scale), int(263 * scale)):
            cx, cy = int(sx / scale), int(sy / scale)
            near = {reference.pixel(cx + dx, cy + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
            if picture.pixel(sx, sy) not in near:
                bad.append((sx, sy))
    if bad:
        raise TestFailure("%d screen pixels at factor %s are blended, first %s" % (len(bad), scale, bad[0]))


def zigzag(start, end, steps=24):
    (x0, y0), (x1, y1) = start, end
    return [(x0 + (x1 - x0) * i // steps + (3 if i % 2 else -3), y0 + (y1 - y0) * i // steps)
            for i in range(steps)] + [end]


def partial_repaints_match_a_full_one(session, program, scale):
    """Only what changed is painted on each step; after many steps the
    screen must still equal a full repaint of the same state. The drags end
    where the boxes map back exactly (S 40, B 60 -> (112, 112); hue 120 ->
    strip row 180; in saturation mode hue 96, B 60 -> (78, 112)), so the
    round trip through the swatch panel, which clears and repaints
    everything, shows the same state."""
    app = session.start_app(program, scale=scale, working_copy=True)
    app.wait_window()
    app.settle()
    app.drag(zigzag((40, 240), (112, 112)), pause=0.01)
    app.drag(zigzag((285, 60), (285, 180)), pause=0.01)
    app.click_object("Saturation", ["radio button"])
    app.settle()
    app.drag(zigzag((200, 30), (78, 112)), pause=0.01)
    s = app.scale
    x, y, w, h = (round(v * s) for v in ex.REGION)
    stepped = app.settle().crop(x, y, w, h)
    for _ in range(2):
        app.click(*ex.PRESET)
        app.settle()
    full = app.settle().crop(x, y, w, h)
    app.kill()
    diffs = harness.diff_pixels(stepped, full)
    if diffs:
        raise TestFailure(harness.describe_diff(diffs, "factor %s: the picker after drag steps, against a full repaint"
                                                % scale, w * h))
    print("factor %s: after drag steps the picker equals a full repaint" % scale)


def test(args):
    with harness.Session(screen=(1400, 1000), keep_temp=args.keep_temp) as session:
        for scale in (1, 1.5, 2):
            partial_repaints_match_a_full_one(session, args.app, scale)
        exp = ex.Expectations.start(session, args.expectations)
        base1, picks1 = run(session, exp, args.app, 1)
        for scale in (2, 1.5):
            base, picks = run(session, exp, args.app, scale)
            if scale == 2:
                check_blocks(base)
            check_sharp(base, base1, scale)
            for (x, y), a, b in zip(PICKS, picks1, picks):
                if a != b:
                    raise TestFailure("at factor %s a click on (%d, %d) reads %s, at factor 1 %s" % (scale, x, y, b, a))
            print("factor %s: same picks as at factor 1, picture sharp" % scale)


if __name__ == "__main__":
    sys.exit(harness.main(test))
