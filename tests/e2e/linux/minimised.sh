#!/usr/bin/env bash
# Minimised (here: unmapped, which SDL reports as hidden and minimised; Xvfb has no window
# manager to iconify with), the player produces no frames and uses no processor time over
# two seconds; shown again, it runs on.
# Usage: minimised.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

start_windowed_player
running_before=$(cpu_ticks); sleep 2; running_after=$(cpu_ticks)
note "running: $((running_after - running_before)) ticks in 2 s"
xdotool windowunmap --sync "$win"
sleep 0.5
idle_before=$(cpu_ticks); sleep 2; idle_after=$(cpu_ticks)
note "minimised: $((idle_after - idle_before)) ticks in 2 s"
[ "$idle_after" = "$idle_before" ] || fail "minimised, the player used $((idle_after - idle_before)) ticks"
xdotool windowmap --sync "$win"
sleep 0.5
shot first; sleep 1; shot second
changed=$(differing "$MQ_WORK/first.png" "$MQ_WORK/second.png")
[ "$changed" -gt 500 ] || fail "shown again, the picture does not move ($changed)"
echo "PASS"
