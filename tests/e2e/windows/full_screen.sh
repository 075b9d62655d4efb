#!/usr/bin/env bash
# On a 16-bit X screen of 640x480 the player takes the screen in exclusive full-screen
# mode: the whole screen is the animated main picture with both labels and no menu bar.
# T switches to a window with the menu bar, Alt+Enter back; a key shows the info picture; Esc
# ends the player with exit code 0.
# Usage: full_screen.sh EXE MAIN_PICTURE.jpg INFO_PICTURE.jpg
set -euo pipefail
exe=$1
source "$(dirname "$0")/wine_session.sh"

djpeg "$2" | convert ppm:- "$MQ_OUT/main_reference.png"
djpeg "$3" | convert ppm:- -background black -gravity center -extent 640x480 "$MQ_OUT/info_reference.png"

start_x 640x480x16
ensure_prefix
start_player "$exe"

window=$(wait_window '^Moviquel Co 1-1 Moviquel Player$' 120) || fail "no player window with the composed title"
first_ms=$(wait_picture root "$MQ_OUT/main_reference.png" 60) || fail "the screen never showed the main picture"
log "first frame of the main picture $first_ms ms after start"
echo "$first_ms" >"$MQ_OUT/first_frame_ms"
if xdotool search --name '^Moviquel Player$' >/dev/null 2>&1; then
  fail "a message box refused the full-screen mode"
fi

shot_screen "$MQ_OUT/full_screen.png"

# Both labels on the screen, in every one of ten shots a second apart: they are copied onto
# the flipping chain's back buffer with the source colour key every frame, and a Wine whose
# DirectDraw has no 3D renderer loses those copies on every other flip (README.md).
left_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+12+440)
right_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+468+440)
shots=""
missing=0
for shot in $(seq 10); do
  shot_screen "$MQ_OUT/labels_$shot.png"
  left=$(label_pixels "$MQ_OUT/labels_$shot.png" 160x28+12+440)
  right=$(label_pixels "$MQ_OUT/labels_$shot.png" 160x28+468+440)
  shots="$shots $left/$right"
  if [ "$left" -lt $((left_ref + 40)) ] || [ "$right" -lt $((right_ref + 40)) ]; then
    missing=$((missing + 1))
  fi
  sleep 1
done
log "label pixels of ten shots, left/right:$shots (the picture's own: $left_ref/$right_ref)"
if [ "$missing" -gt 0 ]; then
  fail "$missing of ten shots lack a label"
fi

# A key shows the info picture (fading in by half each second, shown for five seconds),
# pressed after the label shots, far from the main picture's own 30-second switch,
# and looked at until it has come in.
psnr_value=0
press "$window" n
wait_until 60 region_near root "$MQ_OUT/info_reference.png" 560x400+40+40 ||
  fail "a key did not switch to the info picture ($psnr_value dB)"
log "after a key, the info window against the info picture: $psnr_value dB"

value=$(psnr "$MQ_OUT/full_screen.png" "$MQ_OUT/main_reference.png" 640x400+0+0)
log "screen against the main picture: $value dB"
[ "$value" -ge 18 ] || fail "the screen is not the main picture ($value dB)"
# No menu bar: the top rows are the picture's sky, not a light menu bar.
top=$(psnr "$MQ_OUT/full_screen.png" "$MQ_OUT/main_reference.png" 640x24+0+0)
log "top 24 rows against the picture: $top dB"
[ "$top" -ge 18 ] || fail "the top of the screen is not the picture (a menu bar?)"
shot_screen "$MQ_OUT/full_screen_moving.png"
wait_until 60 moves root full_screen_moving || fail "the picture does not move"

# T switches to a window with the menu bar above the picture, and Alt+Enter (the
# accelerator) back to the exclusive full screen without it.
menu_bar_shown() {
  shot_window "$window" "$MQ_OUT/toggled_windowed.png" 2>/dev/null &&
    menu_mean=$(convert "$MQ_OUT/toggled_windowed.png" -crop 640x16+0+0 -colorspace Gray \
      -format '%[fx:round(100*mean)]' info:) && [ "$menu_mean" -ge 60 ]
}
full_screen_again() {
  shot_screen "$MQ_OUT/toggled_back.png" 2>/dev/null &&
    top=$(psnr "$MQ_OUT/toggled_back.png" "$MQ_OUT/main_reference.png" 640x24+0+0) && [ "$top" -ge 18 ]
}
menu_mean=0
press "$window" t
wait_until 60 menu_bar_shown || fail "T did not switch to a window with a menu bar ($menu_mean%)"
log "after T, brightness of the window's top rows: $menu_mean%"
top=0
press "$window" alt+Return
wait_until 60 full_screen_again ||
  fail "Alt+Enter did not return to full screen without a menu bar ($top dB)"
log "after Alt+Enter, top 24 rows of the screen against the picture: $top dB"

press "$window" Escape
code=$(wait_exit 120) || fail "Esc did not end the player"
[ "$code" = 0 ] || fail "exit code $code, expected 0"
log "Esc ended the player with exit code 0"
