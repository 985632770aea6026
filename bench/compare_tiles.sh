#!/usr/bin/env bash
# Cuts the same 1920 x 1920 BMP into 640 x 480 BMP tiles with maptesk-cli,
# ImageMagick's convert and a Pillow script, side by side, each as a whole
# process. Uses hyperfine (installed with apt-get when missing), else a loop
# timed with date.
#   bench/compare_tiles.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
cli=build/src/cli/maptesk-cli
[ -x "$cli" ] || { echo "build maptesk-cli first (see README)" >&2; exit 1; }
python=/usr/bin/python3
"$python" -c 'import PIL' 2>/dev/null || python=python3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The picture: the sample game's 1920 x 1920 map, as a 24-bit BMP.
"$cli" sample "$work/game" >/dev/null
"$cli" picture "$work/game/MAP/MAP0500.s16" "$work/map.bmp"
mkdir -p "$work/ours" "$work/im" "$work/pil"

ours="$cli tiles bmp $work/map.bmp $work/ours/T"
im="convert $work/map.bmp -crop 640x480 +repage BMP3:$work/im/tile_%d.bmp"
pil="$python bench/crop_tiles.py $work/map.bmp $work/pil/T"

if ! command -v hyperfine >/dev/null; then
  source scripts/deps.sh
  ensure_packages hyperfine || true
fi

if command -v hyperfine >/dev/null; then
  # -N: no shell between hyperfine and the program, so only the program counts.
  hyperfine --warmup 2 --runs "$runs" -N \
    -n maptesk-cli "$ours" -n "convert -crop" "$im" -n "Pillow" "$pil"
else
  for name in ours im pil; do
    cmd="${!name}"
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do eval "$cmd" >/dev/null 2>&1; done
    end=$(date +%s%N)
    printf '%-12s %8.1f ms per run\n' "$name" "$(echo "($end - $start) / $runs / 1000000" | bc -l)"
  done
fi

# Same pixels from all three.
cmp <(convert "$work/ours/T21.bmp" rgb:-) <(convert "$work/pil/T21.bmp" rgb:-) &&
  echo "maptesk-cli and Pillow tiles hold the same pixels"
