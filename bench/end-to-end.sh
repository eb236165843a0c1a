#!/usr/bin/env bash
# The whole orvane-convert process on the largest pattern against a cp of
# its output, as mean wall times over RUNS runs each (default 50), in FORMAT
# (default wmf).
#   bench/end-to-end.sh BUILD_DIR [RUNS] [FORMAT]   BUILD_DIR: a Release build with ORVANE_BUILD_BENCH=ON
set -euo pipefail
build=$1 runs=${2:-50} format=${3:-wmf}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/orvane-make-largest" "$work/largest.pat"
export XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config HOME=$work
"$build/app/orvane-convert" -q --format "$format" -o "$work/largest.out" "$work/largest.pat"

# Mean milliseconds of RUNS runs of the command.
mean_ms() {
  local start end
  start=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@"; done
  end=$(date +%s%N)
  echo $(((end - start) / runs / 1000)) | sed 's/\(...\)$/.\1/'
}
convert=$(mean_ms "$build/app/orvane-convert" -q --format "$format" -o "$work/out" "$work/largest.pat")
copy=$(mean_ms cp "$work/largest.out" "$work/copy")
awk -v f="$format" -v a="$convert" -v b="$copy" \
  'BEGIN { printf "orvane-convert --format %s: %s ms, cp: %s ms, ratio: %.1f\n", f, a, b, a / b }'
