#!/usr/bin/env bash
# Links the real program to a headless Chromium through its remote debugging port, under Xvfb:
# the tool bar's "Bookmark current Web Page" and a click on an empty bookmark both store the
# page the browser shows, and in Single mode a bookmark opens in that browser rather than in
# a new program.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool
require_isolated_chromium

# The pages the browser shows, served from a local folder.
site="$tmp/site"
mkdir -p "$site"
title="Linkvane Browser Link Check"
printf '<!DOCTYPE html><html><head><title>%s</title></head><body>first</body></html>\n' "$title" >"$site/first.html"
printf '<!DOCTYPE html><html><head><title>Second</title></head><body>second</body></html>\n' >"$site/second.html"
http_port=$(free_port)
first="http://127.0.0.1:$http_port/first.html"
second="http://127.0.0.1:$http_port/second.html"
serve_folder "$site" "$http_port" "$first"
start_chromium "$first" "$title"

start_display

# The configured browser is a stand-in that only records being started: every page here
# must come through the debugging port instead.
browser="$home/fake-browser"
printf '#!/bin/sh\necho "$@" >>"%s"\n' "$tmp/started" >"$browser"
chmod +x "$browser"

# The first bookmark leads to the second page; the rest of the page is empty.
data="$home/Link.lvd"
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n01N=Second\r\n01U=%s\r\n' "$second" >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\nDebugPort=%s\r\n' \
  "$data" "$browser" "$debug_port" >"$home/lvd.ini"

start_linkvane Link
eval "$(xdotool getwindowgeometry --shell "$wid")"

stored() { tr -d '\r' <"$data" | grep -qxF -- "$1"; }

# The tool bar under the menu bar starts 2 pixels in with the open button, the browser button,
# the Single and Multiple buttons, "Import links from current Web Page" and "Bookmark current
# Web Page", each 22 pixels wide.
bar_y=$((Y + 30))
xdotool mousemove $((X + 123)) "$bar_y" click 1
tries=50 wait_for stored "02U=$first" || fail "the tool bar button stored nothing: $(tr -d '\r' <"$data")"
stored "02N=$title" || fail "the tool bar button stored the wrong title: $(tr -d '\r' <"$data")"

# The second column is empty: walk down it until a click captures the page.
x=$((X + WIDTH * 3 / 8))
for y in $(seq $((Y + 44)) 4 $((Y + 90))); do
  xdotool mousemove "$x" "$y" click 1
  if tries=10 wait_for stored "21N=$title"; then break; fi
done
stored "21N=$title" || fail "no click on an empty bookmark captured the page: $(tr -d '\r' <"$data")"
stored "21U=$first" || fail "the empty bookmark stored the wrong address: $(tr -d '\r' <"$data")"

# Single mode, then the first bookmark: the browser itself goes to the second page.
xdotool mousemove $((X + 57)) "$bar_y" click 1
tries=50 wait_for bash -c "tr -d '\r' <'$home/lvd.ini' | grep -qx 'Pages=Single'" ||
  fail "Single mode was not stored: $(tr -d '\r' <"$home/lvd.ini")"
x=$((X + WIDTH / 8))
for y in $(seq $((Y + 44)) 4 $((Y + 90))); do
  xdotool mousemove "$x" "$y" click 1
  if tries=20 wait_for showing "$second"; then break; fi
done
showing "$second" || fail "Chromium never showed $second: $(tabs)"
[ ! -e "$tmp/started" ] || fail "the stand-in browser was started: $(cat "$tmp/started")"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
