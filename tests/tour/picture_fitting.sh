#!/usr/bin/env bash
# Run by hand (it reads the whole book four times). Pictures drawn fitted
# (opaque ones without blending, nearest first) look as
# drawn plainly: every page in both languages, read once with fitting switched
# off and once with it on, the two sets of screenshots compared pixel by pixel.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/../e2e/lib
pages=18

# One reading: every page once it has settled, then the state of the last.
read_book() {  # fitting language(2000 ru, 2001 en)
  local out=$work/$1-$2
  mkdir -p "$out/config/lumo-book"
  printf '{"Lan": "%s"}' "$2" > "$out/config/lumo-book/defaults.json"
  {
    echo "wait 3"
    echo "screenshot $out/page01.png"
    echo "dump $out/page01.json"
    for p in $(seq -w 2 $pages); do
      echo "drag 512 600 512 400 0.3"
      echo "wait 1.8"
      echo "screenshot $out/page$p.png"
    done
    echo "dump $out/last.json"
  } > "$out/script.txt"
  XDG_CONFIG_HOME=$out/config XDG_STATE_HOME=$out/state LUMO_PICTURE_FITTING=$1 \
    "$program" --headless --script "$out/script.txt" > "$out/log.txt" 2>&1 ||
    { tail -5 "$out/log.txt"; fail "the $1 reading in $2 exited with $?"; }
}

# Two at a time: the machine has two cores.
for language in 2000 2001; do
  read_book off $language &
  off=$!
  read_book on $language &
  on=$!
  wait $off || exit 1
  wait $on || exit 1
done

# The switch does what it says: every plane blended when off; the grounds,
# backgrounds and backdrop (pictures without alpha) opaque when on.
python3 - "$work" <<'PY' || exit 1
import json, sys

def planes(path):
    found = []
    def walk(node):
        if node.get("texture"):
            found.append(node)
        for child in node.get("children", []):
            walk(child)
    walk(json.load(open(path))["world"])
    return found

work = sys.argv[1]
for language in ("2000", "2001"):
    for page in ("page01", "last"):
        off = planes(f"{work}/off-{language}/{page}.json")
        on = planes(f"{work}/on-{language}/{page}.json")
        assert off and len(off) == len(on), (page, len(off), len(on))
        assert not any(n["fitted"] for n in off), [n["name"] for n in off if n["fitted"]]
        assert not any(n["opaque"] for n in off), [n["name"] for n in off if n["opaque"]]
        grounds = [n for n in on if n["name"].startswith(("ground", "background", "layer_bg"))]
        assert grounds and all(n["opaque"] for n in grounds), [(n["name"], n["opaque"]) for n in grounds]
        assert not all(n["opaque"] for n in on), [n["name"] for n in on]
PY

for language in 2000 2001; do
  PYTHONPATH=$lib python3 "$lib/picture_diff.py" "$work/off-$language" "$work/on-$language" ||
    fail "pictures drawn fitted differ from the whole ones in language $language"
done
echo "PASS"
