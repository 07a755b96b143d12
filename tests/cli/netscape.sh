# import-netscape and export-netscape from a shell, and what another bookmark manager makes of
# our export.
source "$(dirname "$0")/cli.bash"

cat >"$WORK/b.html" <<'HTML'
<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Menu</H1>
<DL><p>
    <DT><A HREF="https://top.example/">Top</A>
    <DT><H3 ADD_DATE="1">Café</H3>
    <DL><p>
        <DT><A HREF="https://a.example/?x=1&amp;y=2" ADD_DATE="1">&lt;b&gt; &amp; 中</A>
        <DT><A HREF="javascript:alert(1)">js</A>
        <DT><A HREF="https://b.example/"></A>
    </DL><p>
</DL><p>
HTML

# Without --into: Netscape.lvd in the program directory; a second import needs --force.
cli_run 0 import-netscape "$WORK/b.html"
expect_in "$WORK/err" "Imported 3 links onto 2 pages of $LINKVANE_HOME/Netscape.lvd."
expect_in "$WORK/err" "Not taken: 1 link with javascript: address"
cli_run 2 import-netscape "$WORK/b.html"
expect_in "$WORK/err" "exists; add --force"
cli_run 0 import-netscape "$WORK/b.html" --force
cli_run 0 list "$LINKVANE_HOME/Netscape.lvd"
printf 'Menu\t01\tTop\thttps://top.example/\nCafé\t01\t<b> & 中\thttps://a.example/?x=1&y=2\nCafé\t02\thttps://b.example/\thttps://b.example/\n' >"$WORK/want"
cmp "$WORK/out" "$WORK/want" || { diff "$WORK/want" "$WORK/out" >&2; fail "imported pages"; }

# Bad input.
cli_run 2 import-netscape "$WORK/missing.html"
expect_in "$WORK/err" "cannot open $WORK/missing.html"
cli_run 2 import-netscape "$WORK"
cli_run 2 export-netscape "$WORK/missing.lvd" "$WORK/x.html"

# Export: a new file whole, an existing one added to only with --force; one page with --page.
cli_run 0 import-netscape "$WORK/b.html" --into "$WORK/c.lvd"
cli_run 0 export-netscape "$WORK/c.lvd" "$WORK/out.html"
expect_in "$WORK/err" "Exported 3 links in 2 folders to the new file $WORK/out.html."
head -1 "$WORK/out.html" | grep -qF '<!DOCTYPE NETSCAPE-Bookmark-file-1>' || fail "a whole document"
expect_in "$WORK/out.html" '&lt;b&gt; &amp; 中</A>'
cli_run 2 export-netscape "$WORK/c.lvd" "$WORK/out.html"
cli_run 0 export-netscape "$WORK/c.lvd" "$WORK/out.html" --page café --force
expect_in "$WORK/err" "Exported 2 links in 1 folder to the end of $WORK/out.html."
[ "$(grep -c '<H3 FOLDED' "$WORK/out.html")" = 3 ] || fail "appended one more folder"

# The round trip: our export read back gives the same table.
cli_run 0 list "$WORK/c.lvd"
cp "$WORK/out" "$WORK/before"
cli_run 0 export-netscape "$WORK/c.lvd" "$WORK/round.html"
cli_run 0 import-netscape "$WORK/round.html" --into "$WORK/d.lvd"
cli_run 0 list "$WORK/d.lvd"
cmp "$WORK/out" "$WORK/before" || { diff "$WORK/before" "$WORK/out" >&2; fail "round trip"; }

# A page password: plain addresses with it, the page left out (status 1) without it.
python3 - "$WORK/p.lvd" <<'PY'
import sys
def shift(text):  # character i (from 1) moves by i div 2
    return bytes((b + i // 2) % 256 for i, b in enumerate(text.encode("latin-1"), 1))
lines = [b"[Tabs]", b"Count=2", b"Tab1=Open", b"Tab2=Safe",
         b"P_\xdf_\xb6_=" + shift("Safepw") + b"\xa7",
         b"[Open]", b"01N=o", b"01U=http://o.example/",
         b"[Safe]", b"01N=s", b"01U=" + shift("http://s.example/") + b"\xb6" + shift("pw")]
open(sys.argv[1], "wb").write(b"".join(line + b"\r\n" for line in lines))
PY
cli_run 1 export-netscape "$WORK/p.lvd" "$WORK/p1.html"
expect_in "$WORK/err" 'The page "Safe" was not exported'
grep -q "Safe" "$WORK/p1.html" && fail "a locked page went out"
if LC_ALL=C grep -q "$(printf '\xb6')" "$WORK/p1.html"; then fail "scrambled text went out"; fi
cli_run 0 export-netscape "$WORK/p.lvd" "$WORK/p2.html" --password pw
expect_in "$WORK/p2.html" 'HREF="http://s.example/"'
expect_in "$WORK/err" "Exported 2 links in 2 folders"

# What buku makes of our export: every link arrives.
if command -v buku >/dev/null; then
    mkdir -p "$WORK/buku"
    HOME="$WORK/buku" XDG_DATA_HOME="$WORK/buku" buku --nostdin --tacit -i "$WORK/round.html" \
        >"$WORK/buku.out" 2>&1 </dev/null || { cat "$WORK/buku.out" >&2; fail "buku import"; }
    got=$(HOME="$WORK/buku" XDG_DATA_HOME="$WORK/buku" buku --nostdin --nc -p -f 10 </dev/null 2>/dev/null |
          grep -c '://')
    [ "$got" = 3 ] || { cat "$WORK/buku.out" >&2; fail "buku took $got of 3 links"; }
else
    echo "buku is not installed: its import of our export is not checked"
fi
echo PASS
