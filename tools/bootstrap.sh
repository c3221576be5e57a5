#!/usr/bin/env bash
# Installs the Debian 12 packages a task needs, and only those that are
# missing.
#
#   tools/bootstrap.sh [GROUP...]        install what the groups need (default: program)
#   tools/bootstrap.sh --list [GROUP...] print the packages, one a line, and install nothing
#
# The groups:
#   program  building Orvex, the grass program and the examples, and running
#            them: compiler and CMake, OpenGL, GLU and EGL with Mesa's
#            drivers, pixman, the X11 libraries of the desktop driver (with
#            RandR and Xinerama, for the monitors), libpng
#   tests    program, and what the tests and benchmarks add: GoogleTest,
#            Google Benchmark, stb, Xvfb and XTest for the X11 driver's tests,
#            Xephyr for a display of two monitors
#   windows  the Windows build and its tests under Wine: MinGW-w64, Wine,
#            GoogleTest's sources, Xvfb, xdotool and the X utilities
#   fuzz     program, and clang with its libFuzzer runtime
#   docs     netpbm, to turn the snapshot tools' pictures into PNG files, and
#            debootstrap, for the set-up times on a fresh system
#   ci       program, tests, windows and fuzz
#
# Without apt-get (a system other than Debian) it prints the packages and
# stops; ORVEX_NO_BOOTSTRAP=1 skips this script where they are installed by
# other means.
set -euo pipefail

declare -A group=(
  [program]="cmake g++ make pkg-config
             libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
             libpixman-1-dev libpng-dev libx11-dev libxext-dev libxft-dev libxrandr-dev libxinerama-dev"
  [tests]="libgtest-dev libgmock-dev libbenchmark-dev libstb-dev xvfb libxtst-dev xserver-xephyr"
  [windows]="cmake make pkg-config g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 googletest
             libgl1-mesa-dri xvfb xdotool x11-utils"
  [fuzz]="clang libclang-rt-14-dev"
  [docs]="netpbm debootstrap"
)
# What each group brings along.
declare -A includes=(
  [tests]="program"
  [fuzz]="program"
  [ci]="program tests windows fuzz"
)

usage() {
  echo "usage: tools/bootstrap.sh [--list] [program|tests|windows|fuzz|docs|ci ...]" >&2
  exit 2
}

list_only=false
groups=()
for arg in "$@"; do
  case "$arg" in
    --list) list_only=true ;;
    program | tests | windows | fuzz | docs | ci) groups+=("$arg") ;;
    *) usage ;;
  esac
done
[ ${#groups[@]} -gt 0 ] || groups=(program)

# The packages of the groups and of what they bring along, each once.
packages=()
add_group() {
  local g=$1 p
  for p in ${includes[$g]:-}; do add_group "$p"; done
  for p in ${group[$g]:-}; do
    [[ " ${packages[*]} " == *" $p "* ]] || packages+=("$p")
  done
}
for g in "${groups[@]}"; do add_group "$g"; done

if $list_only; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi
if [ "${ORVEX_NO_BOOTSTRAP:-}" = 1 ]; then
  echo "bootstrap: skipped (ORVEX_NO_BOOTSTRAP=1)"
  exit 0
fi

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
  {
    echo "bootstrap: apt-get is not available, so nothing can be installed here."
    echo "bootstrap: '${groups[*]}' needs these Debian 12 packages (or your system's equivalents):"
    printf '    %s\n' "${packages[@]}"
    echo "bootstrap: install them, then run again with ORVEX_NO_BOOTSTRAP=1 in the environment."
  } >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: the ${#packages[@]} packages of '${groups[*]}' are installed"
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
