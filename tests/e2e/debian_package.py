"""The Debian package of a build folder: made with cpack, read back with
dpkg-deb."""

import glob
import os
import subprocess

from harness import HarnessError, TestFailure


def run(argv, timeout=120, **kw):
    try:
        return subprocess.run(argv, capture_output=True, text=True, timeout=timeout, **kw)
    except FileNotFoundError:
        raise HarnessError("%s is missing" % argv[0]) from None
    except subprocess.TimeoutExpired:
        raise HarnessError("%s did not finish within %d s" % (" ".join(argv), timeout)) from None


def build(build_dir, out_dir):
    """Packages what the build folder installs; returns the .deb's path."""
    config = os.path.join(build_dir, "CPackConfig.cmake")
    if not os.path.isfile(config):
        raise HarnessError("no CPackConfig.cmake in " + build_dir)
    r = run(["cpack", "-G", "DEB", "--config", config, "-B", out_dir], cwd=out_dir)
    if r.returncode != 0:
        raise TestFailure("cpack -G DEB failed:\n" + r.stdout + r.stderr)
    debs = glob.glob(os.path.join(out_dir, "*.deb"))
    if len(debs) != 1:
        raise TestFailure("cpack made %s, expected one .deb" % debs)
    print("built %s, %d bytes" % (os.path.basename(debs[0]), os.path.getsize(debs[0])))
    return debs[0]


def field(deb, name):
    r = run(["dpkg-deb", "--field", deb, name])
    if r.returncode != 0:
        raise TestFailure("dpkg-deb --field %s: %s" % (name, r.stderr))
    return r.stdout.strip()


def relations(value):
    """Package names of a Depends-like field, alternatives included."""
    names = set()
    for clause in value.split(","):
        for alternative in clause.split("|"):
            words = alternative.split()
            if words:
                names.add(words[0].split(":")[0])
    return names


def contents(deb):
    """{path: (mode string, owner/group)} of every entry, paths without "./"."""
    r = run(["dpkg-deb", "--contents", deb])
    if r.returncode != 0:
        raise TestFailure("dpkg-deb --contents: " + r.stderr)
    entries = {}
    for line in r.stdout.splitlines():
        mode, owner, _size, _date, _time, path = line.split(None, 5)
        entries[path[1:].rstrip("/") or "/"] = (mode, owner)
    return entries


def files(deb):
    """Paths of the regular files (not folders) the package installs."""
    return {p for p, (mode, _) in contents(deb).items() if not mode.startswith("d")}


def extract(deb, folder):
    r = run(["dpkg-deb", "-x", deb, folder])
    if r.returncode != 0:
        raise TestFailure("dpkg-deb -x: " + r.stderr)


def architecture():
    return run(["dpkg", "--print-architecture"]).stdout.strip()
