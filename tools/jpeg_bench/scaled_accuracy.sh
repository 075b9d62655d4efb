#!/usr/bin/env bash
# Prints how far this decoder's reduced sizes are from djpeg's at its defaults (smoothed chroma
# upsampling, integer transform): the mean and the largest difference of a sample, for each
# layout and scale, on the fast path and the integer path. The picture is the one of the
# decoder's accuracy test: ImageMagick's rose enlarged to 421x277, cjpeg quality 90.
# Usage: tools/jpeg_bench/scaled_accuracy.sh [JPEG_DECODE]
# (default build/linux/tools/jpeg_decode/jpeg_decode)
set -euo pipefail
cd "$(dirname "$0")/../.."
decode=${1:-build/linux/tools/jpeg_decode/jpeg_decode}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert rose: -resize '421x277!' "$work/photo.ppm"

# Mean and largest absolute difference of two PNM files' samples.
difference() {
  python3 - "$1" "$2" <<'PY'
import sys
def samples(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace(): pos += 1
        end = pos
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[pos:end]); pos = end
    return data[pos + 1:]
a, b = samples(sys.argv[1]), samples(sys.argv[2])
if len(a) != len(b): print('   size differs', end=''); sys.exit()
d = [abs(x - y) for x, y in zip(a, b)]
print(' %5.2f/%-3d' % (sum(d) / len(d), max(d)), end='')
PY
}

printf '%-30s %-8s %9s %9s %9s\n' layout path 1/2 1/4 1/8
while read -r name options; do
  cjpeg -quality 90 $options -outfile "$work/in.jpg" "$work/photo.ppm"
  for path in fast integer; do
    flag=; [ "$path" = integer ] && flag=--integer
    printf '%-30s %-8s' "$name" "$path"
    for scale in 2 4 8; do
      djpeg -dct int -pnm -scale "1/$scale" -outfile "$work/ref.pnm" "$work/in.jpg"
      "$decode" $flag --scale "$scale" "$work/in.jpg" "$work/ours.pnm" > /dev/null
      difference "$work/ours.pnm" "$work/ref.pnm"
    done
    echo
  done
done <<'LAYOUTS'
4:2:0 -sample 2x2
4:2:2 -sample 2x1
4:4:0 -sample 1x2
4:4:4 -sample 1x1
grey -grayscale
4:2:0-progressive -sample 2x2 -progressive
4:4:4-progressive-restarts -sample 1x1 -progressive -restart 3B
rgb -rgb -sample 1x1
LAYOUTS
