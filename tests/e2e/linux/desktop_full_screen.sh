#!/usr/bin/env bash
# On an ordinary 1920x1080 24-bit desktop the player goes full screen without a message: it
# covers the desktop with the picture enlarged twice, sharp, centred between black bars; T
# takes it into a window and back; a click on the enlarged info picture lands on the right
# picture pixel and reaches the web-page call; Alt+X ends it with code 0.
# Usage: desktop_full_screen.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

geometry() { xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}'; }
# brightest PICTURE GEOMETRY: the brightest channel value (0..1) inside the crop.
brightest() { convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:; }

start_xvfb 1920x1080x24
MQ_SDL2_TRACE=messages start_player
wait_for 60 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
win=$(player_window)
[ -n "$win" ] || fail "no player window"
# A message would have come with the display's set-up, before the first frame.
! told 'message box' || fail "a message box appeared: $(grep 'message box' "$player_log")"
[ "$(geometry)" = 1920x1080+0+0 ] || fail "full screen window is $(geometry)"

# The picture at 2x (1280x960) in the middle: the main picture enlarged the same way, each
# picture pixel a uniform 2x2 square, and nothing but black around it.
djpeg -ppm "$resources/main_picture.jpg" | convert - -scale 200% "$MQ_WORK/main_2x.png"
grab full
convert "$MQ_WORK/full.xwd" "$MQ_WORK/full_screen.png"
convert "$MQ_WORK/full_screen.png" -crop 1280x960+320+60 +repage "$MQ_WORK/picture.png"
difference=$(rmse "$MQ_WORK/picture.png" "$MQ_WORK/main_2x.png")
note "centred picture vs main picture at 2x: RMSE $difference"
less_than "$difference" 0.1 || fail "the centred area is not the enlarged main picture (RMSE $difference)"
convert "$MQ_WORK/picture.png" -sample 50% -sample 200% "$MQ_WORK/resampled.png"
[ "$(differing "$MQ_WORK/picture.png" "$MQ_WORK/resampled.png")" = 0 ] ||
  fail "the picture's pixels are not sharp 2x2 squares"
for bar in 320x1080+0+0 320x1080+1600+0 1280x60+320+0 1280x60+320+1020; do
  [ "$(brightest "$MQ_WORK/full_screen.png" "$bar")" = 0 ] || fail "the bar $bar is not black"
done

timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true
press t
wait_for 60 bash -c "xwininfo -id $win | grep -q 'Height: 500'" || fail "T: window is $(geometry)"
note "T: windowed, $(geometry)"
press t
wait_for 60 bash -c "xwininfo -id $win | grep -q 'Height: 1080'" || fail "T: window is $(geometry)"
note "T: full screen again, $(geometry)"
# The mouse is mapped to the picture where it was last drawn: the click waits for a frame
# drawn full screen again.
centred_picture_drawn() {
  grab probe && convert "$MQ_WORK/probe.xwd" -crop 1280x960+320+60 +repage "$MQ_WORK/probe.png" &&
    less_than "$(rmse "$MQ_WORK/probe.png" "$MQ_WORK/main_2x.png")" 0.1
}
wait_for 60 centred_picture_drawn || fail "T: no full-screen frame drawn again"

# Right button: the info picture. A left click at screen (520, 161) is picture pixel
# (100, 50): WM_LBUTTONDOWN (0x0201) carries y << 16 | x = 0x320064.
lines=$(trace_lines)
xdotool mousemove --sync 960 540 click 3
wait_for 60 told_after "$lines" 'cursor help' || fail "the right button did not show the info picture"
xdotool mousemove --sync 520 161 click 1
wait_for 60 grep -q 'moviquel: open http://www.mql.example/mql/index.html?mqlp1-1' "$player_log" ||
  fail "the click on the info picture did not reach the web page ($(tail -5 "$player_log"))"
grep -q 'message 0x0201 0 0x320064' "$player_log" ||
  fail "the click did not land on picture pixel (100, 50): $(grep 'message 0x0201' "$player_log")"
! told 'message box' || fail "a message box appeared: $(grep 'message box' "$player_log")"

press_to_end alt+x
wait_for 60 player_ended || fail "Alt+X did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "exit code $(cat "$player_status")"
grep -q 'display objects alive 0' "$player_log" || fail "display objects left: $(tail -3 "$player_log")"
echo "PASS"
