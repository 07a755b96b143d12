#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, checks the installed files with the tools a desktop
# uses on them, runs the installed program, then uninstalls and checks nothing is left.
set -euo pipefail
build=${LINKVANE_BUILD_DIR:?}
source=${LINKVANE_SOURCE_DIR:?}
version=${LV_VERSION:?}

for tool in desktop-file-validate appstreamcli man gzip; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs the test tools)"
    exit 77
  fi
done

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
root=$tmp/stage$prefix
DESTDIR=$tmp/stage cmake --install "$build" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }

# Every file at its place; the PNG icons at the size their folder names.
for file in bin/linkvane bin/linkvane-cli share/linkvane/help.html share/applications/linkvane.desktop \
  share/mime/packages/linkvane.xml share/metainfo/org.linkvane.Linkvane.metainfo.xml \
  share/man/man1/linkvane.1.gz share/man/man1/linkvane-cli.1.gz share/icons/hicolor/scalable/apps/linkvane.svg; do
  [[ -s $root/$file ]] || fail "$file is not installed"
done
for program in linkvane linkvane-cli; do
  [[ -x $root/bin/$program ]] || fail "bin/$program is not executable"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$root/share/icons/hicolor/${size}x${size}/apps/linkvane.png
  [[ -s $png ]] || fail "no ${size}x${size} icon"
  # The PNG header: the signature, then IHDR with the width and height as 32-bit big-endian.
  read -r -a header <<<"$(od -An -v -tu1 -N24 "$png" | tr -s ' \n' ' ')"
  [[ "${header[*]:0:8}" == "137 80 78 71 13 10 26 10" ]] || fail "$png is not a PNG"
  width=$(((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19]))
  height=$(((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23]))
  [[ $width == "$size" && $height == "$size" ]] || fail "$png is ${width}x${height}, not ${size}x${size}"
done

# The desktop entry: valid, and naming the program, the icon and the file type that are installed.
desktop=$root/share/applications/linkvane.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_name=$(entry Exec | cut -d' ' -f1)
[[ -x $root/bin/$exec_name ]] || fail "Exec=$exec_name is not an installed program"
[[ $(entry Exec) == *%F* ]] || fail "Exec does not pass the files it is opened with (%F)"
[[ -e $root/share/icons/hicolor/scalable/apps/$(entry Icon).svg ]] || fail "Icon=$(entry Icon) is not installed"
mime=$(entry MimeType)
grep -q "<mime-type type=\"${mime%;}\">" "$root/share/mime/packages/linkvane.xml" ||
  fail "MimeType=$mime is not the type linkvane.xml defines"

# The file type, compiled the way the system does it, knows both spellings of the extension.
if command -v update-mime-database >/dev/null; then
  cp -r "$root/share/mime" "$tmp/mime"
  update-mime-database "$tmp/mime" || fail "update-mime-database"
  for glob in '*.lvd' '*.LVD'; do
    grep -qF "application/x-linkvane-datafile:$glob" "$tmp/mime/globs" || fail "no glob $glob"
  done
else
  echo "note: update-mime-database is not installed; the file type is not compiled"
fi

# The metainfo: valid without the network, for this version and this desktop entry.
metainfo=$root/share/metainfo/org.linkvane.Linkvane.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q '<launchable type="desktop-id">linkvane.desktop</launchable>' "$metainfo" || fail "launchable"

# Every manual page renders, without groff warnings.
pages=("$root"/share/man/man1/*.1.gz)
for page in "${pages[@]}"; do
  name=$(basename "$page" .1.gz)
  text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$tmp/man.err")
  [[ ! -s $tmp/man.err ]] || { cat "$tmp/man.err"; fail "$name(1) renders with warnings"; }
  grep -q "^NAME" <<<"$text" && grep -q "$name - " <<<"$text" || fail "$name(1) has no NAME line"
  for section in SYNOPSIS DESCRIPTION; do
    grep -q "^$section" <<<"$text" || fail "$name(1) has no $section"
  done
  grep -qF "$prefix/share/linkvane/help.html" <<<"$text" || [[ $name != linkvane ]] ||
    fail "$name(1) does not name the installed help page"
  MANWIDTH=80 man -l "$page" | head -n 5
done

# The installed program runs from there and finds its help page beside it.
home=$tmp/home
mkdir -p "$home"
out=$(cd "$tmp" && LINKVANE_HOME=$home QT_QPA_PLATFORM=offscreen timeout 30 "$root/bin/linkvane" --version 2>&1) ||
  fail "installed linkvane --version failed or did not exit: $out"
echo "$out"
grep -qF "$version" <<<"$out" || fail "linkvane --version does not print $version"
help=$(realpath "$root/share/linkvane/help.html")
grep -qxF "Help page: $help" <<<"$out" || fail "the installed program does not use the installed help page $help"

# make uninstall removes every installed file and Linkvane's own folders.
DESTDIR=$tmp/stage cmake -DMANIFEST="$build/install_manifest.txt" -P "$source/cmake/LinkvaneUninstall.cmake" >/dev/null ||
  fail "uninstall"
left=$(find "$tmp/stage" -type f)
[[ -z $left ]] || fail "uninstall left files: $left"
[[ ! -e $root/share/linkvane && ! -e $root/share/doc/linkvane ]] || fail "uninstall left share/linkvane or share/doc/linkvane"
echo "install tree ok"
