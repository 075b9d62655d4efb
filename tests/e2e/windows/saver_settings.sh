#!/usr/bin/env bash
# The screen saver's settings (/c): the dialog appears; a folder typed into its path field
# and OK are kept in the registry; the run (/s) then plays that folder's photo, fitted to
# cover the frame. A folder named in another script than the system's code page plays too.
# Usage: saver_settings.sh SCR MAIN_PICTURE.jpg
set -euo pipefail
scr=$1
source "$(dirname "$0")/wine_session.sh"
photos=$MQ_OUT/photos
rm -rf "$photos"
mkdir -p "$photos"
convert -size 800x400 gradient:red-blue -fill yellow -draw 'circle 400,200 400,60' \
  -fill green -draw 'rectangle 40,40 200,360' "$photos/photo.jpg"
convert "$photos/photo.jpg" -auto-orient -resize '640x480^' -gravity center -extent 640x480 \
  "$MQ_OUT/photo_reference.png"
start_x 640x480x16
ensure_prefix
key='HKCU\Software\Moviquel Co\Moviquel Player'
"$WINELOADER" reg delete "$key" /f >/dev/null 2>&1 || true

rm -f "$MQ_OUT/exit_code"
( "$WINELOADER" "$scr" /c >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
player_pid=$!
dialog=$(wait_window '^Moviquel Player Settings$' 120) || fail "the settings dialog did not appear"
sleep 1
shot_window "$dialog" "$MQ_OUT/settings_dialog.png"
folder=$("$WINELOADER" winepath -w "$photos" 2>/dev/null)
xdotool windowfocus "$dialog" type --delay 20 "$folder"
press "$dialog" Return
code=$(wait_exit 60) || fail "OK did not close the dialog"
[ "$code" = 0 ] || fail "exit code $code, expected 0"
stored=$("$WINELOADER" reg query "$key" /v Folder 2>/dev/null | tr -d '\r' | grep Folder) ||
  fail "no folder under $key"
log "stored: $stored"
[[ "$stored" == *"$folder" ]] || fail "the folder stored is not $folder"
"$WINELOADER" reg query "$key" /v UseFolder 2>/dev/null | grep -q '0x1' || fail "the folder is not chosen"

rm -f "$MQ_OUT/exit_code"
( "$WINELOADER" "$scr" /s >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
player_pid=$!
start_ms=$(date +%s%3N)
wait_picture root "$MQ_OUT/photo_reference.png" 120 >/dev/null || fail "the run never showed the folder's photo"
shot_screen "$MQ_OUT/saver_photo.png"
log "the run plays the folder's photo: $(psnr "$MQ_OUT/saver_photo.png" "$MQ_OUT/photo_reference.png" 640x400+0+0) dB"
xdotool mousemove_relative 30 0
wait_exit 60 >/dev/null || fail "a move did not end the run"
"$WINELOADER" reg delete "$key" /f >/dev/null 2>&1 || true

# A folder whose name the ANSI code page (1252 here) cannot hold, stored as the dialog stores it.
other=$MQ_OUT/Фото
rm -rf "$other"
mkdir -p "$other"
convert -size 600x600 gradient:white-green -fill blue -draw 'circle 300,300 300,120' "$other/фото.jpg"
convert "$other/фото.jpg" -resize '640x480^' -gravity center -extent 640x480 \
  "$MQ_OUT/other_reference.png"
export LANG=C.UTF-8  # Wine reads its arguments and the Linux file names in UTF-8
other_folder=$("$WINELOADER" winepath -w "$other" 2>/dev/null)
"$WINELOADER" reg add "$key" /v UseFolder /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$WINELOADER" reg add "$key" /v Folder /t REG_SZ /d "$other_folder" /f >/dev/null 2>&1 ||
  fail "could not store $other_folder"
rm -f "$MQ_OUT/exit_code"
( "$WINELOADER" "$scr" /s >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
player_pid=$!
wait_picture root "$MQ_OUT/other_reference.png" 120 >/dev/null ||
  fail "the run never showed the photo of $other_folder ($(tr -d '\r' <"$MQ_OUT/player.log" | tail -1))"
shot_screen "$MQ_OUT/saver_other_photo.png"
log "the run plays the photo of $other_folder: $(psnr "$MQ_OUT/saver_other_photo.png" "$MQ_OUT/other_reference.png" 640x400+0+0) dB"
xdotool mousemove_relative 30 0
wait_exit 60 >/dev/null || fail "a move did not end the run"
"$WINELOADER" reg delete "$key" /f >/dev/null 2>&1 || true
