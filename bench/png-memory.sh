#!/usr/bin/env bash
# Peak memory (maximum resident set) and wall time of orvane-convert drawing
# the largest rasters it is asked for: the tall page (816 x 270,336 pixels)
# as PNG and as a 4096-pixel thumbnail, and a letter page at --width 14000
# (14000 x 18118). Fails when any run exceeds LIMIT_KIB (default 256 MiB).
#   bench/png-memory.sh BUILD_DIR [LETTER_PATTERN]   BUILD_DIR holds app/orvane-convert
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 letter=${2:-$root/examples/house-v1.1.pat}
limit=${LIMIT_KIB:-262144}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config HOME=$work
convert="$build/app/orvane-convert"
tall=$root/bench/tall-page.pat
status=0

# measure NAME ARGS...: prints the peak in MiB and the seconds taken.
measure() {
  local name=$1
  shift
  /usr/bin/time -f '%M %e' -o "$work/time" "$convert" -q "$@" || { echo "$name: failed"; status=1; return; }
  read -r kib seconds <"$work/time"
  printf '%-28s %6d MiB %6.2f s\n' "$name" $((kib / 1024)) "$seconds"
  if [ "$kib" -gt "$limit" ]; then
    echo "$name: $kib KiB is above the limit of $limit KiB"
    status=1
  fi
}
measure "png 816 x 270336" --format png -o "$work/tall.png" "$tall"
measure "thumbnail 4096 of the same" --thumbnail 4096 "$tall" "$work/thumb.png"
measure "png --width 14000, letter" --format png --width 14000 -o "$work/wide.png" "$letter"
measure "svg 816 x 270336" --format svg -o "$work/tall.svg" "$tall"
measure "pdf 816 x 270336" --format pdf -o "$work/tall.pdf" "$tall"
exit $status
