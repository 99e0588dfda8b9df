# Checks shared by the end-to-end scripts that stop the program in unusual
# ways. Source it; `fail` must be defined by the caller.

# The run ended cleanly: status 0, every engine object given back (the
# program's own count at exit), and nothing from the sanitizers.
# Usage: clean_exit NAME STATUS EVENTS_LOG STDERR_LOG
clean_exit() {
  local name=$1 status=$2 events=$3 errors=$4
  [ "$status" -eq 0 ] || fail "$name: exited with $status: $(tail -5 "$errors")"
  grep -q " exit live objects 0$" "$events" ||
    fail "$name: engine objects left at exit: $(grep ' exit ' "$events")"
  if grep -E "AddressSanitizer|LeakSanitizer|runtime error" "$errors" > /dev/null; then
    fail "$name: sanitizer report: $(grep -m3 -E 'Sanitizer|runtime error' "$errors")"
  fi
}

# The stored reading language is still the complete file with `Lan`.
# Usage: language_kept NAME CONFIG_HOME EXPECTED
language_kept() {
  local name=$1 file=$2/lumo-book/defaults.json expected=$3 got
  got=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["Lan"])' "$file" 2>&1) ||
    fail "$name: the preferences file is damaged: $got"
  [ "$got" = "$expected" ] || fail "$name: Lan is \"$got\", not \"$expected\""
}

# Runs the program in the background and waits until its event log shows a
# line matching PATTERN, then sends SIGNAL and waits for the program to end.
# Prints the exit status. Usage: signal_when PATTERN SIGNAL EVENTS ERRORS COMMAND...
signal_when() {
  local pattern=$1 sig=$2 events=$3 errors=$4 pid status
  shift 4
  "$@" > "$events" 2> "$errors" &
  pid=$!
  until grep -q -E "$pattern" "$events"; do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  kill "-$sig" "$pid" 2> /dev/null
  wait "$pid"
  status=$?
  echo "$status"
}
