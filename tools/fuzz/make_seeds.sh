#!/usr/bin/env bash
# Writes the fuzzer's seed corpus: small JPEG files in every layout and coding mode the decoder
# handles, plus a few it must refuse, made with ImageMagick and cjpeg.
# Usage: tools/fuzz/make_seeds.sh [OUTDIR]   (default tests/data/jpeg_fuzz/seeds)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-tests/data/jpeg_fuzz/seeds}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert rose: -resize 40x27! -depth 8 "$tmp/rose.ppm"
convert -seed 9 -size 19x13 plasma:fractal -depth 8 "$tmp/odd.ppm"
convert -seed 9 -size 1x1 xc:'#80a040' -depth 8 "$tmp/dot.ppm"
# One megapixel of flat grey in 12 KB: more than one input buffer of entropy-coded data, small
# enough for the fuzzer.
convert -size 1024x1024 xc:'#808080' -depth 8 "$tmp/flat.ppm"

seed() { # name source cjpeg-options...
  local name=$1 src=$2
  shift 2
  cjpeg "$@" -outfile "$out/$name.jpg" "$tmp/$src.ppm"
}
seed h1v1 rose -quality 75 -sample 1x1
seed h2v1 rose -quality 75 -sample 2x1
seed h1v2 rose -quality 75 -sample 1x2
seed h2v2 rose -quality 75 -sample 2x2
seed gray rose -quality 75 -grayscale
seed h2v2_optimized odd -quality 90 -sample 2x2 -optimize
seed h2v2_extended odd -quality 4 -sample 2x2
seed h2v2_restart_1 rose -quality 75 -sample 2x2 -restart 1B
seed h2v1_restart_3 odd -quality 75 -sample 2x1 -restart 3B
seed h1v1_progressive rose -quality 75 -sample 1x1 -progressive
seed h2v2_progressive rose -quality 75 -sample 2x2 -progressive
seed h1v2_progressive_restart_2 odd -quality 60 -sample 1x2 -progressive -restart 2B
seed gray_progressive odd -quality 75 -grayscale -progressive
seed dot_h2v2 dot -quality 75 -sample 2x2
seed dot_gray_progressive dot -quality 75 -grayscale -progressive
seed arithmetic odd -quality 75 -arithmetic
seed sampling_411 odd -quality 75 -sample 4x1
seed flat_1024_gray flat -quality 75 -grayscale
seed rgb_h1v1 rose -quality 75 -rgb
seed rgb_h2v2 odd -quality 75 -rgb -sample 2x2
# The same picture with 100 bytes of its data overwritten by 7E: corrupt data in the middle rows.
cp "$out/flat_1024_gray.jpg" "$out/flat_1024_gray_damaged.jpg"
head -c 100 /dev/zero | tr '\0' '~' |
  dd of="$out/flat_1024_gray_damaged.jpg" bs=1 seek=6000 conv=notrunc status=none
# A comment longer than the decoder's 4096-byte input buffer.
cjpeg -quality 75 -outfile "$tmp/plain.jpg" "$tmp/rose.ppm"
head -c 5000 /dev/zero | tr '\0' 'c' > "$tmp/comment.txt"
wrjpgcom -cfile "$tmp/comment.txt" "$tmp/plain.jpg" > "$out/h1v1_comment_5k.jpg"
printf '0;\n1;\n2;\n' > "$tmp/scans.txt"
seed h2v2_noninterleaved odd -quality 75 -sample 2x2 -scans "$tmp/scans.txt"
convert "$tmp/odd.ppm" -colorspace CMYK -quality 75 "$out/cmyk.jpg"
