#!/usr/bin/env bash
# Multisampling: a page drawn with --msaa 4 is the page drawn without, but for
# its edges, which are smoothed; the dump says how many samples are in use, GL
# reports no error and the run ends cleanly. Figures are picked by a tap as
# without. Without the option nothing is multisampled, and a count that is not
# a whole number is refused.
set -u
program=$1
lib=$(dirname "$0")/lib
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
source "$lib/exit_checks.sh"

for kind in plain smooth; do
  mkdir -p "$work/$kind"
  cat > "$work/$kind.txt" <<SCRIPT
wait 2
key Right
wait 8
screenshot $work/$kind/page2.png
dump $work/$kind.json
quit
SCRIPT
done
"$program" --headless --log-events --script "$work/plain.txt" > "$work/plain.log" 2> "$work/plain.err"
clean_exit plain $? "$work/plain.log" "$work/plain.err"
"$program" --headless --log-events --msaa 4 --script "$work/smooth.txt" \
  > "$work/smooth.log" 2> "$work/smooth.err"
clean_exit smooth $? "$work/smooth.log" "$work/smooth.err"
for kind in plain smooth; do
  if grep -E "OpenGL error|multisampl|framebuffer" "$work/$kind.err"; then
    fail "$kind: GL complained"
  fi
done

"$program" --headless --msaa four > /dev/null 2> "$work/bad.err"
status=$?
[ "$status" -eq 2 ] || fail "--msaa four exited with $status, not 2"
grep -q -- "--msaa needs a whole number" "$work/bad.err" || fail "--msaa four: $(cat "$work/bad.err")"
"$program" --help | grep -q -- "--msaa N" || fail "--help does not list --msaa"

PYTHONPATH=$lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
for kind, samples in (("plain", 0), ("smooth", 4)):
    got = json.load(open(f"{work}/{kind}.json"))["desktop"]["msaaSamples"]
    assert got == samples, f"{kind}: msaaSamples {got}, not {samples}"

w, h, bpp, plain = screenshot.read(f"{work}/plain/page2.png")
w2, h2, bpp2, smooth = screenshot.read(f"{work}/smooth/page2.png")
assert (w, h, bpp) == (w2, h2, bpp2), "the pictures differ in size"

def px(rows, x, y):
    return rows[y][x * bpp:x * bpp + 3]

def diff(a, b):
    return max(abs(p - q) for p, q in zip(a, b))

def near_edge(x, y):
    # An edge of the plain picture within two pixels: neighbours that differ clearly.
    here = px(plain, x, y)
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            nx, ny = x + dx, y + dy
            if 0 <= nx < w and 0 <= ny < h and diff(px(plain, nx, ny), here) > 24:
                return True
    return False

changed = [(x, y) for y in range(h) for x in range(w)
           if plain[y] != smooth[y] and diff(px(plain, x, y), px(smooth, x, y)) > 2]
share = len(changed) / (w * h)
# Away from the picture's edges a sprite's quad may still end there: its
# border texels, not quite transparent, show faintly where samples cover it.
inland = [(x, y, diff(px(plain, x, y), px(smooth, x, y))) for x, y in changed
          if not near_edge(x, y)]
print(f"msaa: {len(changed)} of {w * h} pixels changed ({share:.2%}), {len(inland)} away from "
      f"the picture's edges, by at most {max((d for *_, d in inland), default=0)} levels")
assert len(changed) > 200, "multisampling smoothed no edge"
assert share < 0.02, "multisampling changed more than the edges"
assert len(inland) <= 0.05 * len(changed), f"pixels changed away from edges: {inland[:10]}"
assert all(d <= 16 for *_, d in inland), f"clear changes away from edges: {inland[:10]}"
PY
# Picking reads a colour back from what was drawn, which samples do not allow.
printf '#!/bin/sh\nexec "%s" --msaa 4 "$@"\n' "$(realpath "$program")" > "$work/smooth-book"
chmod +x "$work/smooth-book"
bash "$(dirname "$0")/figure_dialogue.sh" "$work/smooth-book" > "$work/taps.out" 2>&1 ||
  fail "figure taps with --msaa 4: $(tail -5 "$work/taps.out")"
if grep "OpenGL error" "$work/taps.out"; then fail "figure taps with --msaa 4: GL complained"; fi
echo "multisampling: ok"
