#!/usr/bin/env bash
# Keys the Windows key table has no letter for still switch the picture, as any other key
# does: Scroll Lock brings the info picture, and a media key (no Windows code of its own)
# brings the main picture back before the info scene's five seconds are up.
# Usage: other_keys.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_xvfb 640x480x16
start_player
wait_for 20 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
win=$(player_window)
[ -n "$win" ] || fail "no player window"
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.5

djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
djpeg -ppm "$resources/info_picture.jpg" >"$MQ_WORK/info.ppm"
convert "$MQ_WORK/info.ppm" -background '#404020' -gravity center -extent 640x480 \
  "$MQ_WORK/info_reference.png"
# Only the info picture's own window counts: the fill around it shows the main scene.
window_of() { convert "$1" -crop 560x400+40+40 +repage "$2"; }
window_of "$MQ_WORK/info_reference.png" "$MQ_WORK/info_window.png"

press Scroll_Lock
pressed=$(date +%s%N)
sleep 2.5
grab info
press XF86AudioPlay
sleep 1
grab main
late_ms=$((($(date +%s%N) - pressed) / 1000000))
note "main picture taken $late_ms ms after Scroll Lock"
[ "$late_ms" -lt 4500 ] || fail "the machine is too slow to see the switch inside the 5-second scene"
develop info 0
develop main 0
window_of "$MQ_WORK/info.png" "$MQ_WORK/info.window.png"
d_info=$(rmse "$MQ_WORK/info.window.png" "$MQ_WORK/info_window.png")
d_main=$(rmse "$MQ_WORK/main.png" "$MQ_WORK/main_reference.ppm")
note "after Scroll Lock: info window vs info picture $d_info; after the media key: screen vs main picture $d_main"
less_than "$d_info" 0.1 || fail "Scroll Lock did not switch to the info picture ($d_info)"
less_than "$d_main" 0.1 || fail "the media key did not switch back to the main picture ($d_main)"

press_to_end alt+x
wait_for 15 player_ended || fail "Alt+X did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "exit code $(cat "$player_status")"
echo "PASS"
