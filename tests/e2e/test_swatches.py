"""The swatch panel of the real program, run as a copy in a temporary folder
so that no run leaks a custom colours file into the next.

Picks a colour on the picker, opens the panel (custom colours, all black
without a file), switches to the safe palette and picks swatches, switches
back, adds the picked colour to two cells, returns to the picker, ends the
program, starts the same copy again and finds the colours in their cells.
Every pixel of the panel is compared with the cell grid drawn from closed
forms; the file beside the program is compared byte for byte. A last run in a
dark colour scheme checks that the readout and the outlines can be read.
"""

import os
import shutil
import sys
import tempfile
import time

import expected as ex
import harness
from harness import TestFailure

FILE_NAME = "usercolors.cps"
LIST = (367, 154)       # cmbPreset (310, 144, 115, 21)
ADD = (332, 253)        # cmdADD (304, 240, 57, 27)
OK = (397, 189)         # cmdOK (370, 176, 55, 27)
BLACK = (0, 0, 0)
# The frame of the value boxes, up to the client area's right edge, and the
# box the readout prints into, which lies under it.
VALUE_FRAME = (306, 64, 434 - 306, 212 - 64)


def expect_panel(app, exp, what, custom, selected, sample, shots, name):
    """The custom colours {cell: colour}, or with `custom` None the safe
    palette, the edge around cell `selected`."""
    ex.expect(app, what, exp.panel(selected, custom), None, sample, shots, name)


def expect_controls(app, what, add_shown):
    """The add button and sample show only with the custom colours; the
    value boxes are hidden while a panel shows; the toggle says Picker."""
    objects = app.objects()

    def shown(role, name):
        return any(r == role and n == name and s for r, n, s, _ in objects)
    wrong = []
    if shown("push button", "<< Add") != add_shown or shown("label", "Colour to add") != add_shown:
        wrong.append("add button and sample %s" % ("hidden" if add_shown else "shown"))
    if shown("text", "Hue"):
        wrong.append("the value boxes show")
    if not shown("push button", "Picker"):
        wrong.append("no push button named Picker (the toggle's caption while a panel shows)")
    if wrong:
        raise TestFailure("%s: %s" % (what, "; ".join(wrong)))


def expect_file(app, exp, cells, what, timeout=5):
    """The custom colours file holds the colours {cell: colour}, byte for
    byte, and nothing else lies beside the program (no temporary file left
    behind)."""
    path = os.path.join(app.folder, FILE_NAME)
    want = exp.custom_colors_file(cells)
    deadline = time.monotonic() + timeout
    while True:
        try:
            with open(path, "rb") as f:
                got = f.read()
        except OSError as e:
            got = e
        if got == want or time.monotonic() >= deadline:
            break
        time.sleep(0.1)
    if isinstance(got, OSError):
        raise TestFailure("%s: cannot read %s: %s" % (what, FILE_NAME, got))
    if got != want:
        lines, expected_lines = got.split(b"\n"), want.split(b"\n")
        first = next((i for i, (a, b) in enumerate(zip(lines, expected_lines)) if a != b),
                     min(len(lines), len(expected_lines)))
        raise TestFailure("%s: %s has %d bytes, expected %d; line %d is %r, expected %r"
                          % (what, FILE_NAME, len(got), len(want), first + 1,
                             lines[first] if first < len(lines) else None,
                             expected_lines[first] if first < len(expected_lines) else None))
    listing = sorted(os.listdir(app.folder))
    if listing != sorted([os.path.basename(app.exe), FILE_NAME]):
        raise TestFailure("%s: the program's folder holds %s" % (what, listing))
    print("%s: %s holds the expected %d bytes" % (what, FILE_NAME, len(got)))


def ink_rows(app, picture):
    """Client rows of the readout box that hold dark text pixels."""
    x, y, w, h = ex.READOUT
    box = ex.crop(app, picture, ex.READOUT)
    s = app.scale
    return sorted({y + py // s for py in range(h * s) for px in range(w * s) if sum(box.pixel(px, py)) < 200})


def samples_print_behind_the_value_frame(app, shots):
    """A sample click while the picker shows prints the readout behind the
    value boxes' frame: nothing of it is seen on the screen."""
    before = ex.crop(app, app.settle(), VALUE_FRAME)
    for name, rect in (("old", ex.OLD_SAMPLE), ("new", ex.NEW_SAMPLE)):
        x, y, w, h = rect
        app.click(x + w // 2, y + h // 2)
        after = ex.crop(app, app.settle(), VALUE_FRAME)
        diffs = harness.diff_pixels(after, before)
        if diffs:
            after.save_png(os.path.join(shots, "swatches_%s_sample_click.png" % name))
            raise TestFailure(harness.describe_diff(diffs, "under the value frame after a click on the %s sample"
                                                    % name, len(after.data) // 3))
        print("click on the %s sample: the screen under the value frame is unchanged" % name)


def expect_readout_seen(app, what):
    rows = ink_rows(app, app.settle())
    # Four lines of text: ink from the first line's top to the last one's.
    if not rows or rows[-1] - rows[0] < 30:
        raise TestFailure("%s: the readout is not seen (ink on rows %s)" % (what, rows))
    print("%s: the readout is seen, rows %d to %d" % (what, rows[0], rows[-1]))


def first_run(session, program, exp, shots):
    app = session.start_app(program, working_copy=True)
    app.wait_window()
    app.settle()
    picker = ex.Picker(exp)

    # The colour to add: a pick on the field.
    app.click(150, 80)
    picker.ring = (150, 80)
    color = picker.under_ring()
    ex.expect(app, "pick at (150, 80)", picker.picture(), None, color, shots, "swatches_pick")
    samples_print_behind_the_value_frame(app, shots)

    app.click(*ex.PRESET)
    expect_panel(app, exp, "custom panel without a file", {}, 1, color, shots,
                 "swatches_custom_empty")
    app.wait_color(ex.ADD_SAMPLE, color, "add sample")
    expect_controls(app, "custom panel", add_shown=True)
    if os.path.exists(os.path.join(app.folder, FILE_NAME)):
        raise TestFailure("opening the panel wrote %s" % FILE_NAME)

    app.choose(*LIST, "Safe Palette (216)")
    expect_panel(app, exp, "safe panel", None, 1, color, shots, "swatches_safe")
    heard = app.descriptions(["Colour picker"])["Colour picker"]
    if heard != "Safe palette":
        raise TestFailure("safe panel: the client area's description is %r, not the grid's name" % heard)
    expect_controls(app, "safe panel", add_shown=False)
    if ink_rows(app, app.grab_client()):
        raise TestFailure("safe panel: the box of the readout holds text before any pick")

    # Swatches: a click, a filler cell, a drag across a gap into the next
    # row, and a click in a gap that hits nothing.
    app.click(*exp.cell_centre(40))
    expect_panel(app, exp, "safe cell 40", None, 40, exp.safe_color(40), shots, "swatches_safe40")
    expect_readout_seen(app, "safe cell 40")
    app.click(*exp.cell_centre(220))
    expect_panel(app, exp, "filler cell 220", None, 220, BLACK, shots, "swatches_safe220")
    (x0, y0), (x1, y1) = exp.cell_centre(100), exp.cell_centre(117)
    app.drag([(x0, y0), ((x0 + x1) // 2, (y0 + y1) // 2), (x1, y1)])
    safe117 = exp.safe_color(117)
    expect_panel(app, exp, "drag from cell 100 to 117", None, 117, safe117, shots, "swatches_safe117")
    left, top, _, _ = exp.cell_rect(117)
    for gap in ((left - 2, top + 7), (left + 7, top + 15), (left, top + 7)):
        app.click(*gap)
        app.settle()
        expect_panel(app, exp, "click at %s, outside every cell's inside" % (gap,), None, 117, safe117,
                     shots, "swatches_gap")

    # Back to the custom colours: the selection stays at 117, the add
    # sample still holds the picked colour.
    app.choose(*LIST, "Custom...")
    expect_panel(app, exp, "custom panel again", {}, 117, safe117, shots, "swatches_custom117")
    expect_controls(app, "custom panel again", add_shown=True)
    app.wait_color(ex.ADD_SAMPLE, color, "add sample")

    app.click(*ADD)
    cells = {117: color}
    expect_panel(app, exp, "added to cell 117", cells, 117, safe117, shots, "swatches_added117")
    expect_file(app, exp, cells, "added to cell 117")

    app.click(*exp.cell_centre(5))
    expect_panel(app, exp, "custom cell 5", cells, 5, BLACK, shots, "swatches_custom5")
    app.click(*ADD)
    cells = {5: color, 117: color}
    expect_panel(app, exp, "added to cell 5", cells, 5, BLACK, shots, "swatches_added5")
    expect_file(app, exp, cells, "added to cell 5")

    # Back to the picker through the hue mode's handler: the ring goes where
    # the S and B boxes say (54 and 72 give (148, 81), not the (150, 80)
    # they were read from), the sample is the colour under it and the
    # boxes keep their texts.
    app.click(*ex.PRESET)
    s, b = exp.value("percent_of_field_x", 150), exp.value("percent_of_row", 80)
    picker.ring = (exp.value("field_x_of_percent", s), exp.value("field_y_of_percent", b))
    ex.expect(app, "back to the picker", picker.picture(), ex.boxes(0, s, b, color), picker.under_ring(),
              shots, "swatches_picker")
    app.click(*OK)
    status = app.wait_exit(5)
    if status != 0:
        raise TestFailure("OK: exit status %d" % status)
    expect_file(app, exp, cells, "after the program ended")
    return app.exe, cells


def second_run(session, program, exp, cells, shots):
    app = session.start_app(program)  # the same copy, in its folder
    app.wait_window()
    app.settle()
    app.click(*ex.PRESET)
    expect_panel(app, exp, "second run, custom panel", cells, 1, ex.RED, shots, "swatches_second_run")
    app.click(*exp.cell_centre(117))
    expect_panel(app, exp, "second run, cell 117", cells, 117, cells[117], shots, "swatches_second_run117")
    expect_file(app, exp, cells, "second run")
    app.click(*OK)
    app.wait_exit(5)


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def dark_scheme_run(session, program, exp, shots):
    """In qt6ct's dark scheme the readout and the cells' outlines are drawn
    in the scheme's window text colour, readable on its window colour."""
    env, colors = session.desktop_theme("darker")
    window, text = colors[10], colors[0]  # QPalette::Window, WindowText
    app = session.start_app(program, working_copy=True, env=env)
    app.wait_window()
    app.settle()
    app.click(*ex.PRESET)
    app.choose(*LIST, "Safe Palette (216)")
    app.click(*exp.cell_centre(53))
    picture = app.settle()
    picture.save_png(os.path.join(shots, "swatches_dark.png"))
    box = ex.crop(app, picture, ex.READOUT)
    ink = max((box.pixel(x, y) for y in range(box.height) for x in range(box.width)),
              key=lambda p: contrast(p, window))
    if ink != text or contrast(ink, window) < 4.5:
        raise TestFailure("dark scheme: the readout's strongest pixel is %s, %.2f:1 on the window's %s; "
                          "expected the window text %s" % (ink, contrast(ink, window), window, text))
    left, top, right, _ = exp.cell_rect(53)
    outline = {ex.crop(app, picture, (x, top, 1, 1)).pixel(0, 0) for x in range(left, right)}
    if outline != {text}:
        raise TestFailure("dark scheme: the top outline of cell 53 is %s, expected %s" % (outline, text))
    print("dark scheme: readout %.1f:1 and cell outlines in the window text %s on %s"
          % (contrast(ink, window), text, window))
    app.click(*OK)
    app.wait_exit(5)


def own_window(app, where=None):
    """This run's window among copies titled alike, moved to `where` if given."""
    def found():
        r = app.session.xdotool("search", "--all", "--onlyvisible", "--pid", app.proc.pid,
                                "--name", "^%s$" % harness.WINDOW_TITLE)
        return r.stdout.decode().split()[-1:] if r.returncode == 0 else None
    app.window = harness.wait_until(found, 20, 0.1, "the window of process %d" % app.proc.pid)[0]
    if where:
        app.session.xdotool("windowmove", "--sync", app.window, *where)
    harness.wait_until(lambda: app._measure() and app.window_rect[:2] == (where or app.window_rect[:2]), 10)
    app.settle()


def two_copies_run(session, program, exp, shots):
    """Two copies from one folder, both panels open before either adds to a cell
    of its own: the file keeps both, each panel shows the other's after its add."""
    a = session.start_app(program, working_copy=True)
    own_window(a)
    b = session.start_app(a.exe)
    own_window(b, (600, 300))
    b.click(150, 80)  # the second copy adds another colour than red
    picker = ex.Picker(exp)
    picker.ring = (150, 80)
    color = picker.under_ring()
    cells = {}
    for app, cell, rgb in ((a, None, None), (b, None, None), (a, 3, ex.RED), (b, 4, color), (a, 5, ex.RED)):
        if cell is None:
            app.click(*ex.PRESET)
            continue
        app.click(*exp.cell_centre(cell))
        app.click(*ADD)
        cells[cell] = rgb
        expect_panel(app, exp, "added to cell %d" % cell, cells, cell, BLACK, shots, "swatches_copies%d" % cell)
        expect_file(a, exp, cells, "added to cell %d" % cell)
    for app in (a, b):
        app.click(*OK)
        app.wait_exit(5)


def unreadable_file_run(session, program, exp, shots):
    """A file of mode 000: the panel opens black, an add says why, changes no byte,
    and the colour stays in the panel. Root runs without the rights to read it."""
    folder = tempfile.mkdtemp(prefix="app-", dir=session.tmp)
    exe, path = os.path.join(folder, "tinctara"), os.path.join(folder, FILE_NAME)
    shutil.copy2(program, exe)
    kept = exp.custom_colors_file({7: ex.RED})
    with open(path, "wb") as f:
        f.write(kept)
    os.chmod(path, 0)
    caps = "-dac_override,-dac_read_search"
    root = ["--inh-caps=" + caps, "--bounding-set=" + caps, "--", exe]
    app = session.start_app("/usr/bin/setpriv", args=root) if os.geteuid() == 0 else session.start_app(exe)
    app.wait_window()
    app.click(*ex.PRESET)
    expect_panel(app, exp, "panel of an unreadable file", {}, 1, ex.RED, shots, "swatches_unreadable")
    app.click(*exp.cell_centre(5))
    app.click(*ADD)
    app.wait_message("The custom colours could not be saved to %s: it cannot be read (Permission denied), so it "
                     "is left as it is and no colour in it is lost" % path)
    app.close_message()
    expect_panel(app, exp, "the colour stays in the panel", {5: ex.RED}, 5, BLACK, shots, "swatches_unreadable5")
    os.chmod(path, 0o644)
    with open(path, "rb") as f:
        if f.read() != kept or sorted(os.listdir(folder)) != sorted(["tinctara", FILE_NAME]):
            raise TestFailure("the unreadable file was changed, or a file was left beside it")
    app.click(*OK)
    app.wait_exit(5)


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        exp = ex.Expectations.start(session, args.expectations)
        copy, cells = first_run(session, args.app, exp, args.shots)
        second_run(session, copy, exp, cells, args.shots)
        two_copies_run(session, args.app, exp, args.shots)
        unreadable_file_run(session, args.app, exp, args.shots)
        dark_scheme_run(session, args.app, exp, args.shots)


if __name__ == "__main__":
    sys.exit(harness.main(test))
