"""Start-up picture and values of the real program.

Every pixel of the picker part of the client area (x 0..301, y 0..274) must
equal the picture drawn by the expected-picture generator on the same display;
the six value boxes must read H 0, S 100, B 100, R 255, G 0, B 0 through the
accessibility interface; both colour samples must be pure red.
"""

import os
import sys
import time

import harness
from harness import TestFailure

REGION = (0, 0, 302, 275)  # left of the frames and controls at x >= 302
EXPECTED_TEXTS = {"Hue": "0", "Saturation": "100", "Brightness": "100", "Red": "255", "Green": "0", "Blue": "0"}
RED = (255, 0, 0)
# Colour samples in client pixels: fraSamples at (308, 2) holds the new-colour
# sample at (8, 24, 49, 29) and the old-colour sample at (57, 24, 48, 29).
SAMPLES = {"new colour sample": (308 + 8, 2 + 24, 49, 29), "old colour sample": (308 + 57, 2 + 24, 48, 29)}
MARGIN = 3  # whatever a style draws along a label's border is not checked


def expected_picture(session, generator, scale):
    path = os.path.join(session.tmp, "expected.ppm")
    r = session.run([generator, path], timeout=60)
    if r.returncode != 0:
        raise harness.HarnessError("%s failed (%d): %s" % (generator, r.returncode, r.stderr.decode(errors="replace")))
    print("expected picture: " + r.stdout.decode().strip())
    img = harness.Image.load_ppm(path)
    if (img.width, img.height) != (REGION[2], REGION[3]):
        raise harness.HarnessError("expected picture is %dx%d" % (img.width, img.height))
    return img.scaled(scale) if scale != 1 else img


def check_picker(app, expected, shots):
    s = app.scale
    x, y, w, h = (v * s for v in REGION)
    deadline = time.monotonic() + 10
    while True:
        client = app.grab_client()
        actual = client.crop(x, y, w, h)
        diffs = harness.diff_pixels(actual, expected)
        if not diffs or time.monotonic() >= deadline:
            break
        time.sleep(0.2)
    if shots:
        client.save_png(os.path.join(shots, "startup_client_x%d.png" % s))
        expected.save_png(os.path.join(shots, "startup_expected_x%d.png" % s))
    if diffs:
        if shots:
            harness.diff_image(actual, expected).save_png(os.path.join(shots, "startup_diff_x%d.png" % s))
        # Reported in client pixels: the first differing screen pixel of each.
        by_client = {}
        for dx, dy, a, e in diffs:
            by_client.setdefault((dx // s, dy // s), (a, e))
        diffs = [(cx, cy, a, e) for (cx, cy), (a, e) in by_client.items()]
        raise TestFailure(harness.describe_diff(diffs, "picker region (client x 0..301, y 0..274)", w * h // (s * s)))
    print("picker region: all %d pixels as expected" % (w * h))
    return client


def check_samples(client, scale):
    for name, (sx, sy, sw, sh) in SAMPLES.items():
        wrong = []
        count = 0
        for cy in range(sy + MARGIN, sy + sh - MARGIN):
            for cx in range(sx + MARGIN, sx + sw - MARGIN):
                for dy in range(scale):
                    for dx in range(scale):
                        count += 1
                        px = client.pixel(cx * scale + dx, cy * scale + dy)
                        if px != RED:
                            wrong.append((cx, cy, px, RED))
        if wrong:
            raise TestFailure(harness.describe_diff(wrong, name, count))
        print("%s: %d pixels pure red" % (name, count))


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        expected = expected_picture(session, args.expected_generator, args.scale)
        app = session.start_app(args.app, scale=args.scale, working_copy=True)
        app.wait_window()
        cw, ch = app.client_size()
        if app.window_rect[2] != cw:
            raise TestFailure("window is %d pixels wide, expected the client width %d" % (app.window_rect[2], cw))
        print("window %s, client area at %s" % (app.window_rect, app.client_origin))
        app.settle()
        client = check_picker(app, expected, args.shots)
        check_samples(client, args.scale)
        print("texts: %s" % app.wait_texts(EXPECTED_TEXTS, timeout=5))
        if not app.running():
            raise TestFailure("the program ended during the checks")


if __name__ == "__main__":
    sys.exit(harness.main(test))
