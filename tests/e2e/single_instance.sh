#!/usr/bin/env bash
# One running copy: a second start with three arguments makes the first one say "Program
# Already Running!" and ends without a window of its own; after the first copy is killed the
# next start opens its window at once.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display
runtime="$tmp/runtime"
mkdir -m 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"

printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n' >"$home/Once.lvd"
printf '[File]\r\nName=%s\r\n' "$home/Once.lvd" >"$home/lvd.ini"
start_linkvane Once

# The second copy ends by itself, quickly, with success.
timeout 15 "$LINKVANE_BIN" one two three >"$tmp/second.log" 2>&1 ||
  fail "the second copy ended with status $?: $(cat "$tmp/second.log")"
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Linkvane$' | head -n1) ||
  fail "the running copy showed no box"
[ "$(xdotool search --onlyvisible --name '^Linkvane  \[ Once \]' | wc -l)" -eq 1 ] ||
  fail "a second main window appeared"
# Without a window manager a click hands the box the keys; Return presses OK.
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
xdotool key Return
tries=50 wait_for bash -c "! xdotool search --onlyvisible --name '^Linkvane\$' >/dev/null" ||
  fail "the box did not close"

# Killed: the lock goes with the process, the socket file stays behind; the next copy starts
# as the running one without waiting.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
began=$(date +%s%N)
start_linkvane Once
elapsed=$((($(date +%s%N) - began) / 1000000))
[ "$elapsed" -lt 8000 ] || fail "the start after a killed copy took $elapsed ms"

# A program directory of its own (another LINKVANE_HOME) is another program.
other="$tmp/other"
mkdir -p "$other"
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n' >"$other/Else.lvd"
printf '[File]\r\nName=%s\r\n' "$other/Else.lvd" >"$other/lvd.ini"
LINKVANE_HOME="$other" "$LINKVANE_BIN" >"$tmp/other.log" 2>&1 &
extra_pids="$!"
timeout 20 xdotool search --sync --onlyvisible --name '^Linkvane  \[ Else \]' >/dev/null ||
  fail "a copy with another program directory did not open: $(cat "$tmp/other.log")"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
