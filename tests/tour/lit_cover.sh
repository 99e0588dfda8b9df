#!/usr/bin/env bash
# The cover through the real program looks like its pictures as drawn: the lamp
# the engine lights it with is the one the pictures are lifted for (mean
# brightness within a tenth of the flat composite), nothing shows black behind
# the backdrop, and the title and figures are neither cut nor hidden.
set -u
program=$1 content=$2 assets=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/lumo-book" "$work/ru"
echo '{"Lan": "2000"}' > "$work/config/lumo-book/defaults.json"
printf 'wait 3\nscreenshot %s\ndump %s\n' "$work/ru/page01.png" "$work/ru/page01.json" > "$work/s.txt"
XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state "$program" --headless --script "$work/s.txt" > /dev/null ||
  { echo "FAIL: the program exited with $?"; exit 1; }
PYTHONPATH=$(dirname "$0")/../../tools python3 - "$work" "$content" "$assets" <<'PY'
import sys

import art_table
import tour

work, content, assets = sys.argv[1:]
art_table.use_content(content)
page = [layer.name for layer in art_table.page_layers(1)] + ["layer_bg"]
reference = tour.draw_reference(work + "/reference", page)
state, seen, drawn, black = tour.measure(work, reference, "ru", 1)
ratio = seen / drawn
print("cover: frame %.1f, pictures as drawn %.1f, ratio %.3f, black %.3f" % (seen, drawn, ratio, black))
assert 0.9 <= ratio <= 1.1, "the lit cover is %.0f%% of its pictures' brightness" % (100 * ratio)
assert black < 0.01, "%.0f%% of the cover is black" % (100 * black)
notes = tour.findings(state, assets)
assert not notes, notes
PY
