#!/usr/bin/env bash
# Makes the Windows zip from the windows preset's build with cpack and checks that it holds
# exactly the built moviquel.exe and moviquel.scr and the read-me, with Windows line ends.
# Usage: check_windows_zip.sh WINDOWS_BUILD_DIR WORK_DIR
source "$(dirname "$0")/support.sh"
build=$1 work=$2

rm -rf "$work"
cpack -G ZIP -B "$work" --config "$build/CPackConfig.cmake" >"$work.cpack.log" 2>&1 ||
  { cat "$work.cpack.log"; fail "cpack failed"; }
zip=$(ls "$work"/moviquel-*-win32.zip)
note "$(basename "$zip"): $(stat -c %s "$zip") bytes"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder=$(basename "$zip" .zip)
listing=$(cd "$work/unpacked" && find . -type f | sort)
expected=$(printf './%s/README.txt\n./%s/moviquel.exe\n./%s/moviquel.scr' "$folder" "$folder" "$folder")
[ "$listing" = "$expected" ] || fail "the zip holds: $listing"
cmp "$work/unpacked/$folder/moviquel.exe" "$build/moviquel.exe" || fail "moviquel.exe differs from the build's"
cmp "$work/unpacked/$folder/moviquel.scr" "$build/moviquel.scr" || fail "moviquel.scr differs from the build's"
readme=$work/unpacked/$folder/README.txt
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt lines do not all end in CR LF"
grep -q 'Alt+Enter' "$readme" || fail "README.txt does not list the keys"
grep -q 'right-click' "$readme" || fail "README.txt does not say how to install the screen saver"
note "zip passes"
