#!/usr/bin/env bash
# Builds the Python module's wheel against BUILD_DIR's library (its
# orvane_library target; position-independent code), installs it into a
# virtual environment that sees Debian's pytest, and runs the tests against
# BUILD_DIR's orvane-convert; one test installs the wheel into a fresh
# environment of its own.
#   run.sh BUILD_DIR [pytest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR [pytest arguments...]}" && pwd)
shift
# Debian's interpreter, whatever else is first on PATH: pybind11, setuptools
# and pytest are its packages.
python=/usr/bin/python3
work=$build/python-tests
rm -rf "$work"
mkdir -p "$work"

cmake --build "$build" --target orvane-convert
ORVANE_BUILD_DIR=$build "$python" -m build --wheel --no-isolation --outdir "$work/dist" "$root/python" \
  >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
wheel=$(ls "$work"/dist/orvane-*.whl)

"$python" -m venv --system-site-packages "$work/venv"
"$work/venv/bin/python" -m pip install --quiet --no-index --no-deps "$wheel"
cd "$work"
# No __pycache__ in the source tree.
PYTHONDONTWRITEBYTECODE=1 ORVANE_CONVERT=$build/app/orvane-convert ORVANE_WHEEL=$wheel \
  "$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$root/tests/python" "$@"
