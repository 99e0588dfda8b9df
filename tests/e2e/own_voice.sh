#!/usr/bin/env bash
# A parent's own voice in the real program. Page 2 is recorded in Russian
# from a WAV file spoken by espeak-ng (--capture-from stands in for the
# microphone): V, the 3-2-1 countdown, the red light with its seconds, V
# again. The recording is kept, trimmed and levelled, under
# $XDG_DATA_HOME/lumo-book/voices/2000/QRB_p1_ru.ogg with its word timings;
# turning away and back reads the page in it, its words lit from its own
# timings. A new run still reads it, --no-own-voices reads the book's voice,
# --voices-folder reads a copy elsewhere, and Shift+V twice removes it: the
# book's voice again. Last, the book's own narration of the page is recorded
# as if a reader had read it (started by the panel's microphone button, ended
# by a tap on the light), and the timings found for its words are compared
# with the ones the speech synthesiser reported.
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
espeak-ng -v ru -s 140 -w "$work/reading.wav" -f "$work/content/text/QRB_p1_ru.txt" ||
  fail "espeak-ng could not speak the page"
sox "$assets/QRB_p1_ru.mp3" -r 44100 -c 1 "$work/book.wav" || fail "sox could not convert"
spoken=$(soxi -D "$work/reading.wav")
book=$(soxi -D "$work/book.wav")
turn='drag 512 650 512 350 0.3'
back='drag 512 350 512 650 0.3'
run() {  # NAME, then the program's options; the script is $work/NAME.txt
  local name=$1
  shift
  XDG_DATA_HOME=${data:-$work/data} XDG_CONFIG_HOME=$work/config "$program" --headless --log-events \
    --script "$work/$name.txt" "$@" > "$work/$name.log" 2> "$work/$name.err"
  clean_exit "$name" $? "$work/$name.log" "$work/$name.err"
}

# Recording: the narration starts 2.85 s after the drag; V interrupts it.
cat > "$work/record.txt" <<SCRIPT
wait 2.5
$turn
wait 4
key V
wait 1.5
dump $work/countdown.json
screenshot $work/countdown.png
wait 4.5
dump $work/recording.json
screenshot $work/light.png
$turn
wait 0.2
dump $work/still.json
wait $(python3 -c "print(round($spoken - 1.5, 2))")
key V
wait 0.1
dump $work/kept.json
wait 2
$turn
wait 3
$back
wait 4.5
dump $work/back.json
SCRIPT
run record --capture-from "$work/reading.wav" --follow-words

# A new run, and one with the book's voices, and one with the folder copied elsewhere.
page2() { printf 'wait 2.5\n%s\nwait 4\ndump %s\n' "$turn" "$work/$1.json" > "$work/$1.txt"; }
page2 again
run again
page2 sentence
run sentence --by-sentence
page2 bookvoice
run bookvoice --no-own-voices
mkdir -p "$work/family"
cp -r "$work/data/lumo-book/voices/." "$work/family/"
page2 family
data=$work/elsewhere run family --voices-folder "$work/family"

# Removal: one Shift+V asks, a second within 3 s removes; the page reads in
# the book's voice after a turn away and back.
cat > "$work/remove.txt" <<SCRIPT
wait 2.5
$turn
wait 4
key Shift+V
wait 0.5
dump $work/asked.json
key Shift+V
wait 0.2
dump $work/removed.json
$turn
wait 3
$back
wait 4.5
dump $work/gone.json
SCRIPT
run remove

# The book's own voice read into the microphone: how near its lit words stay.
# This time the panel's microphone button starts it and a tap on the light ends it.
read -r mic_x mic_y light_x light_y < <(python3 - "$work" <<'PY'
import json, sys


def nodes(n):
    yield n
    for c in n["children"]:
        yield from nodes(c)


def centre(name, dump):
    found = [n for n in nodes(json.load(open(f"{sys.argv[1]}/{dump}.json"))["world"]) if n["name"] == name]
    assert len(found) == 1 and found[0]["visible"] and found[0]["screenRect"], (name, found)
    x, y, w, h = found[0]["screenRect"]
    return f"{x + w / 2:.0f} {y + h / 2:.0f}"


print(centre("aside_record", "kept"), centre("record_light", "recording"))
PY
) || fail "no microphone button or recording light to tap"
cat > "$work/timing.txt" <<SCRIPT
wait 2.5
$turn
wait 4
tap $mic_x $mic_y
wait $(python3 -c "print(round(3.2 + $book + 0.5, 2))")
tap $light_x $light_y
wait 0.5
SCRIPT
data=$work/timed run timing --capture-from "$work/book.wav"

PYTHONPATH=$(dirname "$0")/lib python3 - "$work" "$assets" <<'PY' || exit 1
import json, os, re, subprocess, sys

import screenshot

work, assets = sys.argv[1], sys.argv[2]
own = f"{work}/data/lumo-book/voices/2000"
kept_then = f"{work}/family/2000"  # the folder as the first run left it


def load(name):
    return json.load(open(f"{work}/{name}.json"))


def events(name):
    return [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()
            if line[:1].isdigit()]


def said(name, category):
    return [text for _, c, text in events(name) if c == category]


# The countdown, then the light with its seconds; the page holds still.
countdown, recording = load("countdown"), load("recording")
assert countdown["desktop"]["recording"]["state"] == "countdown", countdown["desktop"]["recording"]
assert countdown["desktop"]["recording"]["countdown"] == 2, countdown["desktop"]["recording"]
assert recording["desktop"]["recording"]["state"] == "recording"
assert 2.9 <= recording["desktop"]["recording"]["seconds"] <= 3.1, recording["desktop"]["recording"]
assert recording["book"]["lockDrag"] is True and recording["sound"]["main"] == ""
assert recording["book"]["litWordIndex"] == -1
still = load("still")
assert still["book"]["page"] == 2 and still["desktop"]["recording"]["state"] == "recording"


def red(path):
    w, h, bpp, rows = screenshot.read(path)
    return sum(1 for y in range(0, 140) for x in range(880, 1024)
               if rows[y][x * bpp] > 140 and rows[y][x * bpp] > 2.5 * max(rows[y][x * bpp + 1], rows[y][x * bpp + 2]))


lit, before = red(f"{work}/light.png"), red(f"{work}/countdown.png")
assert lit > 1500 and before < 100, (lit, before)

# Kept: trimmed, levelled, Ogg Vorbis in the XDG folder, its words beside it.
record_log = said("record", "recording")
kept = [t for t in record_log if t.startswith("kept QRB_p1_ru")]
assert len(kept) == 1, record_log
figures = re.match(r"kept QRB_p1_ru: ([\d.]+) s from ([\d.]+) s of ([\d.]+) s heard, ([\d.]+) s of speech, "
                   r"level (-?[\d.]+) dB", kept[0])
length, start, heard, speech, level = map(float, figures.groups())
assert abs(level - -20.75) < 1.0, kept[0]
assert sorted(os.listdir(kept_then)) == ["QRB_p1_ru.ogg", "QRB_p1_ru.words"], os.listdir(kept_then)
duration = float(subprocess.check_output(["soxi", "-D", f"{kept_then}/QRB_p1_ru.ogg"]))
assert abs(duration - length) < 0.01, (duration, length)
wav = float(subprocess.check_output(["soxi", "-D", f"{work}/reading.wav"]))
assert wav - 1.0 < length <= wav + 0.3, (length, wav)
words = open(f"{kept_then}/QRB_p1_ru.words").read().splitlines()
book_words = open(f"{assets}/QRB_p1_ru.words").read().splitlines()
assert [w.split("\t")[1] for w in words] == [w.split("\t")[1] for w in book_words]
kept_state = load("kept")
assert kept_state["desktop"]["recording"]["state"] == "idle" and kept_state["book"]["lockDrag"] is False
assert kept_state["desktop"]["notice"]["text"] == "Запись сохранена", kept_state["desktop"]["notice"]

# Turned away and back: the page reads in the recorded voice, words lit from its timings.
assert "started QRB_p1_ru (own voice)" in said("record", "narration"), said("record", "narration")
back = load("back")
assert back["book"]["page"] == 2 and back["book"]["ownVoice"] is True
assert back["sound"]["main"] == "QRB_p1_ru" and back["book"]["litWordIndex"] >= 0, back["book"]

# Sentence by sentence reads the own recording too, cut at its own words' times:
# the first sentence ("... вышел на крыльцо.") ends where its eighth word starts.
parts = [t.split() for t in said("sentence", "sound") if t.startswith("start main QRB_p1_ru part ")]
assert parts, said("sentence", "sound")
own_starts = [float(w.split("\t")[0]) for w in words]
book_starts = [float(w.split("\t")[0]) for w in book_words]
end = float(parts[0][-1])
assert abs(end - (own_starts[7] + 0.05)) < 0.01, (end, own_starts[:8])
assert abs(own_starts[7] - book_starts[7]) > 0.1, "the two voices' timings cannot be told apart"

# A new run still reads it; --no-own-voices does not; a copied folder does.
assert "started QRB_p1_ru (own voice)" in said("again", "narration"), said("again", "narration")
assert load("again")["book"]["ownVoice"] is True
assert said("bookvoice", "narration")[:1] == ["started QRB_p1_ru"], said("bookvoice", "narration")
assert load("bookvoice")["book"]["ownVoice"] is False
assert "started QRB_p1_ru (own voice)" in said("family", "narration"), said("family", "narration")
assert not os.path.exists(f"{work}/elsewhere/lumo-book/voices/2000")

# Removed after the second Shift+V; the book's voice again.
assert load("asked")["desktop"]["notice"]["text"] == "Ещё раз Shift+V, чтобы удалить свою запись"
assert "removed QRB_p1_ru" in said("remove", "recording"), said("remove", "recording")
removed = load("removed")
assert removed["desktop"]["notice"]["text"].startswith("Своя запись удалена"), removed["desktop"]["notice"]
assert os.listdir(own) == [], os.listdir(own)
narrations = said("remove", "narration")
assert narrations[-1] == "started QRB_p1_ru", narrations
assert load("gone")["book"]["ownVoice"] is False and load("gone")["sound"]["main"] == "QRB_p1_ru"

# Timing: the words found in a take of the book's own narration against the true ones.
timed = [t for t in said("timing", "recording") if t.startswith("kept")]
assert len(timed) == 1, said("timing", "recording")
offset = float(re.search(r" from ([\d.]+) s of", timed[0]).group(1))
found = [float(l.split("\t")[0]) + offset
         for l in open(f"{work}/timed/lumo-book/voices/2000/QRB_p1_ru.words").read().splitlines()]
truth = [float(l.split("\t")[0]) for l in book_words]
misses = [abs(f - t) for f, t in zip(found, truth)]


def index(starts, at):
    return max([i for i, s in enumerate(starts) if s <= at], default=-1)


end = float(subprocess.check_output(["soxi", "-D", f"{assets}/QRB_p1_ru.mp3"]))
steps = [truth[0] + k * 0.01 for k in range(int((end - truth[0]) / 0.01))]
right = sum(index(found, t) == index(truth, t) for t in steps) / len(steps)
mean = sum(misses) / len(misses)
assert mean < 0.2 and right > 0.7, (mean, max(misses), right)
print(f"ok: kept {length:.2f} s of {heard:.2f} s heard ({speech:.2f} s of speech, from {start:.2f} s), "
      f"level {level} dB; own voice heard after a turn, a restart and from a copied folder, not with "
      f"--no-own-voices, and not after removal; the book's own voice recorded: word starts off by "
      f"{mean:.3f} s on average (worst {max(misses):.2f} s), the lit word the spoken one "
      f"{100 * right:.0f}% of the time")
PY
echo "own voice: ok"
