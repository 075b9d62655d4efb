#!/usr/bin/env bash
# Players built with a damaged picture in place of an embedded one. A damaged main picture
# (cut short, scrambled with another seed than the player's, not a JPEG) is found at
# start-up: the full-screen display is given up, the user is told in a message box over the
# desktop, and the player ends with code 0 and no display object (nor, in a sanitizer
# build, any leak) left. A damaged info picture is found only when it is due: the player
# keeps the main picture, tells nothing, and ends normally with Alt+X.
# The variants are built in one sub-build of the player alone, like the calling build.
# Usage: damaged_pictures.sh SOURCE_DIR WORK_DIR BUILD_TYPE SANITIZE [COMPILER_LAUNCHER]
source_dir=$1; MQ_WORK=$2; build_type=$3; sanitize=$4; launcher=${5:-}
resources=$source_dir/resources
sub_build=$MQ_WORK/build
MQ_PLAYER=$sub_build/moviquel
source "$(dirname "$0")/session.sh"

# The damaged files.
main=$resources/main_picture.jpg
info=$resources/info_picture.jpg
head -c "$(($(stat -c %s "$main") / 2))" "$main" >"$MQ_WORK/main_cut_short.jpg"
not_a_jpeg=$resources/moviquel.ico

# build_player INFO MAIN SEED: the player alone with these pictures (an empty seed is the
# player's own); only the embedded pictures change between variants.
build_player() {
  cmake -S "$source_dir" -B "$sub_build" -DCMAKE_BUILD_TYPE="$build_type" -DMQ_SANITIZE="${sanitize:-OFF}" \
    -DMQ_BUILD_TESTS=OFF -DMQ_BUILD_TOOLS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" \
    -DCMAKE_C_COMPILER_LAUNCHER="$launcher" \
    -DMQ_INFO_PICTURE="$1" -DMQ_MAIN_PICTURE="$2" -DMQ_PICTURE_SEED="$3" >"$MQ_WORK/configure.log" 2>&1 ||
    fail "configure failed (see $MQ_WORK/configure.log)"
  cmake --build "$sub_build" --target moviquel -j 2 >"$MQ_WORK/build.log" 2>&1 ||
    fail "build failed (see $MQ_WORK/build.log)"
}

# stop_xvfb: ends this variant's server before the next one starts its own.
stop_xvfb() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}

# damaged_main NAME INFO MAIN SEED
damaged_main() {
  local name=$1
  build_player "$2" "$3" "$4"
  start_xvfb 640x480x16
  start_player
  wait_for 120 message_box_drawn || fail "$name: no message box ($(cat "$player_log"))"
  xwd -root -silent | convert xwd:- "$MQ_WORK/$name.png"
  note "$name: screenshot $MQ_WORK/$name.png"
  grep -qF 'message box "Moviquel Player": The pictures inside the program are damaged. The program will now exit.' \
    "$player_log" || fail "$name: wrong message ($(cat "$player_log"))"
  [ "$(grep -c 'message box' "$player_log")" = 1 ] || fail "$name: more than one message"
  ! first_frame_shown || fail "$name: a frame was shown"
  answer_message_box
  wait_for 120 player_ended || fail "$name: the player did not end after the message"
  [ "$(cat "$player_status")" = 0 ] || fail "$name: exit code $(cat "$player_status") ($(cat "$player_log"))"
  grep -q 'display objects alive 0' "$player_log" || fail "$name: display objects left ($(cat "$player_log"))"
  stop_xvfb
}

damaged_main main_cut_short "$info" "$MQ_WORK/main_cut_short.jpg" ""
damaged_main main_wrong_key "$info" "$main" 0x12345678
damaged_main main_not_a_jpeg "$info" "$not_a_jpeg" ""

# A damaged info picture: the switch to it fails and the main picture stays. (An info
# picture cut short would not do: it is progressive, and its first scans alone decode.)
build_player "$not_a_jpeg" "$main" ""
start_xvfb 640x480x16
MQ_SDL2_TRACE=messages start_player
wait_for 120 first_frame_shown || fail "info_not_a_jpeg: no frame shown ($(cat "$player_log"))"
win=$(player_window)
[ -n "$win" ] || fail "info_not_a_jpeg: no player window"
timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true
# The switch is made while the key's press (WM_KEYDOWN) is handled: once its release
# (WM_KEYUP, 0x0101) is dispatched, the switch has failed or not.
lines=$(trace_lines)
press space
wait_for 120 told_after "$lines" 'message 0x0101 0x20 ' ||
  fail "info_not_a_jpeg: the key's release was not handled ($(cat "$player_log"))"
! told 'message box' || fail "info_not_a_jpeg: a message box appeared ($(cat "$player_log"))"
djpeg -ppm "$main" >"$MQ_WORK/main_reference.ppm"
shot info_not_a_jpeg_after_switch 0
difference=$(rmse "$MQ_WORK/info_not_a_jpeg_after_switch.png" "$MQ_WORK/main_reference.ppm")
note "info_not_a_jpeg: screen after the switch vs main picture: RMSE $difference"
less_than "$difference" 0.1 || fail "info_not_a_jpeg: the main picture did not stay (RMSE $difference)"
press_to_end alt+x
wait_for 120 player_ended || fail "info_not_a_jpeg: Alt+X did not end the player"
[ "$(cat "$player_status")" = 0 ] || fail "info_not_a_jpeg: exit code $(cat "$player_status") ($(cat "$player_log"))"
grep -q 'display objects alive 0' "$player_log" || fail "info_not_a_jpeg: display objects left"
echo "PASS"
