#!/usr/bin/env bash
# A disk that takes nothing more, and a home folder that cannot be written.
# Full disk (a file size limit of 1 KiB, its signal ignored as a program
# would): the preferences, padded past the limit, and the usage log, one line
# short of it, cannot be written; each says so once however often it is
# tried, the old files stay byte for byte (no torn line in the usage log, no
# temporary file left), the language they hold is read, and the book turns its
# pages and exits cleanly. A home folder under a plain file: the book opens
# with its defaults, says so in one message for the run (not once per store),
# and reads on.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The switches stored twice, a page turned, the state dumped.
cat > "$work/s.txt" <<SCRIPT
wait 1
key M
key N
key Right
wait 2
key M
key N
dump $work/state.json
wait 1
SCRIPT

mkdir -p "$work/config/lumo-book" "$work/state/lumo-book"
python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
json.dump({"Lan": "2001", "Note": "x" * 1100}, open(f"{work}/config/lumo-book/defaults.json", "w"))
line = {"appKey": "0", "event": "launch", "policy": 1, "time": "2026-01-01T00:00:00Z",
        "version": "0.0.0"}
with open(f"{work}/state/lumo-book/usage.jsonl", "w") as f:
    for _ in range(10):
        f.write(json.dumps(line) + "\n")
PY
cp "$work/config/lumo-book/defaults.json" "$work/defaults.before"
grep -v "^dump" "$work/s.txt" > "$work/full.txt"
cp "$work/state/lumo-book/usage.jsonl" "$work/usage.before"
[ "$(stat -c %s "$work/usage.before")" -lt 1024 ] || fail "the planted usage log is not under the limit"
# What it prints goes through a pipe, out of the limit's reach.
(
  trap '' XFSZ
  ulimit -f 1
  XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data \
    exec "$program" --headless --log-events --script "$work/full.txt" 2>&1
) | cat > "$work/full.out"
status=${PIPESTATUS[0]}
[ "$status" = 0 ] || fail "full disk: exited with $status: $(tail -3 "$work/full.out")"
grep -v "warning" "$work/full.out" > "$work/full.log"
grep "warning" "$work/full.out" > "$work/full.err"
cmp -s "$work/defaults.before" "$work/config/lumo-book/defaults.json" ||
  fail "the preferences changed on a full disk"
cmp -s "$work/usage.before" "$work/state/lumo-book/usage.jsonl" ||
  fail "the usage log changed on a full disk: $(tail -c 200 "$work/state/lumo-book/usage.jsonl")"
leftover=$(find "$work/config" "$work/state" -type f ! -name defaults.json ! -name usage.jsonl)
[ -z "$leftover" ] || fail "files left behind: $leftover"
[ "$(grep -c "cannot write the preferences file" "$work/full.err")" = 1 ] ||
  fail "the preferences' warning is not given once: $(cat "$work/full.err")"
[ "$(grep -c "usage log not kept" "$work/full.err")" = 1 ] ||
  fail "the usage log's warning is not given once: $(cat "$work/full.err")"
grep -q "exit live objects 0" "$work/full.log" || fail "full disk: objects left alive"
# On page 2 at rest, its panel in English (the language the old file holds).
grep -q "page settled 2" "$work/full.log" || fail "full disk: no turn to page 2"
grep -q "aside shown s2Aside lang=2001" "$work/full.log" ||
  fail "full disk: page 2 not read in English: $(grep aside "$work/full.log")"

# A home folder that cannot be written: its folders lie under a plain file.
touch "$work/blocked"
XDG_CONFIG_HOME=$work/blocked/config XDG_STATE_HOME=$work/blocked/state \
  XDG_DATA_HOME=$work/blocked/data HOME=$work/blocked \
  "$program" --headless --log-events --script "$work/s.txt" > "$work/home.log" 2> "$work/home.err" ||
  fail "unwritable home: exited with $?: $(tail -3 "$work/home.err")"
[ "$(grep -c "warning: nothing can be written in the home folder: the book reads with defaults" \
  "$work/home.err")" = 1 ] || fail "unwritable home: not said once: $(cat "$work/home.err")"
[ "$(grep -c "warning" "$work/home.err")" = 1 ] ||
  fail "unwritable home: more to say than the one message: $(cat "$work/home.err")"
grep -q "exit live objects 0" "$work/home.log" || fail "unwritable home: objects left alive"
python3 - "$work/state.json" <<'PY' || fail "unwritable home: the book did not read on"
import json, sys
book = json.load(open(sys.argv[1]))["book"]
assert book["page"] == 2 and not book["lockDrag"] and book["language"] == 2000, book
PY
echo "PASS"
