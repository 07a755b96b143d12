#!/usr/bin/env bash
# Drags a page tab onto another with the real mouse under Xvfb and answers "Move / Copy" with
# the keyboard; then carries a page with Tabs > Move Page and drops it with a right click on a
# tab. After each step the DataFile's [Tabs] must list the pages in the new order, with every
# page's bookmarks where they were.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

data="$home/Drag.lvd"
{
  printf '[Tabs]\r\nCount=4\r\nTab1=P1\r\nTab2=P2\r\nTab3=P3\r\nTab4=P4\r\n'
  for page in 1 2 3 4; do
    printf '[P%d]\r\n01N=Site %d\r\n01U=http://127.0.0.1:1/p%d\r\n' "$page" "$page" "$page"
  done
} >"$data"
printf '[File]\r\nName=%s\r\n' "$data" >"$home/lvd.ini"

start_linkvane Drag

title_has() { xdotool getwindowname "$wid" | grep -q -- "$1"; }
tabs_are() { [ "$(tr -d '\r' <"$data" | sed -n '/^\[Tabs\]/,/^\[/p' | grep '^Tab[1-4]=' | cut -d= -f2 | paste -sd' ')" = "$1" ]; }
count_is() { tr -d '\r' <"$data" | sed -n '/^\[Tabs\]/,/^\[/p' | grep -qx "Count=$1"; }
# Answers the question window of that title with one key.
answer() {
  local dialog
  dialog=$(timeout 10 xdotool search --sync --name "^$1\$" | head -n1) ||
    fail "no \"$1\" question: $(cat "$tmp/app.log")"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key --delay 100 "$2"
}

title_has 'Page 1 of 4' || fail "first caption: $(xdotool getwindowname "$wid")"
eval "$(xdotool getwindowgeometry --shell "$wid")"
y=$((Y + HEIGHT - 8))

# Where the tabs are: click along the row; the caption says which page each x belongs to.
declare -a first last
page=1
for x in $(seq $((X + 4)) 5 $((X + 400))); do
  xdotool mousemove "$x" "$y" click 1
  if [ "$page" -lt 4 ] && tries=3 wait_for title_has "Page $((page + 1)) of 4"; then
    page=$((page + 1))
  fi
  if title_has "Page $page of 4"; then
    first[page]=${first[page]:-$x}
    last[page]=$x
  fi
done
[ "$page" = 4 ] || fail "found only $page tabs"
mid() { echo $(((first[$1] + last[$1]) / 2)); }

# Tab 1 dragged onto tab 3 and moved there: it ends at index 3.
xdotool mousemove "$(mid 1)" "$y" click 1
tries=30 wait_for title_has 'Page 1 of 4' || fail "tab 1 was not selected"
xdotool mousemove "$(mid 1)" "$y" mousedown 1
xdotool mousemove $(($(mid 1) + 10)) "$y"
xdotool mousemove "$(mid 2)" "$y"
xdotool mousemove "$(mid 3)" "$y" mouseup 1
answer 'Move / Copy' Return
wait_for tabs_are 'P2 P3 P1 P4' || fail "after the drag the tabs are: $(tr -d '\r' <"$data" | head -6)"
tries=30 wait_for title_has 'Page 3 of 4' || fail "the dropped tab is not current"

# Tabs > Move Page takes the current page's tab away; a right click on the first tab puts it
# back there.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
xdotool key --delay 400 alt+t m
wait_for count_is 3 || fail "Move Page left the tabs at: $(tr -d '\r' <"$data" | head -6)"
xdotool mousemove "$(mid 1)" "$y" click 3
wait_for count_is 4 || fail "the right click dropped nothing: $(cat "$tmp/app.log")"
wait_for tabs_are 'P1 P2 P3 P4' || fail "after the drop the tabs are: $(tr -d '\r' <"$data" | head -6)"

for page in 1 2 3 4; do
  tr -d '\r' <"$data" | sed -n "/^\[P$page\]/,/^\[/p" | grep -qx "01U=http://127.0.0.1:1/p$page" ||
    fail "page P$page lost its bookmark"
done

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
