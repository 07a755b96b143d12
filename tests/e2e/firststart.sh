#!/usr/bin/env bash
# A new user's first start: with no program directory yet, the program makes the per-user one
# and greets the user with the welcome; after "Begin" the main window is there, and the next
# start greets nobody.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display
unset LINKVANE_HOME
export HOME="$tmp/newuser"
unset XDG_DATA_HOME
mkdir -p "$HOME"

"$LINKVANE_BIN" >"$tmp/app.log" 2>&1 &
app_pid=$!
welcome=$(timeout 20 xdotool search --sync --onlyvisible --name '^Welcome to Linkvane$' | head -n1) ||
  fail "no welcome at the first start: $(cat "$tmp/app.log")"
[ -d "$HOME/.local/share/linkvane" ] || fail "the program directory was not made"
# Without a window manager a click hands the dialog the keys; Return presses "Begin".
eval "$(xdotool getwindowgeometry --shell "$welcome")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) click 1
xdotool key Return
timeout 20 xdotool search --sync --onlyvisible --name '^Linkvane  \[ Disk \]' >/dev/null ||
  fail "the main window did not follow the welcome: $(cat "$tmp/app.log")"
kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"

"$LINKVANE_BIN" >"$tmp/app2.log" 2>&1 &
app_pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Linkvane  \[ Disk \]' >/dev/null ||
  fail "the main window did not appear at the second start: $(cat "$tmp/app2.log")"
if xdotool search --onlyvisible --name '^Welcome to Linkvane$' >/dev/null 2>&1; then
  fail "the second start showed the welcome again"
fi
kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
