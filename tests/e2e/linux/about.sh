#!/usr/bin/env bash
# The File menu of the windowed player and its About dialog: the menu opens over the
# picture and stands the animation still, About shows the dialog, Esc closes it without
# opening anything, and the host-name button opens the web page (with "http://" added).
# SIGTERM while the dialog is up ends the player with status 0.
# Usage: about.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

dialog_id() { xwininfo -root -tree 2>/dev/null | awk '/\(has no name\): \("example\.mql\.moviquel"/ && /x159\+/ {print $1; exit}'; }
opened_page() { grep -q 'open http://www.mql.example/mql/index.html?mqlp1-1' "$player_log"; }
# pixel_of WINDOW X Y: the colour of one pixel of the window, as RRGGBB.
pixel_of() { xwd -id "$1" -silent 2>/dev/null | convert xwd:- -format "%[hex:p{$2,$3}]" info: 2>/dev/null; }
# The drop-down below the File title: its light top edge and its face.
menu_drawn() { [ "$(pixel_of "$win" 2 20)" = FFFFFF ] && [ "$(pixel_of "$win" 4 22)" = D4D0C8 ]; }
# The dialog mapped and drawn: its corner has the button-face colour.
dialog_drawn() {
  local id; id=$(dialog_id)
  [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && [ "$(pixel_of "$id" 0 0)" = D4D0C8 ]
}

# xdg-open, when present, is handed a browser that does nothing.
export BROWSER=true
start_windowed_player
xdotool mousemove --window "$win" 15 10 click 1
wait_for 60 menu_drawn || fail "the File menu did not open"
# Over 0.6 s (a span measured, not a wait) the picture must not change.
grab menu_a; sleep 0.6; grab menu_b
develop menu_a; develop menu_b
[ "$(differing "$MQ_WORK/menu_a.png" "$MQ_WORK/menu_b.png")" = 0 ] ||
  fail "the animation runs on while the menu is open"
# The second item, "About M.Q.L. Player", 30 to 50 pixels from the window's top.
xdotool mousemove --window "$win" 40 40 click 1
wait_for 60 dialog_drawn || fail "no About dialog"
dialog=$(dialog_id)
xwd -id "$dialog" -silent | convert xwd:- "$MQ_WORK/about.png"
note "About dialog $dialog: $MQ_WORK/about.png"
xdotool key --window "$dialog" Escape
wait_for 60 window_gone "$dialog" || fail "Esc did not close the dialog"
! opened_page || fail "Esc opened the web page"
shot after_escape
wait_for 60 moved_since after_escape || fail "the animation did not resume after Esc"

# about_again WHICH: File, then About, once more.
about_again() {
  xdotool mousemove --window "$win" 15 10 click 1
  wait_for 60 menu_drawn || fail "the File menu did not open the $1 time"
  xdotool mousemove --window "$win" 40 40 click 1
  wait_for 60 dialog_drawn || fail "no About dialog the $1 time"
}
about_again second
dialog=$(dialog_id)
xdotool key --window "$dialog" Return
wait_for 60 opened_page || fail "the button did not open the web page: $(cat "$player_log")"
wait_for 60 window_gone "$dialog" || fail "the button did not close the dialog"
shot after_a
wait_for 60 moved_since after_a || fail "the animation did not resume after the dialog"

about_again third
kill -TERM "$player_pid"
wait_for 60 player_ended || fail "SIGTERM did not end the player while the dialog was up"
[ "$(cat "$player_status")" = 0 ] || fail "SIGTERM: exit code $(cat "$player_status")"
told 'display objects alive 0' || fail "display objects left: $(tail -3 "$player_log")"
echo "PASS"
