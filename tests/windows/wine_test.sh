#!/usr/bin/env bash
# The Windows orvane-convert under wine, beside the Linux build: every case
# runs both with the same arguments, each in a folder of its own holding the
# same inputs, and their output, messages and exit status must be the same.
# At the end both folders must hold the same files, byte for byte.
#   wine_test.sh EXE LINUX_CONVERT EXAMPLES
# The caller starts wine's server (WINEPREFIX, WINEDEBUG set); ORVANE_WINE is
# the wine loader.
set -euo pipefail
exe=$(realpath "$1") linux=$(realpath "$2") examples=$(realpath "$3")
wine=${ORVANE_WINE:-/usr/lib/wine/wine64}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$tmp/win" "$tmp/linux" "$tmp/config/Veltrum Orvane" "$tmp/cache"
cp "$examples"/*.pat "$tmp/win/"
cp "$examples"/*.pat "$tmp/linux/"
mapfile -t patterns < <(cd "$examples" && ls -- *.pat)
# The Linux build keeps its settings and picture copy here, away from the user's.
export XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache
localAppData=$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local
rm -rf "$localAppData/Veltrum Orvane"

# run SIDE ARGS... leaves SIDE.out, SIDE.err and SIDE.status in $tmp.
run() {
  local side=$1 status=0
  shift
  # With STDIN=FILE, standard input is a pipe that FILE (in the side's folder) is sent through.
  local input=/dev/null
  [ -z "${STDIN:-}" ] || input=$tmp/$side/$STDIN
  # shellcheck disable=SC2002 # a pipe, not the file itself
  if [ "$side" = win ]; then
    cat "$input" | (cd "$tmp/win" && "$wine" "$exe" "$@") >"$tmp/win.out" 2>"$tmp/win.err" || status=$?
  else
    cat "$input" | (cd "$tmp/linux" && "$linux" "$@") >"$tmp/linux.out" 2>"$tmp/linux.err" || status=$?
  fi
  echo "$status" >"$tmp/$side.status"
}

# same ARGS... runs both and compares. Windows names a file in a folder with
# '\'; with SEPARATORS=1 its messages are compared with '/' in its place.
same() {
  run win "$@"
  run linux "$@"
  if [ "${SEPARATORS:-0}" = 1 ]; then
    sed -i 's|\\|/|g' "$tmp/win.out" "$tmp/win.err"
  fi
  local part
  for part in status out err; do
    cmp -s "$tmp/win.$part" "$tmp/linux.$part" ||
      fail "orvane-convert $* ($part): windows $(head -c 300 "$tmp/win.$part" | od -An -c | head -3)" \
        "!= linux $(head -c 300 "$tmp/linux.$part" | od -An -c | head -3)"
  done
}

# expect_status STATUS NAME: the last run's exit status on Windows.
expect_status() {
  local got
  got=$(cat "$tmp/win.status")
  [ "$got" = "$1" ] || fail "$2: exit status $got, expected $1"
}

# The formats this build offers, from its own refusal of an unknown one.
run win --format none x.pat
formats=$(sed -n 's/.*--format must be one of \([a-z|]*\),.*/\1/p' "$tmp/win.err" | tr '|' ' ')
[ -n "$formats" ] || fail "no format list in: $(cat "$tmp/win.err")"

# The exe expands wildcards itself, as cmd and PowerShell leave them: the
# README's example converts every example; a pattern that matches nothing
# stays a name.
run win -q --out-dir wild '*.pat'
expect_status 0 "--out-dir wild *.pat"
(cd "$tmp/linux" && "$linux" -q --out-dir wild -- *.pat)
for example in "${patterns[@]}"; do
  [ -f "$tmp/win/wild/${example%.pat}.wmf" ] || fail "--out-dir wild *.pat wrote no wild\\${example%.pat}.wmf"
done
run win 'H?USE-V1.1.*'
expect_status 0 "H?USE-V1.1.*"
(cd "$tmp/linux" && "$linux" house-v1.1.pat >/dev/null)
same 'none*.pat'
expect_status 1 "a wildcard that matches nothing"

# A pattern through a pipe on standard input.
STDIN=grid-v1.4.pat same -o from-stdin.wmf -
expect_status 0 "- from a pipe"

# Every example in every format at the page's size and at 10 pixels wide.
# shellcheck disable=SC2086
for format in $formats; do
  same -q --format "$format" --out-dir "out-$format" "${patterns[@]}"
  expect_status 0 "--format $format"
  same -q --format "$format" --width 10 --out-dir "out-$format-10" "${patterns[@]}"
done
# The PDF's stroke and transform at a width far above the page's.
same -q --format pdf --width 2000 --out-dir out-pdf-2000 "${patterns[@]}"
expect_status 0 "--format pdf --width 2000"
for example in "${patterns[@]}"; do
  same --info "$example"
done

# Standard output stays binary: this metafile holds 0x0A bytes, which text
# mode would turn into 0x0D 0x0A.
same --width 10 -o - star-a4-v2.1.pat
newlines=$(tr -cd '\n' <"$tmp/win.out" | wc -c)
[ "$newlines" -gt 0 ] || fail "star-a4 at width 10 holds no 0x0A byte: the binary check proves nothing"

# Names outside the ANSI code page, for input, -o and --out-dir; and an
# existing output, replaced.
for side in win linux; do
  cp "$tmp/$side/house-v1.1.pat" "$tmp/$side/café.pat"
  cp "$tmp/$side/grid-v1.4.pat" "$tmp/$side/日本.pat"
  echo "old bytes" >"$tmp/$side/café.wmf"
done
same café.pat 日本.pat
same -o 出力.wmf 日本.pat
SEPARATORS=1 same --out-dir 目录 café.pat 日本.pat
[ -f "$tmp/win/目录/日本.wmf" ] || fail "--out-dir 目录 wrote no 目录/日本.wmf"

# A save that fails keeps what was there, leaves no temporary file and lets
# the rest of the batch go on.
for side in win linux; do
  mkdir -p "$tmp/$side/held.wmf"
  echo "kept" >"$tmp/$side/held.wmf/inside"
  cp "$tmp/$side/shapes-v1.5.pat" "$tmp/$side/held.pat"
done
SEPARATORS=1 same --out-dir . held.pat shapes-v1.5.pat
expect_status 1 "a save over a folder"
[ "$(cat "$tmp/win/held.wmf/inside")" = kept ] || fail "the folder in the output's place was changed"
leftovers=$(find "$tmp/win" -name '.orvane-*')
[ -z "$leftovers" ] || fail "temporary files left: $leftovers"

# The picture copy goes to the user's local application data.
same -o - star-with-picture-v1.6.2.pat
cmp -s "$localAppData/Veltrum Orvane/vrtmimage.tmp" "$tmp/cache/Veltrum Orvane/vrtmimage.tmp" ||
  fail "the picture copy under %LOCALAPPDATA% differs from the Linux one"

# Stored defaults apply to version 1 files: from the registry on Windows, from
# the settings file on Linux. A number may be stored as REG_DWORD too.
key='HKCU\Software\Veltrum Orvane\Pattern'
"$wine" reg add "$key" /v PenColor /t REG_SZ /d 255 /f >/dev/null
"$wine" reg add "$key" /v BandW /t REG_DWORD /d 0 /f >/dev/null
printf '[Pattern]\nPenColor=255\nBandW=0\n' >"$tmp/config/Veltrum Orvane/Veltrum Orvane.conf"
same --info house-v1.1.pat
grep -q '"PenColor":255,"BandW":false' "$tmp/win.out" || fail "the registry's defaults were not applied: $(cat "$tmp/win.out")"
"$wine" reg add "$key" /v PenColor /t REG_SZ /d red /f >/dev/null
run win house-v1.1.pat
expect_status 1 "a stored default that is not a number"
grep -qF 'PenColor in the registry key HKEY_CURRENT_USER\Software\Veltrum Orvane\Pattern does' "$tmp/win.err" ||
  fail "the message names no registry key: $(cat "$tmp/win.err")"
"$wine" reg delete 'HKCU\Software\Veltrum Orvane' /f >/dev/null
rm "$tmp/config/Veltrum Orvane/Veltrum Orvane.conf"

# Exit status 1 and 2, --help and --version, as on Linux.
same missing.pat
expect_status 1 "a missing input"
same --width 0 house-v1.1.pat
expect_status 2 "a width of 0"
same --version
# --help, and /? as Windows users type it, list the formats this build offers
# and no other; the picture module's formats and --thumbnail are not in it.
run win --help
cp "$tmp/win.out" "$tmp/help"
expect_status 0 "--help"
run win /?
expect_status 0 "/?"
cmp -s "$tmp/win.out" "$tmp/help" || fail "/? printed other than --help: $(head -3 "$tmp/win.out")"
for name in wmf placeable svg pdf png; do
  offered=$([[ " $formats " == *" $name "* ]] && echo 1 || echo 0)
  listed=$(grep -qw "$name" "$tmp/help" && echo 1 || echo 0)
  [ "$offered" = "$listed" ] || fail "--help lists $name: $listed, the build offers it: $offered"
done
! grep -q -- --thumbnail "$tmp/help" || fail "--help offers --thumbnail"
for args in "--format png house-v1.1.pat" "-o house.png house-v1.1.pat" "--thumbnail 64 house-v1.1.pat house.png"; do
  # shellcheck disable=SC2086
  run win $args
  expect_status 2 "$args"
done
run win --format png house-v1.1.pat
grep -qx 'orvane-convert: the png format is not available in this build' "$tmp/win.err" ||
  fail "--format png: $(cat "$tmp/win.err")"

# Causes that are Windows' own, in its terms; a folder typed with a \ before
# its closing quote, which keeps the quote, is told how to type it.
for row in 'Q:\out|no drive Q:' 'con|con is the name of a device'; do
  run win --out-dir "${row%%|*}" house-v1.1.pat
  expect_status 1 "--out-dir ${row%%|*}"
  grep -qF "${row#*|}" "$tmp/win.err" || fail "--out-dir ${row%%|*}: $(cat "$tmp/win.err")"
done
run win --out-dir 'dir with space" house-v1.1.pat'
expect_status 2 "a quote kept by a backslash"
grep -qF 'holds a quote' "$tmp/win.err" || fail "a quote kept by a backslash: $(cat "$tmp/win.err")"

# Both folders hold the same files.
diff -r "$tmp/win" "$tmp/linux" >"$tmp/diff" || fail "the written files differ: $(head -20 "$tmp/diff")"

if [ "$failures" -gt 0 ]; then
  echo "wine_test: $failures failed" >&2
  exit 1
fi
echo "wine_test: passed"
