#!/usr/bin/env bash
# Book folders that cannot be read: for every kind of fault in book.json the
# program stops with status 2 and one line naming the file and the JSON
# pointer, before a window opens or a script runs, writing nothing. A folder
# that only lacks a picture and recordings reads on: each missing file is
# warned once, never replaced by the built-in book's file of the same name,
# and what book.json says (a changed narration) is what the book shows.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
lib=$(cd "$(dirname "$0")/lib" && pwd)
source "$lib/exit_checks.sh"
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
if [ ! -e "$assets/QRB_p2_ru.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
"$program" --export-book "$work/good" || fail "export failed"
printf 'wait 0.5\ndump %s/ran.json\n' "$work" > "$work/s.txt"

# Usage: bad NAME POINTER PYTHON-EDIT-OF-b  (or "-" and a raw text for book.json)
bad() {
  local name=$1 pointer=$2 edit=$3 dir=$work/$1
  cp -r "$work/good" "$dir"
  if [ "$edit" = - ]; then
    printf '%s' "$4" > "$dir/book.json"
  else
    python3 -c "import json, sys
p = sys.argv[1]; b = json.load(open(p)); $edit
json.dump(b, open(p, 'w'), ensure_ascii=False)" "$dir/book.json" || fail "$name: cannot edit"
  fi
  "$program" --book "$dir" --headless --script "$work/s.txt" > "$work/$name.out" 2> "$work/$name.err"
  local status=$?
  [ $status -eq 2 ] || fail "$name: exit status $status, not 2"
  [ "$(wc -l < "$work/$name.err")" -eq 1 ] || fail "$name: not one line: $(cat "$work/$name.err")"
  grep -qF "$dir/book.json: at JSON pointer \"$pointer\": " "$work/$name.err" ||
    fail "$name: the message does not name the file and \"$pointer\": $(cat "$work/$name.err")"
  [ -s "$work/$name.out" ] && fail "$name: wrote to stdout"
  [ -e "$work/ran.json" ] || [ -e "$work/config" ] && fail "$name: the book ran or wrote its defaults"
  echo "$name: $(cat "$work/$name.err")"
}

bad not-json "" - '{"format": "lumo-book", "pages": ['
bad not-object "" - '[1, 2]'
bad missing-field /pages/3 'del b["pages"][3]["loop"]'
bad unknown-field /pages/0/sound 'b["pages"][0]["sound"] = 1'
bad wrong-type /pages/2/figures 'b["pages"][2]["figures"] = "s3layer2l-t"'
bad wrong-text-type /pages/5/narration/en 'b["pages"][5]["narration"]["en"] = 5'
bad wrong-version /version 'b["version"] = 2'
bad short-line /pages/4/layout/1 'b["pages"][4]["layout"][1] = "s5layer1+1+1424,768|0.6"'
bad few-numbers /pages/4/layout/2 'b["pages"][4]["layout"][2] = "s5layer2-t+2+259,409|0.7,0.8|0,-120|90,0,0"'
bad two-pages /pages 'b["pages"] = b["pages"][:2]'
bad sixty-one-pages /pages 'b["pages"] = (b["pages"] * 4)[:61]'
bad narration-path /pages/5/recordings/ru 'b["pages"][5]["recordings"]["ru"] = "QRB/../../x"'
bad dialogue-path /pages/1/figures/0/lines/2/recording 'b["pages"][1]["figures"][0]["lines"][2]["recording"] = "..\\\\x"'
bad picture-path /pages/6/layout/1 'b["pages"][6]["layout"][1] = "../s7layer1+1+672,671|0.6,0.7|0,-180,0|90,0,0"'
bad loop-path /pages/9/loop/starts 'b["pages"][9]["loop"]["starts"] = "/tmp/b_snore"'
bad stray-figure /pages/1/figures/1/layer 'b["pages"][1]["figures"][1]["layer"] = "s3layer2l-t"'

# Three pages are a book, and a book that lacks files reads on: page 2's
# middle picture, its Russian narration, the cover's first figure's Russian
# dialogue. The built-in book has files of these names; they must not be used.
dir=$work/short
cp -r "$work/good" "$dir"
python3 -c "import json, sys
p = sys.argv[1]; b = json.load(open(p)); b['pages'] = b['pages'][:2] + b['pages'][-1:]
b['pages'][1]['narration']['ru'] = 'Жила-была звёздочка.'
json.dump(b, open(p, 'w'), ensure_ascii=False)" "$dir/book.json"
rm "$dir/pictures/s2layer3.png" "$dir/recordings/QRB_p1_ru.mp3" "$dir"/recordings/dialogue_cover_r?_ru.mp3
missing="s2layer3.png QRB_p1_ru.mp3 dialogue_cover_r1_ru.mp3 dialogue_cover_r2_ru.mp3
  dialogue_cover_r3_ru.mp3 dialogue_cover_r4_ru.mp3"
{
  printf 'wait 1\n'
  for _ in 1 2 3; do printf 'tap 384 492\nwait 0.5\n'; done
  printf 'drag 512 600 512 400 0.1\nwait 4\ndump %s/p2.json\n' "$work"
  printf 'drag 512 600 512 400 0.1\nwait 2\ndump %s/p3.json\n' "$work"
  printf 'drag 512 400 512 600 0.1\nwait 4\ndump %s/back.json\n' "$work"
} > "$work/read.txt"
"$program" --book "$dir" --headless --log-events --script "$work/read.txt" > "$work/short.log" \
  2> "$work/short.err"
clean_exit short $? "$work/short.log" "$work/short.err"
PYTHONPATH=$lib python3 - "$work" "$missing" <<'PY' || exit 1
import json, sys

from views import find_node

work, missing = sys.argv[1], sys.argv[2].split()
warnings = open(f"{work}/short.err").read().splitlines()
log = open(f"{work}/short.log").read()
# Each line names one missing file, no file twice; the picture and the
# narration certainly, the dialogue lines the taps happened to draw.
named = [[name for name in missing if name in line] for line in warnings]
assert all(len(names) == 1 for names in named), "\n".join(warnings)
named = [names[0] for names in named]
assert len(set(named)) == len(named), "\n".join(warnings)
assert "s2layer3.png" in named and "QRB_p1_ru.mp3" in named, "\n".join(warnings)
assert any(name.startswith("dialogue_cover") for name in named), "\n".join(warnings)
settled = [int(l.split()[3]) for l in log.splitlines() if " page settled " in l]
assert settled == [2, 3, 2], settled
load = lambda name: json.load(open(f"{work}/{name}.json"))
assert load("p3")["book"]["pageCount"] == 3 and load("p3")["book"]["page"] == 3
layer = find_node(load("p2")["world"], "s2layer3")
assert layer is not None, "the layer without its picture is not on the page"
words = [word["text"] for word in load("back")["panel"]["words"]]
assert words == ["Жила-была", "звёздочка"], words
PY
echo "short book: ok"
echo PASS
