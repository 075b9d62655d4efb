#!/usr/bin/env bash
# The two JPGDATA resources of moviquel.exe are scrambled (they differ from the JPEGs in
# resources/) and the build's key turns them back into those JPEGs byte for byte.
# Usage: windows_pictures_check.sh WRESTOOL MQ_SCRAMBLE EXE RESOURCES_DIR
set -euo pipefail
wrestool=$1
scramble=$2
exe=$3
resources=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for entry in 112:info_picture 115:main_picture; do
  id=${entry%%:*}
  name=${entry#*:}
  "$wrestool" -x --raw --type=JPGDATA --name="$id" -o "$work/$id.raw" "$exe"
  if cmp -s "$work/$id.raw" "$resources/$name.jpg"; then
    echo "resource $id holds the plain JPEG" >&2
    status=1
  fi
  # Scrambling is its own inverse.
  "$scramble" scramble "$work/$id.raw" "$work/$id.jpg"
  if ! cmp "$work/$id.jpg" "$resources/$name.jpg"; then
    echo "resource $id does not descramble to $name.jpg" >&2
    status=1
  fi
done
exit $status
