#!/usr/bin/env python3
"""Resident memory over a long reading: the real program, headless, reads the
book forwards to the last page and back to the cover again and again, 100 turns
in all, and dumps its state after every turn has settled. It prints the
resident memory ("process.rssBytes" of each dump) after each turn, the peak
resident memory of the whole run as the kernel counted it, and the change from
the 2nd turn to the last.

Goals: the peak at most 200 MB; after the last turn within 10 % of after the 2nd.

    bench/memory.py build/lumo-book [--turns 100] [--rest 2]
"""
import argparse
import json
import os
import resource
import subprocess
import sys
import tempfile

MB = 1024 * 1024


def make_script(turns, pages, rest, work):
    lines, page, step = ["wait 2"], 1, 1
    for turn in range(1, turns + 1):
        if not 1 <= page + step <= pages:
            step = -step
        drag = "drag 512 600 512 300 0.3" if step > 0 else "drag 512 300 512 600 0.3"
        page += step
        # The turn settles 1.5 s after its request; the dump comes after the rest.
        lines += [drag, f"wait {rest}", f"dump {work}/turn{turn:03d}.json"]
    return "\n".join(lines) + "\n", page


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("--turns", type=int, default=100)
    parser.add_argument("--pages", type=int, default=18)
    parser.add_argument("--rest", type=float, default=2.0, help="seconds after each request")
    parser.add_argument("--keep", help="keep the dumps in this folder")
    args = parser.parse_args()
    if args.turns < 2 or args.rest < 1.6:
        sys.exit("at least 2 turns, and a rest that lets each turn settle (1.6 s or more)")
    work = args.keep or tempfile.mkdtemp(prefix="memory.")
    os.makedirs(work, exist_ok=True)
    os.environ.setdefault("XDG_CONFIG_HOME", f"{work}/config")
    script, _ = make_script(args.turns, args.pages, args.rest, work)
    with open(f"{work}/script.txt", "w") as f:
        f.write(script)
    subprocess.run([args.program, "--headless", "--script", f"{work}/script.txt"], check=True)
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    rss = []
    for turn in range(1, args.turns + 1):
        state = json.load(open(f"{work}/turn{turn:03d}.json"))
        rss.append((state["book"]["page"], state["process"]["rssBytes"]))
    print("turn page  resident MB")
    for turn, (page, size) in enumerate(rss, 1):
        print(f"{turn:4d} {page:4d} {size / MB:12.1f}")
    second, last = rss[1][1], rss[-1][1]
    change = (last - second) / second * 100
    print(f"peak resident memory of the run: {peak / MB:.1f} MB "
          f"(at most 200: {'yes' if peak <= 200 * MB else 'no'})")
    print(f"after turn 2: {second / MB:.1f} MB, after turn {args.turns}: {last / MB:.1f} MB, "
          f"change {change:+.1f} % (within 10 %: {'yes' if abs(change) <= 10 else 'no'})")


if __name__ == "__main__":
    main()
