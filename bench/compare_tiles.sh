#!/usr/bin/env bash
# Cuts the same 1920 x 1920 BMP into 640 x 480 BMP tiles with maptesk-cli,
# ImageMagick's convert and a Pillow script, side by side, each as a whole
# process; then times `maptesk-cli info` of a map without its picture and of
# the sample's ARDEN.MAP with it, beside assembling that picture in
# maptesk_bench_picture when it is built. Uses hyperfine (installed with
# apt-get when missing), else a loop timed with date.
#   bench/compare_tiles.sh [RUNS [BUILD]]    BUILD: the build folder (build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
build="${2:-build}"
cli=$build/src/cli/maptesk-cli
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

# The same map in a game folder without its picture.
mkdir -p "$work/bare/SCENARIO"
cp "$work/game/SCENARIO/ARDEN.MAP" "$work/bare/SCENARIO/"
bare="$cli info $work/bare/SCENARIO/ARDEN.MAP"
full="$cli info $work/game/SCENARIO/ARDEN.MAP"

# Runs each of the named commands: a list of NAME VARIABLE pairs.
compare() {
  if command -v hyperfine >/dev/null; then
    local named=()
    while [ $# -gt 0 ]; do
      named+=(-n "$1" "${!2}")
      shift 2
    done
    # -N: no shell between hyperfine and the program, so only the program counts.
    hyperfine --warmup 2 --runs "$runs" -N "${named[@]}"
  else
    while [ $# -gt 0 ]; do
      local cmd="${!2}"
      local start end
      start=$(date +%s%N)
      for _ in $(seq "$runs"); do eval "$cmd" >/dev/null 2>&1; done
      end=$(date +%s%N)
      printf '%-20s %8.1f ms per run\n' "$1" "$(echo "($end - $start) / $runs / 1000000" | bc -l)"
      shift 2
    done
  fi
}

compare maptesk-cli ours "convert -crop" im Pillow pil
echo
compare "info, no picture" bare "info with picture" full
picture_bench=$build/bench/maptesk_bench_picture
if [ -x "$picture_bench" ]; then
  echo
  echo "Assembling the same picture in one process:"
  "$picture_bench" --benchmark_filter=AssembleS16Packed --benchmark_min_time=0.5 2>/dev/null |
    grep AssembleS16Packed
fi

# Same pixels from all three.
cmp <(convert "$work/ours/T21.bmp" rgb:-) <(convert "$work/pil/T21.bmp" rgb:-) &&
  echo "maptesk-cli and Pillow tiles hold the same pixels"
