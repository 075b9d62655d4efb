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

# A key shows the info picture (fading in by half each second, shown for five seconds),
# pressed right after the first frame, far from the main picture's own 30-second switch.
press "$window" n
sleep 2.5
shot_screen "$MQ_OUT/full_screen_info.png"
value=$(psnr "$MQ_OUT/full_screen_info.png" "$MQ_OUT/info_reference.png" 560x400+40+40)
log "after a key, the info window against the info picture: $value dB"
[ "$value" -ge 18 ] || fail "a key did not switch to the info picture ($value dB)"

value=$(psnr "$MQ_OUT/full_screen.png" "$MQ_OUT/main_reference.png" 640x400+0+0)
log "screen against the main picture: $value dB"
[ "$value" -ge 18 ] || fail "the screen is not the main picture ($value dB)"
# No menu bar: the top rows are the picture's sky, not a light menu bar.
top=$(psnr "$MQ_OUT/full_screen.png" "$MQ_OUT/main_reference.png" 640x24+0+0)
log "top 24 rows against the picture: $top dB"
[ "$top" -ge 18 ] || fail "the top of the screen is not the picture (a menu bar?)"
# Both labels on the screen. Under 32-bit Wine the labels of the exclusive full screen come
# and go for seconds at a time (seen with every build of the player so far, not under the
# 64-bit Wine), so the screen is looked at for up to ten seconds until a shot shows both.
left_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+12+440)
right_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+468+440)
labels_shot=$MQ_OUT/full_screen.png
for attempt in $(seq 20); do
  left=$(label_pixels "$labels_shot" 160x28+12+440)
  right=$(label_pixels "$labels_shot" 160x28+468+440)
  log "label pixels: left $left (picture $left_ref), right $right (picture $right_ref)"
  [ "$left" -ge $((left_ref + 40)) ] && [ "$right" -ge $((right_ref + 40)) ] && break
  sleep 0.5
  labels_shot=$MQ_OUT/full_screen_labels.png
  shot_screen "$labels_shot"
done
[ "$left" -ge $((left_ref + 40)) ] || fail "no publisher label at the bottom left"
[ "$right" -ge $((right_ref + 40)) ] || fail "no version label at the bottom right"

shot_screen "$MQ_OUT/full_screen_moving_1.png"
sleep 1
shot_screen "$MQ_OUT/full_screen_moving_2.png"
differs "$MQ_OUT/full_screen_moving_1.png" "$MQ_OUT/full_screen_moving_2.png" || fail "the picture does not move"

# T switches to a window with the menu bar above the picture, and Alt+Enter (the
# accelerator) back to the exclusive full screen without it.
press "$window" t
sleep 3
shot_window "$window" "$MQ_OUT/toggled_windowed.png"
menu_mean=$(convert "$MQ_OUT/toggled_windowed.png" -crop 640x16+0+0 -colorspace Gray -format '%[fx:round(100*mean)]' info:)
log "after T, brightness of the window's top rows: $menu_mean%"
[ "$menu_mean" -ge 60 ] || fail "T did not switch to a window with a menu bar"
press "$window" alt+Return
sleep 3
shot_screen "$MQ_OUT/toggled_back.png"
top=$(psnr "$MQ_OUT/toggled_back.png" "$MQ_OUT/main_reference.png" 640x24+0+0)
log "after Alt+Enter, top 24 rows of the screen against the picture: $top dB"
[ "$top" -ge 18 ] || fail "Alt+Enter did not return to full screen without a menu bar"

press "$window" Escape
code=$(wait_exit 30) || fail "Esc did not end the player"
[ "$code" = 0 ] || fail "exit code $code, expected 0"
log "Esc ended the player with exit code 0"
