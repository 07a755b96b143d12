#!/usr/bin/env bash
# Bookmarks > Alphabetize from the keyboard under Xvfb: the page range dialog opens with the
# current page's caption, Enter presses its action button, and the page is sorted on disk.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

data="$home/Work.lvd"
printf '[Tabs]\r\nCount=2\r\nTab1=Work\r\nTab2=News\r\n[Work]\r\n03N=zeta\r\n03U=http://z/\r\n07N=Alpha\r\n07U=http://a/\r\n09N=beta\r\n09U=http://b/\r\n' >"$data"
printf '[File]\r\nName=%s\r\n' "$data" >"$home/lvd.ini"

start_linkvane Work

# Without a window manager a click hands the window the keys: one on the empty end of the menu
# bar, which stays free however many tool buttons there are; the key sink keeps the focus.
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + WIDTH - 10)) $((Y + 8)) click 1
xdotool key --delay 200 alt+b a

range=$(timeout 20 xdotool search --sync --name '^Alphabetize the "Work" Page$' | head -n1) ||
  fail "the page range dialog did not appear: $(xdotool getwindowname "$wid")"
eval "$(xdotool getwindowgeometry --shell "$range")"
# A click on the dialog's edge gives it the keys; Enter is its action button.
xdotool mousemove $((X + WIDTH - 3)) $((Y + HEIGHT - 3)) click 1
xdotool key Return

sorted() { grep -q $'^01N=Alpha\r$' "$data" && grep -q $'^03N=zeta\r$' "$data"; }
wait_for sorted || fail "the page was not sorted: $(tr -d '\r' <"$data" | tr '\n' ' ')"
grep -q '^07N=' "$data" && fail "slot 7 still holds a bookmark"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
