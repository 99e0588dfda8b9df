# An X server of the test's own (Xvfb), whatever other servers run beside it.
# Source it; the caller defines `fail` and `work` and kills "$xvfb" on exit.
# Usage: start_xvfb [TOOL...]   (checks Xvfb, xdotool and the TOOLs are there;
# sets xvfb to the server's pid and exports DISPLAY)
start_xvfb() {
  local tool
  for tool in Xvfb xdotool "$@"; do
    command -v "$tool" > /dev/null || fail "$tool is missing (tools/install-packages.sh installs it)"
  done
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" \
    > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
  export DISPLAY=:$(head -1 "$work/display")
}
