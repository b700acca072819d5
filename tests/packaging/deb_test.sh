#!/usr/bin/env bash
# The Debian packages as a user meets them, unpacked into a throwaway root: their dependencies,
# tovi, a C program built with pkg-config and one built with CMake's find_package, the address
# book started offscreen on the installed help and layouts, the desktop files validated, and
# the IBus engine's component file.
# The programs run with the runtime packages alone; the development package comes in for the
# C programs.
# Usage: deb_test.sh PACKAGES-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=$(cd "$1" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

deb() { ls "$packages/$1"_*.deb 2>/dev/null | head -n 1; }
for p in libkannada-tovi1 libkannada-tovi-dev tovi kelda-vasi; do
  [ -n "$(deb $p)" ] || fail "no package $p in $packages"
done
for p in libkannada-tovi1 tovi kelda-vasi; do dpkg-deb -x "$(deb $p)" "$root"; done
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
[[ $(dpkg-deb -f "$(deb libkannada-tovi1)" Package) == libkannada-tovi1 ]] || fail "library package name"
dpkg-deb --ctrl-tarfile "$(deb libkannada-tovi1)" | tar -xO ./shlibs | grep -qx "libKannada-Tovi 1 libkannada-tovi1 (= .*)" \
  || fail "libkannada-tovi1 has no shlibs entry for libKannada-Tovi.so.1"
for want in "tovi:libkannada-tovi1 (= " "tovi:libc6" "libkannada-tovi-dev:libkannada-tovi1 (= " \
            "kelda-vasi:libkannada-tovi1 (= " "kelda-vasi:libqt6widgets6" "kelda-vasi:fonts-lohit-knda" \
            "kelda-vasi:libqt6sql6-sqlite"; do
  [[ $(depends "${want%%:*}") == *"${want#*:}"* ]] || fail "${want%%:*} does not depend on ${want#*:}: $(depends "${want%%:*}")"
done

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
lib=$root/usr/lib/$multiarch
[ -f "$lib/libKannada-Tovi.so.1" ] || fail "no libKannada-Tovi.so.1 in $lib"
export LD_LIBRARY_PATH=$lib

# tovi
[[ $("$root/usr/bin/tovi" --version) == "tovi "[0-9]* ]] || fail "tovi --version"
sample=$'ಕನ್ನಡ ವಿಳಾಸ\nಕಿ'
glyphs=$(printf '%s\n' "$sample" | "$root/usr/bin/tovi" convert --from unicode --to mono)
[ "$glyphs" != "$sample" ] || fail "tovi convert left the text as it was"
[ "$(printf '%s\n' "$glyphs" | "$root/usr/bin/tovi" convert --from mono --to unicode)" == "$sample" ] \
  || fail "tovi convert does not come back"

# The address book, offscreen, with what its package installed.
out=$(QT_QPA_PLATFORM=offscreen TOVI_DESKTOP="${TOVI_DESKTOP:-deb-test}" \
      "$root/usr/bin/kelda-vasi" --database "$root/address.sqlite" --files-probe 2>"$root/stderr") \
  || fail "kelda-vasi --files-probe: $out $(cat "$root/stderr")"
echo "$out"
share=$root/usr/share/kelda-vasi
grep -qx "help: $share/Help/index.htm (Kelda Vasi help)" <<<"$out" || fail "help page not shown from $share"
grep -qx "layout: $share/rpkeldalabel.rpt" <<<"$out" && grep -qx "layout: $share/rpoffice.rpt" <<<"$out" \
  || fail "report layouts not read from $share"
! grep -q "not available" "$root/stderr" || fail "$(cat "$root/stderr")"
[[ $("$root/usr/bin/kelda-vasi" --version) == "kelda-vasi "[0-9]* ]] || fail "kelda-vasi --version"

# Desktop entry, metainfo, icons and man pages.
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
[[ $(file -b "$root/usr/share/icons/hicolor/48x48/apps/kelda-vasi.png") == *"48 x 48"* ]] || fail "48 px icon"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/kelda-vasi.svg" ] || fail "scalable icon"
for page in man1/tovi.1.gz man1/kelda-vasi.1.gz; do
  [ -f "$root/usr/share/man/$page" ] || fail "no man page $page"
done
# The IBus engine, where it was built: its component names the installed engine.
if [ -n "$(deb ibus-tovi)" ]; then
  dpkg-deb -x "$(deb ibus-tovi)" "$root"
  for want in "libkannada-tovi1 (= " "ibus" "libibus-1.0"; do
    [[ $(depends ibus-tovi) == *"$want"* ]] || fail "ibus-tovi does not depend on $want: $(depends ibus-tovi)"
  done
  component=$root/usr/share/ibus/component/tovi-kannada.xml
  grep -q "<exec>/usr/libexec/ibus-engine-tovi --ibus</exec>" "$component" || fail "component file: $(cat "$component")"
  grep -q "<name>tovi-kannada</name>" "$component" || fail "no engine tovi-kannada in the component"
  "$root/usr/libexec/ibus-engine-tovi" --help | grep -q tovi-kannada || fail "ibus-engine-tovi --help"
fi

# The development package: a C program with pkg-config, and with CMake's find_package.
dpkg-deb -x "$(deb libkannada-tovi-dev)" "$root"
flags=$(PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$lib/pkgconfig pkg-config --cflags --libs kannada-tovi)
cc -Wall -o "$root/pkgconfig_user" "$here/pkgconfig_user.c" $flags
"$root/pkgconfig_user" "ಕನ್ನಡ" || fail "the pkg-config program"
cmake -S "$here/cmake_user" -B "$root/cmake_user" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$root/cmake_user" >/dev/null
"$root/cmake_user/user" "ಕಿ" || fail "the find_package program"

echo "packages unpacked and used: all checks passed"
