"""Without any display the program says so in one line and exits non-zero,
instead of letting the toolkit abort."""

import os
import signal
import subprocess
import sys
import tempfile

import harness
from harness import TestFailure


def test(args):
    env = {k: v for k, v in os.environ.items()
           if k not in harness._LEAKING and not k.startswith("XDG_")}
    with tempfile.TemporaryDirectory(prefix="tinctara-e2e-") as home:
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env["HOME"] = home
        env["XDG_RUNTIME_DIR"] = runtime
        try:
            r = subprocess.run([args.app], env=env, cwd=home, stdin=subprocess.DEVNULL,
                               capture_output=True, timeout=20)
        except subprocess.TimeoutExpired:
            raise TestFailure("the program still runs 20 s after starting without a display") from None
    out = (r.stdout + r.stderr).decode(errors="replace")
    lines = [line for line in out.splitlines() if line.strip()]
    print("exit status %d, output: %r" % (r.returncode, out))
    if r.returncode < 0:
        raise TestFailure("the program died of signal %s" % signal.Signals(-r.returncode).name)
    if r.returncode == 0:
        raise TestFailure("exit status 0 without a display")
    if r.returncode in (134, 139):
        raise TestFailure("exit status %d looks like an abort or crash" % r.returncode)
    if len(lines) != 1:
        raise TestFailure("expected one line of output, got %d" % len(lines))
    if "display" not in lines[0].lower():
        raise TestFailure("the message does not mention the display: %r" % lines[0])
    for sign in ("qt.qpa", "could not connect", "aborted", "this application failed to start"):
        if sign in out.lower():
            raise TestFailure("toolkit failure in the output (%r)" % sign)


if __name__ == "__main__":
    sys.exit(harness.main(test))
