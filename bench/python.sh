#!/usr/bin/env bash
# The Python module's figures (python_bench.py), with the module built against
# BUILD_DIR's library and installed into a throwaway virtual environment.
#   bench/python.sh BUILD_DIR [SECONDS_PER_ROUND] [ROUNDS]   BUILD_DIR: a Release build with ORVANE_BUILD_BENCH=ON
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --build "$build" --target orvane-make-largest orvane_library
"$build/bench/orvane-make-largest" "$work/largest.pat"
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
ORVANE_BUILD_DIR=$build "$work/venv/bin/python" -m pip install --quiet --no-build-isolation "$root/python"
cd "$work"
"$work/venv/bin/python" "$root/bench/python_bench.py" "$work/largest.pat" "$@"
