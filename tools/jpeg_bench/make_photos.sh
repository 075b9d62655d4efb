#!/usr/bin/env bash
# Makes the photo benchmark's files in OUTDIR (default build/bench-photos): the nuthatch of
# Debian's lomiri-wallpapers-20.04 package (6028x3391, the picture make_pictures.sh uses) cut to
# 4:3 and enlarged by ImageMagick to 12, 24 and 48 megapixels, then written by cjpeg at quality 90
# in every layout: 4:2:0, 4:2:2, 4:4:4, grey, 4:2:0 progressive and 4:2:0 with a restart marker
# after every MCU. Without the package it falls back to ImageMagick's built-in rose with grain.
# Usage: tools/jpeg_bench/make_photos.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/bench-photos}
mkdir -p "$out"
photo=/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg
if [ -f "$photo" ]; then
  source=("$photo" -gravity center -crop 4520x3390+0+0 +repage)
else
  echo "make_photos: $photo missing (apt-get install lomiri-wallpapers-20.04);" \
    "using ImageMagick's rose instead" >&2
  source=(rose: -seed 1 -attenuate 0.5 +noise Gaussian)
fi

for size in 12mp:4000x3000 24mp:5656x4242 48mp:8000x6000; do
  name=${size%%:*}
  src=$out/$name.ppm
  convert "${source[@]}" -filter Lanczos -resize "${size#*:}!" -depth 8 "$src"
  cjpeg -quality 90 -sample 2x2 -outfile "$out/${name}_420.jpg" "$src"
  cjpeg -quality 90 -sample 2x1 -outfile "$out/${name}_422.jpg" "$src"
  cjpeg -quality 90 -sample 1x1 -outfile "$out/${name}_444.jpg" "$src"
  cjpeg -quality 90 -grayscale -outfile "$out/${name}_grey.jpg" "$src"
  cjpeg -quality 90 -sample 2x2 -progressive -outfile "$out/${name}_420_progressive.jpg" "$src"
  cjpeg -quality 90 -sample 2x2 -restart 1B -outfile "$out/${name}_420_restarts.jpg" "$src"
  rm "$src"
done
ls "$out"/*.jpg
