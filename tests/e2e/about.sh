#!/usr/bin/env bash
# The real program's window carries the application icon, and Help > About opens from the
# keyboard and closes with Return.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool xprop

start_display
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n01N=First\r\n01U=http://127.0.0.1:1/first\r\n' \
  >"$home/Start.lvd"
printf '[File]\r\nName=%s\r\n' "$home/Start.lvd" >"$home/lvd.ini"

start_linkvane Start

# _NET_WM_ICON: width, height, then the pixels; the icon comes in several sizes.
icon=$(xprop -id "$wid" -notype _NET_WM_ICON >"$tmp/icon"; head -c 4000 "$tmp/icon")
grep -q 'Icon (' <<<"$icon" || fail "the window has no icon: $icon"

xdotool windowfocus --sync "$wid"
xdotool key alt+h
sleep 0.3
xdotool key a
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About Linkvane$' | head -n1) ||
  fail "Help > About did not open: $(cat "$tmp/app.log")"
xdotool windowfocus --sync "$about"
xdotool key Return
tries=50 wait_for sh -c "! xdotool search --onlyvisible --name '^About Linkvane\$' >/dev/null" ||
  fail "the About box did not close"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?: $(cat "$tmp/app.log")"
app_pid=""
cat "$tmp/app.log"; echo ok
