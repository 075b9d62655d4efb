# Shared steps of the Linux player's end-to-end checks, sourced by each check script:
# a private Xvfb (its display number chosen by the server), the player started with its
# trace on, its start-up message answered, screenshots of its picture area, and cleanup
# of exactly the processes started here.
#   MQ_PLAYER   the moviquel executable (required)
#   MQ_WORK     a folder for screenshots and logs (created if missing)
set -euo pipefail

: "${MQ_PLAYER:?MQ_PLAYER must name the moviquel executable}"
MQ_WORK=${MQ_WORK:-$(mktemp -d)}
mkdir -p "$MQ_WORK"
xvfb_pid=""
player_pid=""
player_log="$MQ_WORK/player.log"
player_status="$MQ_WORK/player.status"
title='Moviquel Co 1-1 Moviquel Player'

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

cleanup() {
  if [ -n "$player_pid" ] && kill -0 "$player_pid" 2>/dev/null; then kill "$player_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
}
trap cleanup EXIT

# start_xvfb [WxHxD]: a server on a free display; DISPLAY is set to it. -noreset: by default
# an X server resets when its last client leaves and refuses the connections that come
# meanwhile (of two xdpyinfo in a row, the second failed 25 times in 300), so any client
# before the player, a late one of another check among them, could make the player's first
# connection fail.
start_xvfb() {
  local screen=${1:-1024x768x24}
  local fifo="$MQ_WORK/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp 3>"$fifo" 2>"$MQ_WORK/xvfb.log" &
  xvfb_pid=$!
  local number
  read -r -t 60 number <"$fifo" || fail "Xvfb did not start (see $MQ_WORK/xvfb.log)"
  export DISPLAY=":$number"
  note "Xvfb $screen on $DISPLAY"
}

# start_player [ARGS...]: runs the player in the background; its exit code lands in
# player.status.
start_player() {
  rm -f "$player_status"
  ( MQ_SDL2_TRACE=${MQ_SDL2_TRACE:-1} "$MQ_PLAYER" "$@" >"$player_log" 2>&1; echo $? >"$player_status" ) &
  local runner=$!
  # The player is the runner's child; its own id is what CPU figures are read from.
  player_child() { player_pid=$(pgrep -P "$runner" -x moviquel || true); [ -n "$player_pid" ]; }
  wait_for 60 player_child || fail "the player did not start"
  note "player pid $player_pid"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds; false when SECONDS pass
# first. Every check waits this way on what it looks for, with a limit far above what a
# quiet machine needs: a loaded one is slow, and a wait that ends early proves nothing.
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# The message box: the player's own window titled "Moviquel Player", once it is mapped.
message_box_id() { xdotool search --onlyvisible --name '^Moviquel Player$' 2>/dev/null | head -1; }
have_message_box() { [ -n "$(message_box_id)" ]; }
# near_colour RRGGBB RRGGBB: the two colours differ by at most 12 in each channel (a
# 16-bit screen rounds them).
near_colour() {
  [ ${#1} = 6 ] || return 1
  local i
  for i in 0 2 4; do
    local d=$((16#${1:i:2} - 16#${2:i:2}))
    [ "${d#-}" -le 12 ] || return 1
  done
}
# message_box_drawn: the box is mapped and drawn (its corner has the button-face colour).
message_box_drawn() {
  local box; box=$(message_box_id)
  [ -n "$box" ] && near_colour "$(xwd -id "$box" -silent 2>/dev/null |
    convert xwd:- -format '%[hex:p{0,0}]' info: 2>/dev/null)" D4D0C8
}
have_player_window() { [ -n "$(player_window)" ]; }
# This player's window (by its _NET_WM_PID): a player that has just ended may still have its
# window of the same title on the server, which goes away under the checks' next keys.
# (A player started without start_player is found by its title alone.)
player_window() {
  xdotool search ${player_pid:+--pid "$player_pid"} --name "^${title}\$" 2>/dev/null | head -1
}
first_frame_shown() { grep -q 'first frame shown' "$player_log"; }
player_ended() { [ -s "$player_status" ]; }
# told LINE: the player's trace holds the line.
told() { grep -qF -- "$1" "$player_log"; }
# told_after N LINE: the line is in the trace after its first N lines.
told_after() { tail -n +"$(($1 + 1))" "$player_log" | grep -qF -- "$2"; }
trace_lines() { wc -l <"$player_log"; }
# window_gone ID: the window is destroyed or unmapped.
window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# answer_message_box: presses Enter on the box once it is drawn, as a user would, and waits
# until it has gone.
answer_message_box() {
  box_or_end() { message_box_drawn || player_ended; }
  wait_for 60 box_or_end || fail "no message box drawn ($(cat "$player_log"))"
  ! player_ended ||
    fail "the player ended with status $(cat "$player_status") before its message box ($(cat "$player_log"))"
  local box; box=$(message_box_id)
  xdotool key --window "$box" Return
  wait_for 60 window_gone "$box" || fail "the message box did not close"
}

# start_windowed_player [ARGS...]: the stand-in is told to report no 640x480x16 mode, so the
# full-screen attempt is refused; the message is answered and the player runs windowed.
# Sets win to its window.
start_windowed_player() {
  [ -n "$xvfb_pid" ] || start_xvfb 1024x768x24
  export MQ_SDL2_NO_640X480X16=1
  start_player "$@"
  unset MQ_SDL2_NO_640X480X16
  answer_message_box
  wait_for 60 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
  win=$(player_window)
  [ -n "$win" ] || fail "no player window"
  timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true
}

# grab NAME: the window as it is now, quickly (xwd); develop NAME: its 640x480 picture
# area (below the 20-pixel menu bar when windowed) as $MQ_WORK/NAME.png; shot NAME: both.
grab() { xwd -id "$win" -silent >"$MQ_WORK/$1.xwd"; }
develop() {
  local top=${2:-20}
  convert "$MQ_WORK/$1.xwd" -crop "640x480+0+$top" +repage "$MQ_WORK/$1.png"
}
shot() { grab "$1" && develop "$1" "${2:-20}"; }

# rmse A B: root-mean-square difference of two pictures, 0..1.
rmse() { { compare -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed -E 's/.*\((.*)\).*/\1/'; }
# differing A B: number of pixels that differ.
differing() { { compare -metric AE "$1" "$2" null: 2>&1 || true; } | awk '{print $1}'; }
# less_than X Y: X < Y for decimals.
less_than() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a < b)}'; }
# distance TOP REGION SIZE REFERENCE: the RMSE (0..1) of a region of the picture area (TOP
# pixels below the window's top), read from the server now and scaled to SIZE, against
# the reference (a picture of SIZE). One process, so that a look costs little even on a
# loaded machine, where a scene of five seconds leaves no time to waste.
distance() {
  local x=${2#*+} ; local y=${x#*+}; x=${x%%+*}
  convert "x:$win" -crop "${2%%+*}+$x+$(($1 + y))" +repage -scale "$3!" "$4" -metric RMSE -compare \
    -format '%[distortion]' info: 2>/dev/null || echo 1
}
# small REFERENCE REGION SIZE OUT: the reference's region scaled to SIZE, for distance.
small() { convert "$1" -crop "$2" +repage -scale "$3!" "$4"; }

# moved_since NAME [TOP]: a new shot (NAME.now) differs from NAME in more than 500 pixels.
moved_since() {
  shot "$1.now" "${2:-20}" && [ "$(differing "$MQ_WORK/$1.png" "$MQ_WORK/$1.now.png")" -gt 500 ]
}

# cpu_ticks: user + system clock ticks of the player so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$player_pid/stat"; }

# press KEY: a key press and release sent to the player's window.
press() { xdotool key --window "$win" "$1"; }
# press_to_end KEY: a key that ends the player, typed as a keyboard types it (XTEST, to the
# window given the focus), not sent to the window: SDL now and then drops a sent key press
# (one in about seven under load, after many sent keys: neither the press nor the release
# reached the player, a second one did), which a typed key never was. The window may be gone
# before the key's release, and xdotool may then fail: the check that follows (that the
# player ended, and how) decides.
press_to_end() {
  timeout 60 xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key "$1" 2>/dev/null || true
}
