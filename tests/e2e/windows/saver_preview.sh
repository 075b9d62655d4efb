#!/usr/bin/env bash
# The screen saver's preview (/p HWND) started by a host window as the Screen Saver
# Settings dialog starts it (preview_host.c, built here): the saver runs while the host is
# open and ends when the host closes.
# Under Debian 12's Wine 8.0 a window cannot draw into a child window of another process
# (neither GDI nor DirectDraw reach the host's X window), so the picture in the host's box
# is not looked at here.
# Usage: saver_preview.sh SCR PREVIEW_HOST_SOURCE MINGW_CC
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
# It has drawn frames by now, and no message box came up.
sleep 3
not xdotool search --name '^Moviquel Player$' >/dev/null 2>&1 || fail "the preview showed a message box"
press "$host" Escape
wait_exit 60 >/dev/null || fail "the host did not close"
wait_until 60 not saver_running || fail "the saver outlived the host"
log "the preview ran while the host was open and ended with it"
