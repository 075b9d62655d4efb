#!/usr/bin/env bash
# Figures of the running Linux player, for reports (not a test): processor time per second
# in the main scene (full screen on a 16-bit 640x480 screen and on a 24-bit 1920x1080
# desktop, windowed on a 24-bit screen), the time
# from start to the first frame on screen, and the peak resident memory.
# Usage: tools/player_bench/linux_player_bench.sh [MOVIQUEL] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
MQ_PLAYER=$(realpath "${1:-$here/../../build/linux/moviquel}")
seconds=${2:-10}
MQ_WORK=$(mktemp -d)
source "$here/../../tests/e2e/linux/session.sh"
ticks_per_second=$(getconf CLK_TCK)

measure_cpu() {  # measure_cpu LABEL: share of one core over $seconds
  local before after
  before=$(cpu_ticks); sleep "$seconds"; after=$(cpu_ticks)
  awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" -v label="$1" \
    'BEGIN {printf "%-46s %6.2f %% of one core (%d ticks in %d s)\n", label, 100 * t / hz / s, t, s}'
}

# Full screen on a 16-bit 640x480 screen: no message box, so start-up runs straight through.
start_xvfb 640x480x16
launched=$(date +%s%N)
start_player
wait_for 20 first_frame_shown || fail "no frame"
shown=$(date +%s%N)
win=$(player_window)
echo "start to first frame on screen (wall clock)     $(((shown - launched) / 1000000)) ms"
echo "start to first frame, player's own clock        $(sed -n 's/.*first frame shown at \([0-9]*\) ms.*/\1/p' "$player_log") ms after SDL_Init"
sleep 2
measure_cpu "processor time, main scene, full screen 16-bit"
press a; sleep 1
measure_cpu "processor time after a key (5 s info scene, then main)"
echo "peak resident memory (VmHWM)                   $(awk '/VmHWM/ {print $2, $3}' "/proc/$player_pid/status")"
press Escape
wait_for 10 player_ended || true
cleanup; xvfb_pid=""; player_pid=""

# Full screen on a 1920x1080 24-bit desktop: every frame is converted and enlarged twice.
start_xvfb 1920x1080x24
start_player
wait_for 20 first_frame_shown || fail "no frame"
win=$(player_window)
sleep 2
measure_cpu "processor time, main scene, full screen 1920x1080"
echo "peak resident memory (VmHWM)                   $(awk '/VmHWM/ {print $2, $3}' "/proc/$player_pid/status")"
press Escape
wait_for 10 player_ended || true
cleanup; xvfb_pid=""; player_pid=""

# Windowed on a 24-bit screen: every frame is converted through the colour table.
start_windowed_player
sleep 2
measure_cpu "processor time, main scene, windowed 24-bit"
echo "peak resident memory (VmHWM)                   $(awk '/VmHWM/ {print $2, $3}' "/proc/$player_pid/status")"
press Escape
wait_for 10 player_ended || true
rm -rf "$MQ_WORK"
