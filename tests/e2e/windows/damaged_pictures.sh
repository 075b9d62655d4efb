#!/usr/bin/env bash
# Windows players built with a damaged main picture (cut short, scrambled with another seed
# than the player's, not a JPEG), run under Wine on a 16-bit 640x480 screen: the player
# gives up the full screen, tells the user in a message box over the desktop, and ends with
# exit code 0 once the box is answered. The variants are built in one sub-build of the
# player alone (unoptimised, which builds fastest); only its resources change between them.
# Usage: damaged_pictures.sh SOURCE_DIR TOOLCHAIN_FILE
set -euo pipefail
source_dir=$1
toolchain=$2
source "$(dirname "$0")/wine_session.sh"

resources=$source_dir/resources
sub_build=$MQ_OUT/build
main=$resources/main_picture.jpg
head -c "$(($(stat -c %s "$main") / 2))" "$main" >"$MQ_OUT/main_cut_short.jpg"

# build_player MAIN SEED: the player alone with this main picture (an empty seed is the
# player's own).
build_player() {
  cmake -S "$source_dir" -B "$sub_build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Debug -DMQ_BUILD_TESTS=OFF -DMQ_BUILD_TOOLS=OFF \
    -DMQ_MAIN_PICTURE="$1" -DMQ_PICTURE_SEED="$2" >"$MQ_OUT/configure.log" 2>&1 ||
    fail "configure failed (see $MQ_OUT/configure.log)"
  cmake --build "$sub_build" --target moviquel -j 2 >"$MQ_OUT/build.log" 2>&1 ||
    fail "build failed (see $MQ_OUT/build.log)"
}

start_x 640x480x16
ensure_prefix

# damaged NAME MAIN SEED
damaged() {
  local name=$1 box code
  build_player "$2" "$3"
  start_player "$sub_build/moviquel.exe"
  box=$(wait_window '^Moviquel Player$' 120) || fail "$name: no message box"
  wait_until 60 drawn "$box" || fail "$name: the message box was not drawn"
  shot_screen "$MQ_OUT/$name.png"
  log "$name: screenshot $MQ_OUT/$name.png"
  # The box stands over the desktop: the full-screen picture has been given up.
  geometry=$(xwininfo -id "$box" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  log "$name: message box $geometry"
  press "$box" Return
  code=$(wait_exit 120) || fail "$name: the player did not end after the message"
  [ "$code" = 0 ] || fail "$name: exit code $code, expected 0"
  log "$name: told, then exit code 0"
}

damaged main_cut_short "$MQ_OUT/main_cut_short.jpg" ""
damaged main_wrong_key "$main" 0x12345678
damaged main_not_a_jpeg "$resources/moviquel.ico" ""
