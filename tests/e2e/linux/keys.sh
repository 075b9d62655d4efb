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
# Only the info picture's own window (560x400+40+40) counts: the fill around it shows the
# main scene.

# The info window fades in, half-way each second, and the info scene lasts five seconds.
# After the key, looks are taken one after another (at a quarter of the size, so that each
# costs little) until the info picture is in (the fourth step, after some three seconds);
# one of them must show it on its way (the first three steps).
small "$MQ_WORK/info_reference.png" 560x400+40+40 140x100 "$MQ_WORK/info_quarter.png"
d_before=$(distance 20 560x400+40+40 140x100 "$MQ_WORK/info_quarter.png")
on_its_way() { less_than "$1" "$(awk -v b="$d_before" 'BEGIN {print 0.8 * b}')"; }
distances=()
seen_on_its_way=0
info_faded_in() {
  local d
  d=$(distance 20 560x400+40+40 140x100 "$MQ_WORK/info_quarter.png")
  distances+=("$d")
  less_than "$d" 0.03 && return 0
  if on_its_way "$d"; then seen_on_its_way=1; return 1; fi
  # Back to the main picture after the fade had begun: the scene ended before it was seen.
  [ "$seen_on_its_way" = 1 ]
}
lines=$(trace_lines)
press a
wait_for 60 info_faded_in || fail "the info picture did not come in: ${distances[*]}"
note "info window vs info picture: before $d_before, then ${distances[*]}"
less_than "${distances[-1]}" 0.03 ||
  fail "the info scene ended before the info picture was in (on the loaded machine): ${distances[*]}"
told_after "$lines" 'cursor help' || fail "the info picture came without the switch"
[ "$seen_on_its_way" = 1 ] || fail "the info window did not fade in: no look between $d_before and the end"

# P: white text on dark grey (#404040) in the top-left corner, over the picture.
grey_pixels() {
  convert "$1" -crop 120x24+0+0 +repage -fill black +opaque '#404040' -fill white \
    -opaque '#404040' -format '%[fx:round(mean*w*h)]' info:
}
shot no_statistics
g_off=$(grey_pixels "$MQ_WORK/no_statistics.png")
statistics_shown() {
  shot statistics && g_on=$(grey_pixels "$MQ_WORK/statistics.png") && [ "$g_on" -gt $((g_off + 300)) ]
}
press p
wait_for 60 statistics_shown || true
box=$(convert "$MQ_WORK/statistics.png" -crop 200x40+0+0 +repage -fill black +opaque '#404040' \
  -fill white -opaque '#404040' -format '%@' info:)
note "dark grey pixels top-left: $g_off without statistics, $g_on with (box $box)"
[ "$g_on" -gt $((g_off + 300)) ] || fail "no statistics text in the top-left corner"
read -r bw bh bx by < <(echo "$box" | tr 'x+' '  ')
[ "$bx" = 4 ] && [ "$by" = 4 ] || fail "the statistics text starts at ($bx, $by), expected (4, 4)"

# Esc ends the program with code 0.
press_to_end Escape
wait_for 60 player_ended || fail "Esc did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "exit code $(cat "$player_status")"
grep -q 'display objects alive 0' "$player_log" || fail "display objects left: $(cat "$player_log")"
echo "PASS"
