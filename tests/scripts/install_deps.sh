#!/usr/bin/env bash
# scripts/install-deps against fake dpkg-query, apt-get, sudo and service tools: the run set
# holds no test tools, the test set adds them and leaves nginx stopped and disabled with no
# chance to start during the install, and without root or sudo the script says what to run.
set -euo pipefail
script=${1:?the install-deps script}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

bin=$tmp/bin
mkdir -p "$bin"
for tool in sh chmod rm cat; do ln -s "$(command -v $tool)" "$bin/$tool"; done
log=$tmp/log
policy=$tmp/policy-rc.d
fake() {
  printf '#!%s\n%s\n' "$(command -v bash)" "$2" >"$bin/$1"
  /bin/chmod 755 "$bin/$1"
}
fake id 'echo "$FAKE_UID"'
# Every package missing unless FAKE_INSTALLED says otherwise.
fake dpkg-query '[ -n "${FAKE_INSTALLED:-}" ] && echo "install ok installed" || exit 1'
fake apt-get "echo \"apt-get \$* policy=\$( [ -x $policy ] && $policy; echo \$?)\" >>$log"
for tool in systemctl service update-rc.d; do fake "$tool" "echo \"$tool \$*\" >>$log"; done

run() { # uid, then the arguments; leaves the status in $status, the output in $out
  local uid=$1
  shift
  : >"$log"
  status=0
  out=$(env -i PATH="$bin" FAKE_UID="$uid" FAKE_INSTALLED="${FAKE_INSTALLED:-}" \
    INSTALL_DEPS_POLICY_RC_D="$policy" "$(command -v bash)" "$script" "$@" 2>&1) || status=$?
}
installs() { grep '^apt-get install' "$log" || true; }

# Building and running only: the program's libraries, no test tools, no services touched.
run 0
[ "$status" -eq 0 ] || fail "run set: status $status: $out"
for p in qt6-base-dev libqt6svg6 libssl-dev libicu-dev xdg-utils; do
  installs | grep -qw -- "$p" || fail "run set lacks $p: $(installs)"
done
for p in chromium nginx-light libgtest-dev xvfb python3-aiosmtpd clang-format; do
  ! installs | grep -qw -- "$p" || fail "run set installs the test tool $p"
done
! grep -q 'nginx' "$log" || fail "run set touched nginx: $(cat "$log")"

# The test set: the test tools, nginx kept from starting and then stopped and disabled.
run 0 test
[ "$status" -eq 0 ] || fail "test set: status $status: $out"
for p in qt6-base-dev chromium nginx-light libgtest-dev xvfb xdotool python3-aiosmtpd; do
  installs | grep -qw -- "$p" || fail "test set lacks $p: $(installs)"
done
installs | grep -q 'policy=101$' || fail "services could start during the install: $(installs)"
[ ! -e "$policy" ] || fail "policy-rc.d was left behind"
grep -qx 'systemctl disable --now nginx' "$log" || fail "nginx not disabled: $(cat "$log")"
grep -qx 'service nginx stop' "$log" || fail "nginx not stopped: $(cat "$log")"
grep -qx 'update-rc.d nginx disable' "$log" || fail "nginx not disabled for sysvinit"

# Not root and no sudo: the command to run as root, and a failure.
run 1000 test
[ "$status" -ne 0 ] || fail "no root, no sudo: reported success"
grep -q 'apt-get update && apt-get install -y --no-install-recommends .*nginx-light' <<<"$out" ||
  fail "no root, no sudo: no command to run: $out"
grep -q 'sudo: command not found' <<<"$out" && fail "no root, no sudo: $out"
[ ! -s "$log" ] || fail "no root, no sudo: tried anyway: $(cat "$log")"

# Not root with sudo: apt-get through sudo.
fake sudo "echo sudo >>$log; exec \"\$@\""
run 1000
[ "$status" -eq 0 ] || fail "with sudo: status $status: $out"
grep -qx sudo "$log" && installs | grep -q qt6-base-dev || fail "with sudo: $(cat "$log")"

# Everything there: nothing to do, nothing said.
FAKE_INSTALLED=1 run 1000 test
[ "$status" -eq 0 ] && [ -z "$out" ] && [ ! -s "$log" ] || fail "all installed: $out"
echo ok
