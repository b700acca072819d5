#!/usr/bin/env bash
# The Windows zip as a user meets it: unpacked, it holds what it promises, its DLL exports
# exactly the names of its .def (the standard-call twins decorated), and a C program built
# against its header and import library runs under Wine, binding those names.
# Usage: windows_zip_test.sh PACKAGES-DIR CC OBJDUMP EMULATOR...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=$1 cc=$2 objdump=$3
shift 3
zips=("$packages"/*.zip)
[ ${#zips[@]} -eq 1 ] || { echo "expected one zip in $packages, found ${#zips[@]}"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "${zips[0]}")
root=$(echo "$work"/*/)
cd "$root"
for f in bin/Kannada-Tovi.dll bin/tovi-host.exe lib/Kannada-Tovi.dll.a lib/Kannada-Tovi.def \
         include/kannada-tovi.h README.txt LICENSE.txt; do
  [ -f "$f" ] || { echo "missing from the zip: $f"; exit 1; }
done

exported=$("$objdump" -p bin/Kannada-Tovi.dll | sed -n '/Ordinal\/Name Pointer/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort)
listed=$(sed -n 's/^    //p' lib/Kannada-Tovi.def | sort)
if [ "$exported" != "$listed" ]; then
  echo "the DLL's exports differ from its .def:"; diff <(echo "$exported") <(echo "$listed") || true; exit 1
fi
grep -qx '_ToviMonolingual2BilingualGlyphVB@4' <<<"$exported" || { echo "no decorated twin exported"; exit 1; }

"$cc" -Wall -o bin/zip_user.exe "$here/zip_user.c" -Iinclude -Llib -lKannada-Tovi -static-libgcc
"$@" bin/zip_user.exe 'lib\Kannada-Tovi.def'
