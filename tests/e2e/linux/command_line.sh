#!/usr/bin/env bash
# The command line: a bad option, or the id of a window the display lacks, ends with
# status 2 and one line plus the usage hint, before any window; no display, or one with no
# server, ends with status 1 and says so; --window --scale 3 on 1920x1080 says that only 2
# fits and starts in a window twice the size with no message, and resized it keeps the
# picture at twice the size, centred; --window-id draws the picture fitted into a window
# made here, SIGTERM ends it with status 0, and so, quietly, does the window's destruction.
# Usage: command_line.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"
command -v python3 >/dev/null || fail "python3 is missing (Debian package python3)"

status=0
env -u DISPLAY "$MQ_PLAYER" --bogus >"$MQ_WORK/bogus.out" 2>"$MQ_WORK/bogus.err" || status=$?
[ "$status" = 2 ] || fail "--bogus: status $status"
[ ! -s "$MQ_WORK/bogus.out" ] || fail "--bogus wrote to standard output"
[ "$(cat "$MQ_WORK/bogus.err")" = "moviquel: unknown option '--bogus'
Try 'moviquel --help' for more information." ] || fail "--bogus said: $(cat "$MQ_WORK/bogus.err")"

# no_display LINE "ENV" ARGS...: the player, its environment changed by env's ENV, ends
# with status 1 and the line, at once (the bound only keeps a player that runs on from
# holding the check).
no_display() {
  local line=$1 changes=$2; shift 2
  status=0
  # shellcheck disable=SC2086
  env $changes timeout 30 "$MQ_PLAYER" "$@" >/dev/null 2>"$MQ_WORK/no_display.err" || status=$?
  [ "$status" = 1 ] && [ "$(cat "$MQ_WORK/no_display.err")" = "$line" ] ||
    fail "$changes $*: status $status, $(cat "$MQ_WORK/no_display.err")"
}
no_display "moviquel: no display" "-u DISPLAY -u WAYLAND_DISPLAY"
no_display "moviquel: no display" "-u WAYLAND_DISPLAY DISPLAY=" --root
# A display number nothing serves: no socket file, no lock, and no abstract socket (those
# are shared by every root on the machine's network).
dead=90
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ] ||
  grep -qF "@/tmp/.X11-unix/X$dead" /proc/net/unix; do dead=$((dead + 1)); done
no_display "moviquel: cannot open display :$dead" "-u WAYLAND_DISPLAY DISPLAY=:$dead"
no_display "moviquel: cannot open display :$dead" "DISPLAY=:$dead" --window-id 0x400001

start_xvfb 1920x1080x24
# A well-formed id of a window the display does not have: refused the same way.
status=0
"$MQ_PLAYER" --window-id 0x7ffff0 2>"$MQ_WORK/missing.err" || status=$?
[ "$status" = 2 ] && [ "$(head -1 "$MQ_WORK/missing.err")" = \
  "moviquel: there is no X window 0x7ffff0 on this display" ] ||
  fail "--window-id of a missing window: status $status, $(cat "$MQ_WORK/missing.err")"
djpeg -ppm "$resources/main_picture.jpg" >"$MQ_WORK/main_reference.ppm"
convert "$MQ_WORK/main_reference.ppm" -scale 200% "$MQ_WORK/main_2x.png"

# A window twice the size, the menu bar above it, no message but the note on --scale.
rm -f "$player_log" "$player_status"
( MQ_SDL2_TRACE=1 "$MQ_PLAYER" --window --scale 3 >"$player_log" 2>&1; echo $? >"$player_status" ) &
wait_for 60 first_frame_shown || fail "--window: no frame shown ($(cat "$player_log"))"
win=$(player_window)
[ -n "$win" ] || fail "--window: no player window"
# A message would have come with the display's set-up, before the first frame.
! told 'message box' || fail "--window: $(grep 'message box' "$player_log")"
told "moviquel: --scale 3 does not fit the screen; using 2" || fail "--scale 3: $(cat "$player_log")"
size=$(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 1280x980 ] || fail "--scale 3: window is $size, expected 1280x960 below the menu bar"
grab scaled
convert "$MQ_WORK/scaled.xwd" "$MQ_WORK/scaled_window.png"
convert "$MQ_WORK/scaled_window.png" -crop 1280x960+0+20 +repage "$MQ_WORK/scaled.png"
difference=$(rmse "$MQ_WORK/scaled.png" "$MQ_WORK/main_2x.png")
note "--scale 2 picture area vs main picture at 2x: RMSE $difference"
less_than "$difference" 0.1 || fail "--scale 2: not the enlarged main picture (RMSE $difference)"
# Resized to 1500x1000: the 1280x960 picture in the middle of the 1500x980 below the menu
# bar, black around it, the borders on either side equal within a pixel.
xdotool windowsize "$win" 1500 1000
centred_in_resized_window() {
  local box
  box=$(convert "x:$win" -crop 1500x980+0+20 +repage -format '%@' info: 2>/dev/null) || return 1
  [[ $box =~ ^1280x960\+([0-9]+)\+([0-9]+)$ ]] || return 1
  local left=${BASH_REMATCH[1]} top=${BASH_REMATCH[2]}
  local right=$((1500 - 1280 - left)) bottom=$((980 - 960 - top))
  [ $((left - right)) -ge -1 ] && [ $((left - right)) -le 1 ] &&
    [ $((top - bottom)) -ge -1 ] && [ $((top - bottom)) -le 1 ]
}
wait_for 60 centred_in_resized_window ||
  fail "resized: picture at $(convert "x:$win" -crop 1500x980+0+20 +repage -format '%@' info:)"
convert "x:$win" "$MQ_WORK/resized_window.png"
note "resized window: $MQ_WORK/resized_window.png"
timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true
press_to_end Escape
wait_for 60 player_ended || fail "--window: Esc did not end the player"

# A window of another program, 800x500: the picture at 1x, centred.
# The window lives while descriptor 7 is open; closing it on exit ends its maker.
rm -f "$MQ_WORK/window_id" "$player_log" "$player_status"
exec 7> >(exec python3 "$(dirname "$0")/test_window.py" 800 500 >"$MQ_WORK/window_id")
trap 'exec 7>&-; cleanup' EXIT
wait_for 60 test -s "$MQ_WORK/window_id" || fail "the test window was not made"
target=$(cat "$MQ_WORK/window_id")
note "test window $target"
( MQ_SDL2_TRACE=1 "$MQ_PLAYER" --window-id "$target" >"$player_log" 2>&1; echo $? >"$player_status" ) &
runner=$!
wait_for 60 first_frame_shown || fail "--window-id: no frame shown ($(cat "$player_log"))"
player_pid=$(pgrep -P $runner -x moviquel || true)
centred_in_test_window() {
  xwd -id "$target" -silent >"$MQ_WORK/screensaver.xwd" &&
    convert "$MQ_WORK/screensaver.xwd" -crop 640x480+80+10 +repage "$MQ_WORK/screensaver_picture.png" &&
    difference=$(rmse "$MQ_WORK/screensaver_picture.png" "$MQ_WORK/main_reference.ppm") &&
    less_than "$difference" 0.1
}
wait_for 60 centred_in_test_window ||
  fail "--window-id: not the main picture in the window (RMSE $difference)"
note "test window's centre vs main picture: RMSE $difference"
! have_message_box && ! told 'message box' || fail "--window-id: a message box appeared"
[ -n "$player_pid" ] || fail "--window-id: no player process"
kill -TERM "$player_pid"
wait_for 60 player_ended || fail "SIGTERM did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "SIGTERM: exit code $(cat "$player_status")"
grep -q 'display objects alive 0' "$player_log" || fail "display objects left: $(tail -3 "$player_log")"
xwininfo -id "$target" >/dev/null || fail "the player destroyed the test window"

# Another such window, destroyed under the playing player: it ends with status 0, quietly.
rm -f "$MQ_WORK/window_id" "$player_log" "$player_status"
exec 8> >(exec python3 "$(dirname "$0")/test_window.py" 640 480 >"$MQ_WORK/window_id")
maker=$!
wait_for 60 test -s "$MQ_WORK/window_id" || fail "the second test window was not made"
( MQ_SDL2_TRACE=1 "$MQ_PLAYER" --window-id "$(cat "$MQ_WORK/window_id")" >"$player_log" 2>&1
  echo $? >"$player_status" ) &
wait_for 60 first_frame_shown || fail "--window-id: no frame shown ($(cat "$player_log"))"
kill "$maker"
wait_for 60 player_ended || fail "the window's destruction did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "window destroyed: exit code $(cat "$player_status")"
! grep -q 'BadDrawable\|X Error of failed request\|X_ShmPutImage' "$player_log" ||
  fail "X error: $(cat "$player_log")"
grep -q 'display objects alive 0' "$player_log" || fail "display objects left: $(tail -3 "$player_log")"
echo "PASS"
