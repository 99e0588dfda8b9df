#!/usr/bin/env bash
# Faults the random reader found, each replayed exactly, headless.
#
# Seed 20261208 in a window: on the ending page "read again" was clicked and
# Left pressed a frame after the button came up. The button's pick arrives
# frames after its tap, so the turn back began first and the jump to the
# cover ran over it: the book rested on the cover with the ending page's
# ground still standing. A control's jump is now refused while a turn runs;
# two frames after the tap the jump goes first and the key is refused.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
fail() { echo "FAIL: $*"; exit 1; }
lib=$(dirname "$0")/lib
source "$lib/exit_checks.sh"
targets=$(dirname "$0")/data/monkey_targets.json
read -r rx ry < <(PYTHONPATH=$lib python3 - "$targets" <<'PY'
import json, sys
from views import centre
aims = dict(json.load(open(sys.argv[1]))["pages"]["18"])
print(*[round(v) for v in centre(aims["menu-end1"])])
PY
) || fail "no \"read again\" button in $targets"

# "Read again" released, then Left FRAMES frames later.
replay_then_left() {
  printf 'down %s %s\nwait 0.05\nup %s %s\nwait %s\nkey Left\nwait 3\n' \
    "$rx" "$ry" "$rx" "$ry" "$(python3 -c "print(round($1 / 60, 4))")"
}
{
  echo "wait 2.5"
  echo "key G"
  echo "wait 0.3"
  for _ in $(seq 17); do echo "key Right"; done
  echo "key Enter"
  echo "wait 4"
  replay_then_left 1
  echo "dump $work/left.json"
  echo "key Right"
  echo "wait 4"
  replay_then_left 2
  echo "dump $work/replayed.json"
  echo "quit"
} > "$work/s.txt"
"$program" --headless --log-events --script "$work/s.txt" > "$work/log.txt" 2> "$work/err.txt"
clean_exit "replay and Left" $? "$work/log.txt" "$work/err.txt"
grep -q " jump refused to page 1 on page 17: locked$" "$work/log.txt" ||
  fail "the jump was not refused during the turn: $(grep ' jump \| turn ' "$work/log.txt" | tail -4)"

python3 - "$work" <<'PY' || exit 1
import json, re, sys

work = sys.argv[1]


def grounds(node):
    shown = [node["name"]] if re.fullmatch(r"ground\d+", node["name"] or "") and node["visible"] else []
    return shown + [g for child in node["children"] for g in grounds(child)]


for name, page in (("left", 17), ("replayed", 1)):
    state = json.load(open(f"{work}/{name}.json"))
    book = state["book"]
    assert book["page"] == page and not book["lockDrag"], f"{name}: {book}"
    assert grounds(state["world"]) == [f"ground{page}"], f"{name}: {grounds(state['world'])}"
PY
echo "PASS"
