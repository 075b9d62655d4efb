# Shared steps of the Wine checks, sourced by the test scripts: a private X server, the
# Wine prefix, the player's process, window look-up, keys and screenshots, picture checks.
# Expects MQ_WINE_LOADER, MQ_WINE_SERVER, MQ_WINE_PREFIX and MQ_OUT (a folder for logs and
# screenshots) in the environment.

export WINEPREFIX="$MQ_WINE_PREFIX"
export WINELOADER="$MQ_WINE_LOADER"
export WINESERVER="$MQ_WINE_SERVER"
# MQ_WINEDEBUG: channels to trace when looking for a cause. DirectDraw's warnings stay on: at
# start they say whether its 3D renderer is missing (wine_3d_renderer).
export WINEDEBUG=${MQ_WINEDEBUG:--all,warn+ddraw}
# No Mono or Gecko installer prompts in the fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
player_pid=""
mkdir -p "$MQ_OUT"

log() { printf '%s %s\n' "$(date +%H:%M:%S)" "$*" >&2; }
fail() {
  log "FAIL: $*"
  if [ -f "$MQ_OUT/player.log" ]; then log "$(wine_3d_renderer)"; fi
  # What the screen and the X server looked like, for finding the cause.
  if [ -n "${DISPLAY:-}" ]; then
    import -silent -window root "$MQ_OUT/failure.png" 2>/dev/null || true
    xwininfo -root -tree >"$MQ_OUT/failure_windows.txt" 2>/dev/null || true
    log "at the failure: keyboard focus $(xdotool getwindowfocus 2>/dev/null), screen in $MQ_OUT/failure.png, windows in $MQ_OUT/failure_windows.txt"
  fi
  # A player still running: its threads' stacks.
  local pid
  for pid in $(pgrep -P "${player_pid:-0}" 2>/dev/null); do
    if command -v gdb >/dev/null; then
      timeout 60 gdb -p "$pid" -batch -ex 'thread apply all bt 12' >"$MQ_OUT/failure_stacks_$pid.txt" 2>&1 || true
      log "at the failure: the player's process $pid still runs; stacks in $MQ_OUT/failure_stacks_$pid.txt"
    fi
  done
  exit 1
}

cleanup() {
  if [ -n "$player_pid" ] && kill -0 "$player_pid" 2>/dev/null; then kill "$player_pid" 2>/dev/null || true; fi
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

# start_x WIDTHxHEIGHTxDEPTH: a private X server on a free display number.
start_x() {
  local fifo="$MQ_OUT/display.$$"
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -noreset -screen 0 "$1" -nolisten tcp 3>"$fifo" >"$MQ_OUT/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 30 number <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$number"
  log "X server $DISPLAY at $1"
}

# The prefix is made once (the first start of Wine takes a while) and then reused.
ensure_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  log "creating the Wine prefix $WINEPREFIX"
  timeout 300 "$WINELOADER" wineboot -i >"$MQ_OUT/wineboot.log" 2>&1 || fail "wineboot failed"
  "$WINESERVER" -w
}

# start_player EXE: runs it in the background; its exit status goes to $MQ_OUT/exit_code.
start_player() {
  rm -f "$MQ_OUT/exit_code"
  ( "$WINELOADER" "$1" >"$MQ_OUT/player.log" 2>&1; echo $? >"$MQ_OUT/exit_code" ) &
  player_pid=$!
  start_ms=$(date +%s%3N)
}

# wait_until SECONDS COMMAND...: polls until the command succeeds; false when SECONDS pass
# first. Every check waits this way on what it looks for, with a limit far above what a
# quiet machine needs.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

# wait_window REGEX SECONDS: prints the X id of the first window whose name matches.
wait_window() {
  local id
  visible_named() { id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ]; }
  wait_until "$2" visible_named "$1" || return 1
  echo "$id"
}

# not COMMAND...: true when the command fails.
not() { ! "$@"; }

# window_gone WINDOW: the window is destroyed or unmapped.
window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

# press WINDOW KEY: gives the window the keyboard focus and types the key through XTEST,
# in one connection to the server, which handles the two requests in their order.
press() { xdotool windowfocus "$1" key --clearmodifiers "$2"; }

# drawn WINDOW: the window shows something other than one flat colour.
drawn() {
  shot_window "$1" "$MQ_OUT/drawn_probe.png" 2>/dev/null &&
    [ "$(convert "$MQ_OUT/drawn_probe.png" -format '%[fx:round(1000*standard_deviation)]' info:)" -gt 10 ]
}

# visible_windows: the ids of the visible windows, one a line.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort || true; }

# wait_new_dialog BEFORE SECONDS: prints the id of a visible dialog window (a dialog box
# or message box; not a menu) that is not in the list BEFORE.
wait_new_dialog() {
  local found=""
  new_dialog() {
    local id
    for id in $(comm -13 <(echo "$1") <(visible_windows)); do
      if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG; then
        found=$id
        return 0
      fi
    done
    return 1
  }
  wait_until "$2" new_dialog "$1" || return 1
  echo "$found"
}

# wait_exit SECONDS: waits for the player to end and prints its exit code.
wait_exit() {
  wait_until "$1" test -s "$MQ_OUT/exit_code" || return 1
  cat "$MQ_OUT/exit_code"
}

# shot_window WINDOW FILE: the window's own pixels (import reads them in the window's own
# visual; xwd's dumps of a 16-bit screen come back with their colours mixed up).
shot_window() { import -silent -window "$1" "$2"; }
# shot_screen FILE: the whole screen.
shot_screen() { import -silent -window root "$1"; }
# client_area SHOT FILE: the bottom 640x480 of a window shot, below the menu bar.
client_area() { convert "$1" -gravity SouthEast -crop 640x480+0+0 +repage "$2"; }

# psnr A B [GEOMETRY]: peak signal-to-noise ratio in dB of the two pictures (or of one
# region of both), as an integer; identical pictures give 99.
psnr() {
  local a="$1" b="$2"
  if [ -n "${3:-}" ]; then
    convert "$1" -crop "$3" +repage "$MQ_OUT/psnr_a.png"
    convert "$2" -crop "$3" +repage "$MQ_OUT/psnr_b.png"
    a="$MQ_OUT/psnr_a.png"
    b="$MQ_OUT/psnr_b.png"
  fi
  local value
  value=$(compare -metric PSNR "$a" "$b" null: 2>&1 || true)
  case "$value" in
    inf*) echo 99 ;;
    *) printf '%.0f\n' "$value" ;;
  esac
}

# label_pixels SHOT GEOMETRY: how many pixels of the region have the labels' text colour
# (red 16, green 16, blue 96), allowing for the 16-bit display's rounding.
label_pixels() {
  convert "$1" -crop "$2" +repage -alpha off -fuzz 6% -fill black +opaque 'rgb(16,16,96)' \
    -fill white -opaque 'rgb(16,16,96)' -format '%[fx:round(mean*w*h)]' info:
}

# wine_3d_renderer: whether the Wine of this run gave DirectDraw a 3D renderer, as its
# warnings at the player's start told. Without one (a 32-bit Wine without its 32-bit GL, or
# the renderer set to no3d), colour-keyed copies onto the back buffer are lost on every other
# flip (README.md).
wine_3d_renderer() {
  if grep -q 'without 3D support' "$MQ_OUT/player.log" 2>/dev/null; then
    echo "this Wine's DirectDraw had no 3D renderer (\"Created a wined3d object without 3D support\"); a 32-bit Wine needs libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386"
  elif [[ "$WINEDEBUG" != *warn+ddraw* ]]; then
    echo "whether this Wine's DirectDraw had a 3D renderer is not known: WINEDEBUG has no warn+ddraw"
  else
    echo "this Wine's DirectDraw had a 3D renderer"
  fi
}

# differs A B: true when the two pictures are not pixel for pixel the same.
differs() {
  local changed
  changed=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "${changed%% *}" != "0" ]
}

# probe WINDOW|root REGION SIZE REFERENCE: the PSNR in dB (an integer, 99 for identical)
# of a region of the client area (the window's bottom 640x480, or the screen's top-left
# 640x480), read from the server now and scaled to SIZE, against the reference (a picture
# of SIZE). One process, so that one look costs little on a loaded machine.
probe() {
  local source=$1 gravity=SouthEast value
  [ "$1" = root ] && gravity=NorthWest
  value=$(convert "x:$source" -gravity $gravity -crop 640x480+0+0 +repage -gravity NorthWest \
    -crop "$2" +repage -scale "$3!" "$4" -metric PSNR -compare -format '%[distortion]' info: 2>/dev/null) ||
    true
  case "$value" in
    inf*) echo 99 ;;
    [0-9]*) printf '%.0f\n' "$value" ;;
    *) echo 0 ;;
  esac
}
# small REFERENCE REGION SIZE: the reference's region scaled to SIZE, for probe.
small() {
  local out=$MQ_OUT/small_$(basename "$1" .png)_${2//[^0-9]/_}_${3//[^0-9]/_}.png
  [ -f "$out" ] || convert "$1" -crop "$2" +repage -scale "$3!" "$out"
  echo "$out"
}

# looks_like WINDOW|root REFERENCE: the client area looks like the reference picture.
looks_like() {
  [ "$(probe "$1" 640x400+0+0 80x50 "$(small "$2" 640x400+0+0 80x50)")" -ge 22 ]
}

# wait_picture WINDOW|root REFERENCE SECONDS: waits until the client area looks like the
# reference picture; prints the milliseconds from the start of the player.
wait_picture() {
  wait_until "$3" looks_like "$1" "$2" || return 1
  echo $(($(date +%s%3N) - start_ms))
}

# region_near WINDOW|root REFERENCE GEOMETRY: the region of the client area is within 18 dB
# of the reference's, compared at a quarter of its size; the PSNR is left in psnr_value.
region_near() {
  local w=${3%%x*} rest=${3#*x}
  local size=$((w / 4))x$((${rest%%+*} / 4))
  psnr_value=$(probe "$1" "$3" "$size" "$(small "$2" "$3" "$size")")
  [ "$psnr_value" -ge 18 ]
}

# moves WINDOW|root NAME: a new shot differs from the shot $MQ_OUT/NAME.png.
moves() {
  if [ "$1" = root ]; then shot_screen "$MQ_OUT/$2.now.png" 2>/dev/null || return 1
  else shot_window "$1" "$MQ_OUT/$2.now.png" 2>/dev/null || return 1; fi
  differs "$MQ_OUT/$2.png" "$MQ_OUT/$2.now.png"
}
