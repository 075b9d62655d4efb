#!/usr/bin/env bash
# With SDL_VIDEODRIVER=wayland and no X display, the player runs on Wayland itself: under
# weston nested in Xvfb (its x11 back end, whose output is an X window at the origin), full
# screen on the 800x600 output with the main picture centred at (80, 60).
# Usage: wayland.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

weston_pid="" runtime=""
cleanup_wayland() {
  if [ -n "$player_pid" ]; then kill "$player_pid" 2>/dev/null || true; fi
  if [ -n "$weston_pid" ]; then kill "$weston_pid" 2>/dev/null || true; fi
  cleanup
  if [ -n "$runtime" ]; then rm -rf "$runtime"; fi
}
trap cleanup_wayland EXIT

start_xvfb 800x600x24
x_display=$DISPLAY
# Short: a socket's path has at most 107 bytes.
runtime=$(mktemp -d /tmp/moviquel-wayland.XXXXXX)
export XDG_RUNTIME_DIR=$runtime
weston --backend=x11-backend.so --use-pixman --no-config --idle-time=0 --socket=wayland-mq \
       --width=800 --height=600 >"$MQ_WORK/weston.log" 2>&1 &
weston_pid=$!
wait_for 20 test -S "$XDG_RUNTIME_DIR/wayland-mq" || fail "weston did not start ($(cat "$MQ_WORK/weston.log"))"

unset DISPLAY
WAYLAND_DISPLAY=wayland-mq SDL_VIDEODRIVER=wayland start_player
export DISPLAY=$x_display
wait_for 20 first_frame_shown || fail "no frame shown on Wayland ($(cat "$player_log"))"

djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
main_picture_on_screen() {
  xwd -root -silent | convert xwd:- -crop 640x480+80+60 +repage "$MQ_WORK/screen.png"
  less_than "$(rmse "$MQ_WORK/screen.png" "$MQ_WORK/main_reference.ppm")" 0.1
}
wait_for 20 main_picture_on_screen ||
  fail "the main picture is not on weston's output (RMSE $(rmse "$MQ_WORK/screen.png" "$MQ_WORK/main_reference.ppm"))"
note "main picture on weston's output: RMSE $(rmse "$MQ_WORK/screen.png" "$MQ_WORK/main_reference.ppm")"
echo "PASS"
