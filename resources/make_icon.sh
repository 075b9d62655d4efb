#!/usr/bin/env bash
# Draws the player's icon: a film frame with a stylised "M" over a blue-to-violet
# gradient, 32x32 pixels with a palette of at most 256 colours, written as moviquel.ico.
# Usage: resources/make_icon.sh [output.ico]   (needs ImageMagick's convert)
set -euo pipefail
out=${1:-"$(dirname "$0")/moviquel.ico"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Background: a diagonal gradient inside a rounded dark frame with sprocket holes.
convert -size 32x32 -define gradient:angle=135 gradient:'#1a3a8a-#6a1a7a' \
  "$work/grad.png"
convert -size 32x32 xc:none \
  -fill '#101018' -draw 'roundrectangle 0,0 31,31 4,4' \
  "$work/frame.png"
convert "$work/frame.png" \
  \( "$work/grad.png" -crop 24x22+4+5 +repage \) -geometry +4+5 -composite \
  -fill '#e8e8f0' \
  -draw 'rectangle 5,1 7,3' -draw 'rectangle 11,1 13,3' -draw 'rectangle 18,1 20,3' \
  -draw 'rectangle 24,1 26,3' \
  -draw 'rectangle 5,28 7,30' -draw 'rectangle 11,28 13,30' -draw 'rectangle 18,28 20,30' \
  -draw 'rectangle 24,28 26,30' \
  -fill '#ffb020' -stroke '#803000' -strokewidth 1 \
  -draw 'polygon 7,24 7,8 11,8 16,15 21,8 25,8 25,24 21,24 21,15 16,21 11,15 11,24' \
  -fill '#fff0a0' -stroke none -draw 'point 24,9' -draw 'point 23,10' \
  "$work/icon.png"

# One 32x32 image, palette-reduced to 256 colours, stored as an 8-bit BMP inside the icon.
convert "$work/icon.png" -background none -dither None -colors 256 \
  -define icon:auto-resize=32 -type Palette -define bmp:format=bmp3 "$out"
echo "wrote $out"
