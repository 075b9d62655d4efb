#!/usr/bin/env bash
# Minimised (here: unmapped, which SDL reports as hidden and minimised; Xvfb has no window
# manager to iconify with), the player produces no frames and uses no processor time over
# two seconds; shown again, it runs on.
# Usage: minimised.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

# The two-second spans below are what is measured, not waits for something to happen.
MQ_SDL2_TRACE=messages start_windowed_player
running_before=$(cpu_ticks); sleep 2; running_after=$(cpu_ticks)
note "running: $((running_after - running_before)) ticks in 2 s"
lines=$(trace_lines)
xdotool windowunmap --sync "$win"
# WM_SIZE (0x0005) with SIZE_MINIMIZED: the player has seen it and stops at its next turn.
wait_for 60 told_after "$lines" 'message 0x0005 0x1 ' || fail "the player did not see the unmap"
idle_before=$(cpu_ticks); sleep 2; idle_after=$(cpu_ticks)
note "minimised: $((idle_after - idle_before)) ticks in 2 s"
[ "$idle_after" = "$idle_before" ] || fail "minimised, the player used $((idle_after - idle_before)) ticks"
xdotool windowmap --sync "$win"
djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
main_drawn() { shot first && less_than "$(rmse "$MQ_WORK/first.png" "$MQ_WORK/main_reference.ppm")" 0.1; }
wait_for 60 main_drawn || fail "shown again, the picture is not drawn"
wait_for 60 moved_since first || fail "shown again, the picture does not move"
echo "PASS"
