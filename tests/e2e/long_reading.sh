#!/usr/bin/env bash
# The long reading: three rounds to the ending page and back (page by page;
# home from the middle, then replay; back to page 2, then home), every figure tapped
# on the way, the device tilted, a drag during every turn, a narration heard to
# its end and repeated, the credits opened and closed, the language changed and
# changed back. The program must end with no sanitizer report, every engine
# object given back, memory after the last round within 10 % of that after
# the first, and the same number of engine objects alive on the cover.
#
# Usage: long_reading.sh PROGRAM [ROUNDS TAPS_PER_FIGURE [--both]]
#        long_reading.sh PROGRAM --survey    renews the table of positions
# (bench/long_reading.sh runs the by-hand variant through it).
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
fail() { echo "FAIL: $*"; exit 1; }
lib=$(cd "$(dirname "$0")/lib" && pwd)
table=$lib/../data/long_reading_positions.json
source "$lib/exit_checks.sh"
reading() { PYTHONPATH=$lib python3 "$lib/long_reading.py" "$@"; }
if [ ! -e "${LUMO_ASSETS:-$(dirname "$program")/assets}/background.mp3" ]; then
  echo "SKIP: this build has no recordings"
  exit 0
fi

if [ "${2:-}" = --survey ]; then
  reading survey "$work" > "$work/survey.txt"
  "$program" --headless --script "$work/survey.txt" > /dev/null ||
    fail "the survey run exited with $?"
  reading positions "$work" "$table" && echo "wrote $table"
  exit
fi
reading plan "$work" "$table" "${2:-3}" "${3:-1}" ${4:-} > "$work/reading.txt" || fail "no plan"

started=$(date +%s)
"$program" --headless --log-events --script "$work/reading.txt" > "$work/reading.log" \
  2> "$work/reading.err"
status=$?
seconds=$(($(date +%s) - started))
clean_exit "long reading" "$status" "$work/reading.log" "$work/reading.err"
[ -s "$work/reading.err" ] && fail "the reading logged: $(head -5 "$work/reading.err")"
language_kept "long reading" "$work/config" 2000
figures=$(reading check "$work") || exit 1
echo "long reading: ok in ${seconds} s: $figures"
