"""The Debian package made from the build folder by `cpack -G DEB`.

Its name, version and home page agree with what the program shows in its
About window; it holds exactly the installed files, owned by root, with the
program stripped; its Depends names the package of every library the
program links (computed, not written by hand) and the window font, and it
recommends Qt's Wayland plugin. The desktop entry and the software-centre
metadata inside it validate, each alone and together; lintian finds no
error and no warning; the changelog's latest entry is this version, of the
metadata's release date; every icon has the size its folder names.
"""

import datetime
import gzip
import os
import re
import shutil
import struct
import sys
import tempfile

import harness
from harness import TestFailure
from debian_package import architecture, build, contents, extract, field, files, relations, run
from installed_copy import APP_ID, FILES, ICON_SIZES

ABOUT_VERSION = "1.0"  # "Version 1.0" in the About window
DESKTOP = "/usr/share/applications/%s.desktop" % APP_ID
METAINFO = "/usr/share/metainfo/%s.metainfo.xml" % APP_ID


def utf16(text):
    """How the program stores a string constant it shows."""
    return text.encode("utf-16-le")


def check_fields(deb, program):
    version = field(deb, "Version")
    if version != ABOUT_VERSION:
        raise TestFailure("Version %r; the About window shows %r" % (version, ABOUT_VERSION))
    if utf16("Version " + version) not in program:
        raise TestFailure("the program has no text %r" % ("Version " + version))
    want = "tinctara_%s_%s.deb" % (version, architecture())
    if os.path.basename(deb) != want:
        raise TestFailure("package file %s, expected %s" % (os.path.basename(deb), want))
    if field(deb, "Package") != "tinctara":
        raise TestFailure("Package %r" % field(deb, "Package"))

    homepage = field(deb, "Homepage")
    if not homepage.startswith("https://") or utf16(homepage) not in program:
        raise TestFailure("Homepage %r is not the address the About window links to" % homepage)
    if not re.fullmatch(r"[^<>]+ <[^@<>\s]+@[^@<>\s]+>", field(deb, "Maintainer")):
        raise TestFailure("Maintainer %r is not 'Name <address>'" % field(deb, "Maintainer"))
    description = field(deb, "Description").splitlines()
    if len(description) < 2 or not description[0].strip() or len(description[0]) > 80:
        raise TestFailure("Description needs a short line and a long text: %r" % description)
    print("Version %s, Homepage %s, Maintainer %s" % (version, homepage, field(deb, "Maintainer")))


def check_contents(deb):
    regular = files(deb)
    want = {"/usr/" + rel for rel in FILES}
    if regular != want:
        raise TestFailure("package files differ; missing %s, unexpected %s"
                          % (sorted(want - regular), sorted(regular - want)))
    for path, (mode, owner) in sorted(contents(deb).items()):
        expected = "drwxr-xr-x" if mode.startswith("d") else \
            "-rwxr-xr-x" if path == "/usr/bin/tinctara" else "-rw-r--r--"
        if mode != expected or owner != "root/root":
            raise TestFailure("%s is %s %s, expected %s root/root" % (path, mode, owner, expected))
    print("contents: %s" % ", ".join(sorted(regular)))


def library_packages(program_path):
    """Debian packages of the shared libraries the program links directly."""
    r = run(["objdump", "-p", program_path])
    needed = re.findall(r"^\s*NEEDED\s+(\S+)$", r.stdout, re.M)
    if not needed:
        raise TestFailure("objdump finds no linked libraries in the program")
    resolved = {}
    for line in run(["ldd", program_path]).stdout.splitlines():
        # "name => path (address)", or "path (address)" for the loader
        m = re.match(r"\s*(?:(\S+) => )?(/\S+) \(", line)
        if m:
            resolved[m.group(1) or os.path.basename(m.group(2))] = m.group(2)
    packages = {}
    for lib in needed:
        path = resolved.get(lib)
        if not path:
            raise harness.HarnessError("ldd does not find %s" % lib)
        # dpkg knows a library under the folder its package names, which
        # with /lib a link to /usr/lib may not be the one ldd says.
        other = path[len("/usr"):] if path.startswith("/usr/") else "/usr" + path
        for candidate in (path, other):
            owner = run(["dpkg", "-S", candidate])
            if owner.returncode == 0:
                packages[lib] = owner.stdout.split(":")[0]
                break
        else:
            raise harness.HarnessError("no package owns %s" % path)
    return packages


def check_relations(deb, program_path):
    depends = field(deb, "Depends")
    names = relations(depends)
    for lib, package in sorted(library_packages(program_path).items()):
        if package not in names:
            raise TestFailure("the program links %s from %s, which Depends lacks: %s" % (lib, package, depends))
    if "fonts-liberation2" not in names:
        raise TestFailure("Depends lacks the window font fonts-liberation2: " + depends)
    recommends = relations(field(deb, "Recommends"))
    if "qt6-wayland" not in recommends:
        raise TestFailure("Recommends lacks qt6-wayland: %s" % sorted(recommends))
    print("Depends: " + depends)
    print("Recommends: " + field(deb, "Recommends"))


def check_stripped(program_path):
    sections = run(["readelf", "-S", "-W", program_path]).stdout
    left = sorted(set(re.findall(r"\] (\.symtab|\.debug_\w+)", sections)))
    if left:
        raise TestFailure("the packaged program is not stripped: %s" % left)


def validate(tree):
    for argv in (["desktop-file-validate", tree + DESKTOP],
                 ["appstreamcli", "validate", "--pedantic", "--no-net", "--explain", tree + METAINFO],
                 # Together: the metadata's launchable desktop entry is there.
                 ["appstreamcli", "validate-tree", "--pedantic", "--no-net", "--explain", tree]):
        r = run(argv)
        output = (r.stdout + r.stderr).strip()
        print("$ %s\n%s" % (" ".join(argv[:-1] + [os.path.basename(argv[-1].rstrip("/")) or argv[-1]]),
                            output or "(nothing)"))
        # desktop-file-validate passes hints with status 0; none are allowed.
        if r.returncode != 0 or (argv[0] == "desktop-file-validate" and output):
            raise TestFailure("%s failed (%d):\n%s" % (argv[0], r.returncode, output))


def check_entry_names_id(tree):
    with open(tree + METAINFO, encoding="utf-8") as f:
        metainfo = f.read()
    launchable = re.search(r'<launchable type="desktop-id">([^<]+)</launchable>', metainfo)
    if not launchable or launchable.group(1) != os.path.basename(DESKTOP):
        raise TestFailure("the metadata launches %r, not %s" % (launchable and launchable.group(1), DESKTOP))
    release = re.search(r'<release version="([^"]+)"', metainfo)
    if not release or release.group(1) != ABOUT_VERSION:
        raise TestFailure("the release entry is %r, not the About window's %s"
                          % (release and release.group(1), ABOUT_VERSION))
    # Desktops find a Wayland window's entry by its app id: the program
    # must name the same desktop id.
    with open(tree + "/usr/bin/tinctara", "rb") as f:
        if utf16(APP_ID) not in f.read():
            raise TestFailure("the program does not name its desktop entry %s" % APP_ID)


def check_lintian(deb):
    # Informational tags are printed, not failed on.
    r = run(["lintian", "--fail-on", "error,warning", "--display-info", deb], timeout=300)
    tags = [line for line in r.stdout.splitlines() if re.match(r"[A-Z]: ", line)]
    print("$ lintian --display-info %s\n%s" % (os.path.basename(deb), "\n".join(tags) or "(nothing)"))
    if r.returncode != 0 or any(line[0] in "EW" for line in tags):
        raise TestFailure("lintian (%d):\n%s" % (r.returncode, (r.stdout + r.stderr).strip()))


def check_changelog(deb, tree, work):
    plain = os.path.join(work, "changelog")
    with gzip.open(tree + "/usr/share/doc/tinctara/changelog.gz") as f, open(plain, "wb") as out:
        out.write(f.read())
    latest = {}
    for name in ("Version", "Timestamp", "Maintainer"):
        r = run(["dpkg-parsechangelog", "-l", plain, "-S", name])
        if r.returncode != 0:
            raise TestFailure("dpkg-parsechangelog: " + r.stderr)
        latest[name] = r.stdout.strip()
    with open(tree + METAINFO, encoding="utf-8") as f:
        released = re.search(r'<release version="[^"]+" date="([^"]+)"', f.read()).group(1)
    day = datetime.datetime.fromtimestamp(int(latest["Timestamp"]), datetime.timezone.utc).date().isoformat()
    if (latest["Version"], day, latest["Maintainer"]) != (field(deb, "Version"), released, field(deb, "Maintainer")):
        raise TestFailure("the changelog's latest entry is %s of %s by %s; the package is %s, released %s by %s"
                          % (latest["Version"], day, latest["Maintainer"], field(deb, "Version"), released,
                             field(deb, "Maintainer")))
    print("changelog: %s of %s" % (latest["Version"], day))


def check_icons(tree):
    for n in ICON_SIZES:
        with open(tree + "/usr/share/icons/hicolor/%dx%d/apps/tinctara.png" % (n, n), "rb") as f:
            head = f.read(24)
        size = struct.unpack(">II", head[16:24]) if head[12:16] == b"IHDR" else None
        if size != (n, n):
            raise TestFailure("the %dx%d icon is %s" % (n, n, size))


def test(args):
    build_dir = os.path.dirname(os.path.abspath(args.app))
    work = tempfile.mkdtemp(prefix="tinctara-deb-")
    try:
        deb = build(build_dir, work)
        tree = os.path.join(work, "tree")
        extract(deb, tree)
        program_path = tree + "/usr/bin/tinctara"
        with open(program_path, "rb") as f:
            program = f.read()
        check_fields(deb, program)
        check_contents(deb)
        check_stripped(program_path)
        check_relations(deb, program_path)
        validate(tree)
        check_entry_names_id(tree)
        check_changelog(deb, tree, work)
        check_icons(tree)
        check_lintian(deb)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(harness.main(test))
