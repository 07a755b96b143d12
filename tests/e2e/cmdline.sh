#!/usr/bin/env bash
# --version and --help answer without a display and leave no window; the help page is found
# in the installed layout (bin/ beside share/linkvane/) and beside a portable copy.
set -euo pipefail

source "$(dirname "$0")/session.bash"

version_of() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" --version; }

out=$(version_of "$LINKVANE_BIN") || fail "--version without a display ended with status $?"
[[ "$(head -n1 <<<"$out")" =~ ^linkvane\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed: $out"
out2=$(QT_QPA_PLATFORM=offscreen "$LINKVANE_BIN" --version) || fail "--version offscreen failed"
[ "$out2" = "$out" ] || fail "--version offscreen printed: $out2"
usage=$(env -u DISPLAY "$LINKVANE_BIN" --help) || fail "--help ended with status $?"
grep -q '^Usage: linkvane' <<<"$usage" || fail "--help printed: $usage"

# The installed layout: <prefix>/bin/linkvane and <prefix>/share/linkvane/help.html.
mkdir -p "$tmp/prefix/bin" "$tmp/prefix/share/linkvane"
cp "$LINKVANE_BIN" "$tmp/prefix/bin/linkvane"
echo '<html></html>' >"$tmp/prefix/share/linkvane/help.html"
out=$(version_of "$tmp/prefix/bin/linkvane")
grep -qx "Help page: $tmp/prefix/share/linkvane/help.html" <<<"$out" ||
  fail "the installed copy did not find its help page: $out"

# A portable copy: the help page beside the program.
mkdir -p "$tmp/portable"
cp "$LINKVANE_BIN" "$tmp/portable/linkvane"
echo '<html></html>' >"$tmp/portable/help.html"
out=$(version_of "$tmp/portable/linkvane")
grep -qx "Help page: $tmp/portable/help.html" <<<"$out" ||
  fail "the portable copy did not find its help page: $out"

# Neither: the help page of the source tree it was built from.
rm "$tmp/portable/help.html"
out=$(version_of "$tmp/portable/linkvane")
grep -qx "Help page: .*/docs/help.html" <<<"$out" || fail "a copy without a help page printed: $out"
echo "ok"
