#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Runs as root on a fresh Debian machine (CI), or through sudo when available.
set -euo pipefail

# Native build, tests, benchmarks and fuzzing.
native=(cmake g++ make pkg-config clang libclang-rt-14-dev libgtest-dev libgmock-dev
        libbenchmark-dev libicu-dev icu-devtools aspell aspell-kn poppler-utils)
# The address book: Qt 6 widgets, SQL (SQLite driver), print support, a Kannada font,
# and a virtual X server for screenshots.
app=(qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6opengl6-dev libgl-dev
     fonts-lohit-knda xvfb xauth x11-utils imagemagick)
# An office's shared database: Qt's PostgreSQL driver, and the server the tests and benchmarks
# run a throwaway cluster of; the exported vCards are read back by an independent parser.
exchange=(libqt6sql6-psql postgresql python3 python3-vobject)
# Installing and packaging: man pages (scdoc), the 48 px icon (rsvg-convert), Debian packages
# (dpkg-shlibdeps, file, readelf) and their checks (lintian, desktop entry, AppStream metadata).
packaging=(scdoc librsvg2-bin dpkg-dev file binutils lintian desktop-file-utils appstream)
# The IBus engine and its tests: a private D-Bus session and IBus daemon, and a GTK entry
# typed into through the IBus input-method module under the virtual X server.
ibus=(ibus libibus-1.0-dev dbus libgtk-3-dev ibus-gtk3 xdotool)
# Windows build: mingw-w64 cross compilers and Wine (32- and 64-bit).
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
         binutils-mingw-w64-x86-64 wine wine64 wine32:i386)

want=("${native[@]}" "${app[@]}" "${exchange[@]}" "${ibus[@]}" "${packaging[@]}" "${windows[@]}")

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && { echo "deps: all packages present"; exit 0; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "deps: installing ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
