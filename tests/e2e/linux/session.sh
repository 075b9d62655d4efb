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

# start_xvfb [WxHxD]: a server on a free display; DISPLAY is set to it.
start_xvfb() {
  local screen=${1:-1024x768x24}
  local fifo="$MQ_WORK/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" 2>"$MQ_WORK/xvfb.log" &
  xvfb_pid=$!
  local number
  read -r -t 20 number <"$fifo" || fail "Xvfb did not start (see $MQ_WORK/xvfb.log)"
  export DISPLAY=":$number"
  note "Xvfb $screen on $DISPLAY"
}

# start_player: runs the player in the background; its exit code lands in player.status.
start_player() {
  rm -f "$player_status"
  ( MQ_SDL2_TRACE=${MQ_SDL2_TRACE:-1} "$MQ_PLAYER" >"$player_log" 2>&1; echo $? >"$player_status" ) &
  local runner=$!
  # The player is the runner's child; its own id is what CPU figures are read from.
  for _ in $(seq 100); do
    player_pid=$(pgrep -P "$runner" -x moviquel || true)
    [ -n "$player_pid" ] && break
    sleep 0.05
  done
  [ -n "$player_pid" ] || fail "the player did not start"
  note "player pid $player_pid"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

message_box_id() { xwininfo -root -tree 2>/dev/null | awk '/ "Moviquel Player": / {print $1; exit}'; }
have_message_box() { [ -n "$(message_box_id)" ]; }
have_player_window() { [ -n "$(player_window)" ]; }
player_window() { xdotool search --name "^${title}\$" 2>/dev/null | head -1; }
first_frame_shown() { grep -q 'first frame shown' "$player_log"; }
player_ended() { [ -s "$player_status" ]; }

# answer_message_box: presses Enter on the open message box, as a user would.
answer_message_box() {
  local box
  box=$(message_box_id)
  [ -n "$box" ] || fail "no message box to answer"
  xdotool key --window "$box" Return
  wait_for 10 bash -c "! xwininfo -id $box >/dev/null 2>&1 || ! xwininfo -id $box | grep -q IsViewable" ||
    fail "the message box did not close"
}

# start_windowed_player: the stand-in is told to report no 640x480x16 mode, so the
# full-screen attempt is refused; the message is answered and the player runs windowed.
# Sets win to its window.
start_windowed_player() {
  start_xvfb 1024x768x24
  export MQ_SDL2_NO_640X480X16=1
  start_player
  unset MQ_SDL2_NO_640X480X16
  wait_for 20 have_message_box || fail "no message box after start-up ($(cat "$player_log"))"
  answer_message_box
  wait_for 20 first_frame_shown || fail "no frame shown ($(cat "$player_log"))"
  win=$(player_window)
  [ -n "$win" ] || fail "no player window"
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  sleep 0.5
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

# cpu_ticks: user + system clock ticks of the player so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$player_pid/stat"; }

# press KEY: a key press and release sent to the player's window.
press() { xdotool key --window "$win" "$1"; }
# press_to_end KEY: a key that ends the player. Its window may be gone before xdotool sends
# the key's release, and xdotool then fails with BadWindow: not a failure of the player, so
# the check that follows (that it ended, and how) decides.
press_to_end() { xdotool key --window "$win" "$1" 2>/dev/null || true; }
