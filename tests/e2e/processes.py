"""Processes the harness starts, and waits with deadlines.

Every child is started in a process group of its own and ends with the
test process, also when that is killed outright; ending a child ends what
it left in its group."""

import ctypes
import os
import select
import signal
import subprocess
import time

from errors import HarnessError, TestFailure

HERE = os.path.dirname(os.path.abspath(__file__))
# Debian's own interpreter, not the first python3 on PATH: python3-pyatspi,
# python3-dbus and python3-gi are installed for it only.
SYSTEM_PYTHON = "/usr/bin/python3"


def _die_with_parent():
    # Children go when the test process goes, even if it is killed outright.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG; TERM lets helpers end theirs
    except Exception:
        pass


def _spawn(argv, env, stdout=subprocess.DEVNULL, stderr_path=None, stdout_path=None, **kw):
    """Starts a process in a process group of its own, with its output in
    files (or stdout a pipe)."""
    files = []
    try:
        if stdout_path:
            stdout = open(stdout_path, "wb")
            files.append(stdout)
        stderr = subprocess.DEVNULL
        if stderr_path:
            stderr = open(stderr_path, "wb")
            files.append(stderr)
        return subprocess.Popen(argv, env=env, start_new_session=True, preexec_fn=_die_with_parent,
                                close_fds=True, stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr, **kw)
    finally:
        for f in files:
            f.close()


def _stop_group(proc, grace=2.0):
    """Ends a process we started and whatever it left in its process group."""
    if proc is None:
        return
    try:
        pgid = os.getpgid(proc.pid) if proc.poll() is None else proc.pid
    except ProcessLookupError:
        pgid = proc.pid
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 2.0)):
        try:
            os.killpg(pgid, sig)
        except (ProcessLookupError, PermissionError):
            pass
        try:
            proc.wait(timeout=wait)
            break
        except subprocess.TimeoutExpired:
            continue
    # Anything else left in the group.
    try:
        os.killpg(pgid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


def _reap_orphans():
    """Collects descendants that daemonised and ended (ours as subreaper)."""
    deadline = time.monotonic() + 2.0
    while time.monotonic() < deadline:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            time.sleep(0.05)


def _read_line(stream, timeout, what):
    deadline = time.monotonic() + timeout
    buf = b""
    fd = stream.fileno()
    while not buf.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            raise HarnessError("%s: nothing within %.0f s" % (what, timeout))
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            continue
        chunk = os.read(fd, 4096)
        if not chunk:
            raise HarnessError("%s: closed before answering (got %r)" % (what, buf))
        buf += chunk
    return buf.decode().strip()


def wait_until(fn, timeout, interval=0.05, what="condition"):
    """Calls fn until it returns something true; returns that value. Raises
    TestFailure with the last value when the deadline passes."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = fn()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise TestFailure("%s not reached within %.1f s (last: %r)" % (what, timeout, last))
        time.sleep(interval)
