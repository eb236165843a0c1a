#!/usr/bin/env bash
# The window driven by the keyboard alone, as a user under a real X server
# and window manager would: orvane FILE.pat, Space (Set Pattern Size), the
# width, Enter, Space (Save As Metafile), the path, Enter. The file written
# must be the one orvane-convert --width writes.
#   keyboard_session.sh ORVANE ORVANE_CONVERT PATTERN [SCREENSHOT_DIR]
set -euo pipefail
orvane=$1 convert=$2 pattern=$3 shots=${4:-}
tmp=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$tmp"; }
trap cleanup EXIT
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
fail() { echo "FAIL: $*" >&2; cat "$tmp/orvane.log" >&2 2>/dev/null; exit 1; }
# Screenshots only when asked for, and only with xwd (x11-apps) at hand.
shot() { [ -z "$shots" ] || ! command -v xwd >/dev/null || xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$shots/$1.png"; }
# waitfor NAME: the id of a visible window with that title, within a minute (a fresh font cache is
# built at the first start). Polled: --sync misses a window that gets its title after it is mapped.
waitfor() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && echo "$id" && return
    sleep 0.1
  done
  for w in $(xdotool search --name . 2>/dev/null); do echo "window: $(xdotool getwindowname "$w")" >&2; done
  fail "no window \"$1\""
}
# active ID: waits until the window manager has given that window the keyboard, within a minute, so
# that no key is pressed before the window can take it, however slow the machine.
active() {
  for _ in $(seq 600); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return
    sleep 0.1
  done
  fail "window $1 never had the keyboard"
}

# An X server of its own, on a display number it picks and writes out once it takes clients: two
# sessions at once never meet on one display, and nothing starts before the server is there.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" & pids+=($!)
for _ in $(seq 600); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=":$(head -n 1 "$tmp/display")"
for _ in $(seq 600); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
# The window manager first: a window mapped while it starts up may never be managed. Openbox gives
# up at once when it cannot open the display, which happens now and then: it is started again.
for _ in $(seq 600); do
  xdotool get_desktop >/dev/null 2>&1 && break
  [ -n "${wm:-}" ] && kill -0 "$wm" 2>/dev/null || { openbox --sm-disable 2>>"$tmp/openbox.log" & wm=$! && pids+=("$wm"); }
  sleep 0.1
done
xdotool get_desktop >/dev/null 2>&1 || fail "openbox did not start: $(cat "$tmp/openbox.log")"
cp "$pattern" "$tmp/pattern.pat"
"$orvane" "$tmp/pattern.pat" 2>"$tmp/orvane.log" & pids+=($!)
main=$(waitfor "Veltrum Pattern Maker File Converter")
active "$main"
shot keyboard-1-opened
xdotool key space
active "$(waitfor "Orvane")"
xdotool type --delay 20 500
shot keyboard-2-width
xdotool key Return
active "$main"
xdotool key space
active "$(waitfor "Save As Metafile")"
xdotool key ctrl+a
xdotool type --delay 10 "$tmp/by-keyboard.wmf"
shot keyboard-3-save
xdotool key Return
# Written under a temporary name and renamed: once there, the file is whole.
for _ in $(seq 600); do [ -s "$tmp/by-keyboard.wmf" ] && break; sleep 0.1; done
shot keyboard-4-saved
[ -s "$tmp/by-keyboard.wmf" ] || fail "the keyboard session wrote nothing"
"$convert" -q --width 500 -o "$tmp/by-convert.wmf" "$tmp/pattern.pat"
cmp "$tmp/by-keyboard.wmf" "$tmp/by-convert.wmf" || fail "the window wrote other bytes than orvane-convert --width 500"
echo "keyboard session: $(stat -c %s "$tmp/by-keyboard.wmf") bytes, as orvane-convert --width 500"
