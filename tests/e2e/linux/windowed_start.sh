#!/usr/bin/env bash
# On a 24-bit screen the full-screen attempt is refused: the message is shown once and
# answered, and the player then runs windowed with a 640x480 picture area below its menu
# bar, showing the main picture (within the effects' small changes), its two labels 12
# pixels from the bottom corners, and a picture that moves.
# Usage: windowed_start.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_windowed_player
[ "$(grep -c 'message box' "$player_log")" = 1 ] || fail "expected one message: $(cat "$player_log")"
grep -qF 'message box "Moviquel Player": This display card does not support 640x480x16 ' "$player_log" ||
  fail "wrong message: $(cat "$player_log")"

size=$(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 640x500 ] || fail "window is $size, expected 640x480 below a 20-pixel menu bar"

# The picture area against the main picture decoded by djpeg.
djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
shot first
difference=$(rmse "$MQ_WORK/first.png" "$MQ_WORK/main_reference.ppm")
note "picture area vs main picture: RMSE $difference"
less_than "$difference" 0.1 || fail "the picture area is not the main picture (RMSE $difference)"

# The labels' glyphs (0x601010 as GDI, #101060 on screen) in the bottom corners: the
# publisher label from x = 12, the version label up to x = 627, both ending above row 468.
label_box() {  # label_box X0 WIDTH: bounding box WxH+X+Y of label ink in rows 420..479
  convert "$MQ_WORK/first.png" -crop "$2x60+$1+420" +repage -fill black +opaque '#101060' \
    -fill white -opaque '#101060' -format '%@' info:
}
left=$(label_box 0 320); right=$(label_box 320 320)
note "publisher label ink $left, version label ink $right (offsets from x 0 / 320, y 420)"
read -r lw lh lx ly < <(echo "$left" | tr 'x+' '  ')
read -r rw rh rx ry < <(echo "$right" | tr 'x+' '  ')
[ "$lx" -ge 12 ] && [ "$lx" -le 14 ] || fail "publisher label starts at x $lx, expected 12"
right_edge=$((320 + rx + rw))
[ "$right_edge" -ge 624 ] && [ "$right_edge" -le 628 ] || fail "version label ends at x $right_edge, expected 628"
bottom_left=$((420 + ly + lh)); bottom_right=$((420 + ry + rh))
# Both label surfaces end on row 468; their ink ends there or a few rows above, depending on
# whether the text has descenders.
for bottom in "$bottom_left" "$bottom_right"; do
  [ "$bottom" -le 468 ] && [ "$bottom" -ge 460 ] || fail "a label ends on row $bottom, expected 460..468"
done

# The picture moves.
wait_for 60 moved_since first || fail "the picture did not move"
echo "PASS"
