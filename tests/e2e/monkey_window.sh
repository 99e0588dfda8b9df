#!/usr/bin/env bash
# The random reader (tools/monkey.py --window) at a real window on an X server
# of its own for a minute and a half with a fixed seed: clicks, drags, keys
# and held keys, the wheel, focus lost and regained, languages, the navigator
# and the credits through xdotool, the book's invariants checked on the dumps
# taken beside it, and Ctrl+Q closing it cleanly. LUMO_MONKEY_MINUTES reads
# for longer.
set -u
program=$1
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
if [ ! -e "$assets/thumbs/page09.png" ] || [ ! -e "$assets/QRB_p8_ru.mp3" ]; then
  echo "SKIP: this build has no pictures of the pages or no recordings"
  exit 0
fi
for tool in Xvfb xdotool; do
  if ! command -v "$tool" > /dev/null; then
    echo "FAIL: $tool is missing (tools/install-packages.sh installs it)"
    exit 1
  fi
done
here=$(dirname "$0")
exec python3 "$here/../../tools/monkey.py" --window --program "$program" --seed 20261208 \
  --minutes "${LUMO_MONKEY_MINUTES:-1.5}" --targets "$here/data/monkey_targets.json"
