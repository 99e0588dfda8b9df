#!/usr/bin/env bash
# Runs a built program headless for a few frames and fails unless its
# screenshot shows a picture (not one flat colour). Used by CI on the
# README's first configuration: `tools/check-first-run.sh build-default/lumo-book`.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
printf 'wait 2.5\nscreenshot %s/shot.png\n' "$work" > "$work/s.txt"
"$program" --headless --script "$work/s.txt"
PYTHONPATH=$(dirname "$0")/../tests/e2e/lib python3 - "$work/shot.png" <<'PY'
import sys

import screenshot
w, h, bpp, rows = screenshot.read(sys.argv[1])
colours = {bytes(row[x * bpp:x * bpp + 3]) for row in rows[::16] for x in range(0, w, 16)}
assert len(colours) > 50, f"the first frame is nearly flat: {len(colours)} colours"
print(f"first run: {w}x{h}, {len(colours)} colours in a sample of the frame")
PY
