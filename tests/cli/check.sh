# label: net
# "check" against a local web server and one that never answers: the bad and updated links as
# a table, the stamps kept for the next run, the exit statuses.
source "$(dirname "$0")/cli.bash"

command -v python3 >/dev/null || { echo "SKIP: python3 is not installed"; exit 77; }

# start_server NAME CODE: runs a Python server that prints its port first; PORT is set.
start_server() {
    python3 -c "$2" >"$WORK/$1.port" 2>"$WORK/$1.log" &
    echo $! >>"$WORK/pids"
    local tries=0
    until [ -s "$WORK/$1.port" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "the $1 server did not start: $(cat "$WORK/$1.log")"
        sleep 0.05
    done
    PORT=$(head -n1 "$WORK/$1.port")
}
trap 'kill $(cat "$WORK/pids" 2>/dev/null) 2>/dev/null; rm -rf "$WORK"' EXIT

mkdir -p "$WORK/www/dir"
echo "<html>ok</html>" >"$WORK/www/ok.html"
touch -d "2024-01-02 03:04:05 UTC" "$WORK/www/ok.html"
start_server web "
import functools, http.server, sys
handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory='$WORK/www')
handler.log_message = lambda *a: None
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
print(server.server_address[1], flush=True)
server.serve_forever()"
WEB="http://127.0.0.1:$PORT"
# Listens, never accepts, never answers.
start_server silent "
import socket, time
s = socket.socket()
s.bind(('127.0.0.1', 0))
s.listen(8)
print(s.getsockname()[1], flush=True)
time.sleep(120)"
SILENT="http://127.0.0.1:$PORT/"

crlf "[Tabs]" "Count=2" "Tab1=Web" "Tab2=Else" \
     "[Web]" "01N=Ok" "01U=$WEB/ok.html" "02N=Missing" "02U=$WEB/missing.html" \
     "03N=Dir" "03U=$WEB/dir" "04N=Silent" "04U=$SILENT" "05N=Local" "05U=$WEB/nope" "05L=Yes" \
     "[Else]" "01N=Caf$(printf '\xe9')" "01U=$WEB/gone.html" >"$WORK/a.lvd"

stamp="Tue, 02 Jan 2024 03:04:05"
cli_run 1 check "$WORK/a.lvd" --timeout 1
printf '%s\n' \
    "Web	01	Ok	$WEB/ok.html	Last-Modified: $stamp GMT" \
    "Web	02	Missing	$WEB/missing.html	HTTP/1.0 404 File not found" \
    "Web	03	Dir	$WEB/dir	HTTP/1.0 301 Moved Permanently" \
    "Web	04	Silent	$SILENT	Site not Replying in time*" \
    "Else	01	Café	$WEB/gone.html	HTTP/1.0 404 File not found" >"$WORK/want"
cmp "$WORK/out" "$WORK/want" || { diff "$WORK/want" "$WORK/out" >&2; fail "first check"; }
expect_in "$WORK/err" "5 links checked: 4 bad, 1 updated"
grep -qaF "01D=$stamp " "$WORK/a.lvd" || fail "the stamp was not stored"

# The stamp is known now: the second run lists only the bad links, one at a time as well.
cli_run 1 check "$WORK/a.lvd" --timeout 1 --jobs 1
grep -v "Last-Modified" "$WORK/want" >"$WORK/want2"
cmp "$WORK/out" "$WORK/want2" || { diff "$WORK/want2" "$WORK/out" >&2; fail "second check"; }
expect_in "$WORK/err" "5 links checked: 4 bad, 0 updated"

cli_run 1 check "$WORK/a.lvd" --pages 2-2
[ "$(cut -f1,2 "$WORK/out")" = "Else	01" ] || fail "--pages 2-2 checks the second page only"

# No bad link: status 0.
crlf "[Tabs]" "Count=1" "Tab1=Good" "[Good]" "01N=Ok" "01U=$WEB/ok.html" >"$WORK/good.lvd"
cli_run 0 check "$WORK/good.lvd"
expect_in "$WORK/err" "1 link checked: 0 bad, 1 updated"

# Bad input.
cli_run 2 check "$WORK/a.lvd" --pages 2-3
expect_in "$WORK/err" "the file has pages 1-2"
cli_run 2 check "$WORK/a.lvd" --pages x
cli_run 2 check "$WORK/a.lvd" --jobs 17
cli_run 2 check "$WORK/a.lvd" --timeout 0
cli_run 2 check "$WORK/missing.lvd"
echo PASS
