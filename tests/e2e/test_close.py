"""OK, Cancel and File > Exit each end the real program with status 0, and
none of them leaves a file beside the program."""

import os
import sys

import harness
from harness import TestFailure

EXIT_WITHIN = 5  # seconds


def click_ok(app):
    app.click(*harness.centre(370, 176, 55, 27))  # cmdOK


def click_cancel(app):
    app.click(*harness.centre(370, 240, 55, 27))  # cmdCancel


def file_exit(app):
    app.click_object("File", ["menu item"])
    app.click_object("Exit", ["menu item"])


def run_once(session, program, name, action):
    app = session.start_app(program, working_copy=True)
    app.wait_window()
    app.settle()
    before = sorted(os.listdir(app.folder))
    action(app)
    try:
        status = app.wait_exit(EXIT_WITHIN)
    except TestFailure:
        raise TestFailure("%s: the program was still running %d s later" % (name, EXIT_WITHIN)) from None
    if status != 0:
        out, err = app.output()
        raise TestFailure("%s: exit status %d, expected 0; stderr:\n%s" % (name, status, err[-3000:]))
    after = sorted(os.listdir(app.folder))
    if after != before:
        raise TestFailure("%s: the program's folder changed from %s to %s" % (name, before, after))
    print("%s: exit status 0" % name)


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        for name, action in (("OK", click_ok), ("Cancel", click_cancel), ("File > Exit", file_exit)):
            run_once(session, args.app, name, action)


if __name__ == "__main__":
    sys.exit(harness.main(test))
