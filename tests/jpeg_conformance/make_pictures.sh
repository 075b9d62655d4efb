#!/usr/bin/env bash
# Makes the conformance pictures in OUTDIR: sources drawn by ImageMagick, JPEG files in every
# layout written by cjpeg (and a few by ImageMagick), and djpeg's integer and fast decodes of each.
# Usage: make_pictures.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
export LC_ALL=C

# Sources. The rose is ImageMagick's built-in photograph; plasma fractals add fine detail and
# colour that a coarse quantiser has to work on. Every random source has a fixed seed.
convert rose: -filter Lanczos -resize 227x149! -seed 11 -attenuate 0.4 +noise Gaussian \
  -depth 8 photo.ppm
convert -seed 3 -size 131x97 plasma:fractal -depth 8 plasma.ppm
convert plasma.ppm -crop 1x1+40+30 +repage -depth 8 tiny_1x1.ppm
convert plasma.ppm -crop 15x15+20+10 +repage -depth 8 tiny_15x15.ppm
convert photo.ppm -crop 17x17+100+60 +repage -depth 8 tiny_17x17.ppm
convert -seed 5 -size 8192x24 plasma:fractal -depth 8 wide_8192.ppm
convert -seed 6 -size 24x8192 plasma:fractal -depth 8 tall_8192.ppm
# One-pixel checkerboard: the largest AC coefficients a picture can have.
convert -size 64x48 xc: -fx '(i+j)%2' -depth 8 checker.ppm

jpeg() { # name source cjpeg-options...
  local name=$1 src=$2
  shift 2
  cjpeg "$@" -outfile "$name.jpg" "$src"
}

# Sequential layouts: 4:4:4, 4:2:2, 4:4:0, 4:2:0 and grey.
for q in 85; do
  jpeg photo_444 photo.ppm -quality $q -sample 1x1
  jpeg photo_422 photo.ppm -quality $q -sample 2x1
  jpeg photo_440 photo.ppm -quality $q -sample 1x2
  jpeg photo_420 photo.ppm -quality $q -sample 2x2
  jpeg photo_gray photo.ppm -quality $q -grayscale
done
jpeg plasma_420_q50 plasma.ppm -quality 50 -sample 2x2
jpeg plasma_444_q100 plasma.ppm -quality 100 -sample 1x1
jpeg plasma_422_optimized plasma.ppm -quality 90 -sample 2x1 -optimize
# Extended sequential: without -baseline, quality 5 scales the tables past 255, so they are
# written with 16-bit entries and the frame becomes SOF1.
jpeg plasma_420_q5_extended plasma.ppm -quality 5 -sample 2x2
jpeg photo_gray_q2_extended photo.ppm -quality 2 -grayscale

# Progressive, every layout.
jpeg photo_444_progressive photo.ppm -quality 85 -sample 1x1 -progressive
jpeg photo_422_progressive photo.ppm -quality 85 -sample 2x1 -progressive
jpeg photo_440_progressive photo.ppm -quality 85 -sample 1x2 -progressive
jpeg photo_420_progressive photo.ppm -quality 85 -sample 2x2 -progressive
jpeg photo_gray_progressive photo.ppm -quality 85 -grayscale -progressive
jpeg plasma_420_q5_progressive plasma.ppm -quality 5 -sample 2x2 -progressive
# Deep successive approximation (DC down from bit 4, AC from bit 5), odd spectral bands, a band
# of one coefficient, and DC scans of one component each.
cat > deep_scans.txt <<'SCANS'
0,1,2: 0-0, 0, 4;
0,1,2: 0-0, 4, 3;
0,1,2: 0-0, 3, 2;
0,1,2: 0-0, 2, 1;
0,1,2: 0-0, 1, 0;
0: 1-1, 0, 5;
0: 2-9, 0, 5;
0: 10-63, 0, 5;
2: 1-63, 0, 3;
1: 1-63, 0, 3;
0: 1-63, 5, 4;
0: 1-63, 4, 3;
0: 1-63, 3, 2;
0: 1-63, 2, 1;
0: 1-63, 1, 0;
1: 1-63, 3, 2;
2: 1-63, 3, 2;
1: 1-63, 2, 1;
2: 1-63, 2, 1;
1: 1-63, 1, 0;
2: 1-63, 1, 0;
SCANS
cat > separate_dc_scans.txt <<'SCANS'
0: 0-0, 0, 1;
1: 0-0, 0, 0;
2: 0-0, 0, 0;
0: 1-5, 0, 0;
0: 0-0, 1, 0;
2: 1-63, 0, 0;
0: 6-63, 0, 0;
1: 1-63, 0, 0;
SCANS
jpeg photo_420_progressive_deep photo.ppm -quality 90 -sample 2x2 -scans deep_scans.txt
jpeg plasma_444_progressive_separate_dc plasma.ppm -quality 80 -sample 1x1 \
  -scans separate_dc_scans.txt -restart 2B
jpeg checker_444_q100 checker.ppm -quality 100 -sample 1x1
jpeg checker_420_q100_progressive checker.ppm -quality 100 -sample 2x2 -progressive

# Restart intervals: every MCU, an odd number of MCUs, one MCU row; sequential and progressive.
jpeg photo_420_restart_1 photo.ppm -quality 85 -sample 2x2 -restart 1B
jpeg photo_422_restart_3 photo.ppm -quality 85 -sample 2x1 -restart 3B
jpeg photo_440_restart_row plasma.ppm -quality 75 -sample 1x2 -restart 1
jpeg photo_gray_restart_7 photo.ppm -quality 85 -grayscale -restart 7B
jpeg photo_420_progressive_restart_5 photo.ppm -quality 85 -sample 2x2 -progressive -restart 5B
jpeg photo_444_progressive_restart_1 photo.ppm -quality 60 -sample 1x1 -progressive -restart 1B

# Odd sizes.
for layout in 444:1x1 422:2x1 440:1x2 420:2x2; do
  jpeg "tiny_1x1_${layout%%:*}" tiny_1x1.ppm -quality 75 -sample "${layout#*:}"
  jpeg "tiny_15x15_${layout%%:*}" tiny_15x15.ppm -quality 75 -sample "${layout#*:}"
  jpeg "tiny_17x17_${layout%%:*}" tiny_17x17.ppm -quality 75 -sample "${layout#*:}"
done
jpeg tiny_1x1_gray tiny_1x1.ppm -quality 75 -grayscale
jpeg tiny_17x17_gray_progressive tiny_17x17.ppm -quality 75 -grayscale -progressive
jpeg tiny_17x17_420_progressive tiny_17x17.ppm -quality 20 -sample 2x2 -progressive
jpeg tiny_15x15_420_q5 tiny_15x15.ppm -quality 5 -sample 2x2
jpeg wide_8192_420 wide_8192.ppm -quality 80 -sample 2x2
jpeg wide_8192_gray wide_8192.ppm -quality 80 -grayscale
jpeg wide_8192_444_progressive wide_8192.ppm -quality 80 -sample 1x1 -progressive
jpeg tall_8192_440 tall_8192.ppm -quality 80 -sample 1x2

# Stored as RGB (no colour transform): marked by an Adobe segment with transform 0; the second
# with that segment turned into APP15, so that only the component ids 'R', 'G', 'B' say it.
jpeg photo_rgb_420 photo.ppm -quality 85 -rgb -sample 2x2,1x1,1x1
jpeg plasma_rgb_progressive plasma.ppm -quality 85 -rgb -progressive
perl -0777 -pi -e 's/\xFF\xEE(\x00\x0EAdobe)/\xFF\xEF$1/' plasma_rgb_progressive.jpg

# Written by ImageMagick's own encoder settings.
convert photo.ppm -quality 75 -sampling-factor 2x2 im_420_q75.jpg
convert photo.ppm -quality 92 -sampling-factor 2x1 -interlace Plane im_422_progressive.jpg
convert plasma.ppm -quality 60 -colorspace Gray im_gray.jpg

# A sequential file whose scans each carry one component (not interleaved).
printf '0;\n1;\n2;\n' > one_component_scans.txt
jpeg photo_420_noninterleaved photo.ppm -quality 85 -sample 2x2 -scans one_component_scans.txt

# Files the decoder must refuse.
jpeg refuse_arithmetic photo.ppm -quality 85 -arithmetic
jpeg refuse_arithmetic_progressive photo.ppm -quality 85 -arithmetic -progressive
jpeg refuse_sampling_411 photo.ppm -quality 85 -sample 4x1
jpeg refuse_sampling_chroma_larger photo.ppm -quality 85 -sample 1x1,2x2,1x1
convert photo.ppm -colorspace CMYK -quality 85 refuse_cmyk.jpg

# Reference decodes with the same chroma replication as the decoder (no smoothing).
for f in *.jpg; do
  case $f in refuse_*) continue ;; esac
  djpeg -dct int -nosmooth -outfile "${f%.jpg}.int.pnm" "$f"
  djpeg -dct fast -nosmooth -outfile "${f%.jpg}.fast.pnm" "$f"
done
rm -f ./*.ppm ./*.txt
touch stamp
