#!/usr/bin/env bash
# Installs the Linux build into a fresh prefix and checks what lands there: every file in its
# place, the desktop entry through desktop-file-validate, the metainfo (with the entry and
# icons beside it) through appstreamcli, the manual page through man with warnings on, the
# icons at their sizes, the xscreensaver settings file, and the player's window class (run
# on a private Xvfb) against the desktop entry's.
# Usage: check_installation.sh BUILD_DIR WORK_DIR
source "$(dirname "$0")/support.sh"
build=$1 work=$2
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need identify imagemagick
need xmllint libxml2-utils
need Xvfb xvfb
need xdotool xdotool
need xprop x11-utils

rm -rf "$work"
prefix=$work/usr
cmake --install "$build" --strip --prefix "$prefix" >"$work.install.log" 2>&1 ||
  { cat "$work.install.log"; fail "cmake --install failed"; }

id=example.mql.moviquel
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
manual=$prefix/share/man/man6/moviquel.6.gz
for file in "$desktop" "$metainfo" "$manual" "$prefix/share/doc/moviquel/copyright" \
            "$prefix/share/doc/moviquel/changelog.gz"; do
  [ -f "$file" ] || fail "not installed: ${file#"$prefix"/}"
done
[ -x "$prefix/bin/moviquel" ] || fail "bin/moviquel is not installed as an executable"

note "desktop-file-validate"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | sort -u)
[ "$exec_name" = moviquel ] || fail "the desktop entry starts '$exec_name', not moviquel"

note "appstreamcli validate-tree"
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the installation"

note "man"
# The check lintian makes: any warning from the formatter is a fault in the page.
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
           man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null) || fail "man failed"
[ -z "$warnings" ] || fail "the manual page has formatter warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" 2>/dev/null)
# Every option and key the player's --help lists is in the page.
help=$("$prefix/bin/moviquel" --help) || fail "moviquel --help failed"
options=$(grep -o -- '--[a-z-]*' <<<"$help" | sort -u)
keys=$(awk '/^Keys:/ { on = 1; next } on && !NF { exit } on { sub(/^ +/, ""); sub(/  .*/, "");
                                                              print }' <<<"$help" | tr ',' '\n')
[ -n "$options" ] && [ -n "$keys" ] || fail "no options or keys in moviquel --help: $help"
while read -r word; do
  grep -qiwF -- "$word" <<<"$page" || fail "the manual page does not mention $word"
done <<<"$options"$'\n'"$keys"$'\nXSCREENSAVER_WINDOW'

note "icons"
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/moviquel.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/moviquel.svg" ||
  fail "the scalable icon is not well-formed"

note "xscreensaver settings"
saver=$prefix/share/xscreensaver/config/moviquel.xml
[ "$(xmllint --xpath 'string(/screensaver/@name)' "$saver")" = moviquel ] ||
  fail "share/xscreensaver/config/moviquel.xml does not describe the program moviquel"

note "window class"
# Docks and task bars tie a window to its launcher when its WM_CLASS is the entry's
# StartupWMClass, itself the desktop id.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ "$wm_class" = "$id" ] || fail "StartupWMClass is '$wm_class', not the desktop id $id"
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfb=$! player=""
trap 'kill $player $xvfb 2>/dev/null || true' EXIT
read -r -t 20 number <"$work/displayfd" || fail "Xvfb did not start"
export DISPLAY=:$number
"$prefix/bin/moviquel" --window >"$work/player.log" 2>&1 &
player=$!
deadline=$((SECONDS + 30))
until window=$(xdotool search --pid "$player" 2>/dev/null | head -1) && [ -n "$window" ]; do
  [ $SECONDS -lt $deadline ] || fail "no player window ($(cat "$work/player.log"))"
  sleep 0.1
done
classes=$(xprop -id "$window" WM_CLASS)
note "$classes"
[ "$classes" = "WM_CLASS(STRING) = \"$id\", \"$id\"" ] || fail "the window's class is not $id"
note "installation passes"
