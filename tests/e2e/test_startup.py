"""Start-up picture and values of the real program.

Every pixel of the picker part of the client area (x 0..301, y 0..274) must
equal the start-up picture the expectations program draws on the same
display; the six value boxes must read H 0, S 100, B 100, R 255, G 0, B 0
through the accessibility interface; both colour samples must be pure red.
"""

import sys

import expected as ex
import harness
from harness import TestFailure

EXPECTED_TEXTS = ex.boxes(0, 100, 100, ex.RED)


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        exp = ex.Expectations.start(session, args.expectations)
        picture = ex.Picker(exp).picture()
        app = session.start_app(args.app, scale=args.scale, working_copy=True)
        app.wait_window()
        cw, ch = app.client_size()
        if app.window_rect[2] != cw:
            raise TestFailure("window is %d pixels wide, expected the client width %d" % (app.window_rect[2], cw))
        print("window %s, client area at %s" % (app.window_rect, app.client_origin))
        app.settle()
        app.wait_picture(picture, "picker region (client x 0..301, y 0..274)", ex.REGION, args.shots,
                         "startup_x%d" % args.scale)
        print("picker region: every pixel as expected")
        for what, rect in (("new colour sample", ex.NEW_SAMPLE), ("old colour sample", ex.OLD_SAMPLE)):
            app.wait_color(rect, ex.RED, what)
            print("%s: pure red" % what)
        print("texts: %s" % app.wait_texts(EXPECTED_TEXTS, timeout=5))
        if not app.running():
            raise TestFailure("the program ended during the checks")


if __name__ == "__main__":
    sys.exit(harness.main(test))
