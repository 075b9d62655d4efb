#!/usr/bin/env bash
# Keys the Windows key table has no letter for still switch the picture, as any other key
# does: Scroll Lock brings the info picture, and a media key (no Windows code of its own)
# brings the main picture back before the info scene's five seconds are up.
# Usage: other_keys.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_xvfb 640x480x16
MQ_SDL2_TRACE=messages start_player
wait_for 60 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
win=$(player_window)
[ -n "$win" ] || fail "no player window"
timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true

djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
djpeg -ppm "$resources/info_picture.jpg" >"$MQ_WORK/info.ppm"
convert "$MQ_WORK/info.ppm" -background '#404020' -gravity center -extent 640x480 \
  "$MQ_WORK/info_reference.png"
# Only the info picture's own window (560x400+40+40) counts: the fill around it shows the
# main scene.

# Each switch is seen in the trace (the cursor follows the picture) and then on the screen.
# The media key must bring the main picture back itself, not the end of the info scene:
# the switch that follows its key message in the trace is the one to the main picture.
# Looked at a quarter of the size, so that each look costs little: the info scene lasts
# five seconds.
small "$MQ_WORK/info_reference.png" 560x400+40+40 140x100 "$MQ_WORK/info_quarter.png"
small "$MQ_WORK/main_reference.ppm" 640x480+0+0 160x120 "$MQ_WORK/main_quarter.png"
info_shown() {
  d_info=$(distance 0 560x400+40+40 140x100 "$MQ_WORK/info_quarter.png") && less_than "$d_info" 0.1
}
main_shown() {
  d_main=$(distance 0 640x480+0+0 160x120 "$MQ_WORK/main_quarter.png") && less_than "$d_main" 0.1
}
lines=$(trace_lines)
press Scroll_Lock
wait_for 60 told_after "$lines" 'message 0x0100 0x91' || fail "Scroll Lock did not reach the player"
wait_for 60 told_after "$lines" 'cursor help' || fail "Scroll Lock did not switch to the info picture"
wait_for 60 info_shown || fail "Scroll Lock did not show the info picture ($d_info)"
lines=$(trace_lines)
press XF86AudioPlay
wait_for 60 told_after "$lines" 'message 0x0100 0xff' || fail "the media key did not reach the player"
# The key's message is traced before it is handled; the switch it makes follows.
switch_after_key() {
  after_key=$(tail -n +"$((lines + 1))" "$player_log" | grep -F -A 1000 'message 0x0100 0xff' |
    grep -m 1 '^moviquel: cursor ' || true)
  [ -n "$after_key" ]
}
wait_for 60 switch_after_key || fail "no picture switch after the media key"
[ "$after_key" = 'moviquel: cursor none' ] ||
  fail "the media key did not switch back to the main picture (then: '$after_key')"
wait_for 60 main_shown || fail "the main picture did not come back ($d_main)"
note "after Scroll Lock: info window vs info picture $d_info; after the media key: screen vs main picture $d_main"

press_to_end alt+x
wait_for 60 player_ended || fail "Alt+X did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "exit code $(cat "$player_status")"
echo "PASS"
