#!/usr/bin/env bash
# Drives the main window from the keyboard alone under Xvfb: Down walks the selection through
# the bookmarks and Enter launches the selected one in a stand-in browser; Right and Left turn
# the pages, wrapping at either end, as the caption shows.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

# A stand-in browser that records its arguments in $tmp/argv.
make_recording_browser

data="$home/Keys.lvd"
{
  printf '[Tabs]\r\nCount=3\r\nTab1=First\r\nTab2=Second\r\nTab3=Third\r\n[First]\r\n'
  for slot in 1 2 3 4 5; do
    printf '%02dN=Site %d\r\n%02dU=http://127.0.0.1:1/site%d\r\n' "$slot" "$slot" "$slot" "$slot"
  done
  printf '[Second]\r\n01N=Other\r\n01U=http://127.0.0.1:1/other\r\n[Third]\r\n'
} >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\n' \
  "$data" "$browser" >"$home/lvd.ini"

start_linkvane Keys

title_has() { xdotool getwindowname "$wid" | grep -q -- "$1"; }
launched() { [ -f "$tmp/argv" ]; }
page_after() {
  xdotool key "$1"
  tries=50 wait_for title_has "$2" || fail "$1 left the caption at: $(xdotool getwindowname "$wid")"
}

title_has 'Page 1 of 3' || fail "first caption: $(xdotool getwindowname "$wid")"

# Without a window manager the window is only activated by a click; one on the empty end of the
# menu bar (free however many tool buttons there are) hands it the keys, which the key sink keeps.
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + WIDTH - 10)) $((Y + 8)) click 1

# Three Downs from no selection select the third bookmark; Enter launches it.
xdotool key --delay 150 Down Down Down
tries=50 wait_for title_has '^3 : ' || fail "the selection did not reach 3: $(xdotool getwindowname "$wid")"
xdotool key Return
wait_for launched || fail "Enter launched nothing: $(cat "$tmp/app.log")"
printf '1\nhttp://127.0.0.1:1/site3\n' >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "the browser got: $(cat "$tmp/argv")"

# Up goes back one; Enter launches that one instead.
rm -f "$tmp/argv"
xdotool key Up
tries=50 wait_for title_has '^2 : ' || fail "Up did not select 2: $(xdotool getwindowname "$wid")"
xdotool key Return
wait_for launched || fail "the second Enter launched nothing"
printf '1\nhttp://127.0.0.1:1/site2\n' >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "after Up the browser got: $(cat "$tmp/argv")"

page_after Right 'Page 2 of 3'
page_after Right 'Page 3 of 3'
page_after Right 'Page 1 of 3'
page_after Left 'Page 3 of 3'
page_after Left 'Page 2 of 3'

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
