#!/usr/bin/env bash
# Sentence by sentence: page 5 read to its end, in Russian by the option and
# in English by the key S (stored as "BySentence"). The narration stops after
# each sentence, from its first word's start to the next sentence's (50 ms
# wider either side); Enter reads the next one in Russian, a tap on the next
# sentence's first word in English. The repeat button and the figure hint
# come only after the last sentence, and the repeat button starts again from
# the first.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-assets}
if [ ! -e "$assets/QRB_p4_ru.words" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
to_page5='wait 2.5
drag 512 650 512 350 0.3
wait 2.2
drag 512 650 512 350 0.3
wait 2.2
drag 512 650 512 350 0.3
wait 2.2
drag 512 650 512 350 0.3
wait 2.2'

run() {  # NAME CONFIG OPTIONS... (the script is NAME.txt)
  local name=$1 config=$2
  shift 2
  XDG_CONFIG_HOME=$work/$config "$program" --headless --log-events "$@" \
    --script "$work/$name.txt" > "$work/$name.log" 2> "$work/$name.err" ||
    fail "$name exited with $?: $(tail -3 "$work/$name.err")"
}

# Russian: Enter after each sentence, then the repeat button. Each wait is
# longer than any of page 5's sentences.
{
  echo "$to_page5"
  for i in 0 1 2; do
    echo "wait 9"
    echo "dump $work/ru-$i.json"
    [ $i -lt 2 ] && echo "key Enter" && echo "wait 0.2" && echo "dump $work/ru-$i-next.json"
  done
} > "$work/ru.txt"
run ru ru --by-sentence
read -r repeat_x repeat_y < <(python3 - "$work/ru-2.json" <<'PY'
import json, sys
def nodes(n):
    yield n
    for c in n["children"]:
        yield from nodes(c)
button = [n for n in nodes(json.load(open(sys.argv[1]))["world"]) if n["tag"] == 4000]
x, y, w, h = button[0]["screenRect"]
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
) || fail "no repeat button after the last sentence"
{
  echo "$to_page5"
  echo "wait 9"
  echo "key Enter"
  echo "wait 9"
  echo "key Enter"
  echo "wait 9"
  echo "tap $repeat_x $repeat_y"
  echo "wait 0.2"
  echo "dump $work/ru-again.json"
} > "$work/ru-again.txt"
run ru-again ru --by-sentence

# English: S switches it on (and stores it) on the cover; a tap on the first
# word of the sentence hinted reads it.
mkdir -p "$work/en/lumo-book"
echo '{"Lan": "2001"}' > "$work/en/lumo-book/defaults.json"
printf 'wait 1\nkey S\nwait 0.2\ndump %s\n%s\nwait 9\ndump %s\n' "$work/en-key.json" \
  "$to_page5" "$work/en-0.json" > "$work/en-survey.txt"
run en-survey en
python3 - "$work/en-0.json" > "$work/en-next" <<'PY' || fail "English: no sentence hinted"
import json, sys
state = json.load(open(sys.argv[1]))
words = state["panel"]["words"]
first = state["panel"]["sentences"][state["book"]["sentenceIndex"] + 1][0]
x, y, w, h = words[first]["rect"]
print(f"{x + w / 2:.0f} {y + h / 2:.0f}")
PY
read -r next_x next_y < "$work/en-next"
{
  echo "$to_page5"
  echo "wait 9"
  echo "tap $next_x $next_y"
  echo "wait 0.2"
  echo "dump $work/en-1-next.json"
  echo "wait 12"
  echo "key Enter"
  echo "wait 9"
  echo "dump $work/en-2.json"
} > "$work/en.txt"
run en en

python3 - "$work" "$assets" <<'PY' || exit 1
import json, sys

work, assets = sys.argv[1], sys.argv[2]
EDGE = 0.05


def load(name):
    return json.load(open(f"{work}/{name}.json"))


def events(name):
    return [line.split(" ", 2) for line in open(f"{work}/{name}.log").read().splitlines()]


def hint_shown(state):
    def nodes(n):
        yield n
        for c in n["children"]:
            yield from nodes(c)
    all_nodes = list(nodes(state["world"]))
    repeat = [n for n in all_nodes if n["tag"] == 4000]
    return (bool(repeat) and repeat[0]["visible"],
            any(n["name"] == "hint_dialogue" for n in all_nodes))


def check_parts(name, recording, sentences):
    """Each sentence played as one part, from its first word's start to the
    next sentence's, and nothing of the page read whole."""
    starts = [float(line.split("\t")[0]) for line in open(f"{assets}/{recording}.words")]
    log = events(name)
    whole = [x for _, c, x in log if c == "sound" and x == f"start main {recording}"]
    assert not whole, f"{name}: the page was read whole"
    parts = [x.split() for _, c, x in log if c == "sound" and x.startswith(f"start main {recording} part")]
    assert len(parts) >= len(sentences), (name, parts)
    for (first, last), part in zip(sentences, parts):
        begin, end = float(part[4]), float(part[5])
        assert abs(begin - max(0, starts[first] - EDGE)) < 1e-3, (name, first, begin)
        if last + 1 < len(starts):
            assert abs(end - (starts[last + 1] + EDGE)) < 1e-3, (name, last, end)
    read = [x for _, c, x in log if c == "narration" and x.startswith("sentence")]
    return read


# Russian, by Enter.
ru = [load(f"ru-{i}") for i in range(3)]
sentences = ru[0]["panel"]["sentences"]
assert len(sentences) == 3, sentences
for i, state in enumerate(ru):
    assert state["book"]["sentenceIndex"] == i, (i, state["book"]["sentenceIndex"])
    assert state["sound"]["main"] == "", (i, state["sound"])
    assert state["desktop"]["bySentence"] is True
    repeat, hint = hint_shown(state)
    if i < 2:
        assert not repeat and not hint, (i, repeat, hint)
        nxt = load(f"ru-{i}-next")
        assert nxt["book"]["sentenceIndex"] == i + 1 and nxt["sound"]["main"] == "QRB_p4_ru", nxt["sound"]
    else:
        assert repeat and hint, (repeat, hint)
read = check_parts("ru", "QRB_p4_ru", sentences)
assert read == ["sentence 1 of 3", "sentence 2 of 3", "sentence 3 of 3"], read
finished = [t for t, c, x in events("ru") if c == "narration" and x == "finished"]
assert len(finished) == 1, finished
again = load("ru-again")
assert again["book"]["sentenceIndex"] == 0 and again["sound"]["main"] == "QRB_p4_ru", again["book"]
try:
    stored = json.load(open(f"{work}/ru/lumo-book/defaults.json"))
except FileNotFoundError:
    stored = {}
assert "BySentence" not in stored, stored

# English, by the key and a tap on the hinted sentence.
key = load("en-key")
assert key["desktop"]["bySentence"] is True and key["desktop"]["notice"]["text"] == "Sentence by sentence"
assert json.load(open(f"{work}/en/lumo-book/defaults.json")).get("BySentence") == "on"
en0, en1, en2 = load("en-0"), load("en-1-next"), load("en-2")
en_sentences = en0["panel"]["sentences"]
assert len(en_sentences) == 3, en_sentences
assert en0["book"]["sentenceIndex"] == 0 and en0["sound"]["main"] == ""
assert en1["book"]["sentenceIndex"] == 1 and en1["sound"]["main"] != "", en1["sound"]
assert en2["book"]["sentenceIndex"] == 2 and all(hint_shown(en2)), en2["book"]
recording = en1["sound"]["main"]
read = check_parts("en", recording, en_sentences)
assert read == ["sentence 1 of 3", "sentence 2 of 3", "sentence 3 of 3"], read
print(f"ok: page 5 read in {len(sentences)} sentences in Russian and {len(en_sentences)} in English")
PY
echo "by sentence: ok"
