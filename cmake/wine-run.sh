#!/usr/bin/env bash
# Runs a Windows program under Wine, inside a virtual X server when there is no display.
# Usage: wine-run.sh win32|win64 PROGRAM [ARGS...]
set -euo pipefail
arch=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=$arch
export WINEPREFIX=${TOVI_WINE_ROOT:-$HOME/.cache/kannada-tovi}/wine-$arch
mkdir -p "$(dirname "$WINEPREFIX")"
# The first run makes the prefix; a lock keeps two tests from making it at once.
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
  fi
) 9>"$WINEPREFIX.lock"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$@"
fi
exec wine "$@"
