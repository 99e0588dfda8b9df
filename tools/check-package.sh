#!/usr/bin/env bash
# Checks the Debian package of a build folder (`cmake --build BUILD --target
# package`) as a distribution and a software centre would: it holds the
# program, its generated pictures, recordings and icons; its AppStream metadata
# and launcher entry validate and agree with the program's version; lintian
# finds no error and no warning. Used by CI: `tools/check-package.sh build-default`.
set -euo pipefail
build=$1
tools=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "FAIL: $*"
  exit 1
}

shopt -s nullglob
debs=("$build"/lumo-book_*.deb)
((${#debs[@]} == 1)) || fail "expected one lumo-book_*.deb in $build, found ${#debs[@]}"
deb=${debs[0]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

for file in bin/lumo-book share/lumo-book/ground1.png share/lumo-book/background.mp3 \
  share/lumo-book/CreditsView.json share/icons/hicolor/scalable/apps/lumo-book.svg \
  share/man/man1/lumo-book.1.gz share/doc/lumo-book/copyright; do
  [ -s "$usr/$file" ] || fail "the package lacks /usr/$file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$usr/share/icons/hicolor/${size}x${size}/apps/lumo-book.png" ] || fail "the package lacks the ${size} px icon"
done
"$tools/check-metadata.sh" "$usr/share" "$usr/bin/lumo-book"

lintian --fail-on error,warning --display-info "$deb" > "$work/lintian.txt" 2>&1 || {
  cat "$work/lintian.txt"
  fail "lintian finds fault with $(basename "$deb")"
}
cat "$work/lintian.txt"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB, lintian clean"
