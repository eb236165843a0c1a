#!/usr/bin/env bash
# scripts/check-layers run on copies of the tree, each with one planted escape
# from the layering; the untouched copy has to pass.
#   check_layers_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
check=$source_dir/scripts/check-layers
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# name | file that gets the lines (relative to the tree) | lines appended to it
rows=(
  'dot-dot up|src/document/plantedrelative.cpp|#include "../shell/mainform.h"'
  'angled project header|src/document/plantedangled.cpp|#include <shell/mainform.h>'
  'dot-dot in the middle|src/view/plantedmiddle.cpp|#include "settings/../shell/mainform.h"'
  'link deep in a call|src/document/CMakeLists.txt|target_link_libraries(orvane_document\n  PUBLIC\n    orvane_settings\n    # the layers below\n    orvane_shell\n)'
  'plain include up|src/settings/plantedplain.h|#include "document/pattern.h"'
  'Qt in std-only code|src/export/plantedqt.cpp|#include <QString>'
  'qt folder from std-only code|src/shell/plantedqtfolder.cpp|#include "view/qt/twips.h"'
  'os beside text|src/os/plantedtext.cpp|#include "text/windows1252.h"'
  'export up to the library interface|src/export/plantedapi.cpp|#include "api/converter.h"'
  'library interface up to the window|src/api/plantedview.cpp|#include "view/workform.h"'
  'window in the installed library|src/CMakeLists.txt|target_sources(orvane_library PRIVATE\n  $<TARGET_OBJECTS:orvane_view>)'
)

copy_tree() {
  rm -rf "$tmp/tree"
  mkdir "$tmp/tree"
  cp -a "$source_dir/src" "$tmp/tree/"
  if [ -d "$source_dir/include" ]; then
    cp -a "$source_dir/include" "$tmp/tree/"
  fi
}

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

copy_tree
status=0
report=$("$check" "$tmp/tree" 2>&1) || status=$?
[ "$status" -eq 0 ] || fail "untouched copy: exit $status, want 0: $report"

for row in "${rows[@]}"; do
  IFS='|' read -r name file lines <<< "$row"
  copy_tree
  printf '%b\n' "$lines" >> "$tmp/tree/$file"
  status=0
  report=$("$check" "$tmp/tree" 2>&1) || status=$?
  [ "$status" -eq 1 ] || fail "$name: exit $status, want 1: $report"
  grep -qF "$file:" <<< "$report" || fail "$name: $file not named in: $report"
done

[ "$failures" -eq 0 ] || exit 1
echo "check_layers_test: ${#rows[@]} escapes caught, the untouched copy passes"
