#!/usr/bin/env bash
# focus-after-dialogs.sh GAME DATA_DIR: under openbox in Xvfb, S pressed right after Esc closed a
# dialog opens the slot dialog again. Exits 77 (skipped) without Xvfb, openbox or xdotool.
set -uo pipefail
game=$(realpath "$1") data=$2
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
cp "$data"/*.brd "$work"/

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
sleep 1
(cd "$work" && exec "$game") >"$work/game.log" 2>&1 & pids+=($!)
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tessaro V') || { echo "FAIL: no game window"; exit 1; }

# Waits up to two seconds for a visible window with this title.
shown() { for _ in $(seq 20); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
slot='^Sichern unter'

# "Spielstart" from the menu, then S opens the slot dialog (the menu may need a second try).
started=no
for _ in 1 2 3; do
  xdotool windowactivate --sync "$main" >/dev/null 2>&1; sleep 0.3
  xdotool key alt+t; sleep 0.3; xdotool key s; sleep 0.5; xdotool key s
  if shown "$slot"; then started=yes; break; fi
done
[ $started = yes ] || { echo "FAIL: no game started"; cat "$work/game.log"; exit 1; }

failures=0
for dialog in slot slot slot slot slot slot message message message; do
  if [ $dialog = message ]; then
    # Ctrl+V with nothing to paste: a message box.
    xdotool key Escape; sleep 0.5; xdotool key ctrl+v
    shown '^Tessaro$' || { echo "FAIL: no message box"; exit 1; }
  fi
  sleep 0.3
  xdotool key --delay 0 Escape keydown s sleep 0.03 keyup s
  shown "$slot" || { echo "FAIL: S after the $dialog dialog was lost"; failures=$((failures + 1)); xdotool key s; shown "$slot"; }
done
[ $failures -eq 0 ]
