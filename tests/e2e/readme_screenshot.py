"""The README's picture of the window, taken from the real program: the
picker after a pick on the field, and the safe palette with the readout of
a picked swatch, side by side. Made by scripts/screenshot.sh.
"""

import os
import sys

import expected as ex
import harness

LIST = harness.centre(310, 144, 115, 21)  # cmbPreset
HUE = (284, 95)  # on the strip, a blue
PICK = (200, 60)  # on the field
SWATCH = (88, 68)  # the safe colour #3366CC, inside its cell
GAP = 16
BACKGROUND = (255, 255, 255)
NAME = "tinctara.png"


def side_by_side(left, right):
    height = max(left.height, right.height)
    width = left.width + GAP + right.width
    rows = []
    for y in range(height):
        row = bytearray(bytes(BACKGROUND) * width)
        for image, x in ((left, 0), (right, left.width + GAP)):
            if y < image.height:
                row[x * 3:(x + image.width) * 3] = image.data[y * image.width * 3:(y + 1) * image.width * 3]
        rows.append(bytes(row))
    return harness.Image(width, height, b"".join(rows))


def test(args):
    if not args.shots:
        raise harness.HarnessError("--shots names the folder for " + NAME)
    with harness.Session(keep_temp=args.keep_temp) as session:
        app = session.start_app(args.app, working_copy=True)
        app.wait_window()
        app.settle()
        app.click(*HUE)
        app.settle()
        app.click(*PICK)
        app.settle()
        picker = app.grab_window()
        app.click(*ex.PRESET)
        app.settle()
        app.choose(*LIST, "Safe Palette (216)")
        app.settle()
        app.click(*SWATCH)
        app.settle()
        panel = app.grab_window()
    path = os.path.join(args.shots, NAME)
    side_by_side(picker, panel).save_png(path)
    print("wrote " + path)


if __name__ == "__main__":
    sys.exit(harness.main(test))
