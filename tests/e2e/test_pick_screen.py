"""Picking a colour from the screen of the real program on X11, and copying
the new colour as text.

The root window is painted a known colour; picks start with the real keys
Ctrl+Shift+P or from the Edit menu with the mouse, and the pointer moves
outside the window. The new-colour sample and R, G, B follow the pointer,
Escape and the right button put them back, a left click takes the colour;
the H, S, B boxes and the picker never move. In the custom panel a taken
colour is printed in the readout. Ctrl+Shift+C puts "#3366CC" on the
clipboard, also with the keyboard focus in the hue box. Another program
holding the keyboard brings a message instead.

Colours as text: three notations put on the clipboard with xclip are pasted
with Ctrl+Shift+V and show in the sample and R, G, B as a taken colour does;
each Copy As item puts its caption on the clipboard; the last one chosen is
still Copy Colour's format after a restart; text that names no colour
brings a message quoting it and changes nothing. At scale factor 2 (and 1.5)
the pixel taken is the device pixel under the pointer: the root window is a
checkerboard of single device pixels there.

The magnifier: over the checkerboard its middle block shows the pixel
under the pointer; two Right presses move the pick (and the pointer) two
pixels and Enter takes that pixel; A and Enter take the 3 x 3 mean; Escape
after a nudge puts everything back; at factor 2 Right moves one device
pixel. Another program holding the pointer brings a message and leaves the
keyboard free; the window unmapped mid-pick ends the pick, and the next
click on the field is an ordinary one.
"""

import os
import subprocess
import sys
import tempfile
import time

import harness
import screen_pick as sp
from harness import TestFailure
from screen_pick import BLUE, OCHRE


def outside(app):
    """A screen point right of the window, where the root window shows."""
    wx, wy, ww, _ = app.window_rect
    return (wx + ww + 120, wy + 60)


def move_to(app, point):
    """Moves the pointer to `point` through a neighbour, so the program sees
    a move there even when the pointer already stood on it."""
    x, y = point
    for p in ((x, y + 1), (x, y)):
        if app.pointer() != p:  # --sync would wait for a move forever
            app.session.xdotool("mousemove", "--sync", *p)


def point_until(app, point, shown, what):
    """Moves the pointer to `point` until `shown()`: a pick follows the
    pointer only once the shortcut or menu that starts it is done."""
    def moved():
        move_to(app, point)
        return shown()
    harness.wait_until(moved, 10, 0.1, what)


def shows_rgb(app, rgb):
    """Whether the R, G, B boxes read `rgb`."""
    return app.texts(sp.CHANNELS) == dict(zip(sp.CHANNELS, (str(c) for c in rgb)))


def sample_is(app, rgb):
    """Whether the middle of the new-colour sample shows `rgb`."""
    x, y, w, h = sp.NEW_SAMPLE
    return app.grab_client().pixel((x + w // 2) * app.scale, (y + h // 2) * app.scale) == rgb


def start_with_keys(app):
    app.focus()
    app.key(sp.PICK_KEYS)


def start_from_menu(app, shots=None):
    app.click_object("Edit", ["menu item"])
    try:
        harness.wait_until(lambda: app.showing("Pick from Screen", "menu item"), 10, 0.1, "the Edit menu open")
    except TestFailure:
        if shots:
            app.grab_window().save_png(os.path.join(shots, "pick_screen_no_menu.png"))
        raise
    app.click_object("Pick from Screen", ["menu item"])


def preview(app, before, what):
    """Moves the pointer out of the window and waits for the live preview."""
    point_until(app, outside(app), lambda: shows_rgb(app, BLUE), "%s, the preview starting" % what)
    sp.expect_color(app, BLUE, "%s, preview" % what)
    before.expect_picker_unmoved(app, "%s, preview" % what)


def cancelled(app):
    before = sp.Before(app, sp.RED)
    start_with_keys(app)
    preview(app, before, "Escape")
    app.key("Escape")
    before.expect_as_before(app, "after Escape")
    print("Escape: the preview showed the root's colour, then sample and R, G, B were put back")

    start_with_keys(app)
    preview(app, before, "right button")
    app.session.xdotool("click", "3")
    before.expect_as_before(app, "after the right button")
    print("right button: put back as well")


def taken(app, shots):
    before = sp.Before(app, sp.RED)
    start_from_menu(app, shots)
    preview(app, before, "from the menu")
    app.session.xdotool("click", "1")
    sp.expect_color(app, BLUE, "taken")
    app.settle()
    before.expect_picker_unmoved(app, "taken", shots)
    print("left click: sample and R, G, B hold 51, 102, 204; H, S, B and the picker did not move")


def copied(app):
    # The focus in the hue box, whose handler runs on every key released
    # there: the shortcut's keys must not redo the hue and reset the sample.
    app.click_object("Hue", ["text"])
    before = sp.Before(app, BLUE)
    app.key("ctrl+shift+c")
    expect_clipboard(app, "#3366CC", "after Ctrl+Shift+C")
    app.settle()
    before.expect_as_before(app, "after copying")
    print("Ctrl+Shift+C in the hue box: the clipboard holds #3366CC, nothing else changed")


def put_on_clipboard(session, text):
    # xclip stays behind to hand the text out; its output goes nowhere, so
    # this call does not wait for it.
    r = session.run(["sh", "-c", 'printf %s "$1" | xclip -selection clipboard >/dev/null 2>&1', "sh", text])
    if r.returncode != 0:
        raise harness.HarnessError("xclip failed: " + r.stderr.decode(errors="replace"))


def expect_clipboard(app, text, what):
    got = []

    def holds():
        r = app.session.run(["xclip", "-o", "-selection", "clipboard"], timeout=10)
        got.append(r.stdout.decode(errors="replace") if r.returncode == 0 else r.stderr.decode(errors="replace"))
        return got[-1] == text
    try:
        harness.wait_until(holds, 5, 0.1, what)
    except TestFailure:
        raise TestFailure("%s: the clipboard holds %r, expected %r" % (what, got[-1], text)) from None


# Text on the clipboard and the colour it names.
PASTED = [("hsl(120 100% 25%)", (0, 128, 0)), ("  rgb(204, 153, 51);\n", OCHRE),
          ("oklch(0.532 0.168 262.3)", BLUE)]
# The menu bar's and the Edit menu's own items, beside the Copy As captions.
MENU_ITEMS = {"File", "Edit", "About", "Copy Colour", "Copy As", "Paste Colour", "Pick from Screen", "Contrast\u2026"}


def pasted(session, app):
    app.click_object("Hue", ["text"])  # the hue box runs its handler on every key released there
    before = sp.Before(app, sp.RED)
    for text, rgb in PASTED:
        put_on_clipboard(session, text)
        app.key("ctrl+shift+v")
        sp.expect_color(app, rgb, "pasted %r" % text)
        before.expect_picker_unmoved(app, "pasted %r" % text)
    print("Ctrl+Shift+V: %s each showed in the sample and R, G, B; H, S, B and the picker stayed"
          % ", ".join(repr(t) for t, _ in PASTED))


def open_copy_as(app):
    app.click_object("Edit", ["menu item"])
    harness.wait_until(lambda: app.showing("Copy As", "menu item"), 10, 0.1, "the Edit menu open")
    app.click_object("Copy As", ["menu item"])

    def captions():
        return [n for r, n, shown, _ in app.objects() if shown and r == "menu item" and n not in MENU_ITEMS]
    return harness.wait_until(lambda: len(captions()) == 8 and captions(), 10, 0.1, "the Copy As items")


def copied_as(app):
    captions = open_copy_as(app)
    app.key("Escape", "Escape", "Escape")
    for wanted in ("#3366CC", "oklch(0.532 0.168 262.3)"):
        if wanted not in captions:
            raise TestFailure("Copy As offers %r, without %r" % (captions, wanted))
    for caption in captions:
        open_copy_as(app)
        app.click_object(caption)
        expect_clipboard(app, caption, "Copy As %r" % caption)
    print("Copy As: each of %s went to the clipboard as shown" % captions)
    return captions[-1]


def remembered(session, app, program, last):
    app.kill()
    app = session.start_app(program, working_copy=True)
    app.wait_window()
    app.settle()
    app.focus()
    put_on_clipboard(session, "#3366cc")
    app.key("ctrl+shift+v")
    sp.expect_color(app, BLUE, "pasted after the restart")
    app.key("ctrl+shift+c")
    expect_clipboard(app, last, "Copy Colour after the restart")
    print("after a restart Copy Colour writes %r" % last)
    return app


def refused_text(session, app):
    before = sp.Before(app, BLUE)
    put_on_clipboard(session, "Please use the brand blue from the style guide here")
    app.key("ctrl+shift+v")
    text = sp.take_message(app, "The clipboard holds no colour")
    quote = '"Please use the brand blue from the style\u2026"'
    if quote not in text:
        raise TestFailure("the message does not quote the first 40 characters: %r" % text)
    before.expect_as_before(app, "after refused text")
    print("text that names no colour: %r, nothing changed" % text.splitlines()[0])


def responsive_after(app):
    # The pointer is no longer held: a click on the field picks there.
    app.click(150, 80)
    app.wait_texts({"Saturation": str((150 - 10) * 100 // 255), "Brightness": str((265 - 80) * 100 // 255)})
    print("after the pick a click on the field picks there again")


def in_the_panel(app):
    app.click(*sp.PRESET)
    sp.expect_blank_readout(app, "the custom panel just opened")
    start_with_keys(app)
    point_until(app, outside(app), lambda: sample_is(app, BLUE), "panel preview starting")
    app.wait_color(sp.NEW_SAMPLE, BLUE, "panel preview: the new-colour sample")
    sp.expect_blank_readout(app, "panel preview")
    app.session.xdotool("click", "1")
    app.wait_color(sp.NEW_SAMPLE, BLUE, "panel, taken: the new-colour sample")
    sp.expect_readout_of_sample(app, "panel, taken")
    print("custom panel: the taken colour is printed in the readout")


def refused(session, app, shots):
    """Another program holds the keyboard: a message, and nothing changes."""
    before = sp.Before(app, sp.RED)
    holder = subprocess.Popen([harness.SYSTEM_PYTHON, "-c", HOLD_KEYBOARD], env=session.child_env(),
                              stdout=subprocess.PIPE, start_new_session=True)
    try:
        line = sp.read_line(holder, 10, "the program holding the keyboard")
        if line != "held":
            raise harness.HarnessError("could not hold the keyboard: %s" % line)
        start_from_menu(app, shots)
        text = sp.take_message(app, "Picking a colour from the screen is not available here", close=False)
    finally:
        holder.kill()
        holder.wait(10)
    app.close_message("Return")
    if "keyboard" not in text:
        raise TestFailure("the message does not say why: %r" % text)
    before.expect_as_before(app, "after the refusal")
    print("keyboard held elsewhere: %r" % text)


# Holds the keyboard of the display in its environment until it is ended.
HOLD_KEYBOARD = """
import ctypes, time
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
d = x.XOpenDisplay(None)
status = x.XGrabKeyboard(d, x.XDefaultRootWindow(d), 0, 1, 1, 0)
x.XSync(d, 0)
print("held" if status == 0 else "status %d" % status, flush=True)
time.sleep(120)
"""

# An 8 x 8 tile of single-pixel squares: blue where x + y is even.
CHECKER_XBM = """#define checker_width 8
#define checker_height 8
static char checker_bits[] = {
   0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa};
"""


def device_pixels(session, program, scale):
    app = session.start_app(program, scale=scale, working_copy=True)
    app.wait_window()
    app.settle()
    wx, wy, ww, _ = app.window_rect
    # Each step changes the parity of one coordinate.
    for dx, dy in ((0, 0), (1, 0), (1, 1)):
        point = (wx + ww + 200 + dx, wy + 101 + dy)
        want = BLUE if sum(point) % 2 == 0 else OCHRE
        start_with_keys(app)
        point_until(app, point, lambda: shows_rgb(app, want), "%s, the preview" % (point,))
        app.session.xdotool("click", "1")
        what = "factor %s, device pixel %s" % (scale, point)
        if scale == int(scale):
            sp.expect_color(app, want, what)
        else:  # the harness compares pictures at whole factors only
            app.wait_texts(dict(zip(sp.CHANNELS, (str(c) for c in want))))
    print("factor %s: each pick took the device pixel under the pointer" % scale)
    app.kill()


# Holds the pointer of the display in its environment until it is ended.
HOLD_POINTER = """
import ctypes, time
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int, ctypes.c_int,
                           ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
d = x.XOpenDisplay(None)
status = x.XGrabPointer(d, x.XDefaultRootWindow(d), 0, 4, 1, 1, 0, 0, 0)
x.XSync(d, 0)
print("held" if status == 0 else "status %d" % status, flush=True)
time.sleep(120)
"""
# The checkerboard's 3 x 3 means: five of the middle's colour, four of the other.
MEANS = {BLUE: (119, 125, 136), OCHRE: (136, 130, 119)}


def checker(point):
    return BLUE if sum(point) % 2 == 0 else OCHRE


def magnifier(app):
    r = app.session.xdotool("search", "--onlyvisible", "--name", "^Tinctara magnifier$")
    return r.stdout.decode().split()


def start_magnified(app):
    """Starts a pick and waits until the magnifier shows, so that keys and
    moves reach the grab."""
    start_with_keys(app)
    harness.wait_until(lambda: magnifier(app), 10, 0.05, "the magnifier showing")


def magnified(app):
    """The colour in the middle of the magnifier's grid (its centre block):
    the grid is centred across the 180-pixel window, 112 pixels high from 6
    below its top."""
    ids = magnifier(app)
    r = ids and app.session.run(["import", "-silent", "-window", ids[-1], "-depth", "8", "ppm:-"], timeout=20)
    return r and r.returncode == 0 and harness.read_ppm(r.stdout).pixel(int(90 * app.scale), int(62 * app.scale))


def expect_magnified(app, rgb, what):
    harness.wait_until(lambda: magnified(app) == rgb, 5, 0.05, "%s: the magnifier's centre showing %s" % (what, rgb))


def aimed(session, program, scale=1, shots=None):
    app = session.start_app(program, scale=scale, working_copy=True)
    app.wait_window()
    app.settle()
    wx, wy, ww, _ = app.window_rect
    x, y = point = (wx + ww + 200, wy + 101)
    start_magnified(app)
    move_to(app, point)
    expect_magnified(app, checker(point), "factor %s, under the pointer" % scale)
    if shots:
        app.session.run(["import", "-silent", "-window", "root", os.path.join(shots, "magnifier_x%s.png" % scale)],
                        timeout=20)
    for dx in (1, 2) if scale == 1 else (1,):
        app.key("Right")
        expect_magnified(app, checker((x + dx, y)), "factor %s, %d Right" % (scale, dx))
    if app.pointer() != (x + dx, y):
        raise TestFailure("the pointer stands at %s after %d Right, expected %s" % (app.pointer(), dx, (x + dx, y)))
    app.key("Return")
    app.wait_texts(dict(zip(sp.CHANNELS, (str(c) for c in checker((x + dx, y))))))
    print("factor %s: %d Right moved the pick %d device pixels, Enter took that pixel" % (scale, dx, dx))
    if scale != 1:
        app.kill()
        return

    start_magnified(app)
    move_to(app, point)
    app.key("a", "Return")
    sp.expect_color(app, MEANS[checker(point)], "the 3 x 3 mean")
    before = sp.Before(app, MEANS[checker(point)])
    start_magnified(app)
    move_to(app, (x + 7, y))
    app.key("Left", "Escape")
    before.expect_as_before(app, "Escape after a nudge")
    print("A: the 3 x 3 mean %s taken; Escape after a nudge put everything back" % (MEANS[checker(point)],))
    app.kill()


def keyboard_free(session, what):
    holder = subprocess.Popen([harness.SYSTEM_PYTHON, "-c", HOLD_KEYBOARD], env=session.child_env(),
                              stdout=subprocess.PIPE, start_new_session=True)
    try:
        line = sp.read_line(holder, 10, "a program taking the keyboard")
    finally:
        holder.kill()
        holder.wait(10)
        holder.stdout.close()
    if line != "held":
        raise TestFailure("%s: another program cannot take the keyboard (%s)" % (what, line))


def shown_now(app):
    texts = app.texts(sp.CHANNELS)
    return tuple(int(texts[n]) for n in sp.CHANNELS)


def pointer_held(session, app):
    before = sp.Before(app, shown_now(app))
    holder = subprocess.Popen([harness.SYSTEM_PYTHON, "-c", HOLD_POINTER],
                              env=session.child_env(), stdout=subprocess.PIPE, start_new_session=True)
    try:
        line = sp.read_line(holder, 10, "the program holding the pointer")
        if line != "held":
            raise harness.HarnessError("could not hold the pointer: %s" % line)
        start_with_keys(app)
        text = sp.take_message(app, "Picking a colour from the screen is not available here", close=False)
    finally:
        holder.kill()
        holder.wait(10)
    app.close_message("Return")
    if "pointer" not in text:
        raise TestFailure("the message does not say why: %r" % text)
    keyboard_free(session, "after the refusal")
    before.expect_as_before(app, "after the pointer was held elsewhere")
    print("pointer held elsewhere: %r; the keyboard is free" % text)


def unmapped_mid_pick(session, app):
    before = sp.Before(app, shown_now(app))
    start_magnified(app)
    move_to(app, (outside(app)[0] + 3, outside(app)[1]))
    app.session.xdotool("windowunmap", "--sync", app.window)
    app.session.xdotool("windowmap", "--sync", app.window)
    app.focus()
    before.expect_as_before(app, "unmapped mid-pick")
    keyboard_free(session, "unmapped mid-pick")
    print("unmapped mid-pick: the pick ended as a cancel, the keyboard is free")
    responsive_after(app)


def test(args):
    with harness.Session(keep_temp=args.keep_temp) as session:
        r = session.run(["xsetroot", "-solid", "#3366CC"])
        if r.returncode != 0:
            raise harness.HarnessError("xsetroot failed: " + r.stderr.decode(errors="replace"))
        app = session.start_app(args.app, working_copy=True)
        app.wait_window()
        app.settle()
        cancelled(app)
        refused(session, app, args.shots)
        taken(app, args.shots)
        copied(app)
        responsive_after(app)
        pointer_held(session, app)
        unmapped_mid_pick(session, app)
        in_the_panel(app)
        app.kill()

        app = session.start_app(args.app, working_copy=True)
        app.wait_window()
        app.settle()
        pasted(session, app)
        last = copied_as(app)
        app = remembered(session, app, args.app, last)
        refused_text(session, app)
        app.kill()

        with tempfile.NamedTemporaryFile("w", suffix=".xbm", dir=session.tmp, delete=False) as f:
            f.write(CHECKER_XBM)
        r = session.run(["xsetroot", "-bitmap", f.name, "-fg", "#3366CC", "-bg", "#CC9933"])
        if r.returncode != 0:
            raise harness.HarnessError("xsetroot -bitmap failed: " + r.stderr.decode(errors="replace"))
        for scale in (2, 1.5):
            device_pixels(session, args.app, scale)
        for scale in (1, 2):
            aimed(session, args.app, scale, args.shots)


if __name__ == "__main__":
    sys.exit(harness.main(test))
