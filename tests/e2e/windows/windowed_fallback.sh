#!/usr/bin/env bash
# On a 24-bit X screen the player's full-screen mode (640x480, 16 bits) is refused: the
# message box titled "Moviquel Player" appears; once it is answered the player runs in a
# window titled "Moviquel Co 1-1 Moviquel Player" with its menu bar, showing the animated
# main picture with both labels. A key shows the info picture; the About dialog opens from
# the File menu and holds the animation; Alt+X ends the player with code 0.
# Usage: windowed_fallback.sh EXE MAIN_PICTURE.jpg INFO_PICTURE.jpg
set -euo pipefail
exe=$1
source "$(dirname "$0")/wine_session.sh"

djpeg "$2" | convert ppm:- "$MQ_OUT/main_reference.png"
djpeg "$3" | convert ppm:- -background black -gravity center -extent 640x480 "$MQ_OUT/info_reference.png"

start_x 1024x768x24
ensure_prefix
start_player "$exe"

box=$(wait_window '^Moviquel Player$' 120) || fail "no message box titled \"Moviquel Player\""
log "message box $box after $(($(date +%s%3N) - start_ms)) ms"
wait_until 60 drawn "$box" || fail "the message box was not drawn"
shot_window "$box" "$MQ_OUT/message_box.png"
press "$box" Return

window=$(wait_window '^Moviquel Co 1-1 Moviquel Player$' 60) || fail "no player window with the composed title"
first_ms=$(wait_picture "$window" "$MQ_OUT/main_reference.png" 60) || fail "the window never showed the main picture"
log "first frame of the main picture $first_ms ms after start"
echo "$first_ms" >"$MQ_OUT/first_frame_ms"

shot_window "$window" "$MQ_OUT/windowed.png"
client_area "$MQ_OUT/windowed.png" "$MQ_OUT/windowed_client.png"

# A key shows the info picture, which fades in by half each second and stays for five
# seconds. Pressed right after the first frame, far from the main picture's own 30-second
# switch, and looked at until it has come in.
psnr_value=0
press "$window" n
wait_until 60 region_near "$window" "$MQ_OUT/info_reference.png" 560x400+40+40 ||
  fail "a key did not switch to the info picture ($psnr_value dB)"
log "after a key, the info window against the info picture: $psnr_value dB"

width=$(identify -format '%w' "$MQ_OUT/windowed.png")
height=$(identify -format '%h' "$MQ_OUT/windowed.png")
[ "$width" -eq 640 ] || fail "window width $width, expected a 640-pixel client area"
[ "$height" -gt 480 ] || fail "window height $height leaves no room for the menu bar"
# The menu bar above the client area is light, unlike the picture's dark sky.
menu_mean=$(convert "$MQ_OUT/windowed.png" -crop 640x$((height - 480))+0+0 -colorspace Gray -format '%[fx:round(100*mean)]' info:)
[ "$menu_mean" -ge 60 ] || fail "no menu bar above the client area (brightness $menu_mean%)"

value=$(psnr "$MQ_OUT/windowed_client.png" "$MQ_OUT/main_reference.png" 640x400+0+0)
log "client area against the main picture: $value dB"
[ "$value" -ge 18 ] || fail "the client area is not the main picture ($value dB)"
left=$(label_pixels "$MQ_OUT/windowed_client.png" 160x28+12+440)
right=$(label_pixels "$MQ_OUT/windowed_client.png" 160x28+468+440)
left_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+12+440)
right_ref=$(label_pixels "$MQ_OUT/main_reference.png" 160x28+468+440)
log "label pixels: left $left (picture $left_ref), right $right (picture $right_ref)"
[ "$left" -ge $((left_ref + 40)) ] || fail "no publisher label at the bottom left"
[ "$right" -ge $((right_ref + 40)) ] || fail "no version label at the bottom right"

shot_window "$window" "$MQ_OUT/windowed_moving.png"
wait_until 60 moves "$window" windowed_moving || fail "the picture does not move"

# The About dialog from the File menu (F10, Down to its first item, Enter). It is modal:
# while it is open the animation stands still; Esc closes it and the animation goes on.
# F10 lights the File title in the menu bar (the bar's white corner turns); Down opens the
# menu, a window of its own without a name; the dialog is looked at once it is drawn.
title_lit() {
  shot_window "$window" "$MQ_OUT/menu_probe.png" 2>/dev/null &&
    [ "$(convert "$MQ_OUT/menu_probe.png" -format '%[hex:p{3,3}]' info:)" != FFFFFF ]
}
nameless_windows() { xwininfo -root -tree | awk '/\(has no name\): \("moviquel.exe"/ {print $1}' | sort; }
menu_open() {
  local id
  for id in $(comm -13 <(echo "$nameless_before") <(nameless_windows)); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && return 0
  done
  return 1
}
before=$(visible_windows)
nameless_before=$(nameless_windows)
press "$window" F10
wait_until 60 title_lit || fail "F10 did not light the File menu's title"
xdotool key Down
wait_until 60 menu_open || fail "Down did not open the File menu"
xdotool key Return
about=$(wait_new_dialog "$before" 60) || fail "the About dialog did not open from the File menu"
log "About dialog $about: $(xdotool getwindowgeometry "$about" | tr -s ' \n' ' ')"
wait_until 60 drawn "$about" || fail "the About dialog was not drawn"
shot_screen "$MQ_OUT/about.png"
# Over one second (a span measured, not a wait) the picture must not change.
shot_window "$window" "$MQ_OUT/about_still_1.png"
sleep 1
shot_window "$window" "$MQ_OUT/about_still_2.png"
convert "$MQ_OUT/about_still_1.png" -gravity South -crop 640x200+0+0 +repage "$MQ_OUT/about_still_1b.png"
convert "$MQ_OUT/about_still_2.png" -gravity South -crop 640x200+0+0 +repage "$MQ_OUT/about_still_2b.png"
if differs "$MQ_OUT/about_still_1b.png" "$MQ_OUT/about_still_2b.png"; then
  fail "frames went on while the About dialog was open"
fi
press "$about" Escape
wait_until 60 window_gone "$about" || fail "Esc did not close the About dialog"
shot_window "$window" "$MQ_OUT/after_about.png"
wait_until 60 moves "$window" after_about || fail "the animation did not go on after the About dialog"

press "$window" alt+x
code=$(wait_exit 120) || fail "Alt+X did not end the player"
[ "$code" = 0 ] || fail "exit code $code, expected 0"
log "Alt+X ended the player with exit code 0"
