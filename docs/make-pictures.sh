#!/usr/bin/env bash
# Makes the README's pictures under a virtual X server from a built tree (make build, make
# windows): a GTK entry typed into through the IBus engine, and a Unicode EDIT control of a
# Windows program typed into through ToviStartUnicodeKeyboardEngine under Wine.
# Usage: docs/make-pictures.sh   (from anywhere; writes docs/*.png)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --windows ]; then
  # Inside the virtual X server: the Wine test types its sequences, then Kannada in a Kannada
  # font, says so in its title and keeps the window a few seconds.
  TOVI_PICTURE_HOLD=4000 bash cmake/wine-run.sh win64 build/windows-x64/bin/engine_test.exe >/dev/null &
  window=""
  for _ in $(seq 1200); do
    window=$(xdotool search --name "Typed through ToviStartUnicodeKeyboardEngine" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.05
  done
  sleep 0.5  # drawn
  import -window "$window" docs/windows-unicode-edit.png
  wait
  exit
fi
xvfb-run -a -s "-screen 0 800x300x24" dbus-run-session --config-file=tests/ibus/session.conf -- \
  bash tests/ibus/gtk_entry_test.sh build docs/ibus-gtk-entry.png
TOVI_WINE_ROOT=${TOVI_WINE_ROOT:-$HOME/.cache/kannada-tovi/pictures} \
  xvfb-run -a -s "-screen 0 800x300x24" bash "$0" --windows
