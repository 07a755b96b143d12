#!/usr/bin/env bash
# Starts the real program under Xvfb with a stand-in browser that records its arguments,
# clicks a bookmark whose address is full of shell syntax, and checks that the browser got
# exactly that address as its one argument and that nothing else ran.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

# A stand-in browser that records its arguments in $tmp/argv.
make_recording_browser

owned="$tmp/owned"
url="http://127.0.0.1:1/a?b=1&c=\$(touch $owned)\";touch $owned;\"\`touch $owned\`"

# The bookmark fills the second column, so a click anywhere in it launches it.
data="$home/Launch.lvd"
{
  printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n'
  for slot in $(seq 21 40); do
    printf '%02dN=Hostile\r\n%02dU=%s\r\n' "$slot" "$slot" "$url"
  done
} >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\n' \
  "$data" "$browser" >"$home/lvd.ini"

start_linkvane Launch
eval "$(xdotool getwindowgeometry --shell "$wid")"

# Below the menu bar and the tool bar lies the first row of buttons: walk up the second
# column from the third row until the browser has run (from above, a click could land on a
# tool button that opens a dialog).
launched() { [ -f "$tmp/argv" ]; }
x=$((X + WIDTH * 3 / 8))
for y in $(seq $((Y + 90)) -4 $((Y + 30))); do
  xdotool mousemove "$x" "$y" click 1
  if tries=10 wait_for launched; then break; fi
done
launched || fail "no click reached the bookmark: $(cat "$tmp/app.log")"

printf '1\n%s\n' "$url" >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "the browser got: $(cat "$tmp/argv")"
[ ! -e "$owned" ] || fail "a command in the address ran"
kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
