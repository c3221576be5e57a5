#!/usr/bin/env bash
# The Windows build, run for real: cross-builds the framework, grass.exe and
# the portable tests with MinGW-w64 (the mingw preset), then, in a fresh Wine
# prefix on a private Xvfb, runs the portable tests and starts grass.exe:
# its start-up question and its window must appear, and it must end with
# exit status 0 on Escape and on Alt+F4 (the system menu's Close). Last, the
# build is installed, examples/hello is built against the installed package
# and run: its window must appear and Escape must end it with status 0.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/bootstrap.sh windows

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver)

work=$(mktemp -d /tmp/orvex-windows-tests.XXXXXX)
xvfb_pid=""
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "$wineserver" -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

say() { echo "windows-tests: $*"; }
fail() {
  say "FAILED: $*"
  if [ -n "${DISPLAY:-}" ]; then xwininfo -root -tree 2>/dev/null | grep '"' | head -20 || true; fi
  exit 1
}

# A private X server on a free display number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start ($(cat "$work/xvfb.log"))"
export DISPLAY=":$(head -n1 "$work/display")"
say "Xvfb on $DISPLAY"

# A fresh Wine prefix, without the .NET and HTML components it would offer to install.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
say "preparing the Wine prefix (the first start takes a while)"
"$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
"$wineserver" -w || true

say "building the mingw preset"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j"$(nproc)"

say "running the portable tests under Wine"
ctest --preset mingw

bin="$root/build/mingw/bin"
title="Effetto per creare erba sulle superfici - 1/5 selezione"

# The id of a window with exactly this name, once it is shown; empty on timeout.
wait_window() {
  local name=$1 deadline=$((SECONDS + ${2:-60})) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    if ! kill -0 "$program_pid" 2>/dev/null; then return 1; fi
    sleep 0.2
  done
  return 1
}

# Gives a window the keyboard focus and presses keys in it.
keys_to() {
  local id=$1; shift
  xdotool windowfocus --sync "$id" >/dev/null 2>&1 || xdotool windowfocus "$id"
  sleep 0.3
  xdotool key --delay 100 "$@"
}

# The program's exit status into $status, or fails after the timeout.
wait_exit() {
  local deadline=$((SECONDS + 60))
  while kill -0 "$program_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end"
    sleep 0.2
  done
  status=0
  wait "$program_pid" || status=$?
}

run_grass() {
  local answer=$1 ending=$2
  say "grass.exe: answering '$answer', ending with $ending"
  (cd "$bin" && exec "$wine" grass.exe) >"$work/grass.log" 2>&1 &
  program_pid=$!
  local box main geometry
  box=$(wait_window "Video!" 90) || fail "the start-up question did not appear"
  say "  the question box appeared (window $box)"
  keys_to "$box" "$answer"
  main=$(wait_window "$title" 60) || fail "the program window did not appear"
  geometry=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  say "  the program window appeared (window $main, client area $geometry)"
  if [ "$answer" = y ]; then
    # Full-screen: a pop-up as large as the screen, with its 1-pixel border.
    case "$geometry" in 1024x768 | 1022x766) ;; *) fail "the full-screen window is $geometry" ;; esac
  fi
  sleep 1
  keys_to "$main" 1 3
  keys_to "$main" "$ending"
  wait_exit
  [ "$status" = 0 ] || fail "grass.exe ended with status $status"
  say "  grass.exe ended with status 0"
}

run_grass n Escape
run_grass n alt+F4
run_grass y Escape

say "installing the Windows build"
prefix="$work/prefix"
cmake --install build/mingw --prefix "$prefix" >/dev/null
for f in include/orvex/framework/orvex.h include/orvex/platform/win32.h lib/liborvex.a \
         lib/cmake/orvex/orvex-config.cmake lib/cmake/orvex/orvex-config-version.cmake lib/pkgconfig/orvex.pc; do
  [ -f "$prefix/$f" ] || fail "the installed package has no $f"
done
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --static --libs orvex | grep -q -- "-lorvex" ||
  fail "pkg-config does not read the installed orvex.pc"

say "building examples/hello against the installed package"
cmake -S examples/hello -B "$work/hello" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -Dorvex_DIR="$prefix/lib/cmake/orvex" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/hello" -j"$(nproc)"

say "hello.exe: S, then Escape"
(cd "$work/hello" && exec "$wine" hello.exe) >"$work/hello.log" 2>&1 &
program_pid=$!
hello=$(wait_window "Hello, Orvex" 60) || fail "the window of hello.exe did not appear"
say "  its window appeared (window $hello)"
sleep 1
keys_to "$hello" s
keys_to "$hello" Escape
wait_exit
[ "$status" = 0 ] || fail "hello.exe ended with status $status"
say "  hello.exe ended with status 0"

say "all passed"
