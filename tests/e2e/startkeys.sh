#!/usr/bin/env bash
# The keys work from the first moment: right after start the key sink has the focus, so Down
# then Enter launches the first bookmark without a click anywhere. "Go to..." from the Tabs
# menu opens on the page shown; Down and Enter there go to the next page, and the keys are
# back on the sink.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

# A stand-in browser that records its arguments in $tmp/argv.
make_recording_browser

data="$home/Start.lvd"
printf '[Tabs]\r\nCount=3\r\nTab1=Home\r\nTab2=Work\r\nTab3=Play\r\n[Home]\r\n01N=First\r\n01U=http://127.0.0.1:1/first\r\n02N=Second\r\n02U=http://127.0.0.1:1/second\r\n' >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\n' \
  "$data" "$browser" >"$home/lvd.ini"

start_linkvane Start

# Without a window manager nobody hands a new window the keyboard; this is what one does when
# the window appears. Where the keys go inside the window is the program's own choice.
xdotool windowfocus --sync "$wid"

title_has() { xdotool getwindowname "$wid" | grep -q -- "$1"; }
xdotool key Down
tries=50 wait_for title_has '^1 : ' || fail "Down selected nothing: $(xdotool getwindowname "$wid")"
xdotool key Return
launched() { [ -f "$tmp/argv" ]; }
wait_for launched || fail "Enter launched nothing: $(cat "$tmp/app.log")"
printf '1\nhttp://127.0.0.1:1/first\n' >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "the browser got: $(cat "$tmp/argv")"

xdotool key alt+t g
nav=$(timeout 10 xdotool search --sync --name '^Page Navigation$' | head -n1) ||
  fail "Go to... did not open the navigator"
xdotool windowfocus --sync "$nav"
xdotool key Down Return
tries=50 wait_for title_has 'Page 2 of 3' || fail "the navigator left: $(xdotool getwindowname "$wid")"
xdotool key Right
tries=50 wait_for title_has 'Page 3 of 3' || fail "the keys did not come back: $(xdotool getwindowname "$wid")"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
