# The command table, help, and the errors every command shares; "list" over a small DataFile.
source "$(dirname "$0")/cli.bash"

cli_run 0 --help
for command in list; do
    expect_in "$WORK/out" "$command"
done
cli_run 0 --version
expect_in "$WORK/out" "linkvane-cli "
cli_run 2
cli_run 2 no-such-command
expect_in "$WORK/err" 'unknown command "no-such-command"'
cli_run 0 help list
expect_in "$WORK/out" "Usage: linkvane-cli list DATAFILE"

# Bad input: missing file, a folder, an unknown option, a missing value.
cli_run 2 list "$WORK/missing.lvd"
expect_in "$WORK/err" "cannot open $WORK/missing.lvd"
cli_run 2 list "$WORK"
expect_in "$WORK/err" "not a regular file"
crlf "[Tabs]" "Count=2" "Tab1=Caf$(printf '\xe9')" "Tab2=Tools" \
     "[Caf$(printf '\xe9')]" "01N=Tab	bed" "01U=https://example.com/" "03N=Secret" \
     "03U=$(printf 'xx\xb6yy')" "[Tools]" "80N=Last" "80U=/usr/bin/true" >"$WORK/a.lvd"
cli_run 2 list "$WORK/a.lvd" --bogus
expect_in "$WORK/err" "unknown option --bogus"
cli_run 2 list "$WORK/a.lvd" --page
expect_in "$WORK/err" "--page needs a value"

# The table: page and title decoded to UTF-8, tabs flattened, protected addresses hidden.
cli_run 0 list "$WORK/a.lvd"
printf 'Café\t01\tTab bed\thttps://example.com/\nCafé\t03\tSecret\tPassword Protected\nTools\t80\tLast\t/usr/bin/true\n' >"$WORK/want"
cmp "$WORK/out" "$WORK/want" || { diff "$WORK/want" "$WORK/out" >&2; fail "list table"; }
expect_in "$WORK/err" "3 bookmarks on 2 pages"
cli_run 0 list "$WORK/a.lvd" --page tools
[ "$(wc -l <"$WORK/out")" = 1 ] || fail "--page lists one page"
# A bare name not in the current directory is a file of the program directory.
cp "$WORK/a.lvd" "$LINKVANE_HOME/Mine.LVD"
(cd "$WORK" && cli_run 0 list mine.lvd)
[ "$(wc -l <"$WORK/out")" = 3 ] || fail "a bare name is looked up in the program directory"
cli_run 2 list "$WORK/a.lvd" --page Nowhere
expect_in "$WORK/err" 'no page named "Nowhere"'
echo PASS
