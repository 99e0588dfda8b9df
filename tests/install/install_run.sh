#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program
# headless from elsewhere, with no hint where its assets are: it must find
# them beside its own folder. Checks the launcher entry, the AppStream
# metadata, the icon theme and the man page land where the desktop looks for
# them, and that the metadata and the launcher entry validate.
set -u
cmake=$1
build=$2
lib=$(cd "$(dirname "$0")/../e2e/lib" && pwd)
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" || {
  cat "$work/install.log"
  fail "install failed"
}
program=$prefix/bin/lumo-book
[ -x "$program" ] || fail "no program at bin/lumo-book"
share=$prefix/share
desktop=$(echo "$share"/applications/*.desktop)
[ -f "$desktop" ] || fail "no launcher entry, or more than one"
grep -qx 'Exec=lumo-book' "$desktop" || fail "the launcher does not start lumo-book"
grep -qx 'Icon=lumo-book' "$desktop" || fail "the launcher names another icon"
grep -q '^Categories=.*Education;' "$desktop" || fail "the launcher is not under Education"
grep -qx 'Name=Ryzhik and the Little Star' "$desktop" || fail "no English name"
grep -qx 'Name\[ru\]=Рыжик и звёздочка' "$desktop" || fail "no Russian name"
"$tools/check-metadata.sh" "$share" "$program" || fail "the metadata"
for size in 16 24 32 48 64 128 256; do
  [ -s "$share/icons/hicolor/${size}x${size}/apps/lumo-book.png" ] || fail "no ${size}px icon"
done
[ -s "$share/icons/hicolor/scalable/apps/lumo-book.svg" ] || fail "no scalable icon"
gzip -dc "$share/man/man1/lumo-book.1.gz" | grep -q '^\.SH KEYS' || fail "no man page with its keys"
version=$("$program" --version)
gzip -dc "$share/man/man1/lumo-book.1.gz" | head -1 | grep -qF "\"$version\"" ||
  fail "the man page does not carry the version \"$version\""
[ -s "$share/lumo-book/background.mp3" ] && [ -s "$share/lumo-book/ground1.png" ] ||
  fail "the assets are not under share/lumo-book"
[ ! -e "$share/lumo-book/art" ] || fail "the picture sources were installed"

grep -q '^lumo-book [0-9]' <<< "$version" || fail "--version"

cd "$work" || exit 1
mkdir -p "$work/config"
cat > "$work/s.txt" <<SCRIPT
wait 1
dump $work/state.json
screenshot $work/cover.png
SCRIPT
env -u LUMO_ASSETS XDG_CONFIG_HOME="$work/config" \
  "$program" --headless --log-events --script "$work/s.txt" > "$work/run.log" 2> "$work/err.log" ||
  { cat "$work/err.log"; fail "the installed program exited with $?"; }
if grep -E 'not among the resources|cannot read|cannot be read|no assets' "$work/err.log"; then
  fail "the installed program misses its assets"
fi
grep -q 'sound start background background' "$work/run.log" || fail "the music did not start"
PYTHONPATH=$lib python3 - "$work" <<'PY' || exit 1
import json, sys

import screenshot

work = sys.argv[1]
state = json.load(open(f"{work}/state.json"))
assert state["book"]["page"] == 1, state["book"]
assert state["desktop"]["iconSize"] == 128, state["desktop"]
# The cover's pictures came from the installed folder: a textured ground, not a blank plane.
w, h, bpp, rows = screenshot.read(f"{work}/cover.png")
ground = {tuple(v >> 4 for v in rows[y][x * bpp:x * bpp + 3]) for y in range(660, 760, 4) for x in range(100, 920, 4)}
assert len(ground) >= 8, f"the ground is flat ({len(ground)} colours): its picture is missing"
PY
echo "install and run: ok"
