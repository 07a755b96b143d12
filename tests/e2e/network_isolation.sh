#!/usr/bin/env bash
# The network tests' sandbox holds: ctest starts this script the way it starts every network and
# browser test, and from here no interface but loopback is there, loopback is up, and no route
# leads off this machine (so nothing a test starts can send a packet elsewhere or ask a name
# server). Only the routing tables are read here; no packet is sent.
set -euo pipefail

command -v ip >/dev/null || { echo "SKIP: ip (iproute2) is not installed"; exit 77; }

links=$(ip -o link show | awk -F': ' '{print $2}')
[ "$links" = "lo" ] || { echo "FAIL: interfaces besides loopback: $(tr "\n" " " <<<"$links")" >&2; exit 1; }
ip -o link show lo | grep -q '[<,]UP[,>]' || { echo "FAIL: loopback is down" >&2; exit 1; }
ip route get 127.0.0.1 >/dev/null 2>&1 || { echo "FAIL: no route to 127.0.0.1" >&2; exit 1; }
# Every route of the namespace stays on loopback: no default route, and none over another device.
for family in -4 -6; do
  [ -z "$(ip "$family" route show default)" ] || { echo "FAIL: a default route ($family)" >&2; exit 1; }
  off=$(ip "$family" route show table all | grep -v ' dev lo' || true)
  [ -z "$off" ] || { echo "FAIL: routes off this machine ($family): $off" >&2; exit 1; }
done
echo "PASS"
