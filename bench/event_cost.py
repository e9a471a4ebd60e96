#!/usr/bin/env python3
"""What a user feels, measured from outside: the CPU that one drag step costs
the program and the X server, the time from exec to the window's first map,
and the resident memory once shown, side by side with Qt's own colour dialog.

Each program runs in an X server of its own (Xvfb). A drag is one xdotool
process pressing the left button and moving the pointer N times, GAP
seconds apart; CPU comes from the scheduler's count for each thread
(/proc/PID/task/*/schedstat) before and after, less what the
same program and server burn idle over the same time. Programs alternate
round by round, so a busy machine slows all of them alike. Prints medians
with min-max and the ratio to the dialog's median.

    bench/event_cost.py --app build-rel/tinctara --dialog build-rel/bench/bench_colordialog \
        --floor build-rel/bench/bench_barewidget

--app may be given more than once as LABEL=PATH to compare builds. --floor
adds a bare Qt widget that repaints only two ring boxes per step: the least
any Qt widget program pays per step on this machine. In the start-up table
the same widget shows one line of text, so it pays what any window with
text pays before its first map (the font database, the accessibility
bridge's session bus); what a program takes beyond it is its own.

--callgrind first counts the instructions one drag step costs each program,
which no other load on the machine changes: each case runs once under
valgrind --tool=callgrind with instrumentation off until the window is up,
drags CG_WARMUP steps, zeroes the counts, dumps what an idle stretch as long
as the drag costs, then drags CG_STEPS steps CG_GAP seconds apart and dumps
again. The idle count is subtracted, and the number of mouse events the
program handled is read from the same dump: a step the program fell behind
on is merged into the next one by Qt, so the table says how many arrived.
--rounds 0 leaves out the CPU-time table, --startup-runs 0 the start-up
one. --callgrind-out keeps the dumps for callgrind_annotate.
"""

import argparse
import glob
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TICK = os.sysconf("SC_CLK_TCK")
CLIENT_HEIGHT = 275
# Client pixels of the picker: the field, the strip, the S option button.
FIELD = (12, 12, 252, 252)
STRIP_X, STRIP_TOP, STRIP_BOTTOM = 285, 12, 263
OPTION_S = (316, 126)


def cpu_seconds(pid):
    """CPU the process's threads have run, to the nanosecond where the kernel
    keeps scheduler statistics. The tick counts of /proc/PID/stat charge a
    whole tick to whatever runs when it falls, too coarse for events that
    take a fraction of a millisecond."""
    total = 0
    found = False
    for task in glob.glob("/proc/%d/task/*/schedstat" % pid):
        try:
            with open(task) as f:
                total += int(f.read().split()[0])
            found = True
        except (FileNotFoundError, ProcessLookupError):
            pass  # the thread ended
    if found:
        return total / 1e9
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def wait_for(fn, timeout, what):
    deadline = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() > deadline:
            raise RuntimeError("timed out waiting for " + what)
        time.sleep(0.01)


class Display:
    """A private Xvfb."""

    def __init__(self):
        self.number = next(n for n in range(140, 400) if not os.path.exists("/tmp/.X11-unix/X%d" % n)
                           and not os.path.exists("/tmp/.X%d-lock" % n))
        self.proc = subprocess.Popen(["Xvfb", ":%d" % self.number, "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp", "-noreset"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists("/tmp/.X11-unix/X%d" % self.number), 10, "Xvfb")
        self.env = dict(os.environ, DISPLAY=":%d" % self.number, QT_QPA_PLATFORM="xcb")
        for name in ("QT_SCALE_FACTOR", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                              stdout=subprocess.PIPE).stdout.decode()

    def close(self):
        self.proc.terminate()
        self.proc.wait(5)


class Program:
    def __init__(self, display, path, prefix=(), patience=20):
        """path: the program, or a list of it and its arguments."""
        self.display = display
        self.patience = patience
        command = [path] if isinstance(path, str) else list(path)
        self.proc = subprocess.Popen(list(prefix) + command, env=display.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL)

    def window(self):
        def find():
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                               env=self.display.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            ids = r.stdout.split()
            return ids[-1].decode() if ids else None
        wid = wait_for(find, self.patience, "the window")
        geometry = {}
        for line in self.display.xdotool("getwindowgeometry", "--shell", wid).split():
            key, _, value = line.partition("=")
            geometry[key] = int(value) if value.lstrip("-").isdigit() else value
        return geometry

    def close(self):
        self.proc.kill()
        self.proc.wait(5)


def triangle(v, length):
    v %= 2 * length
    return v if v < length else 2 * length - v


def path(area, steps):
    """A drag that keeps moving a few pixels per step, back and forth
    across the area."""
    x, y, w, h = area
    return [(x + triangle(3 * i, w - 1), y + triangle(2 * i + h // 3, h - 1)) for i in range(steps)]


def measure_drag(display, pid, points, gap):
    """CPU per step of the program and of the X server, idle CPU subtracted."""
    x0, y0 = points[0]
    display.xdotool("mousemove", x0, y0, "mousedown", 1)
    time.sleep(0.3)
    idle_start = (time.monotonic(), cpu_seconds(pid), cpu_seconds(display.proc.pid))
    time.sleep(1.0)
    idle_end = (time.monotonic(), cpu_seconds(pid), cpu_seconds(display.proc.pid))
    idle_wall = idle_end[0] - idle_start[0]
    idle_rate = [(idle_end[i] - idle_start[i]) / idle_wall for i in (1, 2)]

    moves = []
    for x, y in points[1:]:
        moves += ["mousemove", x, y, "sleep", gap]
    start = (time.monotonic(), cpu_seconds(pid), cpu_seconds(display.proc.pid))
    display.xdotool(*moves)
    time.sleep(0.3)  # the last events reach the program
    end = (time.monotonic(), cpu_seconds(pid), cpu_seconds(display.proc.pid))
    display.xdotool("mouseup", 1)
    wall = end[0] - start[0]
    n = len(points) - 1
    return [max(0.0, (end[i] - start[i]) - idle_rate[i - 1] * wall) / n * 1e6 for i in (1, 2)]


def tinctara_case(path_to, case, steps, gap):
    display = Display()
    program = Program(display, path_to)
    try:
        g = program.window()
        time.sleep(1.0)
        ox, oy = g["X"], g["Y"] + g["HEIGHT"] - CLIENT_HEIGHT
        if case == "field, S mode":
            display.xdotool("mousemove", ox + OPTION_S[0], oy + OPTION_S[1], "click", 1)
            time.sleep(0.5)
        if case == "strip, hue mode":
            points = [(ox + STRIP_X, oy + STRIP_TOP + triangle(2 * i, STRIP_BOTTOM - STRIP_TOP)) for i in range(steps + 1)]
        else:
            fx, fy, fw, fh = FIELD
            points = path((ox + fx, oy + fy, fw, fh), steps + 1)
        return measure_drag(display, program.proc.pid, points, gap)
    finally:
        program.close()
        display.close()


def square_case(path_to, steps, gap):
    """A drag inside the area a reference program prints as
    'square X Y W H' once it is shown."""
    display = Display()
    program = Program(display, path_to)
    try:
        program.window()
        line = program.proc.stdout.readline().decode().split()
        if not line or line[0] != "square":
            raise RuntimeError(path_to + " did not say where its square is")
        x, y, w, h = (int(v) for v in line[1:5])
        time.sleep(1.0)
        return measure_drag(display, program.proc.pid, path((x + 2, y + 2, w - 4, h - 4), steps + 1), gap)
    finally:
        program.close()
        display.close()


def startup(path_to):
    """Seconds from exec to the first map of a window, and VmRSS once shown."""
    display = Display()
    watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], env=display.env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        time.sleep(0.3)  # xev is listening
        start = time.monotonic()
        program = Program(display, path_to)
        while True:
            line = watcher.stdout.readline()
            if not line:
                raise RuntimeError("xev ended")
            if line.startswith(b"MapNotify"):
                mapped = time.monotonic() - start
                break
        time.sleep(1.0)
        rss = rss_kib(program.proc.pid)
        program.close()
        return mapped, rss
    finally:
        watcher.kill()
        watcher.wait(5)
        display.close()


class Callgrind:
    """A program under callgrind, instrumented only from the first drag on."""

    def __init__(self, display, path_to, out_dir):
        self.out = os.path.join(out_dir, "callgrind.out")
        for old in glob.glob(self.out + "*"):
            os.remove(old)
        prefix = ["valgrind", "--tool=callgrind", "--instr-atstart=no", "--compress-strings=no",
                  "--callgrind-out-file=" + self.out]
        self.program = Program(display, path_to, prefix, patience=120)
        self.pid = self.program.proc.pid
        self.dumps = 0

    def control(self, *args):
        subprocess.run(["callgrind_control"] + list(args) + [str(self.pid)], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def dump(self):
        """Instructions since the last zero or dump, and the mouse events handled."""
        self.control("-d")
        self.dumps += 1
        name = "%s.%d" % (self.out, self.dumps)
        # The totals close the file: once they are there, the dump is whole.
        total = wait_for(lambda: [read_totals(name)] if read_totals(name) is not None else None, 60, "the dump")
        return total[0], handled_mouse_events(name)


def read_totals(name):
    try:
        with open(name) as f:
            for line in f:
                if line.startswith("totals:"):
                    return int(line.split()[1])
    except FileNotFoundError:
        pass
    return None


# Qt's GUI layer takes every mouse event the window system delivers through
# this function once, in any Qt program: the number of drag steps the
# program saw.
MOUSE_EVENT = "QGuiApplicationPrivate::processMouseEvent("


def handled_mouse_events(name):
    count = 0
    called = False
    with open(name) as f:
        for line in f:
            if line.startswith("cfn="):
                # Names are written out in full (--compress-strings=no).
                called = line[4:].startswith(MOUSE_EVENT)
            elif line.startswith("calls=") and called:
                count += int(line[6:].split()[0])
                called = False
    return count


def counted_drag(display, cg, points, warmup, gap):
    """Instructions per handled step over points[warmup + 1:], less idle."""
    x0, y0 = points[0]
    display.xdotool("mousemove", x0, y0, "mousedown", 1)
    time.sleep(1.0)
    cg.control("-i", "on")
    moves = []
    for x, y in points[1:warmup + 1]:
        moves += ["mousemove", x, y, "sleep", gap]
    display.xdotool(*moves)
    time.sleep(2.0)  # the warm-up's events are all handled
    cg.control("-z")
    moves = []
    for x, y in points[warmup + 1:]:
        moves += ["mousemove", x, y, "sleep", gap]
    length = gap * (len(points) - warmup - 1)
    start = time.monotonic()
    time.sleep(length)
    idle_wall = time.monotonic() - start
    idle, _ = cg.dump()
    start = time.monotonic()
    display.xdotool(*moves)
    time.sleep(2.0)  # the last events reach the program
    wall = time.monotonic() - start
    total, handled = cg.dump()
    display.xdotool("mouseup", 1)
    busy = total - idle * wall / idle_wall
    return busy / max(handled, 1), handled, idle * wall / idle_wall


def counted_tinctara(path_to, case, steps, warmup, gap, out_dir):
    display = Display()
    cg = Callgrind(display, path_to, out_dir)
    try:
        g = cg.program.window()
        time.sleep(1.0)
        ox, oy = g["X"], g["Y"] + g["HEIGHT"] - CLIENT_HEIGHT
        if case == "field, S mode":
            display.xdotool("mousemove", ox + OPTION_S[0], oy + OPTION_S[1], "click", 1)
            time.sleep(3.0)
        n = steps + warmup + 1
        if case == "strip, hue mode":
            points = [(ox + STRIP_X, oy + STRIP_TOP + triangle(2 * i, STRIP_BOTTOM - STRIP_TOP)) for i in range(n)]
        else:
            fx, fy, fw, fh = FIELD
            points = path((ox + fx, oy + fy, fw, fh), n)
        return counted_drag(display, cg, points, warmup, gap)
    finally:
        cg.program.close()
        display.close()


def counted_square(path_to, steps, warmup, gap, out_dir):
    display = Display()
    cg = Callgrind(display, path_to, out_dir)
    try:
        cg.program.window()
        line = cg.program.proc.stdout.readline().decode().split()
        if not line or line[0] != "square":
            raise RuntimeError(path_to + " did not say where its square is")
        x, y, w, h = (int(v) for v in line[1:5])
        time.sleep(1.0)
        points = path((x + 2, y + 2, w - 4, h - 4), steps + warmup + 1)
        return counted_drag(display, cg, points, warmup, gap)
    finally:
        cg.program.close()
        display.close()


def instruction_table(apps, dialog, floor, args):
    keep = args.callgrind_out
    work = keep or tempfile.mkdtemp(prefix="event_cost.")
    os.makedirs(work, exist_ok=True)
    rows = []
    try:
        for case in ["field, hue mode", "field, S mode", "strip, hue mode"]:
            for label, p in apps:
                out = os.path.join(work, "%s-%s" % (label, case.replace(", ", "-").replace(" ", "-")))
                os.makedirs(out, exist_ok=True)
                rows.append((label, case, counted_tinctara(p, case, args.cg_steps, args.cg_warmup, args.cg_gap, out)))
                print("callgrind: %s, %s done" % (label, case), file=sys.stderr)
        refs = [("QColorDialog", "square", dialog)]
        if floor:
            refs.append(("bare widget", "two ring boxes", floor))
        for label, case, p in refs:
            out = os.path.join(work, label.replace(" ", "-"))
            os.makedirs(out, exist_ok=True)
            rows.append((label, case, counted_square(p, args.cg_steps, args.cg_warmup, args.cg_gap, out)))
            print("callgrind: %s done" % label, file=sys.stderr)
    finally:
        if not keep:
            shutil.rmtree(work, ignore_errors=True)
    ref = next(r[2][0] for r in rows if r[0] == "QColorDialog")
    base = next((r[2][0] for r in rows if r[0] == "bare widget"), None)
    print("\nInstructions per drag step (callgrind), %d steps %g ms apart after %d to warm up, idle subtracted"
          % (args.cg_steps, args.cg_gap * 1000, args.cg_warmup))
    print("| program | case | instructions per step | ratio to QColorDialog | ratio to bare widget | steps handled |"
          " idle subtracted |")
    print("|---|---|---|---|---|---|---|")
    for label, case, (per_step, handled, idle) in rows:
        print("| %s | %s | %.0f | %.2f x | %s | %d of %d%s | %.0f |"
              % (label, case, per_step, per_step / ref, "%.2f x" % (per_step / base) if base else "-",
                 handled, args.cg_steps, "" if handled == args.cg_steps else " (merged by Qt)", idle))


def summary(values):
    return statistics.median(values), min(values), max(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--app", action="append", required=True, help="[LABEL=]PATH of a tinctara build")
    parser.add_argument("--dialog", required=True, help="PATH of bench_colordialog")
    parser.add_argument("--floor", help="PATH of bench_barewidget (optional)")
    parser.add_argument("--rounds", type=int, default=6)
    parser.add_argument("--steps", type=int, default=2000)
    parser.add_argument("--gap", type=float, default=0.005, help="seconds between drag steps")
    parser.add_argument("--startup-runs", type=int, default=10)
    parser.add_argument("--callgrind", action="store_true", help="count instructions per step first")
    parser.add_argument("--cg-steps", type=int, default=300)
    parser.add_argument("--cg-warmup", type=int, default=30)
    parser.add_argument("--cg-gap", type=float, default=0.06)
    parser.add_argument("--callgrind-out", help="folder to keep the callgrind dumps in")
    args = parser.parse_args()

    apps = []
    for a in args.app:
        label, _, p = a.rpartition("=")
        apps.append((label or "tinctara", os.path.abspath(p)))
    dialog = os.path.abspath(args.dialog)
    cases = ["field, hue mode", "field, S mode", "strip, hue mode"]
    floor = os.path.abspath(args.floor) if args.floor else None
    if args.callgrind:
        instruction_table(apps, dialog, floor, args)
    if args.rounds > 0:
        drag_table(apps, dialog, floor, cases, args)
    if args.startup_runs > 0:
        startup_table(apps, dialog, floor, args.startup_runs)
    return 0


def drag_table(apps, dialog, floor, cases, args):
    drag = {}  # (label, case) -> [(program us, server us)]
    for r in range(args.rounds):
        for case in cases:
            for label, p in apps:
                drag.setdefault((label, case), []).append(tinctara_case(p, case, args.steps, args.gap))
        drag.setdefault(("QColorDialog", "square"), []).append(square_case(dialog, args.steps, args.gap))
        if floor:
            drag.setdefault(("bare widget", "two ring boxes"), []).append(
                square_case(floor, args.steps, args.gap))
        print("round %d of %d done" % (r + 1, args.rounds), file=sys.stderr)

    ref_program = summary([v[0] for v in drag[("QColorDialog", "square")]])[0]
    ref_server = summary([v[1] for v in drag[("QColorDialog", "square")]])[0]
    print("\nCPU per drag step, %d steps %g ms apart, %d rounds (median, min-max; ratio to QColorDialog)"
          % (args.steps, args.gap * 1000, args.rounds))
    print("| program | case | program CPU per step | X server CPU per step |")
    print("|---|---|---|---|")
    for (label, case), values in drag.items():
        p = summary([v[0] for v in values])
        s = summary([v[1] for v in values])
        print("| %s | %s | %.0f us (%.0f-%.0f) = %.2f x | %.0f us (%.0f-%.0f) = %.2f x |"
              % (label, case, p[0], p[1], p[2], p[0] / ref_program, s[0], s[1], s[2], s[0] / ref_server))


def startup_table(apps, dialog, floor, n):
    programs = apps + [("QColorDialog", dialog)]
    if floor:
        programs.append(("bare widget", [floor, "--caption"]))
    runs = {}
    for _ in range(n):
        for label, p in programs:
            runs.setdefault(label, []).append(startup(p))
    ref_map = summary([m for m, _ in runs["QColorDialog"]])[0]
    ref_rss = summary([r for _, r in runs["QColorDialog"]])[0]
    base = summary([m for m, _ in runs["bare widget"]])[0] if floor else None
    print("\nStart-up, %d runs each, alternating (median, min-max; ratio to QColorDialog)" % n)
    print("| program | exec to first map | beyond the bare widget's | resident memory once shown |")
    print("|---|---|---|---|")
    for label, values in runs.items():
        m = summary([v[0] * 1000 for v in values])
        k = summary([v[1] / 1024 for v in values])
        beyond = "-"
        if base is not None and label != "bare widget":
            beyond = "%.0f ms = %.2f x" % ((m[0] / 1000 - base) * 1000,
                                           (m[0] / 1000 - base) / max(ref_map - base, 1e-6))
        print("| %s | %.0f ms (%.0f-%.0f) = %.2f x | %s | %.1f MB (%.1f-%.1f) = %.2f x |"
              % (label, m[0], m[1], m[2], m[0] / (ref_map * 1000), beyond, k[0], k[1], k[2],
                 k[0] * 1024 / ref_rss))


if __name__ == "__main__":
    sys.exit(main())
