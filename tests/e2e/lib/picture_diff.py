"""Compares two folders of the program's screenshots, picture by picture.

Usage: picture_diff.py DIR_A DIR_B [--most-over SHARE] [--worst LEVELS]

A pixel differs by the largest difference of its colour channels. Fails when a
picture has more than SHARE (0.001) of its pixels differing by more than 2
levels, or any pixel by more than LEVELS (16), or a picture is missing.
"""
import os
import sys

import screenshot

FAINT = 2


def compare(a, b):
    """(pixels over FAINT, worst difference, pixels) of two screenshots."""
    wa, ha, bpp, rows_a = screenshot.read(a)
    wb, hb, bpp_b, rows_b = screenshot.read(b)
    assert (wa, ha, bpp) == (wb, hb, bpp_b), f"{a} and {b} differ in size or kind"
    over, worst = 0, 0
    for ra, rb in zip(rows_a, rows_b):
        if ra == rb:
            continue
        for x in range(0, wa * bpp, bpp):
            d = max(abs(ra[x] - rb[x]), abs(ra[x + 1] - rb[x + 1]), abs(ra[x + 2] - rb[x + 2]))
            if d > FAINT:
                over += 1
            worst = max(worst, d)
    return over, worst, wa * ha


def main(argv):
    first, second = argv[1], argv[2]
    most_over = float(argv[argv.index("--most-over") + 1]) if "--most-over" in argv else 0.001
    worst_allowed = int(argv[argv.index("--worst") + 1]) if "--worst" in argv else 16
    names = sorted(n for n in os.listdir(first) if n.endswith(".png"))
    assert names, f"no screenshots in {first}"
    failures, total_over, total, worst_seen = [], 0, 0, 0
    for name in names:
        other = os.path.join(second, name)
        if not os.path.exists(other):
            failures.append(f"{name}: missing from {second}")
            continue
        over, worst, pixels = compare(os.path.join(first, name), other)
        total_over, total, worst_seen = total_over + over, total + pixels, max(worst_seen, worst)
        if over > most_over * pixels or worst > worst_allowed:
            failures.append(f"{name}: {over} pixels ({100 * over / pixels:.3f} %) differ by more "
                            f"than {FAINT} levels, the worst by {worst}")
    print(f"{len(names)} pictures: {total_over} of {total} pixels "
          f"({100 * total_over / max(total, 1):.4f} %) differ by more than {FAINT} levels, "
          f"the worst by {worst_seen}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
