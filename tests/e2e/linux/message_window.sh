#!/usr/bin/env bash
# On a machine without zenity and without the X core fonts (an Xvfb with only its built-in
# "fixed" font, a PATH without zenity) a refused full screen is told as anywhere else: on
# standard error and in the player's own message window, which Enter answers; the player
# then runs windowed.
# Usage: message_window.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
real_player=$1; MQ_WORK=${3:-}
MQ_PLAYER=$real_player
source "$(dirname "$0")/session.sh"

# The player with nothing on its PATH (so no zenity), its stand-in told to report no
# 640x480x16 mode so that the refusal is said; exec keeps the process id and name.
MQ_PLAYER=$MQ_WORK/player-without-zenity
printf '#!/bin/sh\nexec env PATH=/nonexistent MQ_SDL2_NO_640X480X16=1 "%s"\n' "$real_player" \
  >"$MQ_PLAYER"
chmod +x "$MQ_PLAYER"

fifo=$MQ_WORK/displayfd
rm -f "$fifo"; mkfifo "$fifo"
Xvfb -displayfd 3 -noreset -fp built-ins -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>"$MQ_WORK/xvfb.log" &
xvfb_pid=$!
read -r -t 60 number <"$fifo" || fail "Xvfb did not start (see $MQ_WORK/xvfb.log)"
export DISPLAY=":$number"
note "Xvfb with built-in fonts only on $DISPLAY"

start_player
wait_for 60 message_box_drawn || fail "no message window drawn after start-up ($(cat "$player_log"))"
told '"Moviquel Player": This display card does not support 640x480x16 ' ||
  fail "the message is not on standard error: $(cat "$player_log")"

box=$(message_box_id)
xwd -id "$box" -silent | convert xwd:- "$MQ_WORK/message_window.png"
note "message window $box: $MQ_WORK/message_window.png"
read -r width height < <(identify -format '%w %h\n' "$MQ_WORK/message_window.png")
# One line of 47 characters, 9 pixels each, and an OK button below it.
[ "$width" -gt 423 ] && [ "$width" -lt 640 ] && [ "$height" -gt 40 ] && [ "$height" -lt 200 ] ||
  fail "message window is ${width}x$height"
ink=$(convert "$MQ_WORK/message_window.png" -fill white +opaque black -negate \
  -format '%[fx:round(mean*w*h)]' info:)
note "black pixels in the message window: $ink"
[ "$ink" -gt 500 ] || fail "no text in the message window ($ink black pixels)"

answer_message_box
wait_for 60 first_frame_shown || fail "no frame shown after the message ($(cat "$player_log"))"
have_player_window || fail "no player window"
echo "PASS"
