#!/usr/bin/env bash
# The tool bar's "Import links from current Web Page" under Xvfb with a real click: the links of
# the page a headless Chromium shows become bookmarks in the free slots of the current page, and
# the icon of the page comes for a bookmark that is clicked.
set -euo pipefail

source "$(dirname "$0")/session.bash"
require_tools Xvfb xdotool
require_isolated_chromium

site="$tmp/site"
mkdir -p "$site/img"
http_port=$(free_port)
base="http://127.0.0.1:$http_port"
title="Linkvane Import Check"
cat >"$site/links.html" <<HTML
<!DOCTYPE html><html><head><title>$title</title></head><body>
<a href="$base/one.html">One &amp; only</a>
<p>no link here</p>
<a href="https://secure.example/two">Two</a>
</body></html>
HTML
printf '<html><head><title>One</title><link rel=icon href=/img/Site.GIF></head><body>one</body></html>\n' >"$site/one.html"
printf 'GIF89a\001\000\001\000\200\000\000\000\000\000\377\377\377!\371\004\001\000\000\000\000,\000\000\000\000\001\000\001\000\000\002\002D\001\000;' >"$site/img/Site.GIF"
serve_folder "$site" "$http_port" "$base/links.html"
start_chromium "$base/links.html" "$title"

start_display
make_recording_browser

# Slot 2 is taken: the links go to slots 1 and 3.
data="$home/Web.lvd"
printf '[Tabs]\r\nCount=1\r\nTab1=Home\r\n[Home]\r\n02N=Mine\r\n02U=http://mine.example/\r\n02G=57\r\n' >"$data"
printf '[File]\r\nName=%s\r\n[Show]\r\nPages=Multiple\r\n[Browser]\r\nCount=1\r\nSelected=1\r\n1=%s\r\nDebugPort=%s\r\n' \
  "$data" "$browser" "$debug_port" >"$home/lvd.ini"

start_linkvane Web
eval "$(xdotool getwindowgeometry --shell "$wid")"
stored() { tr -d '\r' <"$data" | grep -qxF -- "$1"; }

# The fifth tool button (2 pixels in, 22 pixels each): "Import links from current Web Page".
xdotool mousemove $((X + 101)) $((Y + 30)) click 1
tries=100 wait_for stored "03U=https://secure.example/two" ||
  fail "the page's links were not imported: $(tr -d '\r' <"$data")"
stored "01U=$base/one.html" || fail "the first link is not in slot 1: $(tr -d '\r' <"$data")"
stored "01N=One & only" || fail "the first title is wrong: $(tr -d '\r' <"$data")"
stored "02U=http://mine.example/" || fail "the taken slot was overwritten: $(tr -d '\r' <"$data")"
stored "03N=Two" || fail "the second title is wrong: $(tr -d '\r' <"$data")"

# A click on the imported bookmark launches it and fetches its site's icon.
x=$((X + WIDTH / 8))
for y in $(seq $((Y + 44)) 4 $((Y + 60))); do
  xdotool mousemove "$x" "$y" click 1
  if tries=30 wait_for test -s "$tmp/argv"; then break; fi
done
grep -qxF -- "$base/one.html" "$tmp/argv" || fail "the bookmark was not launched: $(cat "$tmp/argv" 2>/dev/null)"
tries=100 wait_for stored "01G=600" || fail "no icon came for the clicked bookmark: $(tr -d '\r' <"$data")"
# Stored under the site's name, as a GIF whatever the address's letter case said.
icon="$home/Webwebicons/127_0_0_1_${http_port}_one_html.gif"
stored "01I=$icon" || fail "I does not name the icon: $(tr -d '\r' <"$data")"
cmp -s "$icon" "$site/img/Site.GIF" || fail "the icon file is not the site's: $(ls -l "$home/Webwebicons/")"

kill -TERM "$app_pid"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "PASS"
