#!/usr/bin/env bash
# On a screen smaller than 640x480 full screen is refused as on a display without the
# mode: the message is shown once, and once answered the player runs in its window.
# SIGTERM while the message is up ends the player with status 0.
# Usage: small_screen.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_xvfb 600x400x24
start_player
answer_message_box
wait_for 60 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
[ "$(grep -c 'message box' "$player_log")" = 1 ] || fail "expected one message: $(cat "$player_log")"
grep -qF 'This display card does not support 640x480x16 ' "$player_log" ||
  fail "wrong message: $(cat "$player_log")"
win=$(player_window)
size=$(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 640x500 ] || fail "window is $size, expected 640x480 below a 20-pixel menu bar"
press_to_end Escape
wait_for 60 player_ended || fail "Esc did not end the player"

start_player
wait_for 60 message_box_drawn || fail "no message box the second time ($(cat "$player_log"))"
kill -TERM "$player_pid"
wait_for 60 player_ended || fail "SIGTERM did not end the player while its message was up"
[ "$(cat "$player_status")" = 0 ] || fail "SIGTERM: exit code $(cat "$player_status")"
told 'display objects alive 0' || fail "display objects left: $(tail -3 "$player_log")"
echo "PASS"
