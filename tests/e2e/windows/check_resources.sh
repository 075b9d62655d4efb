#!/usr/bin/env bash
# The executable carries every resource the player loads, listed by wrestool (icoutils):
# the two scrambled pictures (JPGDATA 112 and 115), icon 101 (32x32, 256 colours),
# menu 102, accelerators 103, dialog 103 and the version block.
# Usage: check_resources.sh WRESTOOL EXE
set -euo pipefail
wrestool=$1
exe=$2
listing=$("$wrestool" -l "$exe")
echo "$listing"
status=0
expect() {
  if ! grep -qE -- "$1" <<<"$listing"; then
    echo "missing: $2" >&2
    status=1
  fi
}
expect "--type='JPGDATA' --name=112 " "JPGDATA 112 (info picture)"
expect "--type='JPGDATA' --name=115 " "JPGDATA 115 (main picture)"
expect "--type=14 --name=101 .*type=group_icon" "icon group 101"
expect "--type=3 --name=[0-9]+ .*type=icon" "the icon image"
expect "--type=4 --name=102 .*type=menu" "menu 102"
expect "--type=9 --name=103 .*type=accelerator" "accelerator table 103"
expect "--type=5 --name=103 .*type=dialog" "dialog 103"
expect "--type=16 --name=1 .*type=version" "version block"

# The icon: one 32x32 image with a 256-colour palette.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$wrestool" -x --type=14 --name=101 -o "$work/icon.ico" "$exe"
icons=$(icotool -l "$work/icon.ico")
echo "$icons"
if [ "$(wc -l <<<"$icons")" -ne 1 ] || ! grep -q -- "--width=32 --height=32 --bit-depth=8 --palette-size=256" <<<"$icons"; then
  echo "icon 101 is not one 32x32 image with 256 colours" >&2
  status=1
fi
exit $status
