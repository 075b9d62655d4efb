#!/usr/bin/env bash
# Photos: a folder plays in the order of its paths, the first photo upright by its EXIF
# orientation and fitted as ImageMagick fits it (cover, then contain); a key goes to the next
# photo and Left back; files that cannot be shown are named once each on standard error;
# --shuffle plays every photo before any repeats; nothing to show ends with status 1; and a
# screensaver without paths plays the image folder of ~/.xscreensaver.
# Usage: photos.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; resources=$2; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"
command -v cjpeg >/dev/null || fail "cjpeg is missing (Debian package libjpeg-turbo-progs)"

photos="$MQ_WORK/photos"
rm -rf "$photos"; mkdir -p "$photos/more" "$photos/.hidden" "$photos/empty"
# The first photo is stored on its side (600x400) with orientation 6: upright it is a
# 400x600 portrait. The Exif segment (one IFD0 entry) goes right after the start of image.
convert logo: -resize '600x400!' "$MQ_WORK/stored.ppm"
exif='\xff\xd8\xff\xe1\x00\x22Exif\x00\x00II*\x00\x08\x00\x00\x00\x01\x00\x12\x01\x03\x00'
exif+='\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'
{ printf "$exif"; cjpeg -quality 95 "$MQ_WORK/stored.ppm" | tail -c +3; } >"$photos/1-portrait.jpg"
for n in 2 3; do
  convert -size 800x600 "gradient:#${n}0a040-#0040${n}0" "$MQ_WORK/$n.ppm"
  cjpeg "$MQ_WORK/$n.ppm" >"$photos/more/$n.jpg"
done
cp "$photos/more/2.jpg" "$photos/.hidden/hidden.jpg"
head -c 2000 "$photos/more/3.jpg" >"$photos/more/4-damaged.jpg"
convert rose: "png:$photos/more/5-png.jpg"
: >"$photos/more/6-empty.jpg"
ln -s .. "$photos/more/loop"

# Nothing to show: one line, status 1, before any display is needed.
status=0
env -u DISPLAY "$MQ_PLAYER" "$photos/empty" "$photos/more/6-empty.jpg" >/dev/null \
  2>"$MQ_WORK/none.err" || status=$?
[ "$status" = 1 ] && [ "$(tail -1 "$MQ_WORK/none.err")" = \
  "moviquel: no photo that can be shown in the paths given" ] ||
  fail "nothing to show: status $status, $(cat "$MQ_WORK/none.err")"

# fit_reference MODE OUT: the photo as ImageMagick turns and fits it into 640x480.
fit_reference() {
  local fit='640x480^ -gravity center -extent 640x480'
  [ "$1" = contain ] && fit='640x480 -background #404020 -gravity center -extent 640x480'
  # shellcheck disable=SC2086
  convert "$photos/1-portrait.jpg" -auto-orient -resize $fit "$2"
}
# The first frame against the fit, at a quarter of the size: the blocks that start moving
# at once cost little there. The stored, unturned photo is the control.
first_photo_fits() {
  local mode=$1
  fit_reference "$mode" "$MQ_WORK/$mode.png"
  small "$MQ_WORK/$mode.png" 640x480+0+0 160x120 "$MQ_WORK/${mode}_quarter.png"
  shot "$mode.shown"
  local d; d=$(distance 20 640x480+0+0 160x120 "$MQ_WORK/${mode}_quarter.png")
  convert "$MQ_WORK/stored.ppm" -resize '640x480^' -gravity center -extent 640x480 \
    -scale '160x120!' "$MQ_WORK/unturned.png"
  local control; control=$(distance 20 640x480+0+0 160x120 "$MQ_WORK/unturned.png")
  note "$mode: shown vs fit $d, vs the unturned photo $control"
  less_than "$d" 0.08 || fail "$mode: the first frame is not the fitted photo ($d)"
  less_than "$d" "$(awk -v c="$control" 'BEGIN {print c / 3}')" ||
    fail "$mode: the first frame is as near the unturned photo ($d against $control)"
}
shown_count() { grep -c 'photo shown' "$player_log" || true; }
shown_at_least() { [ "$(shown_count)" -ge "$1" ]; }
last_shown() { grep 'photo shown' "$player_log" | tail -1 | sed 's/.*photo shown //'; }

start_windowed_player "$photos"
first_photo_fits cover
[ "$(last_shown)" = "$photos/1-portrait.jpg" ] || fail "first shown: $(last_shown)"
press a
wait_for 60 shown_at_least 2 || fail "a key did not go to the next photo"
[ "$(last_shown)" = "$photos/more/2.jpg" ] || fail "after a key: $(last_shown)"
press a
wait_for 60 shown_at_least 3 || fail "a second key did not go on"
press Left
wait_for 60 shown_at_least 4 || fail "Left did not go back"
[ "$(last_shown)" = "$photos/more/2.jpg" ] || fail "after Left: $(last_shown)"
# Round past the end: the files that cannot be shown are told once each, whatever the walk
# met them by, and the first photo comes again.
bad_lines=("more/4-damaged.jpg: the JPEG data is damaged at byte 2000"
  "more/5-png.jpg: a PNG picture, not a JPEG" "more/6-empty.jpg: the file is empty")
all_told() {
  local line
  for line in "${bad_lines[@]}"; do told "moviquel: $photos/$line" || return 1; done
}
press a
wait_for 60 shown_at_least 5 || fail "a key after Left did not go on"
press a
wait_for 60 shown_at_least 6 || fail "a key at the last photo did not go round"
[ "$(last_shown)" = "$photos/1-portrait.jpg" ] || fail "after the last photo: $(last_shown)"
wait_for 60 all_told || fail "bad files not told: $(grep -F "$photos/more" "$player_log")"
for line in "${bad_lines[@]}"; do
  [ "$(grep -cF "moviquel: $photos/$line" "$player_log")" = 1 ] || fail "told twice: $line"
done
! grep -q hidden "$player_log" || fail "a hidden file was read"
press_to_end Escape
wait_for 60 player_ended || fail "Esc did not end the player"

start_windowed_player --fit contain "$photos/1-portrait.jpg"
first_photo_fits contain
press_to_end Escape
wait_for 60 player_ended || fail "Esc did not end the contain run"

# Shuffled: each round of three holds every photo, and no photo comes twice in a row.
start_windowed_player --shuffle "$photos"
for n in $(seq 2 9); do
  press a
  wait_for 60 shown_at_least "$n" || fail "shuffled: key $n did not go on"
done
mapfile -t order < <(grep 'photo shown' "$player_log" | sed 's/.*photo shown //')
note "shuffled: ${order[*]##*/}"
for round in 0 3 6; do
  [ "$(printf '%s\n' "${order[@]:round:3}" | sort -u | wc -l)" = 3 ] ||
    fail "shuffled round at $round repeats a photo: ${order[*]##*/}"
done
for i in $(seq 1 8); do
  [ "${order[i]}" != "${order[i - 1]}" ] || fail "shuffled: the same photo twice in a row"
done
press_to_end Escape
wait_for 60 player_ended || fail "Esc did not end the shuffled run"

# A screensaver given no paths: the image folder of the settings, shuffled.
home="$MQ_WORK/home"; mkdir -p "$home"
printf 'imageDirectory:\t%s\nchooseRandomImages:\tTrue\n' "$photos/more" >"$home/.xscreensaver"
HOME=$home start_player --root
wait_for 60 first_frame_shown || fail "the screensaver showed no frame ($(cat "$player_log"))"
# (Its link to the parent folder leads to the first photo too.)
last_shown | grep -qE "^$photos/more/([23]|loop/1-portrait).jpg\$" ||
  fail "the screensaver showed $(last_shown)"
kill "$player_pid"
wait_for 60 player_ended || fail "SIGTERM did not end the screensaver"
echo "PASS"
