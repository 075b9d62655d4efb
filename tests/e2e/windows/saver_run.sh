#!/usr/bin/env bash
# The screen saver's run (/s) on a 16-bit 640x480 screen: the main picture full screen; a
# 2-pixel move of the pointer leaves it running, a 20-pixel move ends it, and so do a key and a
# click.
# Usage: saver_run.sh SCR MAIN_PICTURE.jpg
set -euo pipefail
scr=$1
source "$(dirname "$0")/wine_session.sh"
djpeg "$2" | convert ppm:- "$MQ_OUT/main_reference.png"
start_x 640x480x16
ensure_prefix
# No settings: the player's own pictures.
"$WINELOADER" reg delete 'HKCU\Software\Moviquel Co\Moviquel Player' /f >/dev/null 2>&1 || true

# start_saver: the saver run, its picture on the screen.
start_saver() {
  rm -f "$MQ_OUT/exit_code"
  ( "$WINELOADER" "$scr" /s >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
  player_pid=$!
  start_ms=$(date +%s%3N)
  wait_picture root "$MQ_OUT/main_reference.png" 120 >/dev/null || fail "the screen never showed the main picture"
}

start_saver
shot_screen "$MQ_OUT/saver_run.png"
xdotool mousemove_relative 2 2
# A jitter must not end it: still running after the frames of two seconds.
sleep 2
[ ! -s "$MQ_OUT/exit_code" ] || fail "a 2-pixel move ended the saver"
looks_like root "$MQ_OUT/main_reference.png" || fail "the picture went after a 2-pixel move"
xdotool mousemove_relative 20 0
code=$(wait_exit 60) || fail "a 20-pixel move did not end the saver"
[ "$code" = 0 ] || fail "exit code $code after the move, expected 0"
log "a 2-pixel move left the saver running, a 20-pixel one ended it"

start_saver
window=$(wait_window '^Moviquel Co 1-1 Moviquel Player$' 60) || fail "no saver window"
press "$window" space
code=$(wait_exit 60) || fail "a key did not end the saver"
[ "$code" = 0 ] || fail "exit code $code after the key, expected 0"
log "a key ended the saver"

start_saver
xdotool click 1
code=$(wait_exit 60) || fail "a click did not end the saver"
[ "$code" = 0 ] || fail "exit code $code after the click, expected 0"
log "a click ended the saver"
