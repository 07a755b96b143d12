#!/usr/bin/env bash
# The real program under Xvfb: "Search the Internet" from the Bookmarks menu, a click on a site of
# the search-engine file, a topic typed with Enter; the stand-in browser gets the site's query
# address with the topic in it.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display
make_recording_browser

data="$home/Search.lvd"
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n' >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\n' \
  "$data" "$browser" >"$home/lvd.ini"
printf '[Sites]\r\nCount=1\r\n1=Local\r\nLocal1=http://127.0.0.1:1/find?q=\r\nLocal2=&n=1\r\n' \
  >"$home/Search.ISE"

start_linkvane Search
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --window "$wid" alt+b
xdotool key --window "$wid" i
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Internet Search  \[ Search \]$' |
  head -n1) || fail "the Internet Search window did not open: $(cat "$tmp/app.log")"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The first row of the site list, then the topic box.
xdotool mousemove $((X + 60)) $((Y + 106)) click 1
xdotool mousemove $((X + 60)) $((Y + 36)) click 1
xdotool type --delay 20 'two words'
xdotool key Return

launched() { [ -f "$tmp/argv" ]; }
tries=100 wait_for launched || fail "the browser did not start: $(cat "$tmp/app.log")"
printf '1\n%s\n' 'http://127.0.0.1:1/find?q=two+words&n=1' >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "the browser got: $(cat "$tmp/argv")"
kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
