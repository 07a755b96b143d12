#!/usr/bin/env bash
# File > Import Bookmarks > Import Netscape Bookmarks from the keyboard under Xvfb, on a bookmark
# file large enough to take a while: the file dialog takes the typed path, a progress window
# shows while the file is read, the summary names what arrived, and Netscape.lvd is current.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

bookmarks="$tmp/bookmarks.html"
{
  printf '<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n<H1>Menu</H1>\n<DL><p>\n'
  for folder in $(seq 1 500); do
    printf '<DT><H3 ADD_DATE="1">Folder %s</H3>\n<DL><p>\n' "$folder"
    for link in $(seq 1 240); do
      printf '<DT><A HREF="https://example.com/%s/%s" ADD_DATE="1" ICON="data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8">Link %s of folder %s</A>\n' \
        "$folder" "$link" "$link" "$folder"
    done
    printf '</DL><p>\n'
  done
  printf '</DL>\n'
} >"$bookmarks"

start_linkvane Disk

# Without a window manager a click hands the window the keys: one on the empty end of the menu
# bar, clear of the tool buttons.
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + WIDTH - 10)) $((Y + 8)) click 1
xdotool key --delay 200 alt+f i n

dialog=$(timeout 20 xdotool search --sync --name '^Select Netscape bookmark file$' | head -n1) ||
  fail "the file dialog did not appear"
# The file name field has the keys.
sleep 0.5
xdotool type --delay 5 "$bookmarks"
xdotool key Return

# The progress window comes up while the file is read, then the summary.
# The window may show for well under a second on a fast machine: it is looked for without a
# pause until it is seen.
progress_seen=no
written=no
began=$(date +%s)
while [ $(($(date +%s) - began)) -lt 60 ]; do
  if [ "$progress_seen" = no ] &&
    xdotool search --onlyvisible --name '^Importing bookmarks$' >/dev/null 2>&1; then
    progress_seen=yes
  fi
  if [ -f "$home/Netscape.lvd" ] && grep -q $'^Count=1500\r$' "$home/Netscape.lvd"; then
    written=yes
    break
  fi
  [ "$progress_seen" = yes ] && sleep 0.1
done
[ "$written" = yes ] || fail "Netscape.lvd was not written: $(ls "$home"; cat "$tmp/app.log")"
[ "$progress_seen" = yes ] || fail "no progress window showed while the file was read"
# The summary box: a click on its edge gives it the keys, Enter closes it, and then the window
# shows the imported file.
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Linkvane$' | head -n1) ||
  fail "no summary appeared"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH - 3)) $((Y + HEIGHT - 3)) click 1
xdotool key Return
title() { xdotool getwindowname "$wid" | grep -q 'Netscape'; }
tries=200 wait_for title || fail "the window does not show Netscape.lvd: $(xdotool getwindowname "$wid")"
grep -q $'^Tab1500=Folder 500++\r$' "$home/Netscape.lvd" || fail "the last folder is missing"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
