# Shared by the linkvane-cli scripts: a private program directory, and checks that name what
# went wrong.
set -u
: "${LINKVANE_CLI:?run through ctest, which sets LINKVANE_CLI}"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export LINKVANE_HOME="$WORK/home"
export HOME="$WORK"
mkdir -p "$LINKVANE_HOME"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# cli_run STATUS ARGS...: runs linkvane-cli, output in $WORK/out and $WORK/err, and fails unless
# it exits with STATUS.
cli_run() {
    local want=$1
    shift
    local got=0
    "$LINKVANE_CLI" "$@" >"$WORK/out" 2>"$WORK/err" || got=$?
    if [ "$got" != "$want" ]; then
        echo "--- stdout" >&2; cat "$WORK/out" >&2
        echo "--- stderr" >&2; cat "$WORK/err" >&2
        fail "linkvane-cli $* exited with $got, expected $want"
    fi
}

# expect_in FILE TEXT: FILE contains TEXT (a fixed string).
expect_in() {
    grep -qF -- "$2" "$1" || { cat "$1" >&2; fail "\"$2\" not in $(basename "$1")"; }
}

# crlf TEXT...: the lines joined with CR LF, as the program writes its files.
crlf() {
    printf '%s\r\n' "$@"
}
