#!/usr/bin/env bash
# --frame-log writes one CSV row per frame: its number, its virtual time, the
# milliseconds of its work, measured by the wall clock or as processor time,
# and whether it drew.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
fail() { echo "FAIL: $*"; exit 1; }

printf 'wait 0.5\ndrag 512 600 512 300 0.2\nwait 0.3\n' > "$work/s.txt"
"$program" --headless --script "$work/s.txt" --frame-log "$work/wall.csv" ||
  fail "run with a wall-clock frame log exited with $?"
"$program" --headless --frames 20 --frame-log "$work/cpu.csv" --frame-log-measure cpu ||
  fail "run with a processor-time frame log exited with $?"
python3 - "$work" <<'PY' || exit 1
import sys

work = sys.argv[1]
for name, frames in (("wall", 60), ("cpu", 20)):
    lines = open(f"{work}/{name}.csv").read().splitlines()
    assert lines[0] == "frame,time,ms,drew", lines[0]
    rows = [line.split(",") for line in lines[1:]]
    assert len(rows) == frames, (name, len(rows))
    for n, (frame, time, ms, drew) in enumerate(rows, 1):
        assert int(frame) == n, (name, n, frame)
        # Virtual time: exactly 1/60 s a frame, counted from the start.
        assert abs(float(time) - n / 60) < 1e-6, (name, n, time)
        assert 0 < float(ms) < 60000, (name, n, ms)
        assert drew in ("0", "1"), (name, n, drew)
    # The first frame shows the book; the drag turns a page, every frame of it drawn.
    assert rows[0][3] == "1", (name, rows[0])
    if name == "wall":
        assert all(drew == "1" for _, time, _, drew in rows if 0.5 < float(time) <= 0.7), rows
PY

out=$("$program" --headless --frames 1 --frame-log "$work/no/such/dir/f.csv" 2>&1); rc=$?
[ $rc -eq 2 ] || fail "an unwritable frame log gave $rc"
echo "$out" | grep -q "frame log" || fail "the message does not name the frame log: $out"
out=$("$program" --headless --frames 1 --frame-log "$work/f.csv" --frame-log-measure gpu 2>&1); rc=$?
[ $rc -eq 2 ] || fail "an unknown measure gave $rc"
"$program" --help | grep -q -- "--frame-log FILE" || fail "--help does not list --frame-log"
echo "frame log: ok"
