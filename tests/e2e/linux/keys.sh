#!/usr/bin/env bash
# Keys in the windowed player: a letter switches to the info picture, whose window fades in
# over the previous frame; P shows the statistics text in the top-left corner; Esc ends
# the program with exit code 0 and no display object left alive.
# Usage: keys.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_windowed_player
# The info picture centred on the fill colour, as the player centres it.
djpeg -ppm "$resources/info_picture.jpg" >"$MQ_WORK/info.ppm"
convert "$MQ_WORK/info.ppm" -background '#404020' -gravity center -extent 640x480 \
  "$MQ_WORK/info_reference.png"
# Only the info picture's own window counts: the fill around it shows the main scene.
window_of() { convert "$1" -crop 560x400+40+40 +repage "$2"; }
convert "$MQ_WORK/info_reference.png" -crop 560x400+40+40 +repage "$MQ_WORK/info_window.png"

# The scene lasts 5 s: both pictures are taken well inside it, and developed afterwards.
shot before
window_of "$MQ_WORK/before.png" "$MQ_WORK/before.window.png"
press a
pressed=$(date +%s%N)
sleep 0.2
grab early
sleep 2.3
grab late
late_ms=$((($(date +%s%N) - pressed) / 1000000))
note "late picture taken $late_ms ms after the key"
[ "$late_ms" -lt 4500 ] || fail "the machine is too slow to see the fade inside the 5-second scene"
develop early
develop late
window_of "$MQ_WORK/early.png" "$MQ_WORK/early.window.png"
window_of "$MQ_WORK/late.png" "$MQ_WORK/late.window.png"
d_before=$(rmse "$MQ_WORK/before.window.png" "$MQ_WORK/info_window.png")
d_early=$(rmse "$MQ_WORK/early.window.png" "$MQ_WORK/info_window.png")
d_late=$(rmse "$MQ_WORK/late.window.png" "$MQ_WORK/info_window.png")
note "info window vs info picture: before $d_before, 0.3 s $d_early, 2 s $d_late"
less_than "$d_late" 0.1 || fail "two seconds after the key the info picture is not shown ($d_late)"
less_than "$d_late" "$d_early" || fail "the info window did not fade in ($d_early then $d_late)"
less_than "$d_early" "$d_before" || fail "the info window did not start fading in ($d_before then $d_early)"

# P: white text on dark grey (#404040) in the top-left corner, over the picture.
grey_pixels() {
  convert "$1" -crop 120x24+0+0 +repage -fill black +opaque '#404040' -fill white \
    -opaque '#404040' -format '%[fx:round(mean*w*h)]' info:
}
shot no_statistics
g_off=$(grey_pixels "$MQ_WORK/no_statistics.png")
press p
# The text appears with the next frame; on a loaded machine that can take a while, so look
# again for up to about six seconds.
for attempt in 1 2 3 4 5 6 7 8 9 10 11 12; do
  sleep 0.5
  shot statistics
  g_on=$(grey_pixels "$MQ_WORK/statistics.png")
  [ "$g_on" -gt $((g_off + 300)) ] && break
done
box=$(convert "$MQ_WORK/statistics.png" -crop 200x40+0+0 +repage -fill black +opaque '#404040' \
  -fill white -opaque '#404040' -format '%@' info:)
note "dark grey pixels top-left: $g_off without statistics, $g_on with (box $box)"
[ "$g_on" -gt $((g_off + 300)) ] || fail "no statistics text in the top-left corner"
read -r bw bh bx by < <(echo "$box" | tr 'x+' '  ')
[ "$bx" = 4 ] && [ "$by" = 4 ] || fail "the statistics text starts at ($bx, $by), expected (4, 4)"

# Esc ends the program with code 0.
press_to_end Escape
wait_for 15 player_ended || fail "Esc did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "exit code $(cat "$player_status")"
grep -q 'display objects alive 0' "$player_log" || fail "display objects left: $(cat "$player_log")"
echo "PASS"
