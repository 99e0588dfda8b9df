#!/usr/bin/env bash
# The second book, made by the build from books/tuk into build/books/tuk, read
# end to end through the real program: its book.json valid against the schema
# with every picture and recording it names; cover to ending in Russian and in
# English, every figure tapped and heard saying one of its own lines, the
# narration of every story page heard in the reading language, its figures'
# names and the ending's own labels in the dumps, pages drawn (not blank), the
# ending's credits button opening the credits. `--page` takes the book's own
# page count.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
fail() { echo "FAIL: $*"; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
book=$(dirname "$program")/books/tuk
if [ ! -e "$book/recordings/QRB_tuk2_ru.mp3" ]; then
  echo "SKIP: this build has not made the second book"
  exit 0
fi

python3 - "$book" "$here/../../docs/book.schema.json" <<'PY' || exit 1
import json, os, sys

import jsonschema

folder, schema = sys.argv[1], json.load(open(sys.argv[2]))
book = json.load(open(f"{folder}/book.json"))
jsonschema.Draft202012Validator(schema).validate(book)
pages = book["pages"]
assert len(pages) == 6 and pages[0]["narration"] is None and pages[5]["narration"] is None
has = lambda sub, name: os.path.isfile(f"{folder}/{sub}/{name}")
for page in pages:
    for line in page["layout"]:
        assert has("pictures", line.split("+")[0] + ".png"), line
    for name in page["recordings"].values():
        assert name is None or (has("recordings", name + ".mp3") and has("recordings", name + ".words")), name
    for figure in page["figures"]:
        assert figure["name"]["ru"] and figure["name"]["en"], figure
        for line in figure["lines"]:
            assert has("recordings", line["recording"] + "_ru.mp3"), line
            assert has("recordings", line["recording"] + "_cn.mp3"), line
for story in pages[1:5]:
    assert story["narration"] and story["figures"], story
for control in book["ending"].values():
    for picture in control.values():
        assert has("pictures", picture + ".png"), picture
PY

# Run 1: where each page's figures stand on screen.
{
  printf 'wait 3\ndump %s/where1.json\n' "$work"
  for page in 2 3 4 5 6; do
    printf 'drag 512 600 512 400 0.1\nwait 2\ndump %s/where%s.json\n' "$work" "$page"
  done
} > "$work/where.txt"
"$program" --book "$book" --headless --script "$work/where.txt" > /dev/null 2> "$work/where.err" ||
  fail "reading through exited with $?: $(tail -3 "$work/where.err")"

# Run 2, in each language: every figure tapped (one at a time: a figure
# speaking takes no other tap), a screenshot of every page, the credits.
python3 - "$work" "$book" <<'PY' || exit 1
import json, sys

work, book = sys.argv[1], json.load(open(sys.argv[2] + "/book.json"))

def find(node, name):
    if node.get("name") == name:
        return node
    for child in node.get("children", []):
        hit = find(child, name)
        if hit:
            return hit

for language in ("2000", "2001"):
    out = f"{work}/{language}"
    lines = ["wait 3"]
    for page in range(1, 7):
        if page > 1:
            # The narration starts a second after the panel; a tap then cuts it short.
            lines += ["drag 512 600 512 400 0.1", "wait 3.5"]
        state = json.load(open(f"{work}/where{page}.json"))
        for figure in book["pages"][page - 1]["figures"]:
            node = find(state["world"], figure["layer"])
            assert node and node.get("screenRect"), (page, figure["layer"])
            x, y, w, h = node["screenRect"]
            # Low on the plane's middle, where the figure stands drawn.
            lines += [f"tap {round(x + w / 2)} {round(y + h * 0.75)}", "wait 3.5"]
        lines += [f"dump {out}/p{page}.json", f"screenshot {out}/p{page}.png"]
    credits = find(json.load(open(f"{work}/where6.json"))["world"], "menu-end2")
    assert credits and credits.get("screenRect"), "the ending page has no credits button"
    x, y, w, h = credits["screenRect"]
    lines += [f"tap {round(x + w / 2)} {round(y + h / 2)}", "wait 1", f"dump {out}/credits.json"]
    open(f"{out}.txt", "w").write("\n".join(lines) + "\n")
PY
for language in 2000 2001; do
  mkdir -p "$work/$language" "$work/$language-config/lumo-book"
  printf '{"Lan": "%s"}\n' "$language" > "$work/$language-config/lumo-book/defaults.json"
  XDG_CONFIG_HOME=$work/$language-config "$program" --book "$book" --headless \
    --script "$work/$language.txt" --log-events > "$work/$language.log" 2> "$work/$language.err" ||
    fail "$language: exited with $?: $(tail -3 "$work/$language.err")"
  grep -E "AddressSanitizer|runtime error|WARN|ERROR" "$work/$language.err" && fail "$language: logged trouble"
done

# Set, the pages' screenshots are kept there for a look.
[ -n "${LUMO_KEEP_PAGES:-}" ] && mkdir -p "$LUMO_KEEP_PAGES" && cp -r "$work/2000" "$work/2001" "$LUMO_KEEP_PAGES"

PYTHONPATH=$here/lib python3 - "$work" "$book" <<'PY' || exit 1
import json, sys

import screenshot

work, folder = sys.argv[1], sys.argv[2]
book = json.load(open(folder + "/book.json"))
for language, code, suffix in (("2000", "ru", "_ru"), ("2001", "en", "_cn")):
    log = [line.split(" ", 2) for line in open(f"{work}/{language}.log").read().splitlines()]
    settled = [int(text.split()[1]) for _t, c, text in log if c == "page" and text.startswith("settled")]
    assert settled == [2, 3, 4, 5, 6], f"{language}: settled {settled}"
    spoken = [text.split()[-1] for _t, c, text in log if c == "sound" and text.startswith("start main")]
    for page in range(1, 7):
        content = book["pages"][page - 1]
        narration = content["recordings"]["ru" if code == "ru" else "cn"]
        if narration:
            assert narration in spoken, f"{language} page {page}: {narration} not heard in {spoken}"
        for figure in content["figures"]:
            own = {line["recording"] + suffix for line in figure["lines"]}
            assert own & set(spoken), f"{language} page {page}: {figure['layer']} said none of {own}"
        state = json.load(open(f"{work}/{language}/p{page}.json"))
        assert state["book"]["page"] == page and state["book"]["pageCount"] == 6, state["book"]
        names = {figure["layer"]: figure["name"][code] for figure in content["figures"]}
        assert state["book"]["figures"] == names, (state["book"]["figures"], names)
        width, height, bpp, rows = screenshot.read(f"{work}/{language}/p{page}.png")
        colours = {bytes(row[x:x + 3]) for row in rows[::16] for x in range(0, width * bpp, 16 * bpp)}
        assert len(colours) > 200, f"{language} page {page}: a nearly blank page ({len(colours)} colours)"
    ending = json.load(open(f"{work}/{language}/p6.json"))
    labels = {"text_replay_cn": book["ending"]["replay"][code],
              "text_moreapps_ru": book["ending"]["credits"][code]}
    def find(node, name):
        if node.get("name") == name:
            return node
        for child in node.get("children", []):
            hit = find(child, name)
            if hit:
                return hit
    for node, picture in labels.items():
        shown = find(ending["world"], node)
        assert shown and shown["texture"] == picture + ".png", (node, shown and shown.get("texture"))
    credits = json.load(open(f"{work}/{language}/credits.json"))
    assert credits["book"]["lockDrag"], f"{language}: the credits did not open"
PY

# --page: the book's own range.
"$program" --book "$book" --headless --page 6 --frames 2 > /dev/null 2> "$work/page.err" ||
  fail "--page 6: $(cat "$work/page.err")"
"$program" --book "$book" --headless --page 7 --frames 1 > /dev/null 2> "$work/page.err"
[ $? -eq 2 ] || fail "--page 7 of a 6-page book did not stop with status 2"
grep -q "page needs a page of the book, 1 to 6, not \"7\"" "$work/page.err" || fail "--page 7: $(cat "$work/page.err")"
echo PASS
