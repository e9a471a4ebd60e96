"""What the picker and the swatch panel must show, from closed forms.

Colours are (red, green, blue) tuples; positions are client pixels. The
palette colours and the pixel sets of the ring and the strip marks come from
the parts generator (ExpectedParts.cpp), run on the program's display;
everything else is computed here, independently of the program's renderers.
"""

import json
import math
import struct

import harness

FIELD_LEFT, FIELD_TOP, FIELD_RIGHT, FIELD_BOTTOM = 10, 10, 265, 265
STRIP_LEFT, STRIP_RIGHT, STRIP_TOP, STRIP_BOTTOM = 277, 292, 10, 265
# The part of the client area left of the frames and controls.
REGION = (0, 0, 302, 275)

# Samples in client pixels: fraSamples at (308, 2) holds the new-colour sample at
# (8, 24, 49, 29) and the old one at (57, 24, 48, 29); fraAdd at (302, 204)
# holds the add sample at (2, 8, 57, 23).
NEW_SAMPLE = (308 + 8, 2 + 24, 49, 29)
OLD_SAMPLE = (308 + 57, 2 + 24, 48, 29)
ADD_SAMPLE = (302 + 2, 204 + 8, 57, 23)


def nearest(num, den):
    """Nearest integer to num / den (den > 0) where the quotient is never a
    half."""
    if (2 * num) % (2 * den) == den:
        raise harness.HarnessError("unexpected tie in %d / %d" % (num, den))
    return (2 * num + den) // (2 * den)


def float32(v):
    """The nearest single-precision value."""
    return struct.unpack("f", struct.pack("f", v))[0]


# ---------------------------------------------------------------- mappings


def field_x_to_saturation(x):
    return (x - FIELD_LEFT) * 100 // 255


def field_x_to_hue(x):
    return (x - FIELD_LEFT) * 360 // 255


def field_y_to_brightness(y):
    return (255 - y + FIELD_TOP) * 100 // 255


def field_y_to_saturation(y):
    return (FIELD_BOTTOM - y) * 100 // 255


def strip_y_to_hue(y):
    return ((255 - y) + FIELD_TOP) * 360 // 255


def strip_y_to_percent(y):
    return ((255 - y) + FIELD_TOP) * 100 // 255


def round_even(v):
    return int(round(v))  # Python rounds halves to the even neighbour


def typed_hue_strip_y(h):
    """Strip position of a typed hue: single precision, fraction kept."""
    return float32(min(max(STRIP_BOTTOM - h * 255 / 360, STRIP_TOP), STRIP_BOTTOM))


def switched_hue_strip_y(h):
    """Strip position on a switch to hue mode: floored."""
    return float32(min(max(math.floor(STRIP_BOTTOM - h * 255 / 360), STRIP_TOP), STRIP_BOTTOM))


def percent_strip_y(v):
    return float32(min(max(STRIP_BOTTOM - v * 255 / 100, STRIP_TOP), STRIP_BOTTOM))


def hue_to_field_x(h):
    return round_even(min(max(h * 255 / 360 + FIELD_LEFT, FIELD_LEFT), FIELD_RIGHT))


def saturation_to_field_x(s):
    return round_even(min(max(s * 255 / 100 + FIELD_LEFT, FIELD_LEFT), FIELD_RIGHT))


def saturation_to_field_y(s):
    return round_even(min(max(FIELD_BOTTOM - s * 255 / 100, FIELD_TOP), FIELD_BOTTOM))


def brightness_to_field_y(b):
    return round_even(min(max(FIELD_BOTTOM - b * 255 / 100, FIELD_TOP), FIELD_BOTTOM))


def safe_colour(k):
    """Colour of safe-palette cell k (1..216)."""
    k -= 1
    return (51 * (k // 36), 51 * (k // 6 % 6), 51 * (k % 6))


def colour_value(rgb):
    r, g, b = rgb
    return r + 256 * g + 65536 * b


# ---------------------------------------------------------------- renderers


def hue_strip(y):
    """The spectrum at strip row y: six linear ramps from red at the top."""
    i = y - STRIP_TOP
    if i <= 42:
        return (255, 0, 6 * i)
    if i <= 85:
        return (510 - 6 * i, 0, 255)
    if i <= 127:
        return (0, 6 * i - 510, 255)
    if i <= 170:
        return (0, 255, 1020 - 6 * i)
    if i <= 212:
        return (6 * i - 1020, 255, 0)
    return (255, 1530 - 6 * i, 0)


def hue_field(hue):
    """The saturation-brightness square of the colour `hue`: white at the
    top left, `hue` at the top right, black along the bottom."""
    def pixel(x, y):
        i, k = x - FIELD_LEFT, y - FIELD_TOP
        return tuple(nearest((255 - k) * (65025 - i * (255 - c)), 65025) for c in hue)
    return pixel


# Segments of the saturation and brightness fields by buffer column
# e = FieldRight - x: last column, ramp value, and which of (largest, ramp,
# smallest) each of red, green and blue takes.
_SEGMENTS = (
    (42, lambda e: 6 * e, ("top", "low", "ramp")),
    (85, lambda e: 507 - 6 * e, ("ramp", "low", "top")),
    (128, lambda e: 6 * (e - 86), ("low", "ramp", "top")),
    (170, lambda e: 1023 - 6 * e, ("low", "top", "ramp")),
    (212, lambda e: 6 * (e - 171), ("ramp", "top", "low")),
    (255, lambda e: 1527 - 6 * e, ("top", "ramp", "low")),
)


def _segment(e):
    for last, ramp, layout in _SEGMENTS:
        if e <= last:
            return ramp(e), layout
    raise ValueError(e)


def _byte(v):
    # A channel outside a byte is not written; the buffer's zero stays.
    return v if 0 <= v <= 255 else 0


def sat_field(x, y):
    """Hue across, brightness down, full saturation."""
    e, t = FIELD_RIGHT - x, y - FIELD_TOP
    v, layout = _segment(e)
    channel = {"top": 255 - t, "low": 0, "ramp": _byte(nearest(v * (255 - t), 255))}
    return tuple(channel[c] for c in layout)


def bright_field(x, y):
    """Hue across, saturation down, full brightness."""
    e, t = FIELD_RIGHT - x, y - FIELD_TOP
    v, layout = _segment(e)
    channel = {"top": 255, "low": t, "ramp": _byte(t + nearest(v * (255 - t), 255))}
    return tuple(channel[c] for c in layout)


def sat_strip(base):
    """From `base` at the top to white at the bottom."""
    def row(y):
        i = y - STRIP_TOP
        return tuple(nearest(c * 255 + i * (255 - c), 255) for c in base)
    return row


def bright_strip(base):
    """From `base` at the top to black at the bottom."""
    def row(y):
        i = y - STRIP_TOP
        return tuple(nearest(c * (255 - i), 255) for c in base)
    return row


# ---------------------------------------------------------------- pictures


class Parts:
    """Palette colours and marker pixel sets of this display."""

    def __init__(self, data):
        self.face = tuple(data["face"])
        self.dark_shadow = tuple(data["dark_shadow"])
        self.shadow = tuple(data["shadow"])
        self.light = tuple(data["light"])
        self.highlight = tuple(data["highlight"])
        self.ring = [tuple(p) for p in data["ring"]]   # offsets from the centre
        self.marks = [tuple(p) for p in data["marks"]]  # (x, row offset)
        self._check()

    def _check(self):
        """The pixel sets are the drawing layer's choice within limits: an
        outline of radius 5 that spares its centre, and marks beside the
        strip in columns 272..275 and 294..297, on and next to their row."""
        ring = set(self.ring)
        if (0, 0) in ring or not {(5, 0), (-5, 0), (0, 5), (0, -5)} <= ring \
                or any(not 16 <= dx * dx + dy * dy <= 36 for dx, dy in ring):
            raise harness.TestFailure("the ring is no outline of radius 5 around a spared centre: %s"
                                      % sorted(ring))
        columns = set(range(272, 276)) | set(range(294, 298))
        rows = {dy for _, dy in self.marks}
        if 0 not in rows or not rows <= {-1, 0, 1} or set(self.marks) != {(x, dy) for x in columns for dy in rows}:
            raise harness.TestFailure("the strip marks are not columns 272..275 and 294..297 at their row: %s"
                                      % sorted(self.marks))

    @staticmethod
    def generate(session, generator):
        r = session.run([generator], timeout=60)
        if r.returncode != 0:
            raise harness.HarnessError("%s failed (%d): %s"
                                       % (generator, r.returncode, r.stderr.decode(errors="replace")))
        return Parts(json.loads(r.stdout))


class Canvas:
    """The expected picture of REGION, built up like the program draws it."""

    def __init__(self, parts):
        self.parts = parts
        _, _, self.width, self.height = REGION
        self.px = bytearray(bytes(parts.face) * (self.width * self.height))

    def set(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.px[i:i + 3] = bytes(rgb)

    def get(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.px[i:i + 3])

    def invert(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            for c in range(i, i + 3):
                self.px[c] ^= 0xFF

    def field(self, pixel):
        for y in range(FIELD_TOP, FIELD_BOTTOM + 1):
            for x in range(FIELD_LEFT, FIELD_RIGHT + 1):
                self.set(x, y, pixel(x, y))

    def strip(self, row):
        for y in range(STRIP_TOP, STRIP_BOTTOM + 1):
            rgb = row(y)
            for x in range(STRIP_LEFT, STRIP_RIGHT):
                self.set(x, y, rgb)

    def sunken_edge(self, left, top, right, bottom, dark, light):
        """A one-pixel edge along the inside of the rectangle (right and
        bottom exclusive): left and top dark, right and bottom light, the
        light lines owning the corners they share with the dark ones."""
        for y in range(top, bottom):
            self.set(left, y, dark)
        for x in range(left, right):
            self.set(x, top, dark)
        for y in range(top, bottom):
            self.set(right - 1, y, light)
        for x in range(left, right):
            self.set(x, bottom - 1, light)

    def picker_frames(self):
        p = self.parts
        self.sunken_edge(FIELD_LEFT - 1, FIELD_TOP - 1, FIELD_RIGHT + 3, FIELD_BOTTOM + 3, p.dark_shadow, p.light)
        self.sunken_edge(STRIP_LEFT - 1, STRIP_TOP - 1, STRIP_RIGHT + 1, STRIP_BOTTOM + 3, p.dark_shadow, p.light)

    def ring(self, cx, cy):
        for dx, dy in self.parts.ring:
            self.invert(cx + dx, cy + dy)

    def marks(self, row):
        for x, dy in self.parts.marks:
            self.invert(x, row + dy)

    def cell(self, rect, rgb):
        left, top, right, bottom = rect
        for y in range(top, bottom):
            for x in range(left, right):
                border = x in (left, right - 1) or y in (top, bottom - 1)
                self.set(x, y, (0, 0, 0) if border else rgb)

    def selection_edge(self, rect):
        """The two-pixel sunken edge in the gap around a cell."""
        left, top, right, bottom = rect
        p = self.parts
        self.sunken_edge(left - 3, top - 3, right + 3, bottom + 3, p.shadow, p.highlight)
        self.sunken_edge(left - 2, top - 2, right + 2, bottom + 2, p.dark_shadow, p.light)

    def image(self):
        return harness.Image(self.width, self.height, bytes(self.px))


def picker_picture(parts, field, strip, ring, mark_row):
    """Field and strip with their frames, the ring at `ring` and the strip
    marks at `mark_row`."""
    c = Canvas(parts)
    c.field(field)
    c.strip(strip)
    c.picker_frames()
    c.marks(mark_row)
    c.ring(*ring)
    return c.image()


def cell_rect(k):
    """Cell k (1..224): left, top, right, bottom, right and bottom exclusive."""
    left = 10 + 18 * ((k - 1) % 16)
    top = 10 + 18 * ((k - 1) // 16)
    return (left, top, left + 15, top + 15)


def cell_centre(k):
    left, top, _, _ = cell_rect(k)
    return (left + 7, top + 7)


def panel_picture(parts, colour_of_cell, selected):
    """The 224 cells, each a black outline around its colour, and the
    selection edge around cell `selected`."""
    c = Canvas(parts)
    for k in range(1, 225):
        c.cell(cell_rect(k), colour_of_cell(k))
    c.selection_edge(cell_rect(selected))
    return c.image()


def safe_cell_colour(k):
    return safe_colour(k) if k <= 216 else (0, 0, 0)


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
            app.wait_picture(picture, "picker region", REGION, shots, name)
        if sample is not None:
            app.wait_colour(NEW_SAMPLE, sample, "new-colour sample")
    except harness.TestFailure as e:
        raise harness.TestFailure("%s: %s" % (what, e)) from None
    print("%s: as expected" % what)


class HuePicker:
    """What the picker shows in hue mode: the field rendered for the colour
    `hue`, the ring at `ring`, the strip marks at row `mark_row`."""

    def __init__(self, parts):
        self.parts = parts
        self.hue = (255, 0, 0)
        self.ring = (FIELD_RIGHT, FIELD_TOP)
        self.mark_row = STRIP_BOTTOM

    def picture(self):
        return picker_picture(self.parts, hue_field(self.hue), hue_strip, self.ring, self.mark_row)

    def under_ring(self):
        return hue_field(self.hue)(*self.ring)
