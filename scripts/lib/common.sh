# Shared by the scripts: package installation and build settings.

ORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ORVANE_JOBS=${ORVANE_JOBS:-2}

# Debian packages that building and running the programs need (scripts/run).
ORVANE_RUN_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libpng-dev libcli11-dev
)

# What scripts/web builds and serves the browser page with (node and npm come
# with emscripten's nodejs; rsvg-convert draws the app's icons).
ORVANE_WEB_PACKAGES=(emscripten python3 librsvg2-bin)

# What the Python module builds with (python/, no PyPI) and tests/python/run.sh
# tests it with (Dask for the README's example).
ORVANE_PYTHON_PACKAGES=(
  python3-dev python3-pybind11 pybind11-dev python3-setuptools python3-wheel python3-build python3-venv
  python3-pytest python3-distributed
)

# Those and what the tests and the tools need.
ORVANE_PACKAGES=(
  "${ORVANE_RUN_PACKAGES[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  libwmf-bin imagemagick libmagickcore-6.q16-6-extra fonts-urw-base35
  clang libclang-rt-14-dev
  libc++-dev libc++abi-dev g++-mingw-w64-x86-64-posix
  libcli11-dev wine64 zip unzip
  xvfb xauth xdotool openbox
  desktop-file-utils shared-mime-info libglib2.0-bin file groff-base
  dpkg-dev lintian librsvg2-bin poppler-utils qpdf netpbm libxml2-utils
  libxml2-dev nlohmann-json3-dev
  "${ORVANE_WEB_PACKAGES[@]}" chromium
  "${ORVANE_PYTHON_PACKAGES[@]}"
)

# Installs whatever of the packages named (default: ORVANE_PACKAGES) is
# missing, with apt-get.
orvane_install_packages() {
  local missing=()
  local pkg
  local wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=("${ORVANE_PACKAGES[@]}")
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# orvane_build DIR BUILD_TYPE [cmake options...]
orvane_build() {
  local dir=$1 type=$2
  shift 2
  cmake -S "$ORVANE_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$dir" -j "$ORVANE_JOBS"
}
