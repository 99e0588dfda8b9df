#!/usr/bin/env bash
# A parent's own voice when things go wrong. With an earlier recording of
# page 2 kept: no microphone at all (a headless run without --capture-from)
# and a missing stand-in file give one notice and change nothing; a
# microphone unplugged mid-recording, Escape, a take with too little speech
# and a disk that cannot take the files (a file size limit, as a full disk)
# each give their notice and leave the earlier recording as it was; and a
# program killed mid-recording, or killed while it wrote (its partial files
# planted), leaves nothing but the earlier recording. No run crashes, and the
# page turns again afterwards.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
[ -e "$assets/QRB_p1_ru.mp3" ] || { echo "SKIP: this build has no recordings"; exit 0; }
command -v espeak-ng > /dev/null || { echo "SKIP: no espeak-ng"; exit 0; }
. "$(dirname "$0")/lib/exit_checks.sh"

"$program" --export-content "$work/content" > /dev/null 2>&1 || fail "content export failed"
espeak-ng -v ru -s 160 -w "$work/reading.wav" -f "$work/content/text/QRB_p1_ru.txt" ||
  fail "espeak-ng could not speak the page"
espeak-ng -v ru -w "$work/brief.wav" "Да" || fail "espeak-ng could not speak"
turn='drag 512 650 512 350 0.3'
voices=$work/data/lumo-book/voices/2000
run() {  # NAME, then the program's options; the script is $work/NAME.txt
  local name=$1
  shift
  XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config "$program" --headless --log-events \
    --script "$work/$name.txt" "$@" > "$work/$name.log" 2> "$work/$name.err"
  clean_exit "$name" $? "$work/$name.log" "$work/$name.err"
}
# Page 2, V, then `wait` seconds and the rest of the lines; dumps named NAME-*.
script() {
  local name=$1 wait=$2
  shift 2
  {
    printf 'wait 2.5\n%s\nwait 4\nkey V\nwait %s\n' "$turn" "$wait"
    for line in "$@"; do echo "${line//@/$work/$name}"; done
    printf 'wait 0.5\ndump %s-after.json\n%s\nwait 2\ndump %s-turned.json\n' \
      "$work/$name" "$turn" "$work/$name"
  } > "$work/$name.txt"
}
earlier() {  # the earlier recording is there, byte for byte, and nothing else
  [ "$(ls -A "$voices")" = "$(printf 'QRB_p1_ru.ogg\nQRB_p1_ru.words')" ] ||
    fail "$1: the voices folder holds: $(ls -A "$voices" | tr '\n' ' ')"
  cmp -s "$voices/QRB_p1_ru.ogg" "$work/earlier.ogg" && cmp -s "$voices/QRB_p1_ru.words" "$work/earlier.words" ||
    fail "$1: the earlier recording changed"
}

# No microphone: nothing happens but the notice, and nothing is written.
script nomic 0.5 'dump @-refused.json'
run nomic
[ ! -e "$work/data/lumo-book/voices" ] || fail "nomic: a voices folder was made"
script missing 0.5 'dump @-refused.json'
run missing --capture-from "$work/no-such.wav"

# The earlier recording.
script first 5 'key V'
run first --capture-from "$work/reading.wav"
cp "$voices/QRB_p1_ru.ogg" "$work/earlier.ogg"
cp "$voices/QRB_p1_ru.words" "$work/earlier.words"
earlier first

# Unplugged 2 s into the recording; Escape 2 s in; too little speech.
script unplug 5 'microphone unplug' 'wait 0.2' 'dump @-failed.json'
run unplug --capture-from "$work/reading.wav"
earlier unplug
script escape 5 'key Escape' 'wait 0.1' 'dump @-cancelled.json'
run escape --capture-from "$work/reading.wav"
earlier escape
script brief 6 'key V' 'wait 0.1' 'dump @-refused.json'
run brief --capture-from "$work/brief.wav"
earlier brief

# A disk that cannot take the files: writes past 16 KiB fail (as on a full
# disk), the signal that would end the program ignored as a program would.
script full 10 'key V'
(
  trap '' XFSZ
  ulimit -f 16
  XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config "$program" --headless --log-events \
    --script "$work/full.txt" --capture-from "$work/reading.wav" > "$work/full.log" 2> "$work/full.err"
) || fail "full: exited with $?: $(tail -3 "$work/full.err")"
earlier full

# Killed mid-recording; then killed while writing (the partial files it
# would have left, planted): the next run clears them.
script killed 60
status=$(signal_when " recording started$" KILL "$work/killed.log" "$work/killed.err" \
  env XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$program" --headless \
  --log-events --script "$work/killed.txt" --capture-from "$work/reading.wav")
[ "$status" -eq 137 ] || fail "killed: ended with $status, not by the kill"
earlier killed
head -c 5000 "$work/earlier.ogg" > "$voices/QRB_p1_ru.ogg.partial"
head -c 30 "$work/earlier.words" > "$voices/QRB_p1_ru.words.partial"
printf 'wait 2.5\n%s\nwait 4\ndump %s\n' "$turn" "$work/restart.json" > "$work/restart.txt"
run restart
earlier restart

python3 - "$work" <<'PY' || exit 1
import json, sys

work = sys.argv[1]


def load(name):
    return json.load(open(f"{work}/{name}.json"))


def lines(name, category):
    out = []
    for line in open(f"{work}/{name}.log").read().splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and parts[1] == category:
            out.append(parts[2])
    return out


def idle_and_turned(name):
    after, turned = load(f"{name}-after"), load(f"{name}-turned")
    assert after["desktop"]["recording"]["state"] == "idle", (name, after["desktop"]["recording"])
    assert after["book"]["lockDrag"] is False, name
    assert turned["book"]["page"] == 3, (name, turned["book"]["page"])


for name in ("nomic", "missing"):
    refused = load(f"{name}-refused")
    assert refused["desktop"]["recording"]["state"] == "idle", refused["desktop"]["recording"]
    assert refused["desktop"]["notice"]["text"] == "Микрофон не найден", refused["desktop"]["notice"]
    assert lines(name, "notice") == ["Микрофон не найден"], lines(name, "notice")
    idle_and_turned(name)

failed = load("unplug-failed")
assert failed["desktop"]["notice"]["text"] == "Микрофон перестал работать, запись не сохранена"
assert "failed: the microphone was unplugged" in lines("unplug", "recording"), lines("unplug", "recording")
idle_and_turned("unplug")

assert load("escape-cancelled")["desktop"]["notice"]["text"] == "Запись отменена"
assert "cancelled" in lines("escape", "recording")
idle_and_turned("escape")

assert load("brief-refused")["desktop"]["notice"]["text"] == "Слишком коротко, запись не сохранена"
assert any(t.startswith("refused QRB_p1_ru: too short") for t in lines("brief", "recording"))
idle_and_turned("brief")

full = [t for t in lines("full", "recording") if t.startswith("not kept")]
assert len(full) == 1 and "File too large" in full[0], lines("full", "recording")
assert lines("full", "notice") == ["Не удалось сохранить запись"], lines("full", "notice")

assert any(t.startswith("started") for t in lines("killed", "recording"))
assert load("restart")["book"]["ownVoice"] is True
assert "started QRB_p1_ru (own voice)" in lines("restart", "narration"), lines("restart", "narration")
print("ok: no microphone, a missing stand-in, an unplugged microphone, Escape, too little speech, "
      "a full disk and two kills leave the earlier recording as it was; partial files cleared")
PY
echo "own voice faults: ok"
