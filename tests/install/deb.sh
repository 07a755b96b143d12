#!/usr/bin/env bash
# The package of `make deb`: lintian finds no errors, apt installs it, the program starts from
# /usr/bin, and removing and purging it leaves none of its files. Changes the system, so it runs
# only as root and only where no Linkvane package is installed already.
set -euo pipefail
source=${LINKVANE_SOURCE_DIR:?}
version=${LV_VERSION:?}

skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || skip "installing the package needs root"
for tool in apt-get dpkg dpkg-deb lintian; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
shopt -s nullglob
debs=("$source"/build-deb/linkvane_*.deb)
[[ ${#debs[@]} -eq 1 ]] || skip "no single build-deb/linkvane_*.deb: run make deb first"
deb=${debs[0]}
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || skip "$deb is not version $version: run make deb again"
status=$(dpkg-query -W -f='${Status}' linkvane 2>/dev/null || true)
[[ -z $status || $status == *not-installed ]] || skip "a linkvane package is installed already; this test would remove it"

# Dependencies come from the libraries the program links.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] || fail "Depends lacks the linked libraries"
[[ $depends == *qt6-qpa-plugins* ]] || fail "Depends lacks the platform plugins Qt needs for a window"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

export DEBIAN_FRONTEND=noninteractive
tmp=$(mktemp -d)
cleanup() {
  apt-get purge -y -qq linkvane >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
# The dependencies are installed already; the test runs without a network, so nothing is fetched.
apt-get install -y -qq "$deb" >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; fail "apt-get install"; }
[[ $(command -v linkvane) == /usr/bin/linkvane ]] || fail "linkvane is not /usr/bin/linkvane"
out=$(cd "$tmp" && LINKVANE_HOME=$tmp QT_QPA_PLATFORM=offscreen timeout 30 /usr/bin/linkvane --version 2>&1) ||
  fail "/usr/bin/linkvane --version failed or did not exit: $out"
echo "$out"
grep -qF "$version" <<<"$out" || fail "linkvane --version does not print $version"
grep -qxF "Help page: /usr/share/linkvane/help.html" <<<"$out" || fail "linkvane does not use the installed help page"
for file in /usr/share/linkvane/help.html /usr/share/applications/linkvane.desktop \
  /usr/share/man/man1/linkvane.1.gz /usr/share/icons/hicolor/48x48/apps/linkvane.png \
  /usr/share/doc/linkvane/copyright; do
  [[ -s $file ]] || fail "the package did not install $file"
done

# The installed program starts for real (offscreen), makes its settings and bookmark files and ends on SIGTERM.
mkdir -p "$tmp/home"
(cd "$tmp" && LINKVANE_HOME=$tmp/home QT_QPA_PLATFORM=offscreen exec /usr/bin/linkvane) \
  >"$tmp/run.log" 2>&1 &
run_pid=$!
for _ in $(seq 100); do
  [[ -e $tmp/home/Disk.LVD && -s $tmp/home/LVD.INI ]] && break
  sleep 0.1
done
[[ -e $tmp/home/Disk.LVD ]] || { kill "$run_pid" 2>/dev/null; fail "the installed program did not start: $(cat "$tmp/run.log")"; }
kill -TERM "$run_pid"
wait "$run_pid" || fail "the installed program ended with status $? on SIGTERM: $(cat "$tmp/run.log")"

mapfile -t installed < <(dpkg -L linkvane)
apt-get remove -y -qq linkvane >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; fail "apt-get remove"; }
# A package without configuration files is gone after the removal; one that left some is purged.
if [[ $(dpkg-query -W -f='${Status}' linkvane 2>/dev/null) == *config-files ]]; then
  apt-get purge -y -qq linkvane >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; fail "apt-get purge"; }
fi
[[ -z $(dpkg-query -W -f='${Status}' linkvane 2>/dev/null | grep -v not-installed) ]] || fail "still known to dpkg"
for path in "${installed[@]}"; do
  [[ ! -f $path && ! -L $path ]] || fail "removal left $path"
done
[[ ! -e /usr/share/linkvane && ! -e /usr/share/doc/linkvane ]] || fail "removal left a folder of its own"
echo "package ok"
