#!/usr/bin/env bash
# The book in a real window on an X server (Xvfb), driven by real key presses
# (xdotool, through the X server as a keyboard would): F11 puts it in full
# screen and the idle cursor hides, Right turns a page, F11 again leaves full
# screen, Ctrl+Q closes the book cleanly. The title names the book.
set -u
program=$1
work=$(mktemp -d)
trap 'kill "$xvfb" 2> /dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib
source "$lib/exit_checks.sh"
source "$lib/xvfb.sh"
start_xvfb

# The script only dumps and waits; the keys come from outside, each once the
# dump before it has been written.
cat > "$work/s.txt" << SCRIPT
wait 1
dump $work/start.json
wait 4
dump $work/full.json
wait 4
dump $work/page2.json
screenshot $work/page2.png
wait 1
dump $work/windowed.json
wait 600
SCRIPT
unset SDL_VIDEODRIVER
SDL_AUDIODRIVER=dummy "$program" --log-events --script "$work/s.txt" > "$work/log.txt" \
  2> "$work/err.txt" &
book=$!

# Waits for a dump, then presses KEYS. Usage: after NAME KEYS...
after() {
  local name=$1
  shift
  for _ in $(seq 1200); do
    [ -s "$work/$name.json" ] && break
    kill -0 "$book" 2> /dev/null || fail "the book ended before $name: $(tail -3 "$work/err.txt")"
    sleep 0.1
  done
  [ -s "$work/$name.json" ] || fail "no $name dump after two minutes"
  sleep 0.3
  for key in "$@"; do xdotool key --clearmodifiers "$key"; done
}

window=$(timeout 120 xdotool search --sync --classname lumo-book | head -1)
[ -n "$window" ] || fail "no window of the book"
# The pointer rests over the window, so its keys go there.
xdotool mousemove --window "$window" 400 300
after start F11
after full Right
after page2 F11
after windowed ctrl+q
for _ in $(seq 600); do kill -0 "$book" 2> /dev/null || break; sleep 0.1; done
kill -0 "$book" 2> /dev/null && fail "Ctrl+Q did not close the book"
wait "$book"
clean_exit "window" $? "$work/log.txt" "$work/err.txt"

PYTHONPATH=$lib python3 - "$work" << 'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
load = lambda name: json.load(open(f"{work}/{name}.json"))
start, full, page2, windowed = (load(n) for n in ("start", "full", "page2", "windowed"))
assert "Lumo Book" in start["desktop"]["title"], start["desktop"]["title"]
assert not start["desktop"]["fullscreen"], start["desktop"]
assert full["desktop"]["fullscreen"], "F11 did not go full screen"
assert full["desktop"]["cursorHidden"], "the idle cursor still shows in full screen"
assert full["book"]["page"] == 1, full["book"]
assert page2["book"]["page"] == 2 and not page2["book"]["lockDrag"], page2["book"]
assert not windowed["desktop"]["fullscreen"] and not windowed["desktop"]["cursorHidden"], \
    windowed["desktop"]
w, h, bpp, rows = screenshot.read(f"{work}/page2.png")
colours = {bytes(rows[y][x * bpp:x * bpp + 3]) for y in range(0, h, 16) for x in range(0, w, 16)}
assert len(colours) > 200, f"page 2 in the window is nearly flat: {len(colours)} colours"
PY
[ $? -eq 0 ] || exit 1
echo "window desktop: ok"
