#!/usr/bin/env bash
# The random reader (tools/monkey.py) for three minutes of virtual time with a
# fixed seed: taps, drags, keys, the wheel, tilts, focus, languages, the page
# navigator and the credits in any order, with the book's invariants checked
# at every dump and a clean exit. LUMO_MONKEY_MINUTES reads for longer.
set -u
program=$1
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
if [ ! -e "$assets/thumbs/page09.png" ] || [ ! -e "$assets/QRB_p8_ru.mp3" ]; then
  echo "SKIP: this build has no pictures of the pages or no recordings"
  exit 0
fi
here=$(dirname "$0")
exec python3 "$here/../../tools/monkey.py" --program "$program" --seed 20261208 \
  --minutes "${LUMO_MONKEY_MINUTES:-3}" --targets "$here/data/monkey_targets.json"
