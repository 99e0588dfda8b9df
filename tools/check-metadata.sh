#!/usr/bin/env bash
# Checks what software centres and desktops read about the book, as installed
# under SHARE (an installed prefix's share/ or an unpacked package's usr/share):
# the AppStream metadata validates pedantically with nothing to report, the
# launcher entry it names validates, its screenshots are the ones kept in
# packaging/screenshots/, and its newest release is the version PROGRAM reports.
# Usage: tools/check-metadata.sh SHARE PROGRAM
set -euo pipefail
share=$1
program=$2
fail() {
  echo "FAIL: $*"
  exit 1
}

shopt -s nullglob
metainfos=("$share"/metainfo/*.metainfo.xml)
((${#metainfos[@]} == 1)) || fail "expected one metainfo file under $share/metainfo, found ${#metainfos[@]}"
metainfo=${metainfos[0]}
id=$(basename "$metainfo" .metainfo.xml)

report=$(appstreamcli validate --pedantic --no-net --no-color "$metainfo" 2>&1) || true
[[ "$report" == *"Validation was successful."* && $(wc -l <<< "$report") == 1 ]] ||
  fail "appstreamcli has something to say about $id:"$'\n'"$report"

desktop=$share/applications/$id.desktop
[ -f "$desktop" ] || fail "no launcher entry named after the id $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not launch $id.desktop"
report=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate has something to say:"$'\n'"$report"

# Every screenshot it shows is one kept in packaging/screenshots/, of the size it says.
python3 - "$metainfo" "$(dirname "$0")/../packaging/screenshots" <<'PY' || fail "the screenshots"
import os, struct, sys
import xml.etree.ElementTree as ET

metainfo, folder = sys.argv[1:]
images = ET.parse(metainfo).findall("./screenshots/screenshot/image")
assert images, "the metadata shows no screenshot"
for image in images:
    path = os.path.join(folder, os.path.basename(image.text))
    assert os.path.isfile(path), f"{image.text} is not in packaging/screenshots"
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG"
    size = struct.unpack(">II", head[16:24])
    said = (int(image.get("width")), int(image.get("height")))
    assert size == said, f"{path} is {size}, the metadata says {said}"
PY

release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
version=$("$program" --version)
[ "$version" == "lumo-book $release" ] ||
  fail "the program says \"$version\", the metadata's newest release is \"$release\""
echo "metadata: $id $release valid, launcher entry valid"
