#!/usr/bin/env bash
# Recovery on a 16-bit 640x480 screen under Wine, while the player holds the exclusive full
# screen: another program (Notepad) takes the foreground and is closed again, and the
# player's window is minimised; each time the window is then restored as through the
# taskbar (show_player.c, built here), the picture must come back, and Esc must still end
# the player with exit code 0. Wine's DirectDraw calls are traced, and the script prints
# which recovery calls Wine made the player take.
# Usage: recovery.sh EXE MAIN_PICTURE.jpg SHOW_PLAYER_SOURCE MINGW_CC
set -euo pipefail
exe=$1
source "$(dirname "$0")/wine_session.sh"
"$4" -O2 -o "$MQ_OUT/show_player.exe" "$3" || fail "cannot build show_player.exe"
# DirectDraw's calls, so that the log shows which recovery rule ran.
export WINEDEBUG=-all,trace+ddraw
other_pid=""
trap 'if [ -n "$other_pid" ]; then kill "$other_pid" 2>/dev/null || true; fi; cleanup' EXIT

djpeg "$2" | convert ppm:- "$MQ_OUT/main_reference.png"

start_x 640x480x16
ensure_prefix
start_player "$exe"
window=$(wait_window '^Moviquel Co 1-1 Moviquel Player$' 120) || fail "no player window"
wait_picture root "$MQ_OUT/main_reference.png" 60 >/dev/null || fail "the main picture never showed"
log "full screen, main picture shown"

# calls NAME: how many calls of the DirectDraw method the trace holds so far.
calls() { grep -c "trace:ddraw:$1 " "$MQ_OUT/player.log" || true; }
restores_before=$(($(calls ddraw_surface7_Restore) + $(calls ddraw7_RestoreAllSurfaces)))

# Another program takes the focus: Notepad, started in the same Wine session, becomes the
# foreground window.
"$WINELOADER" notepad >"$MQ_OUT/notepad.log" 2>&1 &
other_pid=$!
other=$(wait_window 'Notepad$' 60) || fail "the other program's window did not appear"
xdotool windowfocus --sync "$other" 2>/dev/null || true
# The player has given up the screen once its picture is no longer there.
wait_until 60 not looks_like root "$MQ_OUT/main_reference.png" ||
  fail "the player's picture stayed on the screen with the other program in front"
shot_screen "$MQ_OUT/switched_away.png"
# Two seconds measured, for the log.
flips_away_start=$(calls ddraw_surface7_Flip)
tests_away_start=$(calls ddraw7_TestCooperativeLevel)
sleep 2
flips_away=$(($(calls ddraw_surface7_Flip) - flips_away_start))
tests_away=$(($(calls ddraw7_TestCooperativeLevel) - tests_away_start))
log "switched away: $flips_away flips and $tests_away cooperative-level tests in 2 s"

# Notepad is closed, and the player is restored as through its taskbar button.
press "$other" alt+F4
wait_until 60 window_gone "$other" || fail "the other program's window did not close"
other_pid=""
# come_back NAME: restores the player and waits for its picture.
come_back() {
  "$WINELOADER" "$MQ_OUT/show_player.exe" restore || fail "$1: the player's window was not found"
  wait_picture root "$MQ_OUT/main_reference.png" 60 >/dev/null || {
    shot_screen "$MQ_OUT/$1_not_back.png"
    fail "$1: the picture did not come back (see $MQ_OUT/$1_not_back.png)"
  }
  shot_screen "$MQ_OUT/$1_back.png"
  local flips_back
  flips_back=$(calls ddraw_surface7_Flip)
  flipped() { [ "$(calls ddraw_surface7_Flip)" -gt "$flips_back" ]; }
  wait_until 60 flipped || fail "$1: no frames after the return"
}
come_back switched_away
restores=$(($(calls ddraw_surface7_Restore) + $(calls ddraw7_RestoreAllSurfaces) - restores_before))
log "back after switching away: picture shown and moving; $restores surface restores since the switch"

# Minimised: no frames and no cooperative-level tests until the window is restored.
# ShowWindow on another program's window returns once that window's thread has handled it:
# the player is minimised when show_player ends (its last frame stays on the screen).
"$WINELOADER" "$MQ_OUT/show_player.exe" minimize || fail "the player's window was not found"
# Two seconds measured, for the log.
tests_min=$(calls ddraw7_TestCooperativeLevel)
flips_min=$(calls ddraw_surface7_Flip)
sleep 2
log "minimised: $(($(calls ddraw_surface7_Flip) - flips_min)) flips and $(($(calls ddraw7_TestCooperativeLevel) - tests_min)) cooperative-level tests in 2 s"
come_back minimised
log "back after minimising: picture shown and moving"
log "whole run: $(calls ddraw7_SetDisplayMode) display-mode sets, $(calls ddraw7_SetCooperativeLevel) cooperative-level sets, $(calls ddraw7_RestoreAllSurfaces) RestoreAllSurfaces, $(calls ddraw_surface7_Restore) surface Restore calls, $(grep -c 'device_parent_activate' "$MQ_OUT/player.log" || true) activations and deactivations"

press "$window" Escape
code=$(wait_exit 120) || fail "Esc did not end the player"
[ "$code" = 0 ] || fail "exit code $code, expected 0"
log "Esc ended the player with exit code 0"
