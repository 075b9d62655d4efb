#!/usr/bin/env bash
# Makes the benchmark pictures in OUTDIR (default build/bench-pictures) from a real photograph:
# the nuthatch of Debian's lomiri-wallpapers-20.04 package (6028x3391, a camera picture), cut to
# 4000x3000 at full resolution and scaled down to 640x480, then written by cjpeg at quality 90 in
# every layout, sequential and progressive. Without the package it falls back to ImageMagick's
# built-in rose photograph scaled up with added grain (a far weaker stand-in: little real detail).
# Usage: tools/jpeg_bench/make_pictures.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/bench-pictures}
mkdir -p "$out"
photo=/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg

if [ -f "$photo" ]; then
  convert "$photo" -gravity center -crop 4000x3000+0+0 +repage -depth 8 "$out/large.ppm"
  convert "$photo" -gravity center -crop 4520x3390+0+0 +repage -filter Lanczos \
    -resize 640x480! -depth 8 "$out/small.ppm"
else
  echo "make_pictures: $photo missing (apt-get install lomiri-wallpapers-20.04);" \
    "using ImageMagick's rose instead" >&2
  convert rose: -filter Lanczos -resize 4000x3000! -seed 1 -attenuate 0.5 +noise Gaussian \
    -depth 8 "$out/large.ppm"
  convert rose: -filter Lanczos -resize 640x480! -seed 1 -attenuate 0.5 +noise Gaussian \
    -depth 8 "$out/small.ppm"
fi

for size in small large; do
  src=$out/$size.ppm
  cjpeg -quality 90 -sample 2x2 -outfile "$out/${size}_420.jpg" "$src"
  cjpeg -quality 90 -sample 2x1 -outfile "$out/${size}_422.jpg" "$src"
  cjpeg -quality 90 -sample 1x2 -outfile "$out/${size}_440.jpg" "$src"
  cjpeg -quality 90 -sample 1x1 -outfile "$out/${size}_444.jpg" "$src"
  cjpeg -quality 90 -grayscale -outfile "$out/${size}_grey.jpg" "$src"
  cjpeg -quality 90 -sample 2x2 -progressive -outfile "$out/${size}_420_progressive.jpg" "$src"
  cjpeg -quality 90 -sample 1x1 -progressive -outfile "$out/${size}_444_progressive.jpg" "$src"
  rm "$src"
done
ls "$out"/*.jpg
