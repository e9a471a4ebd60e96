"""An installed copy: `cmake --install` lays out the program, its desktop
entry, software-centre metadata and icons; run from a prefix its user cannot
write, the program keeps the custom colours in the user's data folder, and
they survive a restart."""

import os
import shutil
import subprocess
import sys
import tempfile

import expected as ex
import harness
from harness import TestFailure
from installed_copy import APP_ID, FILES, User, Runner, check_color_kept


def install(build_dir, prefix):
    r = subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix],
                       capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        raise TestFailure("cmake --install failed:\n" + r.stdout + r.stderr)
    for rel in FILES:
        if not os.path.isfile(os.path.join(prefix, rel)):
            raise TestFailure("not installed: " + rel)
    r = subprocess.run(["desktop-file-validate", os.path.join(prefix, "share/applications/%s.desktop" % APP_ID)],
                       capture_output=True, text=True, timeout=30)
    if r.returncode != 0 or r.stdout.strip():
        raise TestFailure("desktop-file-validate: " + r.stdout + r.stderr)
    print("installed and the desktop entry validates")


def make_read_only(prefix):
    for folder, _, _ in os.walk(prefix):
        os.chmod(folder, 0o555)
    if os.access(os.path.join(prefix, "bin"), os.W_OK):
        raise TestFailure("could not make %s read-only" % prefix)


def test(args):
    build_dir = os.path.dirname(os.path.abspath(args.app))
    root = tempfile.mkdtemp(prefix="tinctara-install-")
    os.chmod(root, 0o755)
    try:
        prefix = os.path.join(root, "prefix")
        install(build_dir, prefix)
        user = User(root)
        with harness.Session(keep_temp=args.keep_temp) as session:
            exp = ex.Expectations.start(session, args.expectations)
            check_color_kept(session, exp, Runner(root), os.path.join(prefix, "bin", "tinctara"))
            if not user.as_nobody:
                make_read_only(prefix)
            check_color_kept(session, exp, user, os.path.join(prefix, "bin", "tinctara"))
    finally:
        for folder, _, _ in os.walk(root):
            try:
                os.chmod(folder, 0o755)
            except OSError:
                pass
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(harness.main(test))
