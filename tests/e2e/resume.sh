#!/usr/bin/env bash
# Resume in the real program. Reading to page 4 stores "Page" "4"; the next
# start shows the cover's continue button beside the language menu, and a tap
# on it goes to page 4, which reads its narration. `--page 12` opens the book
# on page 12 (here in English), stores it, with the home and navigator
# buttons; home then clears the place. Opening on the ending page keeps it;
# `--page` outside 1 to 18 stops with status 2 before anything runs.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/continue_btn.png" ] || [ ! -e "$assets/QRB_p3_ru.mp3" ]; then
  echo "SKIP: this build has no continue button picture or no recordings"
  exit 0
fi
export LIB=$(dirname "$0")/lib
run() {  # NAME [OPTIONS...]: runs $work/NAME.txt, its log in $work/NAME.log
  local name=$1
  shift
  "$program" --headless --log-events "$@" --script "$work/$name.txt" > "$work/$name.log" \
    2> "$work/$name.err" || fail "$name: exited with $?: $(tail -3 "$work/$name.err")"
}
stored() {
  python3 -c 'import json, sys; print(json.load(open(sys.argv[1])).get(sys.argv[2], "-"))' \
    "$XDG_CONFIG_HOME/lumo-book/defaults.json" "$1"
}

printf 'wait 2.5\nkey Right\nwait 2\nkey Right\nwait 2\nkey Right\nwait 2\n' > "$work/read.txt"
run read
[ "$(stored Page)" = 4 ] || fail "Page after reading to page 4: $(stored Page)"

printf 'wait 2.5\ndump %s\nscreenshot %s\n' "$work/cover.json" "$work/cover.png" > "$work/cover.txt"
run cover
read -r x y < <(python3 - "$work/cover.json" <<'PY'
import json, os, sys
sys.path.insert(0, os.environ["LIB"])
import views
world = json.load(open(sys.argv[1]))["world"]
button, menu = views.find_node(world, "continue-btn"), views.find_node(world, "menu-lan")
assert button and button["visible"] and button["touchEnabled"], button
assert views.find_node(button, "continue-btn-text"), "the button has no words"
bx, by, bw, bh = button["screenRect"]
mx, my, mw, mh = menu["screenRect"]
# Beside the language menu, on the picture.
assert bx >= mx + mw and bx + bw <= 1024 and by < my + mh and by + bh > my, (button, menu)
print(f"{bx + bw / 2:.0f} {by + bh / 2:.0f}")
PY
) || fail "no continue button beside the language menu"

printf 'wait 2.5\ntap %s %s\nwait 6\ndump %s\n' "$x" "$y" "$work/four.json" > "$work/continue.txt"
run continue
grep -q " page settled 4$" "$work/continue.log" || fail "the continue button did not go to page 4"
grep -q " narration started QRB_p3_ru$" "$work/continue.log" || fail "page 4 did not read"
grep -q " turn requested" "$work/continue.log" && fail "a page turned on the way to page 4"

# --page: straight to page 12, in English; home clears the place.
python3 - "$XDG_CONFIG_HOME/lumo-book/defaults.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
d["Lan"] = "2001"
json.dump(d, open(sys.argv[1], "w"))
PY
printf 'wait 3\ndump %s\nkey Home\nwait 3\n' "$work/twelve.json" > "$work/twelve.txt"
run twelve --page 12
python3 - "$work/twelve.json" "$work/twelve.log" <<'PY' || exit 1
import json, os, sys
sys.path.insert(0, os.environ["LIB"])
import views
d = json.load(open(sys.argv[1]))
log = open(sys.argv[2]).read().splitlines()
assert d["book"]["page"] == 12, d["book"]
for name in ("home-btn", "pages-btn"):
    node = views.find_node(d["world"], name)
    assert node and node["visible"] and node["screenRect"], name
assert log.index("0.000 page settled 12") >= 0
assert any(line.endswith("narration started QRB_p12_cn") for line in log), log
assert not any(" turn requested" in line for line in log[: log.index("0.000 page settled 12")])
PY
[ $? -eq 0 ] || fail "--page 12 did not open on page 12 as after a turn"
[ "$(stored Page)" = - ] || fail "home kept Page $(stored Page)"

# Opening on the ending page is not reading to it: the place stays.
printf 'wait 1\n' > "$work/end.txt"
run read
run end --page 18
[ "$(stored Page)" = 4 ] || fail "--page 18 changed Page to $(stored Page)"

for bad in 0 19 x; do
  "$program" --headless --page "$bad" --frames 1 > /dev/null 2> "$work/bad.err"
  status=$?
  [ $status -eq 2 ] || fail "--page $bad: status $status"
  grep -q "page needs a page of the book, 1 to 18" "$work/bad.err" || fail "--page $bad: $(cat "$work/bad.err")"
done
echo "resume: ok"
