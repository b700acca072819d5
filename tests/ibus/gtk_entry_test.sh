#!/usr/bin/env bash
# Types into a real GTK text entry through the IBus input-method module: a private D-Bus
# session and IBus daemon (the build's component folder, a scratch home) on a virtual X
# server, the engine tovi-kannada chosen, keys sent with xdotool; the entry must hold what
# `tovi type --unicode` prints for them. With a PNG path, the window is saved while a
# syllable is still being composed (underlined).
# Usage: gtk_entry_test.sh BUILD-DIR [PICTURE.png]
# (started as: xvfb-run -a dbus-run-session -- bash gtk_entry_test.sh ...)
set -euo pipefail
build=$(cd "$1" && pwd)
picture=${2:-}
home=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$home/entry" ] && echo "entry said:" && cat "$home/entry"; exit 1; }
# Waits (bounded) until the command succeeds.
poll() { for _ in $(seq 200); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done; return 1; }

chmod 700 "$home"
export HOME=$home XDG_CONFIG_HOME=$home XDG_CACHE_HOME=$home XDG_DATA_HOME=$home XDG_RUNTIME_DIR=$home
export IBUS_COMPONENT_PATH=$build/ibus IBUS_ADDRESS_FILE=$home/address IBUS_ADDRESS=unix:path=$home/bus
export GSETTINGS_BACKEND=memory
ibus-daemon --panel=disable --emoji-extension=disable --config=disable --cache=none --replace \
  --address="$IBUS_ADDRESS" &
pids+=($!)
poll ibus list-engine || fail "the IBus daemon did not start"

title="Kannada-Tovi IBus $$"
GTK_IM_MODULE=ibus "$build/bin/gtk_entry_probe" "$title" >"$home/entry" &
probe=$!
pids+=($probe)
window=$(timeout 10 xdotool search --sync --name "$title" | head -n 1) || fail "no GTK window"
xdotool windowfocus --sync "$window"
ibus engine tovi-kannada
poll sh -c '[ "$(ibus engine)" = tovi-kannada ]' || fail "the engine was not chosen"

expected=$("$build/bin/tovi" type --unicode kanfnawa)
xdotool key --delay 20 k a n f n a w a space
poll sh -c "[ \"\$(tail -n 1 '$home/entry')\" = '$expected ' ]" || fail "after kanfnawa and space: want '$expected '"

# A syllable composed and not yet ended is the entry's pre-edit (shown underlined, not yet
# its text).
xdotool key --delay 20 v i L A s a
if [ -n "$picture" ]; then
  sleep 0.3  # the pre-edit drawn
  import -window "$window" "$picture"
fi
[ "$(tail -n 1 "$home/entry")" = "$expected " ] || fail "the pre-edit became text before the syllable ended"
# Backspace takes the syllable back by its keys; Enter commits what is left and ends the probe.
xdotool key --delay 20 BackSpace Return
wait "$probe" || true
want="$expected $("$build/bin/tovi" type --unicode 'viLAsa{BS}')"
[ "$(tail -n 1 "$home/entry")" = "$want" ] || fail "after Backspace and Enter: want '$want'"
echo "the GTK entry holds '$want'"
