#!/usr/bin/env bash
# Runs the Linux player full screen on a private 640x480x16 Xvfb for a while in real time,
# samples its resident memory and processor time every second, and prints the growth of the
# resident set after the first minute and the processor use. Ends the player with Alt+X and
# prints its exit code.
# Usage: tools/soak/resident_memory.sh MOVIQUEL [SECONDS [SAMPLES_FILE]]
#   (SECONDS defaults to 600; the samples go to SAMPLES_FILE or a temporary file)
set -euo pipefail

player=${1:?usage: resident_memory.sh MOVIQUEL [SECONDS [SAMPLES_FILE]]}
seconds=${2:-600}
samples=${3:-$(mktemp)}
work=$(mktemp -d)
xvfb_pid=""
player_pid=""

cleanup() {
  if [ -n "$player_pid" ] && kill -0 "$player_pid" 2>/dev/null; then kill "$player_pid"; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid"; fi
  wait 2>/dev/null || true
}
trap cleanup EXIT

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool (Debian packages xvfb, xdotool)" >&2; exit 1; }
done

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -screen 0 640x480x16 -nolisten tcp 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r -t 20 number <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"

( "$player" >"$work/player.log" 2>&1; echo $? >"$work/player.status" ) &
runner=$!
for _ in $(seq 100); do
  player_pid=$(pgrep -P "$runner" -x "$(basename "$player")" || true)
  [ -n "$player_pid" ] && break
  sleep 0.05
done
[ -n "$player_pid" ] || { echo "the player did not start" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
echo "# second rss_kib cpu_ticks" >"$samples"
start=$(date +%s.%N)
for ((second = 0; second <= seconds; second++)); do
  # Sample on the second, measured from the start, so slow samples do not drift.
  now=$(date +%s.%N)
  delay=$(awk -v s="$start" -v n="$second" -v now="$now" 'BEGIN {d = s + n - now; printf "%.3f", (d > 0 ? d : 0)}')
  sleep "$delay"
  [ -r "/proc/$player_pid/status" ] || { echo "the player ended early" >&2; cat "$work/player.log" >&2; exit 1; }
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$player_pid/status")
  ticks=$(awk '{print $14 + $15}' "/proc/$player_pid/stat")
  echo "$second $rss $ticks" >>"$samples"
done

win=$(xdotool search --name 'Moviquel Player$' 2>/dev/null | head -1 || true)
[ -n "$win" ] && xdotool key --window "$win" alt+x
for _ in $(seq 150); do [ -s "$work/player.status" ] && break; sleep 0.1; done

awk -v hz="$ticks_per_second" -v status="$(cat "$work/player.status" 2>/dev/null || echo none)" '
  /^#/ {next}
  {rss[$1] = $2; ticks[$1] = $3; last = $1}
  END {
    max_after = 0
    for (s = 60; s <= last; s++) if (rss[s] > max_after) max_after = rss[s]
    printf "samples: %d, one per second\n", last + 1
    printf "resident set at 60 s: %d KiB, at %d s: %d KiB, highest after 60 s: %d KiB\n", rss[60], last, rss[last], max_after
    printf "growth after the first minute: %d KiB (last - 60 s), %d KiB (highest - 60 s)\n", rss[last] - rss[60], max_after - rss[60]
    printf "processor use: %.1f%% of one core over the run, %.1f%% after 60 s\n", 100 * ticks[last] / hz / last, 100 * (ticks[last] - ticks[60]) / hz / (last - 60)
    printf "exit code: %s\n", status
  }' "$samples"
echo "samples: $samples"
