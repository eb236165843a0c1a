#!/usr/bin/env bash
# The installed tree, checked the way a desktop uses it.
#   install_test.sh install ROOT BUILD_DIR   cmake --install into ROOT (a fresh folder)
#   install_test.sh CHECK ROOT EXAMPLES      CHECK: desktop, mime, manual, thumbnailer, library
#   install_test.sh components ROOT BUILD_DIR  the two Debian packages' parts, each installed alone into ROOT
set -euo pipefail
check=$1 root=$2 arg=$3 flags=${4:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# "W x H" of a PNG, or nothing when the file is not one.
png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1 \2/p'; }

case $check in
install)
  rm -rf "$root"
  cmake --install "$arg" --prefix "$root" >/dev/null
  ;;

desktop)
  entry=$root/share/applications/orvane.desktop
  # Hints and warnings count too: the entry should be clean.
  report=$(desktop-file-validate "$entry" 2>&1) || fail "$report"
  [ -z "$report" ] || fail "$report"
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$root/bin/$program" ] || fail "Exec=$program is not an installed program"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  file -b "$root/share/icons/hicolor/scalable/apps/$icon.svg" | grep -q '^SVG' || fail "no scalable icon $icon"
  [ "$(png_size "$root/share/icons/hicolor/256x256/apps/$icon.png")" = "256 256" ] || fail "no 256-px icon $icon"
  ;;

mime)
  # A database of the system's types and ours only, as update-mime-database builds it on install.
  mkdir -p "$tmp/data/mime/packages" "$tmp/dirs"
  cp /usr/share/mime/packages/freedesktop.org.xml "$root/share/mime/packages/orvane.xml" "$tmp/data/mime/packages/"
  export XDG_DATA_HOME=$tmp/data XDG_DATA_DIRS=$tmp/dirs
  update-mime-database "$tmp/data/mime"
  type_of() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
  # A brush pattern of one pixel: header size (big-endian), version, width, height,
  # bytes per pixel, "GPAT", the name; then the pixel.
  printf '\0\0\0\034\0\0\0\001\0\0\0\001\0\0\0\001\0\0\0\003GPATdot\0\377\0\0' > "$tmp/brush.pat"
  status=0
  # The type's own icon, by the name the type gives it, scalable and in each size.
  icons=$root/share/icons/hicolor
  file -b "$icons/scalable/mimetypes/application-x-veltrum-pattern.svg" | grep -q '^SVG' \
    || fail "no scalable icon application-x-veltrum-pattern"
  for size in 16 32 48 64 128 256; do
    [ "$(png_size "$icons/${size}x$size/mimetypes/application-x-veltrum-pattern.png")" = "$size $size" ] \
      || fail "no $size-px icon application-x-veltrum-pattern"
  done
  for f in "$arg"/*.pat "$tmp/brush.pat"; do
    want=application/x-veltrum-pattern
    [ "$f" = "$tmp/brush.pat" ] && want=image/x-gimp-pat
    got=$(type_of "$f")
    if [ "$got" != "$want" ]; then
      echo "FAIL: $f is $got, not $want" >&2
      status=1
    fi
  done
  exit $status
  ;;

manual)
  for page in orvane orvane-convert; do
    file=$root/share/man/man1/$page.1.gz
    [ -f "$file" ] || fail "no manual page $page(1)"
    warnings=$(zcat "$file" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page(1): $warnings"
  done
  ;;

thumbnailer)
  # Run the entry's command line as a file manager does: each word is one argument,
  # %s the size, %i the input path, %o the PNG to write; TryExec found on PATH.
  entry=$root/share/thumbnailers/orvane.thumbnailer
  export PATH=$root/bin:$PATH
  command -v "$(sed -n 's/^TryExec=//p' "$entry")" >/dev/null || fail "TryExec is not an installed program"
  read -ra words <<<"$(sed -n 's/^Exec=//p' "$entry")"
  status=0
  for f in "$arg"/*.pat; do
    cp "$f" "$tmp/a pattern.pat"
    rm -f "$tmp/thumb.png"
    args=()
    for w in "${words[@]}"; do
      case $w in
        %s) args+=(128) ;;
        %i) args+=("$tmp/a pattern.pat") ;;
        %o) args+=("$tmp/thumb.png") ;;
        *) args+=("$w") ;;
      esac
    done
    if ! "${args[@]}"; then
      echo "FAIL: ${args[*]} failed for $f" >&2
      status=1
      continue
    fi
    read -r w h <<<"$(png_size "$tmp/thumb.png")"
    if [ -z "${w:-}" ] || [ "$w" -lt 1 ] || [ "$h" -lt 1 ] || [ "$w" -gt 128 ] || [ "$h" -gt 128 ]; then
      echo "FAIL: thumbnail of $f is $(file -b "$tmp/thumb.png"), not a PNG of at most 128 px" >&2
      status=1
    fi
  done
  exit $status
  ;;

library)
  # A program of its own against the installed library, found once through
  # CMake and once through pkg-config; both write what orvane-convert writes.
  mkdir -p "$tmp/consumer"
  cat > "$tmp/consumer/main.cpp" <<'CODE'
#include <orvane/orvane.h>
#include <fstream>
#include <iostream>
#include <iterator>
int main(int, char **argv)
{
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> pattern{std::istreambuf_iterator<char>(in), {}};
    const orvane::ConversionResult result = orvane::convert(pattern, {.format = "placeable", .width = "500"});
    std::cout.write(reinterpret_cast<const char *>(result.bytes.data()), std::streamsize(result.bytes.size()));
    return result.ok() ? 0 : 1;
}
CODE
  printf 'cmake_minimum_required(VERSION 3.25)\nproject(consumer CXX)\nfind_package(Orvane 1 REQUIRED)\n%s\n%s\n' \
    'add_executable(consumer main.cpp)' 'target_link_libraries(consumer PRIVATE Orvane::orvane)' \
    > "$tmp/consumer/CMakeLists.txt"
  cmake -S "$tmp/consumer" -B "$tmp/consumer/build" -DCMAKE_PREFIX_PATH="$root" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null \
    || fail "find_package(Orvane) did not configure"
  cmake --build "$tmp/consumer/build" >/dev/null || fail "the CMake consumer did not build"
  pc=$(find "$root" -name orvane.pc)
  [ -n "$pc" ] || fail "no orvane.pc installed"
  # shellcheck disable=SC2046,SC2086
  g++ $flags -o "$tmp/consumer/pkgconfig" "$tmp/consumer/main.cpp" \
    $(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags --libs orvane) || fail "the pkg-config consumer did not build"
  status=0
  for f in "$arg"/*.pat; do
    want=$(HOME=$tmp XDG_CACHE_HOME=$tmp/cache XDG_CONFIG_HOME=$tmp/config \
      "$root/bin/orvane-convert" --format placeable --width 500 -o - "$f" | od -An -tx1)
    for consumer in "$tmp/consumer/build/consumer" "$tmp/consumer/pkgconfig"; do
      got=$("$consumer" "$f" | od -An -tx1)
      if [ -z "$want" ] || [ "$got" != "$want" ]; then
        echo "FAIL: $consumer wrote other bytes than orvane-convert for $f" >&2
        status=1
      fi
    done
  done
  exit $status
  ;;

components)
  # What orvane-dev holds (install component Development) and what orvane
  # holds (the rest): the developer's files in the first only.
  rm -rf "$root"
  cmake --install "$arg" --component Development --prefix "$root/dev" >/dev/null
  cmake --install "$arg" --component Unspecified --prefix "$root/run" >/dev/null
  developers='^(include/orvane/orvane\.h|lib.*/liborvane\.a|lib.*/pkgconfig/orvane\.pc|lib.*/cmake/Orvane/Orvane[A-Za-z-]*\.cmake|share/doc/orvane-dev/(copyright|changelog\.Debian\.gz))$'
  dev=$(cd "$root/dev" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  run=$(cd "$root/run" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
  others=$(grep -Ev "$developers" <<<"$dev" || true)
  [ -z "$others" ] || fail "not a developer's file, in Development: $others"
  for f in include/orvane/orvane.h liborvane.a pkgconfig/orvane.pc cmake/Orvane/OrvaneConfig.cmake \
    share/doc/orvane-dev/copyright; do
    grep -q "$f\$" <<<"$dev" || fail "$f is not in Development"
  done
  leaked=$(grep -E '^include/|\.a$|\.pc$|/cmake/' <<<"$run" || true)
  [ -z "$leaked" ] || fail "developer's files outside Development: $leaked"
  grep -qx bin/orvane-convert <<<"$run" || fail "bin/orvane-convert is not in the runtime part"
  grep -qx share/doc/orvane/copyright <<<"$run" || fail "share/doc/orvane/copyright is not in the runtime part"
  ;;

*)
  fail "unknown check $check"
  ;;
esac
