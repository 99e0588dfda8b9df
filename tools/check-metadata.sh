#!/usr/bin/env bash
# Checks what software centres and desktops read about the book, as installed
# under SHARE (an installed prefix's share/ or an unpacked package's usr/share):
# the AppStream metadata validates pedantically with nothing to report, the
# launcher entry it names validates, and the metadata's newest release is the
# version PROGRAM reports.
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

release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
version=$("$program" --version)
[ "$version" == "lumo-book $release" ] ||
  fail "the program says \"$version\", the metadata's newest release is \"$release\""
echo "metadata: $id $release valid, launcher entry valid"
