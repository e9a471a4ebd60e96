"""The Debian package installs and removes cleanly with dpkg, and the
installed /usr/bin/tinctara opens and keeps a user's custom colours in that
user's data folder (a user cannot write /usr/bin).

Needs root; skipped otherwise. Leaves the machine as it found it: it refuses
to run where a package named tinctara or any of its files is already there,
and removes the package again whatever happens after the install.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile

import expected as ex
import harness
from harness import TestFailure
from debian_package import build, files, run
from installed_copy import APP_ID, User, Runner, check_color_kept

SKIP = 77
PROGRAM = "/usr/bin/tinctara"


def package_status():
    """dpkg's status line for the package, or "" when dpkg does not know it."""
    r = run(["dpkg-query", "-W", "-f=${Status}", "tinctara"])
    return r.stdout.strip() if r.returncode == 0 else ""


def why_not_here(paths):
    status = package_status()
    if status and not status.endswith("not-installed"):
        return "a package named tinctara is already on this machine (%s)" % status
    present = sorted(p for p in paths if os.path.lexists(p))
    if present:
        return "files of the package are already on this machine: %s" % ", ".join(present)
    return None


def dpkg(*args):
    r = run(["dpkg"] + list(args), timeout=100, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
    if r.returncode != 0:
        raise TestFailure("dpkg %s failed (%d):\n%s" % (" ".join(args), r.returncode, r.stdout + r.stderr))


def check_installed(paths):
    if package_status() != "install ok installed":
        raise TestFailure("after dpkg -i the status is %r" % package_status())
    listed = set(run(["dpkg-query", "-L", "tinctara"]).stdout.split())
    if not paths <= listed:
        raise TestFailure("dpkg does not list %s" % sorted(paths - listed))
    for path in paths:
        if not os.path.isfile(path):
            raise TestFailure("not installed: " + path)
    print("installed: %s" % ", ".join(sorted(paths)))


def check_window_class(app):
    """X11 desktops match the window to the entry by its class."""
    with open("/usr/share/applications/%s.desktop" % APP_ID, encoding="utf-8") as f:
        entry = dict(line.split("=", 1) for line in f.read().splitlines()
                     if "=" in line and not line.startswith("#"))
    r = app.session.run(["xprop", "-id", app.window, "WM_CLASS"])
    found = r.stdout.decode().strip()
    want = '"%s"' % entry.get("StartupWMClass")
    if not found.endswith(", " + want):
        raise TestFailure("the window's class is %r, the desktop entry expects %s" % (found, want))
    print("window class %s matches the desktop entry" % want)


def check_removed(paths):
    status = package_status()
    if status and not status.endswith("not-installed"):
        raise TestFailure("after dpkg --purge the status is %r" % status)
    left = sorted(p for p in paths if os.path.lexists(p))
    if left:
        raise TestFailure("dpkg --purge left %s" % left)
    print("removed: no file left, dpkg no longer knows the package")


def skip(reason):
    print("SKIP: " + reason)
    raise SystemExit(SKIP)


def test(args):
    if os.geteuid() != 0:
        skip("installing a package needs root")
    signal.signal(signal.SIGTERM, harness._raise_on_term)  # a timeout still removes the package
    build_dir = os.path.dirname(os.path.abspath(args.app))
    work = tempfile.mkdtemp(prefix="tinctara-deb-")
    os.chmod(work, 0o755)
    installed = False
    try:
        deb = build(build_dir, work)
        packaged = files(deb)
        reason = why_not_here(packaged)
        if reason:
            skip(reason)
        installed = True  # from here on a half-done install is undone too
        dpkg("-i", deb)
        check_installed(packaged)
        with harness.Session(keep_temp=args.keep_temp) as session:
            exp = ex.Expectations.start(session, args.expectations)
            check_color_kept(session, exp, User(work), PROGRAM, first_run=check_window_class)
            check_color_kept(session, exp, Runner(work), PROGRAM)
        installed = False
        dpkg("--purge", "tinctara")
        check_removed(packaged)
    finally:
        if installed:
            subprocess.run(["dpkg", "--purge", "tinctara"], capture_output=True, timeout=100)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(harness.main(test))
