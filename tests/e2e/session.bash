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

# A free TCP port on 127.0.0.1.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Prints the body at an address, or fails.
fetch() {
  python3 -c 'import sys, urllib.request; sys.stdout.write(urllib.request.urlopen(sys.argv[1], timeout=2).read().decode())' "$1" 2>/dev/null
}

# Serves the folder $1 on 127.0.0.1:$2 and waits until $3 (an address on it) answers.
serve_folder() {
  python3 -m http.server "$2" --bind 127.0.0.1 --directory "$1" >"$tmp/http.log" 2>&1 &
  extra_pids="$! $extra_pids"
  tries=50 wait_for fetch "$3" >/dev/null || fail "the local web server did not start: $(cat "$tmp/http.log")"
}

# Skips unless a headless Chromium may run here: installed, and in a network namespace with
# nothing but loopback, since a browser may reach out on its own whatever its flags.
require_isolated_chromium() {
  require_tools python3 ip
  chromium=/usr/bin/chromium
  if [ ! -x "$chromium" ]; then
    echo "SKIP: $chromium is not installed"
    exit 77
  fi
  if ip -o link show | grep -qv ': lo:'; then
    echo "SKIP: Chromium runs only in a network namespace with nothing but loopback (ctest starts this under tests/support/netns-run)"
    exit 77
  fi
}

# Starts headless Chromium on the page $1 with a remote debugging port ($debug_port) and waits
# until a tab shows $2; skips when the browser does not come up. No traffic of the browser's
# own (update, sync, metrics, safe browsing, first run) and no proxy in between.
start_chromium() {
  debug_port=$(free_port)
  "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --no-default-browser-check --disable-background-networking --disable-component-update \
    --disable-sync --disable-domain-reliability --metrics-recording-only --disable-breakpad \
    --disable-client-side-phishing-detection --disable-default-apps --disable-extensions \
    --safebrowsing-disable-auto-update --no-pings --no-proxy-server \
    --remote-debugging-port="$debug_port" --user-data-dir="$tmp/profile" "$1" \
    >"$tmp/chromium.log" 2>&1 &
  extra_pids="$! $extra_pids"
  if ! tries=150 wait_for showing "$2"; then
    echo "SKIP: headless Chromium did not start: $(tail -n 5 "$tmp/chromium.log")"
    exit 77
  fi
}

# The browser's tabs, and whether one of them shows a text (a title or an address).
tabs() { fetch "http://127.0.0.1:$debug_port/json/list"; }
showing() { tabs | grep -qF -- "$1"; }
