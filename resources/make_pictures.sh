#!/usr/bin/env bash
# Draws the player's two pictures from scratch with ImageMagick (gradients, a seeded plasma
# fractal, shapes and DejaVu text) and encodes them with cjpeg: main_picture.jpg (640x480,
# baseline, 4:2:0) and info_picture.jpg (560x400, progressive). Run it to regenerate them.
set -euo pipefail

out_dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fonts=/usr/share/fonts/truetype/dejavu

# ---- Main picture: a sunset over a lake, with a rainbow and two striped balloons. ----

# Sky: a vertical gradient textured by a plasma fractal (seeded, so the script repeats).
convert -seed 7 -size 640x330 plasma:'#1040a0'-'#f0a030' -blur 0x1 plasma.png
convert -size 640x330 gradient:'#0b1d51'-'#ff7a45' gradient.png
convert gradient.png plasma.png -compose overlay -composite sky.png
convert -size 220x220 radial-gradient:'#fff6c0'-none glow.png

# Rainbow: seven concentric arcs, half transparent.
arcs=()
r=300
for colour in '#ff3030' '#ff9a20' '#ffe030' '#40d040' '#3090ff' '#5040d0' '#a040c0'; do
  arcs+=(-stroke "$colour" -draw "arc $((150 - r)),$((360 - r)) $((150 + r)),$((360 + r)) 200,340")
  r=$((r - 7))
done
convert -size 640x330 xc:none -fill none -strokewidth 7 "${arcs[@]}" \
  -channel A -evaluate multiply 0.55 +channel rainbow.png

# A balloon: vertical stripes of the given colours cut to an ellipse, with a basket.
balloon() {  # output, centre x, centre y, radius, colours...
  local output=$1 cx=$2 cy=$3 r=$4
  shift 4
  local n=$# i=0 stripes=()
  for colour in "$@"; do
    stripes+=(-fill "$colour" -draw "rectangle $((cx - r + 2 * r * i / n)),$((cy - 2 * r)) $((cx - r + 2 * r * (i + 1) / n)),$((cy + 2 * r))")
    i=$((i + 1))
  done
  local ry=$((r * 6 / 5))
  convert -size 640x330 xc:none "${stripes[@]}" \
    \( -size 640x330 xc:black -fill white -draw "ellipse $cx,$cy $r,$ry 0,360" \) \
    -alpha off -compose copy_opacity -composite -compose over \
    -stroke '#503018' -strokewidth 1 \
    -draw "line $((cx - r / 3)),$((cy + ry - 3)) $((cx - 4)),$((cy + ry + 10))" \
    -draw "line $((cx + r / 3)),$((cy + ry - 3)) $((cx + 4)),$((cy + ry + 10))" \
    -fill '#8a5a30' -draw "rectangle $((cx - 5)),$((cy + ry + 10)) $((cx + 5)),$((cy + ry + 18))" \
    "$output"
}
balloon balloon1.png 90 70 26 '#e02828' '#ffffff' '#2050e0' '#ffd020' '#e02828' '#ffffff'
balloon balloon2.png 560 110 16 '#20b050' '#ffe040' '#ff50a0' '#20b050' '#ffe040'

# Above the horizon: sky, rainbow, sun, balloons and two ranges of mountains.
convert sky.png rainbow.png -composite glow.png -geometry +330+110 -composite \
  -fill '#fff2a0' -stroke none -draw 'circle 440,220 440,188' \
  balloon1.png -composite balloon2.png -composite \
  -fill '#4a2458' -draw 'polygon 0,330 0,250 70,200 130,240 190,170 260,235 320,205 380,260 430,230 500,180 570,225 640,195 640,330' \
  -fill '#2a1440' -draw 'polygon 0,330 0,285 90,255 150,280 230,245 300,290 360,270 450,300 520,265 600,290 640,275 640,330' \
  upper.png

# The lake: the land above mirrored, darkened and rippled, with glints of three colours.
convert upper.png -crop 640x154+0+176 +repage -flip -modulate 70,120 \
  -background '#2a1440' -wave 2x40 -crop 640x150+0+4 +repage lake_base.png
glints=()
for y in $(seq 3 5 148); do
  for k in 0 1 2; do
    x=$(((y * 37 + k * 211) % 600))
    len=$((10 + (y * 13 + k * 7) % 40))
    case $(((y + k) % 3)) in
      0) colour='#ffe8b0' ;;
      1) colour='#ff9a60' ;;
      *) colour='#8070ff' ;;
    esac
    glints+=(-stroke "$colour" -draw "line $x,$y $((x + len)),$y")
  done
done
convert lake_base.png -strokewidth 1 "${glints[@]}" lake.png

# A sailing boat on the lake.
convert -size 640x150 xc:none \
  -fill '#f0f0f0' -stroke none -draw 'polygon 180,40 180,100 130,100' \
  -fill '#ff5030' -draw 'polygon 186,50 186,100 222,100' \
  -fill '#603018' -draw 'polygon 120,104 236,104 222,118 134,118' \
  -stroke '#603018' -strokewidth 2 -draw 'line 183,36 183,104' boat.png
convert lake.png boat.png -composite lake_boat.png

convert -size 640x480 xc:black upper.png -geometry +0+0 -composite \
  lake_boat.png -geometry +0+330 -composite main.ppm
cjpeg -quality 90 -sample 2x2 -optimize -outfile "$out_dir/main_picture.jpg" main.ppm

# ---- Info picture: the product, its version, the publisher and the web page. ----

# Background: a diagonal gradient with a soft plasma texture and a film strip top and bottom.
convert -size 560x400 gradient:'#14204a'-'#4a1450' -distort SRT 20 info_gradient.png
convert -seed 11 -size 560x400 plasma:'#303050'-'#605080' -blur 0x3 info_plasma.png
convert info_gradient.png info_plasma.png -compose soft-light -composite info_back.png
holes=()
for x in $(seq 8 28 552); do
  holes+=(-draw "roundrectangle $x,8 $((x + 14)),20 3,3" -draw "roundrectangle $x,380 $((x + 14)),392 3,3")
done
convert info_back.png -fill '#101018' -draw 'rectangle 0,0 559,28' -draw 'rectangle 0,371 559,399' \
  -fill '#d8d0b8' "${holes[@]}" info_strip.png

# Emblem: a play triangle in a ring of three colours (filled sectors cut to a ring).
convert -size 120x120 xc:none -stroke none \
  -fill '#ff5030' -draw 'path "M 60,60 L 120,60 A 60,60 0 0,1 30,112 Z"' \
  -fill '#ffd020' -draw 'path "M 60,60 L 30,112 A 60,60 0 0,1 30,8 Z"' \
  -fill '#30a0ff' -draw 'path "M 60,60 L 30,8 A 60,60 0 0,1 120,60 Z"' \
  \( -size 120x120 xc:black -fill white -draw 'circle 60,60 60,3' -fill black -draw 'circle 60,60 60,9' \) \
  -alpha off -compose copy_opacity -composite -compose over \
  -fill '#fff4d0' -draw 'polygon 46,34 46,86 90,60' emblem.png

convert info_strip.png emblem.png -geometry +220+44 -composite \
  -fill white -stroke none \
  -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 40 -gravity north -annotate +0+172 'Moviquel Player' \
  -fill '#ffd870' -font "$fonts/DejaVuSans.ttf" -pointsize 20 -annotate +0+224 'Version 0.90 beta' \
  -fill '#e8e8f0' -pointsize 18 -annotate +0+266 'Moviquel Co' \
  -fill '#90d0ff' -font "$fonts/DejaVuSansMono-Bold.ttf" -pointsize 18 -annotate +0+292 'www.mql.example' \
  -fill '#f0f0f0' -font "$fonts/DejaVuSans-Oblique.ttf" -pointsize 15 \
  -annotate +0+336 'Click on this picture to open the web page.' info.ppm
cjpeg -quality 92 -sample 1x1 -progressive -optimize -outfile "$out_dir/info_picture.jpg" info.ppm
