#!/usr/bin/env bash
# The screen saver's preview (/p HWND) started by a host window as the Screen Saver
# Settings dialog starts it (preview_host.c, built here): the saver runs while the host is
# open and ends when the host closes. Given the main picture, the host's 152x112 box must
# also show it, scaled: that needs a Wine that shows what one process draws into a child
# window of another (Debian 13's Wine 10, scripts/wine-root --preview; Debian 12's Wine 8.0
# shows nothing there).
# Usage: saver_preview.sh SCR PREVIEW_HOST_SOURCE MINGW_CC [MAIN_PICTURE.jpg]
set -euo pipefail
scr=$1
source "$(dirname "$0")/wine_session.sh"
"$3" -O2 -o "$MQ_OUT/preview_host.exe" "$2" || fail "cannot build preview_host.exe"
start_x 640x480x24
ensure_prefix
"$WINELOADER" reg delete 'HKCU\Software\Moviquel Co\Moviquel Player' /f >/dev/null 2>&1 || true
saver=$("$WINELOADER" winepath -w "$scr" 2>/dev/null)
rm -f "$MQ_OUT/exit_code"
( "$WINELOADER" "$MQ_OUT/preview_host.exe" "$saver" >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
player_pid=$!
host=$(wait_window '^Preview host$' 120) || fail "no host window"
saver_running() { pgrep -f 'moviquel.scr /p [0-9]+$' >/dev/null; }
wait_until 60 saver_running || fail "the saver did not start with the host's handle"
if [ -n "${4:-}" ]; then
  # The box against the picture scaled to it, its top (the labels are at the bottom) averaged
  # to 38x24, where the blocks' motion is small.
  djpeg "$4" | convert ppm:- -resize '152x112!' -crop 152x96+0+0 +repage -scale '38x24!' \
    "$MQ_OUT/box_reference.png"
  box_psnr() {
    value=$(convert "x:$host" -gravity SouthEast -crop 152x112+0+0 +repage -gravity NorthWest \
      -crop 152x96+0+0 +repage -scale '38x24!' "$MQ_OUT/box_reference.png" -metric PSNR \
      -compare -format '%[distortion]' info: 2>/dev/null) || true
    printf '%.0f\n' "${value:-0}"
  }
  box_shows_picture() { [ "$(box_psnr)" -ge 20 ]; }
  wait_until 60 box_shows_picture || fail "the host's box never showed the picture (PSNR $(box_psnr) dB)"
  shot_window "$host" "$MQ_OUT/preview_in_host.png"
  log "the host's box shows the picture scaled (PSNR $(box_psnr) dB)"
fi
# It has drawn frames by now, and no message box came up.
sleep 3
not xdotool search --name '^Moviquel Player$' >/dev/null 2>&1 || fail "the preview showed a message box"
press "$host" Escape
wait_exit 60 >/dev/null || fail "the host did not close"
wait_until 60 not saver_running || fail "the saver outlived the host"
log "the preview ran while the host was open and ended with it"
