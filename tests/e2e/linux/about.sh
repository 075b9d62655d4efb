#!/usr/bin/env bash
# The File menu of the windowed player and its About dialog: the menu opens over the
# picture and stands the animation still, About shows the dialog, Esc closes it without
# opening anything, and the host-name button opens the web page (with "http://" added).
# Usage: about.sh MOVIQUEL RESOURCES_DIR [WORK_DIR]
MQ_PLAYER=$1; MQ_WORK=${3:-}
source "$(dirname "$0")/session.sh"

dialog_id() { xwininfo -root -tree 2>/dev/null | awk '/\(has no name\): \("example\.mql\.moviquel"/ && /x159\+/ {print $1; exit}'; }
have_dialog() { [ -n "$(dialog_id)" ]; }
opened_page() { grep -q 'open http://www.mql.example/mql/index.html?mqlp1-1' "$player_log"; }

# xdg-open, when present, is handed a browser that does nothing.
export BROWSER=true
start_windowed_player
xdotool mousemove --window "$win" 15 10 click 1
sleep 0.5
grab menu_a; sleep 0.6; grab menu_b
develop menu_a; develop menu_b
[ "$(differing "$MQ_WORK/menu_a.png" "$MQ_WORK/menu_b.png")" = 0 ] ||
  fail "the animation runs on while the menu is open"
# The second item, "About M.Q.L. Player", 30 to 50 pixels from the window's top.
xdotool mousemove --window "$win" 40 40 click 1
wait_for 10 have_dialog || fail "no About dialog"
dialog=$(dialog_id)
sleep 0.5
xwd -id "$dialog" -silent | convert xwd:- "$MQ_WORK/about.png"
note "About dialog $dialog: $MQ_WORK/about.png"
xdotool key --window "$dialog" Escape
wait_for 10 bash -c "! xwininfo -id $dialog >/dev/null 2>&1" || fail "Esc did not close the dialog"
! opened_page || fail "Esc opened the web page"

xdotool mousemove --window "$win" 15 10 click 1
sleep 0.5
xdotool mousemove --window "$win" 40 40 click 1
wait_for 10 have_dialog || fail "no About dialog the second time"
dialog=$(dialog_id)
xdotool key --window "$dialog" Return
wait_for 10 opened_page || fail "the button did not open the web page: $(cat "$player_log")"
wait_for 10 bash -c "! xwininfo -id $dialog >/dev/null 2>&1" || fail "the button did not close the dialog"
shot after_a; sleep 1; shot after_b
[ "$(differing "$MQ_WORK/after_a.png" "$MQ_WORK/after_b.png")" -gt 500 ] ||
  fail "the animation did not resume after the dialog"
echo "PASS"
