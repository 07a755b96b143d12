#!/usr/bin/env bash
# The program can always be closed: a termination request while the start-up error box is open
# ends it; so does one whose save at close fails (reported on stderr, exit status 1); and
# "Exit Linkvane" with a failing save shows the error and then exits.
set -euo pipefail

# The failing saves need a read-only program directory; for root, who writes anywhere, that is
# a read-only bind mount in a mount namespace of this script's own.
if [ "$(id -u)" -eq 0 ] && [ -z "${LINKVANE_PRIVATE_MOUNTS:-}" ] &&
  unshare --mount --propagation private true 2>/dev/null; then
  LINKVANE_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool

start_display

# A program that no longer ends on SIGTERM would hold the clean-up forever.
fail() {
  [ -z "$app_pid" ] || kill -KILL "$app_pid" 2>/dev/null || true
  [ -z "$locked" ] || writable
  echo "FAIL: $*" >&2
  exit 1
}

# True once the program has ended (or is only waiting to be reaped); its status is in $status.
ended() {
  local state
  state=$(ps -o stat= -p "$app_pid" 2>/dev/null || true)
  [ -n "$state" ] && [ "${state#Z}" = "$state" ] && return 1
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
}

start_app() {
  "$LINKVANE_BIN" >"$tmp/app.log" 2>&1 &
  app_pid=$!
}

# The only box the program shows is titled "Linkvane"; the main window's title goes on. (A
# search can fail on a window that goes away meanwhile, a menu's: it is tried again.)
find_box() { box=$(xdotool search --onlyvisible --name '^Linkvane$' 2>/dev/null | head -n1) && [ -n "$box" ]; }
wait_box() {
  tries=200 wait_for find_box && echo "$box"
}

locked=""
read_only() {
  locked=1
  if [ -n "${LINKVANE_PRIVATE_MOUNTS:-}" ]; then
    mount --bind "$home" "$home" && mount -o remount,bind,ro "$home"
  elif [ "$(id -u)" -ne 0 ]; then
    chmod -R a-w "$home"
  else
    return 1
  fi
}

writable() {
  locked=""
  if [ -n "${LINKVANE_PRIVATE_MOUNTS:-}" ]; then
    umount "$home"
  else
    chmod -R u+w "$home"
  fi
}

# 1. A DataFile that cannot be opened (a folder) gives the error box before the window shows;
# SIGTERM ends the program there, and within bounded time.
mkdir "$home/Folder.lvd"
printf '[File]\r\nName=%s\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=/bin/true\r\n' \
  "$home/Folder.lvd" >"$home/lvd.ini"
start_app
wait_box >/dev/null || fail "no start-up error box: $(cat "$tmp/app.log")"
kill -TERM "$app_pid"
tries=100 wait_for ended || fail "SIGTERM while the start-up error box was open did not end it"
[ "$status" -le 1 ] || fail "the program ended with status $status: $(cat "$tmp/app.log")"

# A DataFile that opens, for the saves at close.
data="$home/Saves.lvd"
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n01N=Local\r\n01U=http://127.0.0.1:1/\r\n' >"$data"
printf '[File]\r\nName=%s\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=/bin/true\r\n' \
  "$data" >"$home/lvd.ini"
main_window() { timeout 20 xdotool search --sync --onlyvisible --name '^Linkvane  \[ Saves \]' | head -n1; }

if ! read_only 2>/dev/null; then
  echo "the failing saves at close are not tried: no read-only folder can be made here"
  echo "PASS"
  exit 0
fi
writable

# 2. SIGTERM with a save at close that fails: reported on stderr, then the program ends.
start_app
main_window >/dev/null || fail "the main window did not appear: $(cat "$tmp/app.log")"
read_only
kill -TERM "$app_pid"
tries=100 wait_for ended || fail "SIGTERM with a failing save at close did not end the program"
writable
[ "$status" -eq 1 ] || fail "a failed save at close ended with status $status"
grep -q '^linkvane: ' "$tmp/app.log" || fail "the failed save was not reported: $(cat "$tmp/app.log")"

# 3. "Exit Linkvane" with a save that fails: the error box, then the program ends.
start_app
wid=$(main_window) || fail "the main window did not appear: $(cat "$tmp/app.log")"
read_only
# With no window manager the keyboard follows the pointer: the File menu by a click on it.
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
sleep 0.5
xdotool key x
# Each save that fails (the window's place, the page passwords) has its box; each is answered.
boxes=0
while [ -n "$app_pid" ] && [ "$boxes" -lt 4 ]; do
  box=$(wait_box) || break
  boxes=$((boxes + 1))
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.2
  xdotool key Return
  tries=20 wait_for ended || true
done
[ "$boxes" -gt 0 ] || fail "no error box for the failed save at close"
[ -z "$app_pid" ] || tries=100 wait_for ended || fail "the program did not end after reporting the failed save"
writable
[ "$status" -eq 1 ] || fail "a failed save at close ended with status $status"
echo "PASS"
