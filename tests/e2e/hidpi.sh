#!/usr/bin/env bash
# At twice the scale on a 2048 x 1536 screen the window's place is kept in device-independent
# pixels: moved, closed and started again, it comes back where it was left, not at twice the
# place with its tabs off the screen.
set -euo pipefail

fixtures="${LINKVANE_FIXTURES:-$(dirname "$0")/../data}"
source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

screen_size=2048x1536
start_display
export QT_SCALE_FACTOR=2
data="$home/Bookmarks.lvd"
cp "$fixtures/mw-windows.lvd" "$data"
printf '\r\n[File]\r\nName=%s\r\n' "$data" >"$home/lvd.ini"

start_app() {
  start_linkvane Bookmarks
}
stop_app() {
  kill -TERM "$app_pid"
  wait_for bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not end"
  wait "$app_pid" || fail "the program ended with status $?"
  app_pid=""
}
setting_is() { tr -d '\r' <"$home/lvd.ini" | grep -qx -- "$1"; }
# The window's place and width on the screen, in the screen's pixels.
place_is() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  [ "$X,$Y $WIDTH" = "$1" ]
}
shown_place() { xdotool getwindowgeometry "$wid" | tr '\n' ' '; }

start_app
# 100, 50 and 612 wide for the program are twice that on the screen.
tries=30 wait_for place_is "200,100 1224" || fail "first place: $(shown_place)"
xdotool windowmove "$wid" 600 400
tries=30 wait_for place_is "600,400 1224" || fail "not moved: $(shown_place)"
stop_app
for line in 'Left=300' 'Top=200' 'Width=620'; do
  setting_is "$line" || fail "lvd.ini lacks $line: $(cat "$home/lvd.ini")"
done

start_app
tries=30 wait_for place_is "600,400 1224" || fail "place after restart: $(shown_place)"
stop_app
setting_is 'Left=300' || fail "the place changed on the second run: $(cat "$home/lvd.ini")"
echo "PASS"
