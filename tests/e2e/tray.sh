#!/usr/bin/env bash
# The tray: a program started "in the tray" shows only its icon in a real tray host, the icon's
# menu holds the newest ten recent bookmarks (the last item is the tenth), a recent entry opens
# its bookmark in the browser, and a click on the icon brings the window back.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool jwm trayer

start_display
make_recording_browser

# A window manager without a tray of its own, and a tray host at the top of the screen.
printf '<?xml version="1.0"?>\n<JWM></JWM>\n' >"$tmp/jwmrc"
jwm -f "$tmp/jwmrc" >"$tmp/jwm.log" 2>&1 &
extra_pids="$!"
trayer --edge top --align right --widthtype request --height 32 --SetDockType false \
  >"$tmp/trayer.log" 2>&1 &
extra_pids="$extra_pids $!"
timeout 10 xdotool search --sync --onlyvisible --class trayer >/dev/null ||
  fail "the tray host did not start: $(cat "$tmp/trayer.log")"

# Twelve bookmarks, and a recent list of all twelve, Site 1 the newest.
data="$home/Tray.lvd"
{
  printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n'
  for n in $(seq 1 12); do
    printf '%02dN=Site %d\r\n%02dU=http://127.0.0.1:9/%d\r\n' "$n" "$n" "$n" "$n"
  done
  printf '[MRU]\r\nCount=12\r\n'
  for n in $(seq 1 12); do
    printf '%d=Site %d  |Home::%02d\r\n' "$n" "$n" "$n"
  done
} >"$data"
printf '[File]\r\nName=%s\r\n[Location]\r\nTray=Yes\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\n' \
  "$data" "$browser" >"$home/lvd.ini"

"$LINKVANE_BIN" >"$tmp/app.log" 2>&1 &
app_pid=$!
icon=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1) ||
  fail "no tray icon appeared: $(cat "$tmp/app.log")"
if xdotool search --onlyvisible --name '^Linkvane  \[ Tray \]' >/dev/null 2>&1; then
  fail "the main window showed although the program starts in the tray"
fi

# The icon's menu at the pointer; the pointer then leaves it, so Up picks the menu's last item.
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
menu_open() { [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -ge 2 ]; }
wait_for menu_open || fail "the tray menu did not open"
xdotool mousemove 0 700
sleep 0.3
xdotool key Up Return
launched() { [ -f "$tmp/argv" ]; }
wait_for launched || fail "the recent entry did not launch: $(cat "$tmp/app.log")"
printf '1\n%s\n' "http://127.0.0.1:9/10" >"$tmp/expected"
cmp "$tmp/expected" "$tmp/argv" || fail "the last menu item launched: $(cat "$tmp/argv")"

# A click on the icon brings the window back.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
timeout 10 xdotool search --sync --onlyvisible --name '^Linkvane  \[ Tray \]' >/dev/null ||
  fail "a click on the tray icon did not bring the window back"

# The launched entry moved to the top, and is saved so at the end.
kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
grep -q $'^1=Site 10  |Home::10\r$' "$data" || fail "the recent list was not saved: $(grep -a -A3 MRU "$data")"
echo "PASS"
