#!/usr/bin/env bash
# The built-in book as a book folder: --export-book writes book.json (valid
# against docs/book.schema.json) with every picture and recording it names;
# an export that cannot finish leaves nothing behind. Read back with --book,
# in both languages, the folder gives the same dumps, event logs and pixels
# as the built-in book on every page, figures tapped on the way.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
if [ ! -e "$assets/QRB_p2_ru.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

"$program" --export-book "$work/book" 2> "$work/export.err" || fail "export: $(cat "$work/export.err")"
python3 - "$work/book" "$here/../../docs/book.schema.json" <<'PY' || exit 1
import json, os, sys

import jsonschema

folder, schema = sys.argv[1], json.load(open(sys.argv[2]))
book = json.load(open(f"{folder}/book.json"))
jsonschema.Draft202012Validator(schema).validate(book)
pages = book["pages"]
assert len(pages) == 18 and pages[1]["recordings"]["ru"] == "QRB_p1_ru", pages[1]["recordings"]
assert pages[0]["narration"] is None and pages[17]["recordings"] == {"ru": None, "en": None, "cn": None}
has = lambda sub, name: os.path.isfile(f"{folder}/{sub}/{name}")
for page in pages:
    for line in page["layout"]:
        assert has("pictures", line.split("+")[0] + ".png"), line
    for name in page["recordings"].values():
        assert name is None or (has("recordings", name + ".mp3") and has("recordings", name + ".words")), name
    for figure in page["figures"]:
        for line in figure["lines"]:
            assert has("recordings", line["recording"] + "_ru.mp3"), line
for title in book["titles"]:
    assert has("pictures", title["picture"] + ".png"), title
assert has("pictures", "thumbs/page01.png")
PY

# A folder that is there already, and one that cannot be made: refused,
# nothing written beside them.
before=$(find "$work" | sort | md5sum)
"$program" --export-book "$work/book" 2> "$work/again.err"
[ $? -eq 1 ] || fail "an export over a full folder did not fail"
grep -q "already exists" "$work/again.err" || fail "no reason given: $(cat "$work/again.err")"
touch "$work/file"
before=$(find "$work" | sort | md5sum)
"$program" --export-book "$work/file/book" 2> /dev/null && fail "an export below a file succeeded"
[ "$(find "$work" | sort | md5sum)" = "$before" ] || fail "a failed export left files: $(ls -a "$work")"

read_pages() {
  printf 'wait 1\ntap 384 492\nwait 0.3\ntap 640 436\nwait 0.6\n'
  printf 'dump %s/p1.json\nscreenshot %s/p1.png\n' "$1" "$1"
  for page in $(seq 2 18); do
    printf 'drag 512 600 512 400 0.1\nwait 1.55\n'
    [ "$page" = 2 ] && printf 'tap 436 433\nwait 0.3\ntap 832 488\nwait 0.6\n'
    [ "$page" = 18 ] && printf 'wait 1\n'
    printf 'dump %s/p%s.json\nscreenshot %s/p%s.png\n' "$1" "$page" "$1" "$page"
  done
}

for language in 2000 2001; do
  for run in builtin folder; do
    out=$work/$language-$run
    mkdir -p "$out" "$out-config/lumo-book"
    printf '{"Lan": "%s"}\n' "$language" > "$out-config/lumo-book/defaults.json"
    read_pages "$out" > "$out.txt"
    book=()
    [ $run = folder ] && book=(--book "$work/book")
    XDG_CONFIG_HOME=$out-config "$program" "${book[@]}" --headless --script "$out.txt" \
      --log-events > "$out.log" 2> "$out.err" || fail "$language $run: exited with $?"
    grep -E "AddressSanitizer|runtime error|WARN|ERROR" "$out.err" && fail "$language $run: logged trouble"
  done
done

PYTHONPATH=$here/lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]


def differences(left, right, path=""):
    """The JSON paths at which two dumps differ, to say what a failure saw."""
    if isinstance(left, dict) and isinstance(right, dict):
        found = []
        for key in sorted(set(left) | set(right)):
            found += differences(left.get(key), right.get(key), f"{path}/{key}")
        return found
    if isinstance(left, list) and isinstance(right, list) and len(left) == len(right):
        return [d for i, (l, r) in enumerate(zip(left, right)) for d in differences(l, r, f"{path}/{i}")]
    return [] if left == right else [f"{path}: {str(left)[:60]} != {str(right)[:60]}"]

for language in ("2000", "2001"):
    a, b = f"{work}/{language}-builtin", f"{work}/{language}-folder"
    log = open(f"{a}.log").read()
    assert log == open(f"{b}.log").read(), f"{language}: the event logs differ"
    assert log.count("sound start") >= 4, log
    for page in range(1, 19):
        left, right = json.load(open(f"{a}/p{page}.json")), json.load(open(f"{b}/p{page}.json"))
        # Memory figures are the process's, not the book's.
        del left["process"], right["process"]
        # How many frames drew depends on when work done off the main thread
        # (decodes) lands, not on the book.
        for dump in (left, right):
            dump["director"].pop("framesRendered", None)
        assert left == right, f"{language} page {page}: the dumps differ: " + ", ".join(
            differences(left, right))
        assert left["book"]["page"] == page, left["book"]
        assert screenshot.read(f"{a}/p{page}.png") == screenshot.read(f"{b}/p{page}.png"), \
            f"{language} page {page}: the pictures differ"
PY
echo PASS
