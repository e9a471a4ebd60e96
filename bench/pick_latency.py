#!/usr/bin/env python3
"""Picking from the screen, measured from outside: the time from a pointer
move to the magnifier showing the pixel now under the pointer, and the CPU
the program spends per pointer move while picking beside what it spends
per field drag step.

The program runs in an Xvfb of its own whose root window is a checkerboard
of single pixels, so each one-pixel move changes the colour the
magnifier's centre block must show. The pointer is warped through Xlib and
the centre block read back with XGetImage in a tight loop: the latency is
from the warp to the first read that shows the new colour. CPU comes from
/proc/PID/stat over an xdotool stream of moves, less what the program burns
idle, as bench/event_cost.py measures a drag step (same steps and gap).

    bench/pick_latency.py --app build-rel/tinctara
"""

import argparse
import ctypes
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import event_cost  # noqa: E402

BLUE, OCHRE = 0x3366CC, 0xCC9933
CHECKER_XBM = """#define checker_width 8
#define checker_height 8
static char checker_bits[] = {
   0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa};
"""
# The middle of the magnifier's grid, in its window.
CENTRE = (90, 62)


def checker(x, y):
    return BLUE if (x + y) % 2 == 0 else OCHRE


class Xlib:
    def __init__(self, display_name):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                   ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.c_void_p
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XGetPixel.restype = ctypes.c_ulong
        x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.x = x
        self.d = x.XOpenDisplay(display_name.encode())
        if not self.d:
            raise RuntimeError("cannot open " + display_name)
        self.root = x.XDefaultRootWindow(self.d)

    def warp(self, px, py):
        self.x.XWarpPointer(self.d, 0, self.root, 0, 0, 0, 0, px, py)
        self.x.XFlush(self.d)

    def pixel(self, window, px, py):
        image = self.x.XGetImage(self.d, window, px, py, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        value = self.x.XGetPixel(image, 0, 0) & 0xFFFFFF
        self.x.XDestroyImage(image)
        return value


def start_pick(display, program):
    g = program.window()
    time.sleep(1.0)
    wid = event_cost.wait_for(lambda: display.xdotool("search", "--onlyvisible", "--name", "^Tinctara$").split()[-1], 10,
                              "the main window")
    display.xdotool("windowfocus", wid)
    start = (g["X"] + g["WIDTH"] + 200, g["Y"] + 150)
    display.xdotool("mousemove", *start)
    display.xdotool("key", "ctrl+shift+p")
    time.sleep(0.5)
    display.xdotool("mousemove", start[0] + 1, start[1])

    def lens():
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tinctara magnifier$"],
                           env=display.env, stdout=subprocess.PIPE)
        ids = r.stdout.split()
        return int(ids[-1]) if ids else None
    return start, event_cost.wait_for(lens, 10, "the magnifier")


def prepare(display):
    with tempfile.NamedTemporaryFile("w", suffix=".xbm", delete=False) as f:
        f.write(CHECKER_XBM)
    subprocess.run(["xsetroot", "-bitmap", f.name, "-fg", "#3366CC", "-bg", "#CC9933"], env=display.env, check=True)
    os.unlink(f.name)


def latency(app, moves):
    display = event_cost.Display()
    prepare(display)
    program = event_cost.Program(display, app)
    try:
        (x, y), lens = start_pick(display, program)
        xl = Xlib(display.env["DISPLAY"])
        times, missed = [], 0
        for i in range(moves):
            px = x + 2 + (i % 40)
            want = checker(px, y)
            t0 = time.perf_counter()
            xl.warp(px, y)
            while True:
                if xl.pixel(lens, *CENTRE) == want:
                    times.append((time.perf_counter() - t0) * 1000)
                    break
                if time.perf_counter() - t0 > 0.5:
                    missed += 1
                    break
            time.sleep(0.01)
        return times, missed
    finally:
        program.close()
        display.close()


def pick_cpu(app, steps, gap):
    display = event_cost.Display()
    prepare(display)
    program = event_cost.Program(display, app)
    try:
        (x, y), _ = start_pick(display, program)
        pid = program.proc.pid
        time.sleep(0.3)
        t0, c0 = time.monotonic(), event_cost.cpu_seconds(pid)
        time.sleep(1.0)
        idle_rate = (event_cost.cpu_seconds(pid) - c0) / (time.monotonic() - t0)
        moves = []
        for i in range(steps):
            moves += ["mousemove", x + 2 + event_cost.triangle(3 * i, 300), y + event_cost.triangle(2 * i, 200),
                      "sleep", gap]
        t0, c0 = time.monotonic(), event_cost.cpu_seconds(pid)
        display.xdotool(*moves)
        time.sleep(0.3)
        wall = time.monotonic() - t0
        spent = event_cost.cpu_seconds(pid) - c0 - idle_rate * wall
        return max(0.0, spent) / steps * 1e6
    finally:
        program.close()
        display.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--app", required=True, help="PATH of a tinctara build")
    parser.add_argument("--moves", type=int, default=300, help="pointer moves timed for the latency")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--steps", type=int, default=1000)
    parser.add_argument("--gap", type=float, default=0.005, help="seconds between moves")
    args = parser.parse_args()
    app = os.path.abspath(args.app)

    times, missed = latency(app, args.moves)
    q = statistics.quantiles(times, n=20)
    print("move to magnifier: median %.2f ms, 95th percentile %.2f ms, min %.2f, max %.2f (%d moves, %d missed)"
          % (statistics.median(times), q[-1], min(times), max(times), len(times), missed))

    pick, drag = [], []
    for r in range(args.rounds):
        pick.append(pick_cpu(app, args.steps, args.gap))
        drag.append(event_cost.tinctara_case(app, "field, hue mode", args.steps, args.gap)[0])
        print("round %d of %d done" % (r + 1, args.rounds), file=sys.stderr)
    mp, md = statistics.median(pick), statistics.median(drag)
    print("program CPU per move while picking: median %.0f us (%.0f-%.0f)" % (mp, min(pick), max(pick)))
    print("program CPU per field drag step:    median %.0f us (%.0f-%.0f)" % (md, min(drag), max(drag)))
    print("ratio: %.2f" % (mp / md if md else float("inf")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
