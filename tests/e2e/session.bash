# Shared set-up of the end-to-end scripts, sourced by each: the checks that decide a skip,
# a temporary folder cleaned up with every process the script started, and a private Xvfb
# display with Linkvane's program directory in the temporary folder.
# (Not named *.sh: every *.sh here is run as a test of its own.)

: "${LINKVANE_BIN:?LINKVANE_BIN must name the linkvane executable}"

# Skips the test (exit 77) when one of the tools is missing.
require_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
}

tmp=$(mktemp -d)
xvfb_pid=""
app_pid=""
# Other processes the script starts (servers, a browser); ended before Xvfb.
extra_pids=""
cleanup() {
  for pid in $app_pid $extra_pids $xvfb_pid; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to ten seconds (or $tries tenths) for a command to succeed.
wait_for() {
  for _ in $(seq "${tries:-100}"); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Starts the program (its output goes to $tmp/app.log) and waits until the main window of the
# DataFile named $1 shows; app_pid and wid name the process and the window.
start_linkvane() {
  "$LINKVANE_BIN" >"$tmp/app.log" 2>&1 &
  app_pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name "^Linkvane  \\[ $1 \\]" | head -n1) ||
    fail "the main window did not appear: $(cat "$tmp/app.log")"
}

# Starts Xvfb (it tells the display number it took once it accepts connections) and makes
# $home the program directory. $screen_size, when set, is the screen's size in pixels.
start_display() {
  mkfifo "$tmp/display"
  Xvfb -displayfd 3 -screen 0 "${screen_size:-1024x768}x24" -nolisten tcp 3>"$tmp/display" \
    >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 10 display <"$tmp/display"; then
    echo "SKIP: Xvfb cannot run here: $(cat "$tmp/xvfb.log")"
    exit 77
  fi
  export DISPLAY=":$display"
  export QT_QPA_PLATFORM=xcb

  home="$tmp/home"
  mkdir -p "$home"
  export LINKVANE_HOME="$home"
}

# A stand-in browser at $browser: it writes its argument count, then each argument on a line of
# its own, to $tmp/argv (renamed into place when whole).
make_recording_browser() {
  browser="$home/fake-browser"
  printf '#!/bin/sh\n{ echo "$#"; for a in "$@"; do echo "$a"; done; } >"%s.part"\nmv "%s.part" "%s"\n' \
    "$tmp/argv" "$tmp/argv" "$tmp/argv" >"$browser"
  chmod +x "$browser"
}
