"""What the picker and the swatch panel must show, and the waits that check it.

Pictures and every number behind them (the boxes' values for a position,
where a value puts the ring or the marks, safe colours, cells, the custom
colours file) come from the expectations program (Expectations.cpp, built
from the test-support library that the unit and widget tests use), run on
the program's display. Here they are only asked for, composed into scenes
and compared. Colours are (red, green, blue) tuples; positions are client
pixels.

REGION (the picker part of the client area, x, y, width, height),
START_RING and START_MARKS (where the program puts the ring and the marks)
come from the same test support, through the expectations program run
with --geometry, which needs no display. The program is the one given with
--expectations or, for a test without it, in TINCTARA_EXPECTATIONS.
"""

import contextlib
import functools
import json
import os
import select
import subprocess
import sys
import time

import harness

# Samples in client pixels: fraSamples at (308, 2) holds the new-colour sample at
# (8, 24, 49, 29) and the old one at (57, 24, 48, 29); fraAdd at (302, 204)
# holds the add sample at (2, 8, 57, 23).
NEW_SAMPLE = (308 + 8, 2 + 24, 49, 29)
OLD_SAMPLE = (308 + 57, 2 + 24, 48, 29)
ADD_SAMPLE = (302 + 2, 204 + 8, 57, 23)

# The Preset button (370, 208, 55, 27), and the box the readout prints into,
# behind the value frame while the picker shows.
PRESET = harness.centre(370, 208, 55, 27)
READOUT = (312, 80, 80, 50)

# The field of pure red the program starts with.
RED = (255, 0, 0)


@functools.lru_cache(maxsize=None)
def geometry():
    """The expectations program's bounds: {"picker_region": [x, y, w, h],
    "start_ring": [x, y], "start_marks": row}."""
    program = os.environ.get("TINCTARA_EXPECTATIONS")
    if "--expectations" in sys.argv[:-1]:
        program = sys.argv[sys.argv.index("--expectations") + 1]
    if not program:
        raise harness.HarnessError("no expectations program for the picker's bounds: "
                                   "give --expectations or set TINCTARA_EXPECTATIONS")
    r = subprocess.run([program, "--geometry"], capture_output=True, timeout=30)
    if r.returncode != 0:
        raise harness.HarnessError("%s --geometry failed: %s" % (program, r.stderr.decode(errors="replace")))
    return json.loads(r.stdout)


def __getattr__(name):
    # Read on first use, so that importing this module runs nothing.
    if name == "REGION":
        return tuple(geometry()["picker_region"])
    if name == "START_RING":
        return tuple(geometry()["start_ring"])
    if name == "START_MARKS":
        return geometry()["start_marks"]
    raise AttributeError("module %r has no attribute %r" % (__name__, name))


def crop(app, picture, rect):
    """The client rectangle (x, y, width, height) of a client picture."""
    s = app.scale
    x, y, w, h = rect
    return picture.crop(x * s, y * s, w * s, h * s)


class Expectations:
    """The expectations program: one JSON request a line, one JSON answer a
    line, picture bytes after the answers that name them."""

    TIMEOUT = 30

    def __init__(self, proc):
        self._proc = proc
        self._buffer = bytearray()

    @staticmethod
    def start(session, program):
        if not program:
            raise harness.HarnessError("no expectations program given (--expectations)")
        return Expectations(session.start_helper([program]))

    def _fill(self, wanted, deadline, what):
        fd = self._proc.stdout.fileno()
        while not wanted():
            left = deadline - time.monotonic()
            if left <= 0:
                raise harness.HarnessError("the expectations program gave no answer to %s" % what)
            if select.select([fd], [], [], left)[0]:
                chunk = os.read(fd, 1 << 16)
                if not chunk:
                    raise harness.HarnessError("the expectations program ended (status %s) on %s"
                                               % (self._proc.poll(), what))
                self._buffer += chunk

    def ask(self, op, **fields):
        """The answer to one request; a picture it brings, as an Image of
        REGION, under "picture"."""
        request = json.dumps(dict(fields, op=op))
        try:
            self._proc.stdin.write(request.encode() + b"\n")
            self._proc.stdin.flush()
        except OSError as e:
            raise harness.HarnessError("the expectations program takes no request: %s" % e) from None
        deadline = time.monotonic() + self.TIMEOUT
        self._fill(lambda: b"\n" in self._buffer, deadline, request)
        end = self._buffer.index(b"\n")
        answer = json.loads(self._buffer[:end])
        del self._buffer[:end + 1]
        if "error" in answer:
            raise harness.HarnessError("the expectations program on %s: %s" % (request, answer["error"]))
        size = answer.get("bytes", 0)
        if size:
            self._fill(lambda: len(self._buffer) >= size, deadline, request)
            answer["picture"] = harness.Image(answer["width"], answer["height"], bytes(self._buffer[:size]))
            del self._buffer[:size]
        return answer

    # -- numbers

    def value(self, name, of):
        """A box value for a position or a position for a box value, by
        name: hue_of_field_x, percent_of_field_x, percent_of_row,
        hue_of_strip_row, field_x_of_hue, field_x_of_percent,
        field_y_of_percent, mark_row_of_typed_hue, mark_row_of_switched_hue,
        mark_row_of_percent."""
        return int(self.ask("value", name=name, of=of)["value"])

    def hue_strip(self, row):
        """The spectrum's colour at a client row."""
        return tuple(self.ask("hue_strip", row=row)["rgb"])

    def hue_mix(self, strip, s, b):
        """The new-colour sample while the hue strip is dragged."""
        return tuple(self.ask("hue_mix", strip=list(strip), s=s, b=b)["rgb"])

    def cell_rect(self, k):
        """Cell k (1..224): left, top, right, bottom, right and bottom exclusive."""
        return tuple(self.ask("cell", cell=k)["rect"])

    def cell_centre(self, k):
        return tuple(self.ask("cell", cell=k)["centre"])

    def safe_color(self, k):
        """The safe palette's colour of cell k (black for the fillers)."""
        return tuple(self.ask("cell", cell=k)["safe_colour"])

    def custom_colors_file(self, cells):
        """The bytes of the custom colours file holding {cell: colour}, 0
        in every other line."""
        text = self.ask("custom_colors_file", cells={str(k): list(c) for k, c in cells.items()})["text"]
        return text.encode("ascii")

    # -- pictures

    def picker(self, mode, ring, marks, hue=RED, picture=True):
        """The picker in "hue", "saturation" or "brightness" mode with the
        ring at `ring` and the marks at row `marks` (in hue mode the field
        of the pure hue `hue`): {"picture", "under_ring", "strip_at_marks"}."""
        return self.ask("picker", mode=mode, ring=list(ring), marks=marks, hue=list(hue), picture=picture)

    def panel(self, selected, custom=None):
        """The safe palette, or the custom colours {cell: colour} (black
        elsewhere), with the selection edge around cell `selected`."""
        if custom is None:
            return self.ask("panel", safe=True, selected=selected)["picture"]
        return self.ask("panel", custom={str(k): list(c) for k, c in custom.items()},
                        selected=selected)["picture"]


def boxes(h, s, b, rgb):
    """The six value boxes as the accessibility interface names them."""
    return {"Hue": str(h), "Saturation": str(s), "Brightness": str(b),
            "Red": str(rgb[0]), "Green": str(rgb[1]), "Blue": str(rgb[2])}


def expect(app, what, picture=None, texts=None, sample=None, shots=None, name=None):
    """Waits until the boxes read `texts`, the picker region shows `picture`
    and the new-colour sample is `sample`; failures name the step."""
    try:
        if texts is not None:
            app.wait_texts(texts)
        if picture is not None:
            app.wait_picture(picture, "picker region", tuple(geometry()["picker_region"]), shots, name)
        if sample is not None:
            app.wait_color(NEW_SAMPLE, sample, "new-colour sample")
    except harness.TestFailure as e:
        raise harness.TestFailure("%s: %s" % (what, e)) from None
    print("%s: as expected" % what)


class Picker:
    """What the picker shows in a mode: the ring at `ring`, the strip marks
    at row `mark_row` and, in hue mode, the field of the pure hue `hue`."""

    def __init__(self, exp, mode="hue", ring=None, mark_row=None):
        self.exp = exp
        self.mode = mode
        self.hue = RED
        self.ring = ring or tuple(geometry()["start_ring"])
        self.mark_row = geometry()["start_marks"] if mark_row is None else mark_row

    def _ask(self, picture):
        return self.exp.picker(self.mode, self.ring, self.mark_row, self.hue, picture)

    def picture(self):
        return self._ask(True)["picture"]

    def under_ring(self):
        """The field's colour under the ring's centre."""
        return tuple(self._ask(False)["under_ring"])

    def strip_color(self):
        """The strip's colour at the marks."""
        return tuple(self._ask(False)["strip_at_marks"])


@contextlib.contextmanager
def started(args):
    """A session with the expectations program and a copy of the program in
    a fresh folder, its window shown and settled: (expectations, app). The
    program must still run at the end."""
    with harness.Session(keep_temp=args.keep_temp) as session:
        exp = Expectations.start(session, args.expectations)
        app = session.start_app(args.app, working_copy=True)
        app.wait_window()
        app.settle()
        yield exp, app
        if not app.running():
            raise harness.TestFailure("the program ended during the checks")
