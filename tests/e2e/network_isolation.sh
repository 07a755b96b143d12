#!/usr/bin/env bash
# The network tests' sandbox holds: ctest starts this script the way it starts every network and
# browser test, and from here no interface but loopback is there, loopback is up, and no route
# leads off this machine (so nothing a test starts can send a packet elsewhere or ask a name
# server). Only routes are looked up here; no packet is sent.
set -euo pipefail

command -v ip >/dev/null || { echo "SKIP: ip (iproute2) is not installed"; exit 77; }

links=$(ip -o link show | awk -F': ' '{print $2}')
[ "$links" = "lo" ] || { echo "FAIL: interfaces besides loopback: $(tr "\n" " " <<<"$links")" >&2; exit 1; }
ip -o link show lo | grep -q '[<,]UP[,>]' || { echo "FAIL: loopback is down" >&2; exit 1; }
ip route get 127.0.0.1 >/dev/null 2>&1 || { echo "FAIL: no route to 127.0.0.1" >&2; exit 1; }
for address in 192.0.2.1 198.51.100.7; do
  if ip route get "$address" >/dev/null 2>&1; then
    echo "FAIL: a route leads to $address: $(ip route get "$address")" >&2
    exit 1
  fi
done
if ip -6 route get 2001:db8::1 >/dev/null 2>&1; then
  echo "FAIL: a route leads to 2001:db8::1" >&2
  exit 1
fi
echo "PASS"
