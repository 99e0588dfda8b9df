#!/usr/bin/env bash
# What the window shows is what the book drew: the book in a real window on an
# X server (Xvfb), its window read back from the server (xwd) and compared with
# the book's own screenshot of the same moment, upright, in both landscape
# holds (Ctrl+R turns the emulated tablet). The frame reaches the window from
# the view's own colour buffer, so a stale, blank, flipped or shifted picture
# would show here.
set -u
program=$1
work=$(mktemp -d)
trap 'kill "$xvfb" 2> /dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib
source "$lib/exit_checks.sh"
source "$lib/xvfb.sh"
start_xvfb xwd

# Each hold: a screenshot, a dump to say it is there, the window read from
# outside, a second screenshot; whatever moves on the page between them (a
# hint's beat) is small.
cat > "$work/s.txt" << SCRIPT
wait 4
screenshot $work/left-before.png
dump $work/left.json
wait 1.5
screenshot $work/left-after.png
wait 2
screenshot $work/right-before.png
dump $work/right.json
wait 1.5
screenshot $work/right-after.png
wait 600
SCRIPT
unset SDL_VIDEODRIVER
SDL_AUDIODRIVER=dummy "$program" --page 2 --mute --log-events --script "$work/s.txt" \
  > "$work/log.txt" 2> "$work/err.txt" &
book=$!

window=$(timeout 120 xdotool search --sync --classname lumo-book | head -1)
[ -n "$window" ] || fail "no window of the book"
# Waits for a dump, then reads the window from the X server into NAME.xwd.
grab_after() {
  local name=$1
  for _ in $(seq 1200); do
    [ -s "$work/$name.json" ] && break
    kill -0 "$book" 2> /dev/null || fail "the book ended before $name: $(tail -3 "$work/err.txt")"
    sleep 0.1
  done
  [ -s "$work/$name.json" ] || fail "no $name dump after two minutes"
  sleep 0.3
  xwd -silent -id "$window" > "$work/$name.xwd" || fail "xwd could not read the window"
}
grab_after left
xdotool mousemove --window "$window" 400 300 key --clearmodifiers ctrl+r
grab_after right
for _ in $(seq 300); do [ -s "$work/right-after.png" ] && break; sleep 0.1; done
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 600); do kill -0 "$book" 2> /dev/null || break; sleep 0.1; done
kill -0 "$book" 2> /dev/null && fail "Ctrl+Q did not close the book"
wait "$book"
clean_exit "window picture" $? "$work/log.txt" "$work/err.txt"

PYTHONPATH=$lib python3 - "$work" << 'PY' || exit 1
import json, sys

import screenshot
import xwd

work = sys.argv[1]


def agreement(shown, shot):
    """Share of pixels within 6 levels on every channel, sampled on a grid."""
    sw, sh, srows = shown
    w, h, bpp, rows = shot
    assert (sw, sh) == (w, h), f"the window is {sw}x{sh}, the picture {w}x{h}"
    close = total = 0
    for y in range(0, h, 3):
        for x in range(0, w, 3):
            a, b = srows[y][x * 3:x * 3 + 3], rows[y][x * bpp:x * bpp + 3]
            close += all(abs(p - q) <= 6 for p, q in zip(a, b))
            total += 1
    return close / total


holds = {}
for hold in ("left", "right"):
    holds[hold] = json.load(open(f"{work}/{hold}.json"))["director"]["orientation"]
    shown = xwd.read(f"{work}/{hold}.xwd")
    best = max(agreement(shown, screenshot.read(f"{work}/{hold}-{when}.png"))
               for when in ("before", "after"))
    print(f"{hold} ({holds[hold]}): {best:.4f} of the window as the book drew it")
    assert best >= 0.99, f"{hold}: only {best:.4f} of the window shows the book's picture"
    colours = {bytes(shown[2][y][x * 3:x * 3 + 3]) for y in range(0, shown[1], 16)
               for x in range(0, shown[0], 16)}
    assert len(colours) > 200, f"{hold}: the window is nearly flat ({len(colours)} colours)"
assert holds["left"] != holds["right"], f"Ctrl+R did not turn the tablet: {holds}"
PY
[ $? -eq 0 ] || exit 1
echo "window picture: ok"
