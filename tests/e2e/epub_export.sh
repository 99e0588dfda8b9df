#!/usr/bin/env bash
# The book as an EPUB 3 read-aloud book, in both reading languages: epubcheck
# finds neither error nor warning; the archive opens with its mimetype stored
# first; it holds the book's 18 pages, each narration's overlay has one par
# per line of the recording's .words file, pointing at a word of the page, in
# the order of the recording; the metadata says the book's title, language
# and durations. The export opens no window and leaves the reader's
# preferences as they were; an export that cannot finish (no folder to write
# into, a disk that takes too little) fails with one line and leaves nothing.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
assets=${LUMO_ASSETS:-$(dirname "$program")/assets}
if [ ! -e "$assets/QRB_p2_ru.mp3" ] || [ ! -e "$assets/QRB_p2_cn.words" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi
epubcheck_jar=/usr/share/java/epubcheck.jar
[ -r "$epubcheck_jar" ] || fail "epubcheck is not installed (Debian package epubcheck)"

# The reader's own preferences: English, a place to continue at.
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME/lumo-book"
printf '{"Lan": "2001", "Note": "kept"}' > "$XDG_CONFIG_HOME/lumo-book/defaults.json"
prefs_before=$(find "$work/config" "$work/state" "$work/data" -type f -exec md5sum {} + 2> /dev/null | sort)

mkdir "$work/out"
for language in 2000 2001; do
  start=$(date +%s%N)
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    "$program" --export-epub "$work/out/book-$language.epub" --language "$language" \
    2> "$work/export-$language.err" || fail "export $language: $(cat "$work/export-$language.err")"
  echo "export $language: $((($(date +%s%N) - start) / 1000000)) ms," \
    "$(stat -c %s "$work/out/book-$language.epub") bytes"
  grep -E "AddressSanitizer|runtime error|WARN|ERROR" "$work/export-$language.err" &&
    fail "export $language logged trouble"
done
[ "$(ls -A "$work/out")" = "$(printf 'book-2000.epub\nbook-2001.epub')" ] ||
  fail "the export left other files: $(ls -A "$work/out")"
prefs_after=$(find "$work/config" "$work/state" "$work/data" -type f -exec md5sum {} + 2> /dev/null | sort)
[ "$prefs_before" = "$prefs_after" ] || fail "the export changed the reader's files"

# Both checks at once: each takes a while to start its Java.
for language in 2000 2001; do
  java -jar "$epubcheck_jar" "$work/out/book-$language.epub" > "$work/check-$language.txt" 2>&1 &
done
wait
for language in 2000 2001; do
  cat "$work/check-$language.txt"
  grep -q "^Messages: 0 fatals / 0 errors / 0 warnings" "$work/check-$language.txt" ||
    fail "epubcheck found faults in the $language export"
  grep -qE "^(FATAL|ERROR|WARNING)" "$work/check-$language.txt" && fail "epubcheck complained"
done

python3 - "$work/out" "$assets" <<'PY' || exit 1
import re, sys, zipfile

folder, assets = sys.argv[1:]


def check(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def seconds(clock):
    h, m, s = clock.split(":")
    return int(h) * 3600 + int(m) * 60 + float(s)


expected = {"2000": ("ru", "Рыжик и звёздочка", "_ru"), "2001": ("en", "Ryzhik and the Little Star", "_cn")}
for language, (code, title, suffix) in expected.items():
    name = f"{folder}/book-{language}.epub"
    with zipfile.ZipFile(name) as epub:
        check(epub.testzip() is None, f"{name}: a damaged entry")
        first = epub.infolist()[0]
        check(first.filename == "mimetype" and first.compress_type == zipfile.ZIP_STORED,
              f"{name}: the mimetype is not the first entry, stored")
        check(open(name, "rb").read(58)[30:] == b"mimetypeapplication/epub+zip", "mimetype not at offset 30")
        names = epub.namelist()
        pages = sorted(n for n in names if re.fullmatch(r"OEBPS/pages/page\d\d\.xhtml", n))
        check(len(pages) == 18, f"{name}: {len(pages)} pages")
        opf = epub.read("OEBPS/package.opf").decode()
        check(f"<dc:language>{code}</dc:language>" in opf, f"{name}: language")
        check(f'<dc:title id="title">{title}</dc:title>' in opf, f"{name}: title")
        check("rendition:layout\">pre-paginated" in opf, f"{name}: not fixed layout")
        durations = dict(re.findall(r'property="media:duration" refines="#(\w+)">([\d:.]+)<', opf))
        total = re.search(r'<meta property="media:duration">([\d:.]+)<', opf).group(1)
        check(len(durations) == 16, f"{name}: {len(durations)} overlays")
        check(abs(sum(map(seconds, durations.values())) - seconds(total)) < 0.0005, "total duration")
        for overlay in sorted(n for n in names if n.endswith(".smil")):
            smil = epub.read(overlay).decode()
            page = re.search(r"page(\d\d)\.smil", overlay).group(1)
            xhtml = epub.read(f"OEBPS/pages/page{page}.xhtml").decode()
            recordings = set(re.findall(r'audio src="\.\./audio/(\w+)\.mp3"', smil))
            check(len(recordings) == 1 and recordings.pop().endswith(suffix), f"{overlay}: recordings")
            recording = re.search(r'audio src="\.\./audio/(\w+)\.mp3"', smil).group(1)
            words = [line.split("\t") for line in open(f"{assets}/{recording}.words", encoding="utf-8").read().splitlines()]
            pars = re.findall(r'#(w\d+)"/><audio [^>]*clipBegin="([\d.]+)s" clipEnd="([\d.]+)s"', smil)
            check(len(pars) == len(words) == smil.count("<par "), f"{overlay}: {len(pars)} pars, {len(words)} words")
            spoken = dict(re.findall(r'<span id="(w\d+)">([^<]*)</span>', xhtml))
            for (word_id, begin, end), (start, word) in zip(pars, words):
                # The voice tools write a word's letters; its apostrophe may differ.
                letters = lambda text: re.sub(r"\W", "", text or "")
                check(letters(spoken.get(word_id)) == letters(word), f"{overlay}: {word_id} is {spoken.get(word_id)!r}, heard {word!r}")
                check(abs(float(begin) - float(start)) < 0.0005 and float(end) >= float(begin), f"{overlay}: {word_id} clip")
            check(seconds(durations[f"overlay{page}"]) > float(pars[-1][1]), f"{overlay}: duration")
        nav = epub.read("OEBPS/nav.xhtml").decode()
        check(all(f'href="pages/page{p:02d}.xhtml"' in nav for p in range(1, 19)) and "credits.xhtml" in nav,
              f"{name}: the contents do not list every page and the credits")
PY

# No folder to write into; a disk that takes 100 KiB a file (less than a
# page's picture): one line, status 1, nothing left.
before=$(find "$work/out" | sort)
"$program" --export-epub "$work/none/book.epub" 2> "$work/none.err" && fail "an export into no folder succeeded"
[ "$(wc -l < "$work/none.err")" = 1 ] || fail "not one line: $(cat "$work/none.err")"
mkdir "$work/small"
(trap '' XFSZ; ulimit -f 100; exec "$program" --export-epub "$work/small/book.epub" 2> "$work/small.err")
status=$?
[ $status = 1 ] || fail "an export on a full disk ended with status $status: $(cat "$work/small.err")"
grep -q "cannot write" "$work/small.err" || fail "no reason given: $(cat "$work/small.err")"
[ "$(grep -c . "$work/small.err")" = 1 ] || fail "not one line: $(cat "$work/small.err")"
[ -z "$(ls -A "$work/small")" ] || fail "a failed export left files: $(ls -A "$work/small")"
[ "$(find "$work/out" | sort)" = "$before" ] || fail "a failed export touched other files"
echo "PASS"
