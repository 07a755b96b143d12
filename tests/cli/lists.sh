# label: net
# Favourites folders in and out, and the HTML list, from a terminal; the HTML list opened in a
# headless Chromium must show hostile titles as text and run nothing.
source "$(dirname "$0")/cli.bash"

# 85 shortcuts make Links and Links+; a shortcut without an address gets the home page.
fav="$WORK/Favorites"
mkdir -p "$fav/Links" "$fav/News" "$fav/Empty"
for i in $(seq 100 184); do
    crlf "[InternetShortcut]" "URL=http://l$i.example/" >"$fav/Links/L$i.url"
done
crlf "[InternetShortcut]" >"$fav/News/No address.url"
cli_run 0 import-favorites "$fav"
expect_in "$WORK/err" "Imported 86 links into 3 pages."
expect_in "$WORK/err" "written to $LINKVANE_HOME/IE.lvd"
cli_run 2 import-favorites "$fav"
expect_in "$WORK/err" "exists; add --force to replace it"
cli_run 0 import-favorites "$fav" --force
cli_run 0 list "$LINKVANE_HOME/IE.lvd" --page Links+
[ "$(wc -l <"$WORK/out")" = 5 ] || fail "Links+ holds the last five"
cli_run 0 list "$LINKVANE_HOME/IE.lvd" --page News
expect_in "$WORK/out" "No address	https://linkvane.example/"
cli_run 0 import-favorites "$fav/Links" --into "$WORK/links.lvd"
expect_in "$WORK/err" "Imported 85 links into 2 pages."
cli_run 2 import-favorites "$fav/Empty" --into "$WORK/none.lvd"
expect_in "$WORK/err" "no Internet shortcuts"
[ ! -e "$WORK/none.lvd" ] || fail "an empty tree writes no DataFile"
cli_run 2 import-favorites "$WORK/missing"
expect_in "$WORK/err" "is not a folder"

# Export: "A.B: News" becomes "A_B_ News.url", a colliding name gets " (2)".
crlf "[Tabs]" "Count=2" "Tab1=Daily" "Tab2=Other" "[Daily]" "01N=A.B: News" \
     "01U=http://news.example/" "02N=A,B: News" "02U=http://other.example/" \
     "[Other]" "01N=O" "01U=http://o.example/" >"$WORK/d.lvd"
cli_run 0 export-favorites "$WORK/d.lvd" "$WORK/shortcuts" --page daily
expect_in "$WORK/err" "2 shortcuts in 1 folders"
expect_in "$WORK/shortcuts/Daily/A_B_ News.url" "URL=http://news.example/"
expect_in "$WORK/shortcuts/Daily/A_B_ News (2).url" "URL=http://other.example/"
[ ! -e "$WORK/shortcuts/Other" ] || fail "--page exports one page"

# The HTML list: escaped titles and addresses, UTF-8, a page range.
crlf "[Tabs]" "Count=2" "Tab1=Work" "Tab2=More" "[Work]" \
     "01N=<script>document.title='pwned'</script>" "01U=http://x.example/" \
     "02N=\"quotes\" & ampersands" "02U=http://y.example/?a=1&b=2" \
     "03N=<img src=x onerror=\"document.title='pwned'\">" "03U=http://z.example/" \
     "04N=Caf$(printf '\xe9') &#20013;" "04U=http://c.example/" \
     "05N=Program" "05U=/usr/bin/true" "05L=Yes" \
     "[More]" "01N=M" "01U=http://m.example/" >"$WORK/h.lvd"
cli_run 0 export-html "$WORK/h.lvd" "$WORK/list.html"
expect_in "$WORK/err" "5 links from 2 pages written to $WORK/list.html"
expect_in "$WORK/list.html" '<META charset="utf-8">'
expect_in "$WORK/list.html" '&lt;script&gt;'
grep -q '/usr/bin/true' "$WORK/list.html" && fail "a local program is never listed"
cli_run 2 export-html "$WORK/h.lvd" "$WORK/list.html"
expect_in "$WORK/err" "exists; add --force"
cli_run 0 export-html "$WORK/h.lvd" "$WORK/more.html" --pages 2-2
expect_in "$WORK/more.html" 'Name="More"'
grep -q 'Name="Work"' "$WORK/more.html" && fail "--pages 2-2 lists More alone"
cli_run 2 export-html "$WORK/h.lvd" "$WORK/bad.html" --pages 1-3
expect_in "$WORK/err" "the file has pages 1-2"

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    echo "SKIP: no Chromium for the browser check"
    exit 77
fi
"$browser" --headless --no-sandbox --disable-gpu --user-data-dir="$WORK/profile" \
    --no-first-run --no-default-browser-check --disable-background-networking \
    --disable-component-update --disable-sync --disable-extensions --no-proxy-server \
    --dump-dom "file://$WORK/list.html" >"$WORK/dom" 2>"$WORK/chromium.log" ||
    { cat "$WORK/chromium.log" >&2; fail "chromium could not open the list"; }
expect_in "$WORK/dom" "&lt;script&gt;document.title='pwned'&lt;/script&gt;"
expect_in "$WORK/dom" '"quotes" &amp; ampersands'
expect_in "$WORK/dom" "&lt;img src=x onerror=\"document.title='pwned'\"&gt;"
expect_in "$WORK/dom" "Café 中"
expect_in "$WORK/dom" "<title>Bookmarks</title>"
grep -qi '<script\|<img' "$WORK/dom" && fail "markup of a title became an element"
grep -q 'pwned</title>' "$WORK/dom" && fail "a script ran"
echo PASS
