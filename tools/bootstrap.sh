#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# and only those that are missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libpixman-1-dev libpng-dev libstb-dev
  libx11-dev libxext-dev libxft-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth
  libxtst-dev x11-utils
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 xdotool netpbm
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all ${#packages[@]} packages are installed"
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
