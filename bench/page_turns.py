#!/usr/bin/env python3
"""Page-turn hitch benchmark: drives the real program headless through the book,
forwards to the last page and back to the cover, and reads its frame log.

For every page it prints the median frame while the page rests, for every turn
the worst frame from the request to the settle, and that frame against the
median frame of the whole run; then the worst turn and resting frames over
that median. A frame has no hitch when it is at most 1.5 times the median.
Only frames that drew count: a frame in which nothing changed draws nothing.

Frames are measured in processor time of the whole process by default (GL's
threads and the texture loader included), which a busy machine does not
stretch; --measure wall takes the main thread's wall clock, what a reader sees
on an idle machine. Frames are numbered by virtual time, so frame n does the
same work in every run: with --runs N each frame counts with its smallest time
over the N runs, which keeps stalls out of the figures.

    bench/page_turns.py build/lumo-book [--runs 2] [--measure cpu|wall] [--rest 2.5] [--pages 18]
"""
import argparse
import csv
import os
import resource
import statistics
import subprocess
import sys
import tempfile

FRAME = 1 / 60


def make_script(pages, rest):
    lines = ["wait 2"]
    for _ in range(pages - 1):
        lines += ["drag 512 600 512 300 0.3", f"wait {rest}"]
    for _ in range(pages - 1):
        lines += ["drag 512 300 512 600 0.3", f"wait {rest}"]
    return "\n".join(lines) + "\n"


def frame_of(seconds):
    return round(seconds / FRAME)


def read_frames(path):
    """Milliseconds of the frames that drew: a frame with nothing changed costs nothing."""
    with open(path) as f:
        return {int(r["frame"]): float(r["ms"]) for r in csv.DictReader(f)
                if r.get("drew", "1") == "1"}


def read_turns(path):
    """[(request frame, settle frame, from page, to page)] and the settle frames."""
    turns, pending = [], None
    for line in open(path):
        parts = line.split(" ", 2)
        if len(parts) < 3:
            continue
        t, kind, text = float(parts[0]), parts[1], parts[2].strip()
        if kind == "turn" and text.startswith("requested"):
            # Asked for from input at the start of the next frame.
            pending = (frame_of(t) + 1, int(text.rsplit(" ", 1)[1]))
        elif kind == "turn" and "no page there" in text:
            pending = None
        elif kind == "page" and text.startswith("settled") and pending:
            turns.append((pending[0], frame_of(t), pending[1], int(text.split()[1])))
            pending = None
    return turns


def run_once(program, script, work, index, measure):
    log, events = f"{work}/frames{index}.csv", f"{work}/events{index}.txt"
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(events, "w") as out:
        subprocess.run([program, "--headless", "--script", script, "--frame-log", log,
                        "--frame-log-measure", measure, "--log-events"], stdout=out, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return read_frames(log), read_turns(events), cpu


def report(frames, turns, warmup):
    last = max(frames)
    in_turn = set()
    for start, end, _, _ in turns:
        in_turn.update(range(start, end + 1))
    resting = [ms for n, ms in frames.items() if n > warmup and n not in in_turn]
    median = statistics.median(resting)
    print(f"median resting frame of the run: {median:.2f} ms over {len(resting)} frames")
    print(f"{'page':>4} {'rest median':>11} {'rest worst':>10} | {'turn':>7} "
          f"{'frames':>6} {'worst':>8} {'x median':>8}")
    # A page rests from its settle (or the start) to the next request.
    rest_from = warmup + 1
    worst_ratio, worst_rest, page = 0.0, 0.0, 1
    for start, end, src, dst in turns + [(last + 1, last, None, None)]:
        rest = [frames[n] for n in range(rest_from, start) if n in frames]
        rest_text = (f"{statistics.median(rest):11.2f} {max(rest):10.2f}" if rest
                     else f"{'-':>11} {'-':>10}")
        worst_rest = max([worst_rest] + rest)
        if src is None:
            print(f"{page:>4} {rest_text} |")
            break
        turn = [frames[n] for n in range(start, end + 1) if n in frames]
        worst = max(turn)
        worst_ratio = max(worst_ratio, worst / median)
        print(f"{src:>4} {rest_text} | {src:>2} -> {dst:<2} {len(turn):6d} {worst:8.2f} "
              f"{worst / median:8.2f}")
        rest_from, page = end + 1, dst
    print(f"worst turn frame / run median: {worst_ratio:.2f} (at most 1.5: "
          f"{'yes' if worst_ratio <= 1.5 else 'no'})")
    print(f"worst resting frame / run median: {worst_rest / median:.2f} (at most 1.5: "
          f"{'yes' if worst_rest <= 1.5 * median else 'no'})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=2)
    parser.add_argument("--measure", choices=["cpu", "wall"], default="cpu",
                        help="frame milliseconds of processor time (default: steady on a busy "
                             "machine) or of the wall clock")
    parser.add_argument("--rest", type=float, default=2.5, help="seconds each page rests")
    parser.add_argument("--pages", type=int, default=18, help="read up to this page and back")
    parser.add_argument("--keep", help="keep the frame logs and event logs in this folder")
    args = parser.parse_args()
    work = args.keep or tempfile.mkdtemp(prefix="page_turns.")
    os.makedirs(work, exist_ok=True)
    os.environ.setdefault("XDG_CONFIG_HOME", f"{work}/config")
    script = f"{work}/script.txt"
    with open(script, "w") as f:
        f.write(make_script(args.pages, args.rest))
    runs = [run_once(args.program, script, work, i, args.measure) for i in range(args.runs)]
    turns = runs[0][1]
    if any(r[1] != turns for r in runs):
        sys.exit("the runs turned different pages at different frames")
    common = set.intersection(*(set(r[0]) for r in runs))
    frames = {n: min(r[0][n] for r in runs) for n in common}
    cpu = ", ".join(f"{r[2]:.1f}" for r in runs)
    print(f"{args.runs} runs, {len(frames)} frames each, {len(turns)} turns; "
          f"process CPU seconds per run: {cpu}")
    what = "processor time of the process" if args.measure == "cpu" else "wall clock"
    print(f"each frame: its smallest milliseconds of {what} over the runs")
    # The first half second compiles the pipeline's first drawing states.
    report(frames, turns, warmup=30)


if __name__ == "__main__":
    main()
