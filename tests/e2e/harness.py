"""Runs the real program in a private X server and drives it like a person.

A Session owns a private Xvfb display, a private D-Bus session with the
accessibility bus, and a temporary folder (home, runtime dir, working
copies). Inside it, App runs the program once: finds its window, takes
screenshots of the client area, clicks and types with xdotool and reads the
texts of controls through AT-SPI. Everything started here is ended when the
Session closes, also when a test fails or is interrupted. Every wait has a
deadline.

Only the Python standard library is used here; the accessibility queries run
in one child /usr/bin/python3 with pyatspi per program run (atspi_query.py).

The parts live in modules by job: images (PPM, PNG, pixel comparison),
processes (children and waits), session (X server, D-Bus, folders),
app_driver (one run of the program), atspi_reader (its accessibility
reader). Tests import them all from here.

A test script:

    def test(args):
        with harness.Session(keep_temp=args.keep_temp) as session:
            app = session.start_app(args.app, scale=args.scale, working_copy=True)
            app.wait_window()
            app.settle()
            app.drag([(100, 100), (120, 140)])         # client pixels
            app.wait_texts({"Saturation": "43"})       # polls, reports what differs
            picture = app.grab_client()                # Image, screen pixels
            app.click(397, 189)                        # OK
            status = app.wait_exit(5)

    if __name__ == "__main__":
        sys.exit(harness.main(test))
"""

import os

from app_driver import CLIENT_HEIGHT, CLIENT_WIDTH, WINDOW_TITLE, App, centre  # noqa: F401
from errors import HarnessError, TestFailure  # noqa: F401
from images import Image, describe_diff, diff_image, diff_pixels, read_ppm, write_png  # noqa: F401
from processes import (HERE, SYSTEM_PYTHON, _die_with_parent, _reap_orphans, _read_line,  # noqa: F401
                       _spawn, _stop_group, wait_until)
from session import _LEAKING, _TOOLS, Session, _raise_on_term, check_tools  # noqa: F401


def main(test):
    """Runs test(args) with the common command line; exit 0 on success, 1 on a
    finding, 2 when the harness itself failed."""
    import argparse
    p = argparse.ArgumentParser()
    p.add_argument("--app", required=True, help="the built program")
    p.add_argument("--shots", help="folder for screenshots")
    p.add_argument("--expectations", help="program that answers expected pictures and values (expected.py)")
    p.add_argument("--scale", type=int, default=1)
    p.add_argument("--keep-temp", action="store_true")
    args = p.parse_args()
    if not os.access(args.app, os.X_OK):
        print("not an executable: %s" % args.app)
        return 2
    try:
        test(args)
    except TestFailure as e:
        print("FAIL: %s" % e)
        return 1
    except (HarnessError, OSError) as e:
        print("HARNESS ERROR: %s" % e)
        return 2
    print("PASS")
    return 0

