#!/usr/bin/env bash
# The reading pace: page 2's narration read at each pace, in Russian by the
# option (--pace, not stored) and in English by the keys minus and plus
# (stored as "Pace", named in a notice in English). Slow lasts at least 1.2
# times normal and fast at most 0.87 times; the lit words follow the slow
# recording as its own position says.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/QRB_p1_ru.words" ] || [ ! -e "$assets/QRB_p2_cn.words" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

run() {  # NAME CONFIG OPTIONS... (the script is NAME.txt)
  local name=$1 config=$2
  shift 2
  XDG_CONFIG_HOME=$work/$config "$program" --headless --log-events "$@" \
    --script "$work/$name.txt" > "$work/$name.log" 2> "$work/$name.err" ||
    fail "$name exited with $?: $(tail -3 "$work/$name.err")"
}

# Russian: the option, for this run only; words lit at the slow pace.
for pace in slow normal fast; do
  cat > "$work/ru-$pace.txt" <<SCRIPT
wait 2.5
drag 512 650 512 350 0.3
wait 4.85
dump $work/ru-$pace-a.json
wait 1.5
dump $work/ru-$pace-b.json
wait 1.5
dump $work/ru-$pace-c.json
wait 20
SCRIPT
  run "ru-$pace" "ru-$pace" --pace "$pace" --follow-words
done

# English: minus once from normal is slow, plus twice from there is fast.
mkdir -p "$work/en/lumo-book"
echo '{"Lan": "2001"}' > "$work/en/lumo-book/defaults.json"
for step in normal slow fast; do
  keys=
  [ "$step" = slow ] && keys='key Minus'
  [ "$step" = fast ] && keys=$'key Plus\nkey Plus'
  cat > "$work/en-$step.txt" <<SCRIPT
wait 1
$keys
wait 0.2
dump $work/en-$step-keys.json
wait 1.3
drag 512 650 512 350 0.3
wait 25
SCRIPT
  run "en-$step" en
  cp "$work/en/lumo-book/defaults.json" "$work/en-$step-stored.json"
done
if "$program" --headless --pace lively --frames 1 > /dev/null 2> "$work/bad.err"; then
  fail "--pace lively was taken"
fi
grep -q "slow, normal or fast" "$work/bad.err" || fail "--pace lively: $(cat "$work/bad.err")"

python3 - "$work" "$assets" <<'PY' || exit 1
import json, sys

work, assets = sys.argv[1], sys.argv[2]
FRAME = 1 / 60


def length(name, recording):
    events = [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()]
    start = [float(t) for t, c, x in events if c == "sound" and x == f"start main {recording}"]
    end = [float(t) for t, c, x in events if c == "sound" and x == f"end main {recording}"]
    assert len(start) == 1 and len(end) == 1, (name, start, end)
    return start[0], end[0] - start[0]


report = []
for lang, recording, steps in (("ru", "QRB_p1_ru", None), ("en", "QRB_p2_cn", 1)):
    lengths = {pace: length(f"{lang}-{pace}", recording)[1] for pace in ("slow", "normal", "fast")}
    slow, fast = lengths["slow"] / lengths["normal"], lengths["fast"] / lengths["normal"]
    assert slow >= 1.2 and fast <= 0.87, (lang, lengths)
    report.append(f"{lang} {lengths['normal']:.2f} s: slow x{slow:.3f}, fast x{fast:.3f}")

# The option is for one run: nothing stored, the dump says the pace.
for pace in ("slow", "normal", "fast"):
    state = json.load(open(f"{work}/ru-{pace}-a.json"))
    assert state["desktop"]["pace"] == pace, state["desktop"]
    try:
        stored = json.load(open(f"{work}/ru-{pace}/lumo-book/defaults.json"))
    except FileNotFoundError:
        stored = {}
    assert "Pace" not in stored, stored

# The lit words follow the slow recording: its position is 0.8 of the time heard.
starts = [float(line.split("\t")[0]) for line in open(f"{assets}/QRB_p1_ru.words")]
start, _ = length("ru-slow", "QRB_p1_ru")
def last(t):
    return max([i for i, s in enumerate(starts) if s <= t + 1e-6], default=-1)
lits = []
for dump in ("a", "b", "c"):
    state = json.load(open(f"{work}/ru-slow-{dump}.json"))
    heard = state["director"]["time"] - start
    lit = state["book"]["litWordIndex"]
    media = heard * 0.8
    allowed = {last(media - 0.06 - FRAME), last(media), last(media + 0.06)}
    assert lit in allowed, (heard, media, lit, allowed)
    lits.append(lit)
assert lits == sorted(lits) and lits[-1] > lits[0] >= 0, lits

# The keys: stored, and named in a notice in the reading language.
texts = {"normal": None, "slow": "Pace: slow", "fast": "Pace: fast"}
for step, text in texts.items():
    keys = json.load(open(f"{work}/en-{step}-keys.json"))
    assert keys["desktop"]["pace"] == step, keys["desktop"]
    stored = json.load(open(f"{work}/en-{step}-stored.json"))
    if text:
        assert keys["desktop"]["notice"]["text"] == text, keys["desktop"]["notice"]
        assert stored.get("Pace") == step, stored
print("ok: " + "; ".join(report))
PY
echo "reading pace: ok"
