#!/usr/bin/env bash
# Global hotkeys with real key events under Xvfb: a fresh installation holds no key; keys set
# in "Define HotKeys" hide the window (Ctrl+Shift+F9) and bring it back (Ctrl+Shift+F10), also
# while NumLock, and NumLock with CapsLock, are on. (The X server's standard keymap keeps
# Ctrl+Alt+F1 .. F12 for switching terminals: those never reach any program.)
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool python3

start_display

data="$home/Keys.lvd"
printf '[Tabs]\r\nCount=1\r\nTab1=First\r\n[First]\r\n01N=Site\r\n01U=http://127.0.0.1:1/\r\n' >"$data"
printf '[File]\r\nName=%s\r\n' "$data" >"$home/lvd.ini"

start_linkvane Keys

shown() { xdotool search --onlyvisible --name '^Linkvane  \[ Keys \]' >/dev/null 2>&1; }
hidden() { ! shown; }
# The lock modifiers the server holds now: Lock (2) is CapsLock, Mod2 (16) NumLock.
modifiers() {
  python3 - <<'PY'
import ctypes
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
d = ctypes.c_void_p(x.XOpenDisplay(None))
w = ctypes.c_ulong()
i = ctypes.c_int()
mask = ctypes.c_uint()
x.XQueryPointer(d, ctypes.c_ulong(x.XDefaultRootWindow(d)), ctypes.byref(w), ctypes.byref(w),
                ctypes.byref(i), ctypes.byref(i), ctypes.byref(i), ctypes.byref(i),
                ctypes.byref(mask))
print(mask.value & (2 | 16))
PY
}

# A fresh installation registers nothing: the keys that are about to hide and show the window
# do nothing yet.
xdotool key ctrl+shift+F9
tries=10 wait_for hidden && fail "Ctrl+Shift+F9 hid the window of a fresh installation"

# Setup > Change &Hotkeys. "Searc&h for Web Page Icon" comes first with the same letter, so the
# letter is pressed until the dialog shows.
dialog=""
for presses in 1 2 3 4; do
  xdotool windowfocus --sync "$wid"
  xdotool key --delay 100 alt+s
  for _ in $(seq "$presses"); do xdotool key --delay 100 h; done
  xdotool key Return
  if dialog=$(tries=10 wait_for xdotool search --onlyvisible --name '^Define HotKeys$'); then
    break
  fi
  dialog=""
done
[ -n "$dialog" ] || fail "the hotkey dialog did not open: $(cat "$tmp/app.log")"
dialog=$(echo "$dialog" | head -n1)
xdotool windowfocus --sync "$dialog"

# The focus walks the rows box by box: Ctrl, Alt, Shift, key, Disable.
tabs() { for _ in $(seq "$1"); do xdotool key Tab; done; }
tabs 5
xdotool key space Tab Tab space                         # row 1: Ctrl, Shift
tabs 1
xdotool key ctrl+a
xdotool type F9
tabs 2
xdotool key space Tab Tab space                         # row 2: Ctrl, Shift
tabs 1
xdotool key ctrl+a
xdotool type F10
tabs 1
xdotool key space                                       # row 2 enabled: row 1 follows
tabs 16
xdotool key space                                       # "Save and Close"
tries=50 wait_for bash -c "! xdotool search --onlyvisible --name '^Define HotKeys$' >/dev/null" ||
  fail "the dialog stayed open"
ini=$(tr -d '\r' <"$home/lvd.ini")
for line in Key1=F9 Shift1=Ctrl,Shift D1=On Key2=F10 Shift2=Ctrl,Shift D2=On; do
  grep -qx "$line" <<<"$ini" || fail "lvd.ini lacks $line: $ini"
done

round_trip() {
  xdotool key ctrl+shift+F9
  wait_for hidden || fail "Ctrl+Shift+F9 did not hide the window ($1)"
  xdotool key ctrl+shift+F10
  wait_for shown || fail "Ctrl+Shift+F10 did not bring the window back ($1)"
}

[ "$(modifiers)" = 0 ] || fail "a lock is on at the start: $(modifiers)"
round_trip "no locks"
xdotool key Num_Lock
[ "$(modifiers)" = 16 ] || fail "NumLock did not turn on: $(modifiers)"
round_trip "NumLock on"
xdotool key Caps_Lock
[ "$(modifiers)" = 18 ] || fail "CapsLock did not turn on: $(modifiers)"
round_trip "NumLock and CapsLock on"
xdotool key Num_Lock Caps_Lock
[ "$(modifiers)" = 0 ] || fail "the locks did not turn off: $(modifiers)"
round_trip "locks off again"
echo "PASS"
