# search and dupes over a small DataFile: the window's columns, tab-separated.
source "$(dirname "$0")/cli.bash"

crlf "[Tabs]" "Count=2" "Tab1=Caf$(printf '\xe9')" "Tab2=Work" \
     "[Caf$(printf '\xe9')]" "01N=News" "01U=http://news.example.com/" "01P=Daily|~head	lines" \
     "02N=Shop" "02U=http://shop.example.com/" "03N=Locked" "03U=$(printf 'xx\xb6yy')" \
     "[Work]" "01N=News again" "01U=http://news.example.com/" \
     "02N=Shop upper" "02U=http://SHOP.example.com:80/" "45N=Far" "45U=http://far.example.com/" \
     >"$WORK/a.lvd"

# Rows: address, title, page, slot, notes; sorted by address.
cli_run 0 search "$WORK/a.lvd" news
printf 'http://news.example.com/\tNews\tCafé\t01\tDaily head lines\nhttp://news.example.com/\tNews again\tWork\t01\t\n' >"$WORK/want"
cmp "$WORK/out" "$WORK/want" || { diff "$WORK/want" "$WORK/out" >&2; fail "search table"; }
expect_in "$WORK/err" "2 of 6 bookmarks found"

# Fields, case, the protected text, and what a page of two columns shows.
cli_run 0 search "$WORK/a.lvd" SHOP --field url --case
[ "$(cut -f2 "$WORK/out")" = "Shop upper" ] || fail "--case"
cli_run 0 search "$WORK/a.lvd" "word prot" --field url
[ "$(cut -f2 "$WORK/out")" = "Locked" ] || fail "protected bookmarks by their shown text"
cli_run 0 search "$WORK/a.lvd" daily --field title
[ ! -s "$WORK/out" ] || fail "--field title looks at titles only"
cli_run 0 search "$WORK/a.lvd" far --columns 2
[ ! -s "$WORK/out" ] || fail "slot 45 is beyond two columns"
cli_run 0 search "$WORK/a.lvd" ""
[ ! -s "$WORK/out" ] || fail "an empty text finds nothing"
cli_run 2 search "$WORK/a.lvd" x --field body
expect_in "$WORK/err" "--field must be url, title, notes or all"
cli_run 2 search "$WORK/a.lvd"
cli_run 2 search "$WORK/missing.lvd" x

# Duplicates: exact texts only (status 1: found), or normalised addresses.
cli_run 1 dupes "$WORK/a.lvd"
printf 'http://news.example.com/\tNews\tCafé\t01\tDaily head lines\nhttp://news.example.com/\tNews again\tWork\t01\t\n\n' >"$WORK/want"
cmp "$WORK/out" "$WORK/want" || { diff "$WORK/want" "$WORK/out" >&2; fail "dupes table"; }
expect_in "$WORK/err" "2 bookmarks in 1 group of duplicates"
cli_run 1 dupes "$WORK/a.lvd" --normalise
[ "$(grep -c . "$WORK/out")" = 4 ] || fail "--normalise groups SHOP:80 with shop"
expect_in "$WORK/out" "http://SHOP.example.com:80/"
crlf "[Tabs]" "Count=1" "Tab1=A" "[A]" "01N=x" "01U=http://x/" >"$WORK/b.lvd"
cli_run 0 dupes "$WORK/b.lvd"
expect_in "$WORK/err" "** No Duplicate Bookmarks Found **"
echo PASS
