#!/usr/bin/env python3
"""The window's frame against the headless frame of the same page.

Runs the real program on one page at rest, drawing every frame, once headless
and once in a window on an X server of its own (Xvfb), and reads both frame
logs. For each pair of runs it prints the median drawn frame headless, in the
window, their ratio, and the frames a second the window kept up; then the
medians over the runs. Headless, a frame ends when GL has finished it; in the
window it ends when the frame is on the window, so the ratio is what putting
the picture on screen costs over drawing it.

    bench/window_present.py build-default/lumo-book [--runs 5] [--page 2]
                            [--seconds 8] [--measure wall|cpu]
"""
import argparse
import csv
import os
import statistics
import subprocess
import sys
import tempfile
import time

SETTLE = 3.0  # the page's own entrance and panel are over by then


def start_xvfb(work):
    display_file = os.path.join(work, "display")
    server = subprocess.Popen(
        ["bash", "-c", 'exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$0"',
         display_file], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(display_file) and os.path.getsize(display_file) > 0:
            break
        time.sleep(0.1)
    with open(display_file) as f:
        number = f.readline().strip()
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number


def run(program, args, work, name, seconds, display=None):
    script = os.path.join(work, name + ".txt")
    with open(script, "w") as f:
        f.write(f"wait {seconds}\nquit\n")
    log = os.path.join(work, name + ".csv")
    env = dict(os.environ, SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "data"), XDG_STATE_HOME=os.path.join(work, "state"))
    command = [program, "--page", str(args.page), "--draw-every-frame", "--frame-log", log,
               "--frame-log-measure", args.measure, "--script", script]
    if display:
        env["DISPLAY"] = display
        env.pop("SDL_VIDEODRIVER", None)
    else:
        command.insert(1, "--headless")
    subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True, timeout=seconds * 20 + 60)
    with open(log) as f:
        rows = [r for r in csv.DictReader(f) if r["drew"] == "1" and float(r["time"]) >= SETTLE]
    if len(rows) < 10:
        sys.exit(f"{name}: only {len(rows)} drawn frames after {SETTLE} s")
    times = [float(r["time"]) for r in rows]
    fps = (len(rows) - 1) / (times[-1] - times[0]) if times[-1] > times[0] else float("nan")
    return statistics.median(float(r["ms"]) for r in rows), fps


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--page", type=int, default=2)
    parser.add_argument("--seconds", type=float, default=8.0)
    parser.add_argument("--measure", choices=["wall", "cpu"], default="wall")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    with tempfile.TemporaryDirectory() as work:
        server, display = start_xvfb(work)
        try:
            ratios, fpses, heads, wins = [], [], [], []
            print(f"page {args.page}, {args.measure} ms of a drawn frame at rest")
            print("run  headless  window  window/headless  window fps")
            for number in range(1, args.runs + 1):
                head, _ = run(program, args, work, f"headless{number}", args.seconds)
                win, fps = run(program, args, work, f"window{number}", args.seconds, display)
                heads.append(head)
                wins.append(win)
                ratios.append(win / head)
                fpses.append(fps)
                print(f"{number:3}  {head:8.2f}  {win:6.2f}  {win / head:15.3f}  {fps:10.1f}")
            print(f"median {statistics.median(heads):6.2f}  {statistics.median(wins):6.2f}  "
                  f"{statistics.median(ratios):15.3f}  {statistics.median(fpses):10.1f}")
        finally:
            server.kill()


if __name__ == "__main__":
    main()
